// images.h — pictures known by the program's numbers: decoded from PNG data in memory, or
// copied out of another picture by region. PNG files can be written too (tests and tools).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/toolkit_types.h"

namespace nf::platform {

// Decodes PNG data of any colour type into image `image` (replacing one of that number); false
// when the data is not a PNG that can be decoded.
bool DecodePngImage(int image, std::span<const std::uint8_t> png);
// Makes image `image` a copy of `region` of image `source`; false unless the region lies
// wholly inside the source. The image may be the source itself.
bool CopyImageRegion(int image, int source, Rect region);
void FreeImage(int image);
bool ImageExists(int image);
std::optional<Size> ImageSize(int image);
// The picture's colours, and whether every pixel of it is fully opaque.
std::optional<PixelGrid> ReadImagePixels(int image);
bool ImageIsOpaque(int image);

// Decodes PNG data to opaque colours (alpha dropped); nothing when it cannot be decoded.
std::optional<PixelGrid> DecodePng(std::span<const std::uint8_t> png);
// Writes the grid as an 8-bit RGBA PNG, every pixel opaque. False when the file cannot be made.
bool WritePngFile(std::u16string_view path, const PixelGrid& grid);

}  // namespace nf::platform
