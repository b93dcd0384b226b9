// list_recorder.cpp — the recorder behind the play list's notifications.
#include "tests/support/list_recorder.h"

#include "platform/platform.h"
#include "playlist/playlist.h"

namespace nf::test {
namespace {

std::vector<std::string> notes;

}  // namespace

std::vector<std::string>& RecordListNotifications() {
  playlist::InstallNotifications({});
  playlist::EmptyPlaylist();
  notes.clear();
  playlist::InstallNotifications({
      [](std::int32_t index, const std::u16string& title) {
        notes.push_back("row " + std::to_string(index) + " " + platform::ToUtf8(title));
      },
      [] { notes.push_back("redraw"); },
      [] { notes.push_back("reset"); },
      [] { notes.push_back("total"); },
      [](const std::u16string& text) { notes.push_back("rate " + platform::ToUtf8(text)); },
      [](std::int32_t from, playlist::MoveDirection direction) {
        notes.push_back("moved " + std::to_string(from) +
                        (direction == playlist::MoveUp ? " up" : " down"));
      },
  });
  return notes;
}

}  // namespace nf::test
