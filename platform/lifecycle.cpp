// lifecycle.cpp — SDL's start and end.
#include "platform/lifecycle.h"

#include <SDL.h>

#include "platform/windows.h"

namespace nf::platform {

void StartPlatform() {
  // The program has its own main; SDL must not expect to have replaced it.
  SDL_SetMainReady();
}

void EndPlatform() {
  SDL_Quit();
}

}  // namespace nf::platform
