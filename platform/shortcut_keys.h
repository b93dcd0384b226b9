// shortcut_keys.h — inside the platform only: keys of the window system to shortcut numbers.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>

namespace nf::platform::toolkit {

// The virtual-key number of an SDL key, 0 for keys shortcuts do not use.
int VirtualKeyOf(SDL_Keycode key);
SDL_Keycode KeycodeOf(int virtual_key);
std::uint32_t ModifiersOf(Uint16 sdl_modifiers);
Uint16 SdlModifiersOf(std::uint32_t modifiers);
// The command the window gives this key, if any.
std::optional<int> ShortcutCommand(int window, const SDL_Keysym& key);

}  // namespace nf::platform::toolkit
