// message_box.cpp — message boxes through SDL, or a recorder for tests.
#include "platform/message_box.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <utility>

#include "platform/text_codec.h"

namespace nf::platform {
namespace {

std::atomic<bool> recording{false};
std::mutex records_mutex;
std::vector<MessageBoxRecord> records;

std::uint32_t SdlFlagsForStyle(std::uint32_t style) {
  switch (style & 0xF0) {
    case MessageIconError:
      return SDL_MESSAGEBOX_ERROR;
    case MessageIconWarning:
      return SDL_MESSAGEBOX_WARNING;
    case MessageIconInformation:
      return SDL_MESSAGEBOX_INFORMATION;
    default:
      return 0;  // a plain box
  }
}

}  // namespace

void ShowMessageBox(std::u16string_view caption, std::u16string_view text, std::uint32_t style) {
  if (recording.load(std::memory_order_acquire)) {
    std::lock_guard lock(records_mutex);
    records.push_back({std::u16string(caption), std::u16string(text), style});
    return;
  }
  const std::string caption_utf8 = ToUtf8(caption);
  const std::string text_utf8 = ToUtf8(text);
  // The box must stay in front of the program's top-most windows: it gets the keyboard focus
  // window as its parent when there is one.
  SDL_Window* owner = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyboardFocus() : nullptr;
  const SDL_MessageBoxButtonData ok{
      SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"};
  const SDL_MessageBoxData box{
      SdlFlagsForStyle(style), owner, caption_utf8.c_str(), text_utf8.c_str(), 1, &ok, nullptr};
  int pressed = 0;
  if (SDL_ShowMessageBox(&box, &pressed) != 0)
    std::fprintf(stderr, "%s: %s\n", caption_utf8.c_str(), text_utf8.c_str());
}

void RecordMessageBoxes(bool on) {
  std::lock_guard lock(records_mutex);
  records.clear();
  recording.store(on, std::memory_order_release);
}

std::vector<MessageBoxRecord> TakeMessageBoxes() {
  std::lock_guard lock(records_mutex);
  return std::exchange(records, {});
}

}  // namespace nf::platform
