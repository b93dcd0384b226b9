// text_characters.h — counting and cutting UTF-16 texts by whole characters, so that a cut
// never splits a surrogate pair and no half character is ever drawn.
#pragma once

#include <cstddef>
#include <string_view>

namespace nf::platform {

inline bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The characters of a text: a surrogate pair counts once, a lone surrogate once.
inline std::size_t CharacterCount(std::u16string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i, ++count)
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
  return count;
}

// The first `count` characters of a text (all of it when it has no more).
inline std::u16string_view FirstCharacters(std::u16string_view text, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t taken = 0; i < text.size() && taken < count; ++i, ++taken)
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
  return text.substr(0, i);
}

}  // namespace nf::platform
