// toolkit_types.h — the small value types the window toolkit speaks in: colours in the
// program's stored order, rectangles, points and a grid of pixels read back from the screen.
#pragma once

#include <cstdint>
#include <vector>

namespace nf::platform {

// A 24-bit colour stored as 0xBBGGRR, the byte order the program's palette is written in.
using Color = std::uint32_t;

inline constexpr Color RgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<Color>(red) | static_cast<Color>(green) << 8 | static_cast<Color>(blue) << 16;
}
inline constexpr std::uint8_t RedOf(Color color) {
  return color & 0xFF;
}
inline constexpr std::uint8_t GreenOf(Color color) {
  return (color >> 8) & 0xFF;
}
inline constexpr std::uint8_t BlueOf(Color color) {
  return (color >> 16) & 0xFF;
}

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// Half-open: covers x .. x + width - 1 and y .. y + height - 1.
struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool Contains(Point p) const {
    return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height;
  }
  bool operator==(const Rect&) const = default;
};

// Opaque pixels, row by row, each as a Color.
struct PixelGrid {
  int width = 0;
  int height = 0;
  std::vector<Color> pixels;
  Color At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

}  // namespace nf::platform
