// skin.cpp — the palette and the four fonts every window of the program uses.
#include "platform/platform.h"
#include "ui/ui.h"

namespace nf::ui {

void InitPalette() {
  WindowColor = 0x020204;
  ButtonHoverColor = 0x040820;
  ButtonTextColor = 0x476171;
  PlayLitColor = 0x5050E0;
  PausedColor = 0x00A0C0;
  CaptionBackColor = 0x000000;
  CaptionTextColor = 0x040840;
  CloseBackColor = 0x020204;
  MinimizeBackColor = 0x020204;
  MinimizeHoverColor = 0x040840;
  RowColor = 0x476171;
  CurrentRowColor = 0x6A8AB7;
  ProgressColor = 0x4646D6;
  DialogBackColor = 0x161616;
  DialogTextColor = 0xCDCDE6;
  DialogHoverColor = 0xEDEDF6;
  DialogGreyColor = 0x919191;
}

void LoadFonts() {
  struct FontSpec {
    int font;
    const char16_t* face;
    int points;
  };
  static constexpr FontSpec kFonts[] = {
      {RowFont, u"Segoe UI Light", 11},
      {CaptionFont, u"Segoe UI Light", 12},
      {ButtonFont, u"Segoe UI Light", 14},
      {DialogFont, u"Tahoma", 10},
  };
  bool all_found = true;
  for (const auto& [font, face, points] : kFonts)
    all_found = platform::LoadFont(font, face, points) && all_found;
  // Without any font file the window still works, but shows no words: say why, once.
  if (!all_found)
    platform::ShowMessageBox(u"Nightfold",
                             u"No font could be found for the window's text. Install a sans-serif "
                             u"font (for example fonts-open-sans) and start again.",
                             platform::MessageIconWarning);
}

}  // namespace nf::ui
