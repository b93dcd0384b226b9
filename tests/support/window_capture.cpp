// window_capture.cpp — reading windows back for pixel tests.
#include "tests/support/window_capture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/platform.h"

namespace nf::test {

void StartOffscreenToolkit() {
  // NF_TEST_DISPLAY=x11 runs the same tests on the X server of DISPLAY (Xvfb, say).
  const char* display = std::getenv("NF_TEST_DISPLAY");
  if (!display || std::string(display) != "x11") platform::UseOffscreenDisplay();
  platform::StartToolkit();
}

platform::PixelGrid WindowPixels(int window) {
  return platform::ReadWindowPixels(window).value_or(platform::PixelGrid{});
}

std::string SaveWindowPng(int window, const std::string& name) {
  const auto grid = platform::ReadWindowPixels(window);
  if (!grid) return {};
  const char* folder = std::getenv("NF_SCREENSHOT_DIR");
  const std::string path = std::string(folder && *folder ? folder : ".") + "/" + name + ".png";
  return platform::WritePngFile(platform::FromUtf8(path), *grid) ? path : std::string();
}

bool IsInkToward(platform::Color pixel, platform::Color back, platform::Color ink, double least) {
  using platform::BlueOf, platform::GreenOf, platform::RedOf;
  const double from[] = {double(RedOf(back)), double(GreenOf(back)), double(BlueOf(back))};
  const double to[] = {double(RedOf(ink)), double(GreenOf(ink)), double(BlueOf(ink))};
  const double at[] = {double(RedOf(pixel)), double(GreenOf(pixel)), double(BlueOf(pixel))};
  // The share t of the way that fits best, then how far the pixel is off that point.
  double along = 0, length = 0;
  for (int c = 0; c < 3; ++c) {
    along += (at[c] - from[c]) * (to[c] - from[c]);
    length += (to[c] - from[c]) * (to[c] - from[c]);
  }
  if (length == 0) return false;
  const double t = along / length;
  double off = 0;
  for (int c = 0; c < 3; ++c)
    off = std::max(off, std::fabs(from[c] + t * (to[c] - from[c]) - at[c]));
  return t >= least - 0.02 && t <= 1.02 && off <= 3.0;  // blending rounds by a unit or so
}

std::optional<platform::Color> StrongestInk(const platform::PixelGrid& grid, platform::Rect area,
                                            platform::Color back) {
  std::optional<platform::Color> strongest;
  int best = 0;
  for (int y = std::max(area.y, 0); y < std::min(area.y + area.height, grid.height); ++y)
    for (int x = std::max(area.x, 0); x < std::min(area.x + area.width, grid.width); ++x) {
      const platform::Color pixel = grid.At(x, y);
      const int distance = std::abs(platform::RedOf(pixel) - platform::RedOf(back)) +
                           std::abs(platform::GreenOf(pixel) - platform::GreenOf(back)) +
                           std::abs(platform::BlueOf(pixel) - platform::BlueOf(back));
      if (distance > best) best = distance, strongest = pixel;
    }
  return strongest;
}

bool HasInk(const platform::PixelGrid& grid, platform::Rect area, platform::Color back) {
  return StrongestInk(grid, area, back).has_value();
}

}  // namespace nf::test
