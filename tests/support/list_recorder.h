// list_recorder.h — records what the play list tells the window, in order, as short texts:
// "row 3 Title", "redraw", "reset", "total", "rate 44.1", "moved 8 up".
#pragma once

#include <string>
#include <vector>

namespace nf::test {

// Empties the list through its own module, then installs the recorder as its notifications.
std::vector<std::string>& RecordListNotifications();

}  // namespace nf::test
