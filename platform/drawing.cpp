// drawing.cpp — the drawing calls on the canvas being drawn; the rectangle they touched is
// recomposed and shown when the drawing stops.
#include "platform/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/toolkit_state.h"

namespace nf::platform {
namespace {

using toolkit::Element;

struct DrawingState {
  int canvas = 0;
  int font = 0;
  bool touched = false;
  int left = 0, top = 0, right = 0, bottom = 0;  // touched area, right and bottom exclusive
};
DrawingState drawing;

SDL_Surface* Target() {
  const Element* element = drawing.canvas ? toolkit::FindElement(drawing.canvas) : nullptr;
  return element && element->canvas ? element->picture.get() : nullptr;
}

void Touch(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (!drawing.touched) {
    drawing = {drawing.canvas, drawing.font, true, x, y, x + width, y + height};
    return;
  }
  drawing.left = std::min(drawing.left, x);
  drawing.top = std::min(drawing.top, y);
  drawing.right = std::max(drawing.right, x + width);
  drawing.bottom = std::max(drawing.bottom, y + height);
}

void Blit(SDL_Surface* picture, int x, int y) {
  SDL_Surface* target = Target();
  if (!target || !picture) return;
  SDL_Rect place{x, y, picture->w, picture->h};
  SDL_BlitSurface(picture, nullptr, target, &place);
  Touch(x, y, picture->w, picture->h);
}

// The last pixel of a line along one axis, both ends included.
int LineEnd(int start, int extent) {
  if (extent > 0) return start + extent - 1;
  if (extent < 0) return start + extent + 1;
  return start;
}

}  // namespace

bool StartDrawing(int canvas) {
  StopDrawing();
  drawing.canvas = canvas;
  if (Target()) return true;
  drawing.canvas = 0;
  return false;
}

void StopDrawing() {
  ClearDrawingClip();
  const Element* element = drawing.canvas ? toolkit::FindElement(drawing.canvas) : nullptr;
  if (element && drawing.touched) {
    const int left = std::max(drawing.left, 0);
    const int top = std::max(drawing.top, 0);
    const int right = std::min(drawing.right, element->rect.width);
    const int bottom = std::min(drawing.bottom, element->rect.height);
    if (right > left && bottom > top)
      toolkit::Present(element->window,
                       {element->rect.x + left, element->rect.y + top, right - left, bottom - top});
  }
  drawing.canvas = 0;
  drawing.touched = false;
}

void SetDrawingFont(int font) {
  drawing.font = font;
}

void SetDrawingClip(Rect area) {
  if (SDL_Surface* target = Target()) {
    const SDL_Rect clip{area.x, area.y, area.width, area.height};
    SDL_SetClipRect(target, &clip);
  }
}

void ClearDrawingClip() {
  if (SDL_Surface* target = Target()) SDL_SetClipRect(target, nullptr);
}

void FillBox(int x, int y, int width, int height, Color color) {
  SDL_Surface* target = Target();
  if (!target || width <= 0 || height <= 0) return;
  SDL_Rect box{x, y, width, height};
  SDL_FillRect(target, &box, toolkit::OpaquePixel(color));
  Touch(x, y, width, height);
}

void DrawLine(int x, int y, int width, int height, Color color) {
  SDL_Surface* target = Target();
  if (!target) return;
  const int x_end = LineEnd(x, width);
  const int y_end = LineEnd(y, height);
  const Uint32 pixel = toolkit::OpaquePixel(color);
  // Bresenham: every step moves one pixel along the longer axis.
  const int dx = std::abs(x_end - x), dy = -std::abs(y_end - y);
  const int step_x = x < x_end ? 1 : -1, step_y = y < y_end ? 1 : -1;
  int error = dx + dy;
  for (int px = x, py = y;;) {
    const SDL_Rect& clip = target->clip_rect;  // the canvas, or the clip set within it
    if (px >= clip.x && py >= clip.y && px < clip.x + clip.w && py < clip.y + clip.h)
      reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) +
                                static_cast<std::ptrdiff_t>(py) * target->pitch)[px] = pixel;
    if (px == x_end && py == y_end) break;
    const int doubled = 2 * error;
    if (doubled >= dy) error += dy, px += step_x;
    if (doubled <= dx) error += dx, py += step_y;
  }
  Touch(std::min(x, x_end), std::min(y, y_end), dx + 1, -dy + 1);
}

void DrawText(int x, int y, std::u16string_view text, Color color) {
  if (!Target()) return;
  toolkit::SurfacePtr rendered = toolkit::RenderText(drawing.font, text, color);
  Blit(rendered.get(), x, y);
}

void DrawRotatedText(int x, int y, std::u16string_view text, float degrees, Color color) {
  float angle = std::fmod(degrees, 360.0f);
  if (angle < 0) angle += 360.0f;
  if (std::fabs(angle) < 0.5f || std::fabs(angle - 360.0f) < 0.5f)
    return DrawText(x, y, text, color);
  if (std::fabs(angle - 180.0f) >= 0.5f || !Target()) return;
  toolkit::SurfacePtr rendered = toolkit::RenderText(drawing.font, text, color);
  if (!rendered) return;
  const int width = rendered->w, height = rendered->h;
  toolkit::SurfacePtr turned = toolkit::NewSurface(width, height);
  if (!turned) return;
  SDL_SetSurfaceBlendMode(turned.get(), SDL_BLENDMODE_BLEND);
  // Half a turn: the pixel at (i, j) of the line goes to (width - 1 - i, height - 1 - j).
  for (int j = 0; j < height; ++j) {
    const auto* from =
        reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(rendered->pixels) +
                                        static_cast<std::ptrdiff_t>(j) * rendered->pitch);
    auto* to =
        reinterpret_cast<Uint32*>(static_cast<Uint8*>(turned->pixels) +
                                  static_cast<std::ptrdiff_t>(height - 1 - j) * turned->pitch);
    for (int i = 0; i < width; ++i) to[width - 1 - i] = from[i];
  }
  // The line's top-left corner is the point itself, so the turned line ends just before it.
  Blit(turned.get(), x - width, y - height);
}

void DrawImage(int image, int x, int y) {
  Blit(toolkit::FindImage(image), x, y);
}

}  // namespace nf::platform
