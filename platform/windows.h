// windows.h — the window toolkit's windows and their elements. Windows and elements carry the
// program's own numbers. An element is a canvas (it keeps its own picture until it is drawn
// into again, and reports the mouse entering and leaving it) or a static text. A window shows
// its background colour with its elements on top, later ones over earlier ones; it is put on
// screen when first drawn, so settings made right after opening (opacity) apply from the start.
// Everything here runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/toolkit_types.h"

namespace nf::platform {

// Starts the window system, its timers and its event queue. Safe to call again; false when no
// display can be reached. Opening a window starts it when needed.
bool StartToolkit();
// Closes every window and frees every element, image, font and timer.
void StopToolkit();
// Tests and benchmarks: draw into memory instead of a display (call before anything starts).
void UseOffscreenDisplay();

// The size of the primary screen; 0 x 0 when the window system cannot be started.
Size ScreenSize();

inline constexpr std::uint32_t WindowBorderless = 1;  // no caption, border or system menu
inline constexpr std::uint32_t WindowTopMost = 2;     // stays above other windows
inline constexpr std::uint32_t WindowInvisible = 4;   // not shown until asked

// Opens window `window` with the given client area (screen coordinates) and title. Replaces a
// window of the same number. False when the window system refuses.
bool OpenWindow(int window, Rect client, std::u16string_view title, std::uint32_t flags);
void CloseWindow(int window);
bool WindowExists(int window);
void ShowWindow(int window);
void MinimizeWindow(int window);
// Brings the window to the front and gives it the keyboard.
void ActivateWindow(int window);
void SetWindowColor(int window, Color color);
void SetWindowTopMost(int window, bool top_most);
// A disabled window takes no input: no clicks, keys, hovering or drops reach the program.
void SetWindowEnabled(int window, bool enabled);
bool WindowEnabled(int window);
// 0 invisible to 255 opaque. Where the window system cannot show opacity the request is kept
// (WindowOpacity reports it) and otherwise ignored. Nothing happens for a missing window.
void SetWindowOpacity(int window, std::uint8_t alpha);
std::optional<std::uint8_t> WindowOpacity(int window);
// The window's rectangle in screen coordinates (borderless: the client area).
std::optional<Rect> WindowScreenRect(int window);
// Pressing the left button inside `area` (client coordinates) lets the window system move the
// window with the mouse.
void SetWindowDragArea(int window, Rect area);

// Creates canvas `element` on `window`, filled with the window's colour. Replaces an element of
// the same number. False when the window does not exist.
bool CreateCanvas(int element, int window, Rect rect);
// Default font of static texts created from now on (a font number of fonts.h).
void SetDefaultElementFont(int font);
// Creates a static text: its text left-aligned at the top, in the default font, black on white
// until its colours are set; text that does not fit is cut at its edges.
bool CreateTextElement(int element, int window, Rect rect, std::u16string_view text);
void SetTextElementColors(int element, Color text, Color back);
void SetTextElementText(int element, std::u16string_view text);
// Moves and resizes an element; a canvas keeps the part of its picture that still fits.
void ResizeElement(int element, Rect rect);
void FreeElement(int element);
bool ElementExists(int element);
// In the window's client area, and in screen coordinates.
std::optional<Rect> ElementRect(int element);
std::optional<Rect> ElementScreenRect(int element);

// What the window shows, as composed for the screen; nothing for a missing window.
std::optional<PixelGrid> ReadWindowPixels(int window);

}  // namespace nf::platform
