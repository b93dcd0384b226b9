// window_capture.h — what a window shows, for pixel tests: the composed pixels, the ink of
// anti-aliased text, and a PNG of the window to look at.
#pragma once

#include <optional>
#include <string>

#include "platform/toolkit_types.h"

namespace nf::test {

// The toolkit on the offscreen display (call first in every test that opens a window); with
// NF_TEST_DISPLAY=x11 in the environment, on the X server of DISPLAY instead.
void StartOffscreenToolkit();

// The window's pixels; an empty grid when it does not exist.
platform::PixelGrid WindowPixels(int window);

// Writes the window's pixels to `name`.png in NF_SCREENSHOT_DIR (else the working folder) and
// returns the file's path; empty when it could not be written.
std::string SaveWindowPng(int window, const std::string& name);

// True when `pixel` lies on the way from `back` to `ink` (an anti-aliased edge or the full
// ink) at least `least` of the way, as text of colour `ink` drawn over `back` leaves it.
bool IsInkToward(platform::Color pixel, platform::Color back, platform::Color ink,
                 double least = 0.5);

// The pixel of `area` farthest from `back`: the most inked one. Nothing when all are `back`.
std::optional<platform::Color> StrongestInk(const platform::PixelGrid& grid, platform::Rect area,
                                            platform::Color back);

// Whether any pixel of `area` differs from `back`.
bool HasInk(const platform::PixelGrid& grid, platform::Rect area, platform::Color back);

}  // namespace nf::test
