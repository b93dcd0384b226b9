// windows.cpp — windows, their elements, and the composition that puts them on screen.
// Each element keeps its own picture; a window composes the pictures over its background
// colour into one surface and copies only the changed rectangle to the screen, so a small
// repaint costs a small copy.
#include "platform/windows.h"

#include <algorithm>

#include "platform/text_codec.h"
#include "platform/timer_events.h"
#include "platform/toolkit_state.h"

namespace nf::platform {
namespace toolkit {
namespace {

std::map<int, Window> windows_by_number;
std::map<int, Element> elements_by_number;
int default_element_font = 0;
bool offscreen_display = false;

SDL_Rect ToSdl(Rect r) {
  return SDL_Rect{r.x, r.y, r.width, r.height};
}

Rect Intersection(Rect a, Rect b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.x + a.width, b.x + b.width);
  const int bottom = std::min(a.y + a.height, b.y + b.height);
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

void FillSurface(SDL_Surface* surface, Color color) {
  if (surface) SDL_FillRect(surface, nullptr, OpaquePixel(color));
}

// Paints a static text's picture from its text and colours.
void RenderTextElement(Element& element) {
  if (!element.picture) return;
  FillSurface(element.picture.get(), element.back_color);
  SurfacePtr text = RenderText(element.font, element.text, element.text_color);
  if (text) SDL_BlitSurface(text.get(), nullptr, element.picture.get(), nullptr);
}

// A new element on top of its window's others, replacing one of the same number.
Element* AddElement(int number, int window_number, Rect rect, bool canvas) {
  Window* window = FindWindow(window_number);
  if (!window) return nullptr;
  FreeElement(number);
  Element& element = elements_by_number[number];
  element.window = window_number;
  element.rect = rect;
  element.canvas = canvas;
  element.picture = NewSurface(rect.width, rect.height);
  window->elements.push_back(number);
  return &element;
}

// The mouse's pick of an element follows hit testing: a drag area lets the window system move
// the window instead of giving the press to the program.
SDL_HitTestResult HitTest(SDL_Window*, const SDL_Point* point, void* data) {
  const Window* window = FindWindow(static_cast<int>(reinterpret_cast<intptr_t>(data)));
  if (window && window->drag_area && window->drag_area->Contains({point->x, point->y}))
    return SDL_HITTEST_DRAGGABLE;
  return SDL_HITTEST_NORMAL;
}

}  // namespace

SurfacePtr NewSurface(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  SurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SurfaceFormat));
  // Pictures are opaque: copying them is enough, blending would only cost time.
  if (surface) SDL_SetSurfaceBlendMode(surface.get(), SDL_BLENDMODE_NONE);
  return surface;
}

PixelGrid GridOfSurface(SDL_Surface* surface) {
  PixelGrid grid;
  if (!surface) return grid;
  SurfacePtr argb(SDL_ConvertSurfaceFormat(surface, SurfaceFormat, 0));
  if (!argb) return grid;
  grid.width = argb->w;
  grid.height = argb->h;
  grid.pixels.reserve(static_cast<std::size_t>(grid.width) * grid.height);
  SDL_LockSurface(argb.get());
  for (int y = 0; y < argb->h; ++y) {
    const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) +
                                                      static_cast<std::ptrdiff_t>(y) * argb->pitch);
    for (int x = 0; x < argb->w; ++x) grid.pixels.push_back(ColorOfPixel(row[x]));
  }
  SDL_UnlockSurface(argb.get());
  return grid;
}

std::map<int, Window>& Windows() {
  return windows_by_number;
}
std::map<int, Element>& Elements() {
  return elements_by_number;
}

Window* FindWindow(int window) {
  const auto found = windows_by_number.find(window);
  return found == windows_by_number.end() ? nullptr : &found->second;
}

Element* FindElement(int element) {
  const auto found = elements_by_number.find(element);
  return found == elements_by_number.end() ? nullptr : &found->second;
}

int WindowNumberOf(Uint32 sdl_id) {
  for (const auto& [number, window] : windows_by_number)
    if (window.sdl_id == sdl_id) return number;
  return 0;
}

void Present(int number, Rect dirty) {
  Window* window = FindWindow(number);
  if (!window || !window->composed) return;
  const bool first_showing = window->wants_showing && !window->shown;
  if (first_showing) dirty = {0, 0, window->width, window->height};
  dirty = Intersection(dirty, {0, 0, window->width, window->height});
  if (dirty.width == 0) return;

  SDL_Rect area = ToSdl(dirty);
  SDL_FillRect(window->composed.get(), &area, OpaquePixel(window->back));
  for (const int element_number : window->elements) {
    const Element* element = FindElement(element_number);
    if (!element || !element->picture) continue;
    const Rect overlap = Intersection(dirty, element->rect);
    if (overlap.width == 0) continue;
    SDL_Rect source{overlap.x - element->rect.x, overlap.y - element->rect.y, overlap.width,
                    overlap.height};
    SDL_Rect target = ToSdl(overlap);
    SDL_BlitSurface(element->picture.get(), &source, window->composed.get(), &target);
  }

  if (first_showing) {
    SDL_ShowWindow(window->sdl.get());
    window->shown = true;
  }
  if (!window->shown) return;
  SDL_Surface* screen = SDL_GetWindowSurface(window->sdl.get());
  if (!screen) return;
  SDL_Rect source = ToSdl(dirty);
  SDL_Rect target = source;
  SDL_BlitSurface(window->composed.get(), &source, screen, &target);
  SDL_UpdateWindowSurfaceRects(window->sdl.get(), &area, 1);
}

void PresentWhole(int number) {
  if (const Window* window = FindWindow(number))
    Present(number, {0, 0, window->width, window->height});
}

int ElementAt(int number, Point point) {
  const Window* window = FindWindow(number);
  if (!window) return 0;
  for (auto it = window->elements.rbegin(); it != window->elements.rend(); ++it) {
    const Element* element = FindElement(*it);
    if (element && element->rect.Contains(point)) return *it;
  }
  return 0;
}

}  // namespace toolkit

using namespace toolkit;

bool StartToolkit() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  if (offscreen_display)
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
  // The first click on an inactive window is a click like any other.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // Closing a window is the program's decision, not the end of the event queue.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Windows are drawn in software and updated by small rectangles: the plain framebuffer
  // (shared memory on X11) suits that; a texture behind it would only add a GPU round trip.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Ctrl+C and termination signals end the program as usual instead of becoming queue events.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Opacity needs the compositor; SDL would otherwise ask it to stand aside.
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return false;
  SDL_StopTextInput();
  return true;
}

void StopToolkit() {
  RemoveAllTimers();
  while (!windows_by_number.empty()) CloseWindow(windows_by_number.begin()->first);
  elements_by_number.clear();
  FreeAllImages();
  FreeAllFonts();
  ResetEventState();
  default_element_font = 0;
  if (TTF_WasInit()) TTF_Quit();
  if (SDL_WasInit(SDL_INIT_VIDEO))
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS);
}

void UseOffscreenDisplay() {
  offscreen_display = true;
}

Size ScreenSize() {
  SDL_DisplayMode mode{};
  if (!StartToolkit() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return {};
  return {mode.w, mode.h};
}

bool OpenWindow(int number, Rect client, std::u16string_view title, std::uint32_t flags) {
  if (!StartToolkit()) return false;
  CloseWindow(number);
  Uint32 sdl_flags = SDL_WINDOW_HIDDEN;
  if (flags & WindowBorderless) sdl_flags |= SDL_WINDOW_BORDERLESS;
  if (flags & WindowTopMost) sdl_flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  SDL_Window* sdl = SDL_CreateWindow(ToUtf8(title).c_str(), client.x, client.y, client.width,
                                     client.height, sdl_flags);
  if (!sdl) return false;
  Window& window = windows_by_number[number];
  window.sdl.reset(sdl);
  window.sdl_id = SDL_GetWindowID(sdl);
  window.width = client.width;
  window.height = client.height;
  window.wants_showing = !(flags & WindowInvisible);
  window.composed = NewSurface(client.width, client.height);
  FillSurface(window.composed.get(), window.back);
  NoteWindowOpen(number, true);
  return true;
}

void CloseWindow(int number) {
  Window* window = FindWindow(number);
  if (!window) return;
  NoteWindowOpen(number, false);
  RemoveTimersOf(number);
  ForgetShortcutsOf(number);
  for (const int element : window->elements) elements_by_number.erase(element);
  windows_by_number.erase(number);
}

bool WindowExists(int number) {
  return FindWindow(number) != nullptr;
}

void ShowWindow(int number) {
  Window* window = FindWindow(number);
  if (!window) return;
  window->wants_showing = true;
  PresentWhole(number);
}

void MinimizeWindow(int number) {
  if (Window* window = FindWindow(number)) SDL_MinimizeWindow(window->sdl.get());
}

void ActivateWindow(int number) {
  if (Window* window = FindWindow(number)) SDL_RaiseWindow(window->sdl.get());
}

void SetWindowColor(int number, Color color) {
  Window* window = FindWindow(number);
  if (!window) return;
  window->back = color;
  // Not on screen yet: the first drawing composes it whole, after the opacity has been set.
  if (window->shown) PresentWhole(number);
}

void SetWindowTopMost(int number, bool top_most) {
  if (Window* window = FindWindow(number))
    SDL_SetWindowAlwaysOnTop(window->sdl.get(), top_most ? SDL_TRUE : SDL_FALSE);
}

void SetWindowEnabled(int number, bool enabled) {
  if (Window* window = FindWindow(number)) window->enabled = enabled;
}

bool WindowEnabled(int number) {
  const Window* window = FindWindow(number);
  return window && window->enabled;
}

void SetWindowOpacity(int number, std::uint8_t alpha) {
  Window* window = FindWindow(number);
  if (!window) return;
  window->opacity = alpha;
  SDL_SetWindowOpacity(window->sdl.get(),
                       static_cast<float>(alpha) / 255.0f);  // may be unsupported
}

std::optional<std::uint8_t> WindowOpacity(int number) {
  const Window* window = FindWindow(number);
  return window ? window->opacity : std::nullopt;
}

std::optional<Rect> WindowScreenRect(int number) {
  const Window* window = FindWindow(number);
  if (!window) return std::nullopt;
  Rect rect{0, 0, window->width, window->height};
  SDL_GetWindowPosition(window->sdl.get(), &rect.x, &rect.y);
  return rect;
}

void SetWindowDragArea(int number, Rect area) {
  Window* window = FindWindow(number);
  if (!window) return;
  window->drag_area = area;
  SDL_SetWindowHitTest(window->sdl.get(), HitTest,
                       reinterpret_cast<void*>(static_cast<intptr_t>(number)));
}

bool CreateCanvas(int number, int window_number, Rect rect) {
  Element* element = AddElement(number, window_number, rect, true);
  if (!element) return false;
  FillSurface(element->picture.get(), FindWindow(window_number)->back);
  Present(window_number, rect);
  return true;
}

void SetDefaultElementFont(int font) {
  default_element_font = font;
}

bool CreateTextElement(int number, int window_number, Rect rect, std::u16string_view text) {
  Element* element = AddElement(number, window_number, rect, false);
  if (!element) return false;
  element->text = text;
  element->font = default_element_font;
  RenderTextElement(*element);
  Present(window_number, rect);
  return true;
}

void SetTextElementColors(int number, Color text, Color back) {
  Element* element = FindElement(number);
  if (!element || element->canvas) return;
  element->text_color = text;
  element->back_color = back;
  RenderTextElement(*element);
  Present(element->window, element->rect);
}

void SetTextElementText(int number, std::u16string_view text) {
  Element* element = FindElement(number);
  if (!element || element->canvas) return;
  element->text = text;
  RenderTextElement(*element);
  Present(element->window, element->rect);
}

void ResizeElement(int number, Rect rect) {
  Element* element = FindElement(number);
  if (!element) return;
  const Rect old_rect = element->rect;
  SurfacePtr old_picture = std::move(element->picture);
  element->rect = rect;
  element->picture = NewSurface(rect.width, rect.height);
  if (element->canvas) {
    const Window* window = FindWindow(element->window);
    FillSurface(element->picture.get(), window ? window->back : 0);
    if (old_picture && element->picture)
      SDL_BlitSurface(old_picture.get(), nullptr, element->picture.get(), nullptr);
  } else {
    RenderTextElement(*element);
  }
  Present(element->window, old_rect);
  Present(element->window, rect);
}

void FreeElement(int number) {
  Element* element = FindElement(number);
  if (!element) return;
  const int window_number = element->window;
  const Rect rect = element->rect;
  elements_by_number.erase(number);
  if (Window* window = FindWindow(window_number)) {
    std::erase(window->elements, number);
    if (window->hovered == number) window->hovered = 0;
    Present(window_number, rect);
  }
}

bool ElementExists(int number) {
  return FindElement(number) != nullptr;
}

std::optional<Rect> ElementRect(int number) {
  const Element* element = FindElement(number);
  return element ? std::optional<Rect>(element->rect) : std::nullopt;
}

std::optional<Rect> ElementScreenRect(int number) {
  const Element* element = FindElement(number);
  if (!element) return std::nullopt;
  const auto window = WindowScreenRect(element->window);
  if (!window) return std::nullopt;
  return Rect{window->x + element->rect.x, window->y + element->rect.y, element->rect.width,
              element->rect.height};
}

std::optional<PixelGrid> ReadWindowPixels(int number) {
  Window* window = FindWindow(number);
  if (!window) return std::nullopt;
  // Read what the screen was given where the window system keeps it, else the composition.
  SDL_Surface* screen = window->shown ? SDL_GetWindowSurface(window->sdl.get()) : nullptr;
  return GridOfSurface(screen ? screen : window->composed.get());
}

}  // namespace nf::platform
