// shortcuts.h — keyboard shortcuts of a window: a key with its modifiers gives a command
// number. Keys are the window system's virtual-key numbers (letters are 'A' to 'Z' and follow
// the active keyboard layout); a shortcut matches only with exactly its modifiers held, and
// only in the window that has the keyboard.
#pragma once

#include <cstdint>

namespace nf::platform {

inline constexpr int KeyBackspace = 8;
inline constexpr int KeyTab = 9;
inline constexpr int KeyEnter = 13;
inline constexpr int KeyEscape = 27;
inline constexpr int KeySpace = 32;
inline constexpr int KeyLeft = 37;
inline constexpr int KeyUp = 38;
inline constexpr int KeyRight = 39;
inline constexpr int KeyDown = 40;
inline constexpr int KeyDelete = 46;

inline constexpr std::uint32_t ModifierShift = 1;
inline constexpr std::uint32_t ModifierControl = 2;
inline constexpr std::uint32_t ModifierAlt = 4;

// Adds a shortcut (replacing one of the same key and modifiers).
void AddShortcut(int window, int key, std::uint32_t modifiers, int command);
void RemoveAllShortcuts(int window);

}  // namespace nf::platform
