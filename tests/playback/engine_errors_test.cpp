// Engine codes in words, and the box they are shown in.
#include <gtest/gtest.h>

#include "playback/playback_state.h"

namespace nf::playback {
namespace {

TEST(EngineErrorText, ListedCodesGiveTheirTextsExactly) {
  struct Case {
    std::int32_t code;
    std::u16string text;
  };
  const Case cases[] = {
      {0, u"All is OK"},
      {1, u"Memory error"},
      {2, u"Can't open the file"},
      {3, u"Can't find a free/valid driver"},
      {6, u"Unsupported sample format"},
      {8, u"Orva_ASIO_Init has Not been successfully called"},
      {9, u"Orva_ASIO_Start has/hasn't been called"},
      {14, u"Already initialized/started"},
      {18, u"Can't get a free channel"},
      {20, u"An illegal parameter was specified"},
      {23, u"Illegal device number"},
      {25, u"Illegal sample rate"},
      {27, u"The stream is not a file stream"},
      {37, u"Requested data is not available"},
      {40, u"Connection timedout"},
      {41, u"Unsupported file format"},
      {44, u"Codec is not available/supported"},
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
