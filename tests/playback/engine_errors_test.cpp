// Engine codes in words, and the box they are shown in.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "playback/playback_state.h"

namespace nf::playback {
namespace {

// A handful that matter: success, the busy driver a listener meets most, a refused file, the
// catch-all, and a text kept exactly as the engine words it.
TEST(EngineErrorText, ListedCodesGiveTheirTextsExactly) {
  struct Case {
    std::int32_t code;
    std::u16string text;
  };
  const Case cases[] = {
      {0, u"All is OK"},
      {3, u"Can't find a free/valid driver"},
      {41, u"Unsupported file format"},
      {40, u"Connection timedout"},
      {-1, u"Some other mystery error"},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(EngineErrorText(code), text) << code;
}

TEST(EngineErrorText, OtherCodesGiveTheirNumber) {
  struct Case {
    std::int32_t code;
    std::u16string text;
  };
  for (const auto& [code, text] : {Case{5, u"Error code #5"},
                                   {-2, u"Error code #-2"},
                                   {100, u"Error code #100"},
                                   {INT32_MIN, u"Error code #-2147483648"}})
    EXPECT_EQ(EngineErrorText(code), text) << code;
}

TEST(ShowEngineError, ShowsOneErrorBoxCaptionedError) {
  platform::RecordMessageBoxes(true);
  ShowEngineError(41);
  ShowEngineError(7);
  EXPECT_EQ(platform::TakeMessageBoxes(),
            (std::vector<platform::MessageBoxRecord>{{u"Error", u"Unsupported file format", 0x10},
                                                     {u"Error", u"Error code #7", 0x10}}));
}

}  // namespace
}  // namespace nf::playback
