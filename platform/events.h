// events.h — the window system's events as the program sees them. One wait delivers the kinds
// the program acts on: timers, shortcuts, raw left-button presses (whichever of the program's
// windows they reach), a canvas entered or left by the mouse, files dropped, a window
// minimised, restored or asked to close. Everything else (repaints included) is handled inside.
// Events are taken on the user-interface thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/toolkit_types.h"

namespace nf::platform {

enum class EventKind {
  Timer,           // `timer` of `window` is due
  Shortcut,        // `command` of a shortcut of `window`
  LeftButtonDown,  // the left button went down over `window`, the cursor at `cursor`
  MouseEnter,      // the mouse entered canvas `element` of `window`
  MouseLeave,      // the mouse left canvas `element` of `window`
  Drop,            // files dropped on `window`: their names, one per line, in `dropped`
  Minimized,
  Restored,
  CloseRequest,  // the window system asks `window` to close
};

struct Event {
  EventKind kind = EventKind::Timer;
  int window = 0;
  int element = 0;
  int timer = 0;
  int command = 0;
  Point cursor;            // screen coordinates
  std::u16string dropped;  // names joined with LF
};

// The next event; waits up to timeout_ms (0: only what is pending, negative: no limit).
// Nothing when the time is up, or when the window system is not running.
std::optional<Event> WaitEvent(int timeout_ms);

// Where the window system last reported the mouse, in screen coordinates.
Point CursorScreenPosition();

// Takes one message of the window system, if there is one, and lets the toolkit act on it
// (repaint, moving, hover tracking), without the program acting on it: a click, key, drop,
// timer or window change it yields is dropped; the pointer entering or leaving a canvas is kept
// for WaitEvent. Events already waiting for the program stay. Returns whether there was one.
bool DispatchOnePendingEvent();
// Takes and drops pending events, those kept for the program included, until none is left,
// sleeping 1 ms after each.
void DropPendingEvents();

}  // namespace nf::platform
