// timers.h — numbered timers of a window. Any thread may start or stop one. A running timer
// posts its event to the window's queue every period; as with the window system's own timers,
// at most one event of a timer waits in the queue at a time, so a handler that blocks for a
// while finds one event afterwards, not a backlog. A stopped timer's waiting event is dropped.
#pragma once

#include <cstdint>

namespace nf::platform {

// Starts (or restarts) timer `timer` of `window`; false when the window is not open.
bool AddWindowTimer(int window, int timer, std::uint32_t period_ms);
void RemoveWindowTimer(int window, int timer);

}  // namespace nf::platform
