// list_recorder.h — records what the play list tells the window, in order, as short texts:
// "row 3 Title", "redraw", "reset", "total", "rate 44.1".
#pragma once

#include <string>
#include <vector>

namespace nf::test {

// Installs the recorder as the list's notifications and empties the list's state.
std::vector<std::string>& RecordListNotifications();

}  // namespace nf::test
