// input_simulation.cpp — SDL events made up for tests and pushed onto SDL's own queue.
#include "platform/input_simulation.h"

#include "platform/shortcut_keys.h"
#include "platform/text_codec.h"
#include "platform/toolkit_state.h"

namespace nf::platform {
namespace {

Uint32 SdlIdOf(int window) {
  const toolkit::Window* found = toolkit::FindWindow(window);
  return found ? found->sdl_id : 0;
}

void PushWindowEvent(int window, Uint8 what) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = SdlIdOf(window);
  event.window.event = what;
  SDL_PushEvent(&event);
}

void PushDropEvent(int window, Uint32 type, const std::u16string* name) {
  SDL_Event event{};
  event.type = type;
  event.drop.windowID = SdlIdOf(window);
  event.drop.file = name ? SDL_strdup(ToUtf8(*name).c_str()) : nullptr;  // the taker frees it
  SDL_PushEvent(&event);
}

}  // namespace

void SimulateMouseMove(int window, int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = SdlIdOf(window);
  event.motion.x = x;
  event.motion.y = y;
  SDL_PushEvent(&event);
}

void SimulateMouseLeave(int window) {
  PushWindowEvent(window, SDL_WINDOWEVENT_LEAVE);
}

void SimulateLeftButtonDown(int window, int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button.windowID = SdlIdOf(window);
  event.button.button = SDL_BUTTON_LEFT;
  event.button.state = SDL_PRESSED;
  event.button.clicks = 1;
  event.button.x = x;
  event.button.y = y;
  SDL_PushEvent(&event);
}

void SimulateKeyPress(int window, int key, std::uint32_t modifiers) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.windowID = SdlIdOf(window);
  event.key.state = SDL_PRESSED;
  event.key.keysym.sym = toolkit::KeycodeOf(key);
  event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
  event.key.keysym.mod = toolkit::SdlModifiersOf(modifiers);
  SDL_PushEvent(&event);
}

void SimulateDrop(int window, const std::vector<std::u16string>& names) {
  PushDropEvent(window, SDL_DROPBEGIN, nullptr);
  for (const std::u16string& name : names) PushDropEvent(window, SDL_DROPFILE, &name);
  PushDropEvent(window, SDL_DROPCOMPLETE, nullptr);
}

void SimulateWindowChange(int window, EventKind kind) {
  switch (kind) {
    case EventKind::Minimized:
      return PushWindowEvent(window, SDL_WINDOWEVENT_MINIMIZED);
    case EventKind::Restored:
      return PushWindowEvent(window, SDL_WINDOWEVENT_RESTORED);
    case EventKind::CloseRequest:
      return PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    default:
      return;
  }
}

}  // namespace nf::platform
