// engine_errors.cpp — engine failure codes in words, shown in a modal error box.
#include "platform/platform.h"
#include "playback/playback_state.h"

namespace nf::playback {
namespace {

struct CodeText {
  std::int32_t code;
  const char16_t* text;
};

constexpr CodeText EngineErrorTexts[] = {
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

}  // namespace

std::u16string EngineErrorText(std::int32_t code) {
  for (const CodeText& entry : EngineErrorTexts)
    if (entry.code == code) return entry.text;
  return u"Error code #" + platform::FromUtf8(std::to_string(code));
}

void ShowEngineError(std::int32_t code) {
  platform::ShowMessageBox(u"Error", EngineErrorText(code), platform::MessageIconError);
}

}  // namespace nf::playback
