// input_simulation.h — tests: input as the window system would deliver it, put into the same
// queue that WaitEvent reads, so that everything between the queue and the program is tested.
// Positions are client coordinates of the window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/events.h"

namespace nf::platform {

void SimulateMouseMove(int window, int x, int y);
void SimulateMouseLeave(int window);
void SimulateLeftButtonDown(int window, int x, int y);
// A key pressed in the window (which then has the keyboard), with the modifiers of shortcuts.h.
void SimulateKeyPress(int window, int key, std::uint32_t modifiers);
// One drop of files: its begin, one event per name, its end.
void SimulateDrop(int window, const std::vector<std::u16string>& names);
// Minimized, Restored or CloseRequest, as the window system reports them.
void SimulateWindowChange(int window, EventKind kind);

}  // namespace nf::platform
