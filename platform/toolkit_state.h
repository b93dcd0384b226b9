// toolkit_state.h — inside the platform only: the toolkit's tables of windows and elements,
// the surfaces they keep, and composition onto the screen. Not part of platform.h.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/toolkit_types.h"

namespace nf::platform::toolkit {

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

struct WindowDeleter {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};

// Every surface of the toolkit is 32-bit ARGB, so blits between them are plain copies.
inline constexpr Uint32 SurfaceFormat = SDL_PIXELFORMAT_ARGB8888;
SurfacePtr NewSurface(int width, int height);
inline Uint32 OpaquePixel(Color color) {
  return 0xFF000000u | static_cast<Uint32>(RedOf(color)) << 16 |
         static_cast<Uint32>(GreenOf(color)) << 8 | BlueOf(color);
}
inline Color ColorOfPixel(Uint32 argb) {
  return RgbColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}
// Copies the pixels of a surface (any format) into a grid.
PixelGrid GridOfSurface(SDL_Surface* surface);

struct Element {
  int window = 0;
  Rect rect;            // in the window's client area
  bool canvas = true;   // else a static text, repainted by the toolkit
  SurfacePtr picture;   // what the element shows: rect.width x rect.height
  std::u16string text;  // static text only
  int font = 0;
  Color text_color = 0x000000;
  Color back_color = 0xFFFFFF;
};

struct Window {
  std::unique_ptr<SDL_Window, WindowDeleter> sdl;
  Uint32 sdl_id = 0;
  int width = 0;
  int height = 0;
  Color back = 0xFFFFFF;
  bool enabled = true;
  bool wants_showing = true;  // shown at the first composition
  bool shown = false;
  std::optional<std::uint8_t> opacity;
  SurfacePtr composed;        // the whole client area as last composed
  std::vector<int> elements;  // bottom first
  int hovered = 0;            // the element under the mouse, 0 for none
  std::optional<Rect> drag_area;
};

std::map<int, Window>& Windows();
std::map<int, Element>& Elements();
Window* FindWindow(int window);
Element* FindElement(int element);
// The program's number of an SDL window, 0 when it is none of ours.
int WindowNumberOf(Uint32 sdl_id);
// Composes `dirty` (client coordinates) of the window from its elements and puts it on screen.
void Present(int window, Rect dirty);
void PresentWhole(int window);
// The topmost element of the window at a client point, 0 for none.
int ElementAt(int window, Point point);

// Fonts and images (fonts.cpp, images.cpp).
TTF_Font* FindFont(int font);
SDL_Surface* FindImage(int image);
// The text rendered with a transparent background; null for an empty text or a missing font.
SurfacePtr RenderText(int font, std::u16string_view text, Color color);
void FreeAllFonts();
void FreeAllImages();
void RemoveAllTimers();
void RemoveTimersOf(int window);
void ForgetShortcutsOf(int window);
void ResetEventState();

}  // namespace nf::platform::toolkit
