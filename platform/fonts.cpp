// fonts.cpp — fontconfig chooses the file, SDL2_ttf opens it at the pixel size of 96 dpi.
#include "platform/fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <vector>

#include "platform/text_codec.h"
#include "platform/toolkit_state.h"

namespace nf::platform {
namespace {

struct FontDeleter {
  void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};
std::map<int, std::unique_ptr<TTF_Font, FontDeleter>> fonts_by_number;

struct FontFile {
  std::string path;
  int index = 0;
};

std::string Lowercase(std::string text) {
  std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The weight a face's last word names ("Segoe UI Light"), with the face's family before it.
struct FaceParts {
  std::string family;
  int weight = FC_WEIGHT_REGULAR;
};
FaceParts SplitFace(const std::string& face) {
  static const std::pair<const char*, int> kWeights[] = {
      {"thin", FC_WEIGHT_THIN},
      {"extralight", FC_WEIGHT_EXTRALIGHT},
      {"ultralight", FC_WEIGHT_EXTRALIGHT},
      {"light", FC_WEIGHT_LIGHT},
      {"semilight", FC_WEIGHT_DEMILIGHT},
      {"regular", FC_WEIGHT_REGULAR},
      {"medium", FC_WEIGHT_MEDIUM},
      {"semibold", FC_WEIGHT_DEMIBOLD},
      {"demibold", FC_WEIGHT_DEMIBOLD},
      {"bold", FC_WEIGHT_BOLD},
      {"extrabold", FC_WEIGHT_EXTRABOLD},
      {"black", FC_WEIGHT_BLACK},
  };
  const std::size_t space = face.find_last_of(' ');
  if (space != std::string::npos) {
    const std::string last = Lowercase(face.substr(space + 1));
    for (const auto& [word, weight] : kWeights)
      if (last == word) return {face.substr(0, space), weight};
  }
  return {face, FC_WEIGHT_REGULAR};
}

// Freely available families drawn like the faces the program was designed with.
std::vector<std::string> SubstitutesFor(const std::string& family) {
  const std::string key = Lowercase(family);
  if (key == "segoe ui") return {"Selawik", "Open Sans", "Noto Sans"};
  if (key == "tahoma") return {"DejaVu Sans", "Verdana"};
  return {};
}

bool HasFamily(FcPattern* font, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (Lowercase(reinterpret_cast<const char*>(name)) == Lowercase(family)) return true;
  return false;
}

// The best scalable, upright, normal-width font of a family and weight; with `exact`, only a
// font that really belongs to that family counts.
std::optional<FontFile> Match(const std::string& family, int weight, bool exact) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, weight);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  std::optional<FontFile> chosen;
  FcChar8* file = nullptr;
  if (font && FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch &&
      (!exact || HasFamily(font, family))) {
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    chosen = FontFile{reinterpret_cast<const char*>(file), index};
  }
  if (font) FcPatternDestroy(font);
  return chosen;
}

std::optional<FontFile> ChooseFontFile(std::u16string_view face_name) {
  const std::string face = ToUtf8(face_name);
  const FaceParts parts = SplitFace(face);
  if (auto file = Match(face, parts.weight, true)) return file;
  if (parts.family != face)
    if (auto file = Match(parts.family, parts.weight, true)) return file;
  for (const std::string& substitute : SubstitutesFor(parts.family))
    if (auto file = Match(substitute, parts.weight, true)) return file;
  return Match("sans-serif", parts.weight, false);
}

}  // namespace

namespace toolkit {

TTF_Font* FindFont(int font) {
  const auto found = fonts_by_number.find(font);
  return found == fonts_by_number.end() ? nullptr : found->second.get();
}

SurfacePtr RenderText(int font_number, std::u16string_view text, Color color) {
  TTF_Font* font = FindFont(font_number);
  if (!font || text.empty()) return nullptr;
  const SDL_Color ink{RedOf(color), GreenOf(color), BlueOf(color), 255};
  SurfacePtr rendered(TTF_RenderUTF8_Blended(font, ToUtf8(text).c_str(), ink));
  if (rendered && rendered->format->format != SurfaceFormat) {
    rendered.reset(SDL_ConvertSurfaceFormat(rendered.get(), SurfaceFormat, 0));
    if (rendered) SDL_SetSurfaceBlendMode(rendered.get(), SDL_BLENDMODE_BLEND);
  }
  return rendered;
}

void FreeAllFonts() {
  fonts_by_number.clear();
}

}  // namespace toolkit

int FontPixelSize(int points) {
  return (points * 96 + 36) / 72;
}

std::string FontFileForFace(std::u16string_view face) {
  const auto file = ChooseFontFile(face);
  return file ? file->path : std::string();
}

bool LoadFont(int font, std::u16string_view face, int points) {
  FreeFont(font);
  if (!TTF_WasInit() && TTF_Init() != 0) return false;
  const auto file = ChooseFontFile(face);
  if (!file) return false;
  // At 72 dots per inch a point is a pixel, so the em square is exactly the pixel size.
  TTF_Font* opened =
      TTF_OpenFontIndexDPI(file->path.c_str(), FontPixelSize(points), file->index, 72, 72);
  if (!opened) return false;
  fonts_by_number[font].reset(opened);
  return true;
}

void FreeFont(int font) {
  fonts_by_number.erase(font);
}

bool FontExists(int font) {
  return toolkit::FindFont(font) != nullptr;
}

int TextWidth(int font_number, std::u16string_view text) {
  TTF_Font* font = toolkit::FindFont(font_number);
  int width = 0;
  if (!font || text.empty() || TTF_SizeUTF8(font, ToUtf8(text).c_str(), &width, nullptr) != 0)
    return 0;
  return width;
}

int TextHeight(int font_number) {
  TTF_Font* font = toolkit::FindFont(font_number);
  return font ? TTF_FontHeight(font) : 0;
}

}  // namespace nf::platform
