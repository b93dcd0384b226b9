// timer_events.h — inside the platform only: how the event wait recognises timer events.
#pragma once

#include <SDL.h>

namespace nf::platform::toolkit {

// The SDL event type timers post (registered on first use).
Uint32 TimerEventType();
// True when the event's timer still runs; lets the timer post its next event.
bool TakeTimerEvent(const SDL_Event& event);
void NoteWindowOpen(int window, bool open);

}  // namespace nf::platform::toolkit
