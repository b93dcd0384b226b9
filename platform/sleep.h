// sleep.h — the program's one way to pause. Every specified pause goes through SleepMs, so tests
// can run the pauses on a virtual clock that costs no real time.
#pragma once

#include <cstdint>
#include <vector>

namespace nf::platform {

void SleepMs(std::uint32_t ms);

// Tests: while the virtual clock is on, SleepMs only advances it (and yields the processor, so a
// polling loop on another thread still makes progress) and records the pause.
void UseVirtualClock(bool on);
std::uint64_t VirtualNowMs();
// The pauses taken on the virtual clock since it was switched on or last taken, in order.
std::vector<std::uint32_t> TakeVirtualSleeps();

}  // namespace nf::platform
