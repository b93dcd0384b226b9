// message_box.h — the program's one message-box function. Styles are the Windows values the
// program's texts come with: 0x10 error icon, 0x40 information icon, 0x1000 system-modal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nf::platform {

inline constexpr std::uint32_t MessageIconError = 0x10;
inline constexpr std::uint32_t MessageIconWarning = 0x30;
inline constexpr std::uint32_t MessageIconInformation = 0x40;
inline constexpr std::uint32_t MessageSystemModal = 0x1000;

// Shows a modal box with one OK button and returns when the user has closed it. Safe from any
// thread. Where no display can show it, the text goes to standard error instead.
void ShowMessageBox(std::u16string_view caption, std::u16string_view text, std::uint32_t style);

// Tests: while recording, boxes are kept here instead of shown.
struct MessageBoxRecord {
  std::u16string caption;
  std::u16string text;
  std::uint32_t style;
  bool operator==(const MessageBoxRecord&) const = default;
};
void RecordMessageBoxes(bool on);
std::vector<MessageBoxRecord> TakeMessageBoxes();

}  // namespace nf::platform
