// events.h — the window system's message queue, as far as code outside the user interface
// touches it: one turn of the queue between long steps, and draining it.
#pragma once

namespace nf::platform {

// Takes one pending window message, if there is one, and lets the window system act on it
// (repaint, move), without handing the event to the program. Returns whether there was one.
bool DispatchOnePendingEvent();
// Takes and drops pending events until none is left, sleeping 1 ms after each.
void DropPendingEvents();

}  // namespace nf::platform
