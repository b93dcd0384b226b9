// UTF-16 texts to file-system names and back.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace nf::platform {
namespace {

TEST(TextCodec, ValidTextsRoundTrip) {
  struct Case {
    std::u16string text;
    std::string utf8;
  };
  const Case cases[] = {
      {u"", ""},
      {u"Song.flac", "Song.flac"},
      {u"Café Müller", "Caf\xC3\xA9 M\xC3\xBCller"},
      {u"\u266B\u65E5\u672C", "\xE2\x99\xAB\xE6\x97\xA5\xE6\x9C\xAC"},
      {u"\U0001D11E clef", "\xF0\x9D\x84\x9E clef"},  // a surrogate pair
  };
  for (const auto& [text, utf8] : cases) {
    EXPECT_EQ(ToUtf8(text), utf8);
    EXPECT_EQ(FromUtf8(utf8), text);
  }
}

TEST(TextCodec, NamesThatAreNotUtf8SurviveTheRoundTrip) {
  for (const std::string name : {"\xFF\xFE.wav", "caf\xE9.flac", "\xC0\xAF", "\xED\xA0\x80",
                                 "cut\xE2\x99", "\xF4\x90\x80\x80"}) {
    const std::u16string text = FromUtf8(name);
    EXPECT_EQ(ToUtf8(text), name);
  }
}

TEST(TextCodec, LoneSurrogatesBecomeTheReplacementCharacter) {
  EXPECT_EQ(ToUtf8(u"a\xD800"
                   "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(ToUtf8(std::u16string(1, u'\xDFFF')), "\xEF\xBF\xBD");
}

TEST(TextCharacters, CutsFallBetweenWholeCharacters) {
  const std::u16string clef = u"\U0001D11E";  // one character, two UTF-16 units
  struct Case {
    std::u16string text;
    std::size_t count;  // characters in it
    std::size_t take;   // characters asked for
    std::u16string first;
  };
  const Case cases[] = {
      {u"", 0, 3, u""},
      {u"abc", 3, 2, u"ab"},
      {u"abc", 3, 9, u"abc"},
      {u"a" + clef + u"b", 3, 2, u"a" + clef},
      {u"a" + clef + u"b", 3, 1, u"a"},
      {clef + clef, 2, 1, clef},
      {u"a\xD800"
       u"b",
       3, 2, u"a\xD800"},  // a lone surrogate is a character of its own
      {u"a\xDC00", 2, 2, u"a\xDC00"},
  };
  for (const auto& [text, count, take, first] : cases) {
    EXPECT_EQ(CharacterCount(text), count) << ToUtf8(text);
    EXPECT_EQ(FirstCharacters(text, take), first) << ToUtf8(text) << " " << take;
  }
}

}  // namespace
}  // namespace nf::platform
