// shortcuts.cpp — the windows' shortcut tables and the translation of SDL keys.
#include "platform/shortcuts.h"

#include <map>
#include <vector>

#include "platform/shortcut_keys.h"
#include "platform/toolkit_state.h"

namespace nf::platform {
namespace {

struct Shortcut {
  int key;
  std::uint32_t modifiers;
  int command;
};
std::map<int, std::vector<Shortcut>> shortcuts_of_window;

constexpr std::pair<SDL_Keycode, int> kNamedKeys[] = {
    {SDLK_BACKSPACE, KeyBackspace}, {SDLK_TAB, KeyTab},       {SDLK_RETURN, KeyEnter},
    {SDLK_KP_ENTER, KeyEnter},      {SDLK_ESCAPE, KeyEscape}, {SDLK_SPACE, KeySpace},
    {SDLK_LEFT, KeyLeft},           {SDLK_UP, KeyUp},         {SDLK_RIGHT, KeyRight},
    {SDLK_DOWN, KeyDown},           {SDLK_DELETE, KeyDelete},
};

}  // namespace

namespace toolkit {

int VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  for (const auto& [sdl, virtual_key] : kNamedKeys)
    if (sdl == key) return virtual_key;
  return 0;
}

SDL_Keycode KeycodeOf(int virtual_key) {
  if (virtual_key >= 'A' && virtual_key <= 'Z') return SDLK_a + (virtual_key - 'A');
  if (virtual_key >= '0' && virtual_key <= '9') return SDLK_0 + (virtual_key - '0');
  for (const auto& [sdl, named] : kNamedKeys)
    if (named == virtual_key) return sdl;
  return SDLK_UNKNOWN;
}

std::uint32_t ModifiersOf(Uint16 sdl_modifiers) {
  return (sdl_modifiers & KMOD_SHIFT ? ModifierShift : 0) |
         (sdl_modifiers & KMOD_CTRL ? ModifierControl : 0) |
         (sdl_modifiers & KMOD_ALT ? ModifierAlt : 0);
}

Uint16 SdlModifiersOf(std::uint32_t modifiers) {
  return static_cast<Uint16>((modifiers & ModifierShift ? KMOD_LSHIFT : 0) |
                             (modifiers & ModifierControl ? KMOD_LCTRL : 0) |
                             (modifiers & ModifierAlt ? KMOD_LALT : 0));
}

std::optional<int> ShortcutCommand(int window, const SDL_Keysym& key) {
  const auto table = shortcuts_of_window.find(window);
  if (table == shortcuts_of_window.end()) return std::nullopt;
  const int virtual_key = VirtualKeyOf(key.sym);
  const std::uint32_t modifiers = ModifiersOf(key.mod);
  for (const Shortcut& shortcut : table->second)
    if (virtual_key != 0 && shortcut.key == virtual_key && shortcut.modifiers == modifiers)
      return shortcut.command;
  return std::nullopt;
}

void ForgetShortcutsOf(int window) {
  shortcuts_of_window.erase(window);
}

}  // namespace toolkit

void AddShortcut(int window, int key, std::uint32_t modifiers, int command) {
  auto& table = shortcuts_of_window[window];
  std::erase_if(table, [&](const Shortcut& s) { return s.key == key && s.modifiers == modifiers; });
  table.push_back({key, modifiers, command});
}

void RemoveAllShortcuts(int window) {
  toolkit::ForgetShortcutsOf(window);
}

}  // namespace nf::platform
