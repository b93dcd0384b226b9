// events.cpp — queue turns for code outside the user interface.
#include "platform/events.h"

#include <SDL.h>

#include "platform/sleep.h"

namespace nf::platform {

bool DispatchOnePendingEvent() {
  if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
  SDL_Event event;
  return SDL_PollEvent(&event) == 1;
}

void DropPendingEvents() {
  while (DispatchOnePendingEvent()) SleepMs(1);
}

}  // namespace nf::platform
