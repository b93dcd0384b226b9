// fonts.h — fonts by face name and point size, known by the program's numbers. fontconfig
// finds the file: the face itself when it is installed, else the nearest installed sans of the
// same weight. Sizes follow a screen of 96 dots per inch, the point size giving the height of
// the em square (a character height, as opposed to a cell height). Measuring and drawing use
// the very same font objects, so a measured text is exactly as wide as it is drawn.
#pragma once

#include <string>
#include <string_view>

namespace nf::platform {

// Opens font `font` (replacing one of that number); false when no usable font file is found.
bool LoadFont(int font, std::u16string_view face, int points);
void FreeFont(int font);
bool FontExists(int font);

// The file the face resolves to, and the em height in pixels for a point size (rounded like
// the window system's own point conversion: 11 points are 15 pixels).
std::string FontFileForFace(std::u16string_view face);
int FontPixelSize(int points);

// Width in pixels of the text drawn in the font; 0 for an empty text or a missing font.
int TextWidth(int font, std::u16string_view text);
// Height in pixels of a line of the font.
int TextHeight(int font);

}  // namespace nf::platform
