// fake_output.h — an output library that only records what the program asks of it, bound into
// the program's table for a test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nf::test {

struct FakeOutputCall {
  std::string name;          // the exported name, e.g. "Orva_ASIO_ChannelSetVolume"
  std::int32_t input = 0;    // for ChannelSetVolume: 0 output, 1 input
  std::int32_t channel = 0;  // for ChannelSetVolume: the channel, -1 all of them
  float level = 0.0f;        // for ChannelSetVolume
  std::uint64_t at_ms = 0;   // the virtual clock when the call came
};

struct FakeOutput {
  std::vector<FakeOutputCall> calls;
  bool started = false;
  int stop_rounds_to_halt = 1;  // Stop calls it takes until IsStarted reports 0
};

// Binds the fake into the program's output table; every call is recorded in the returned state.
FakeOutput& BindFakeOutput();

// The levels set, in order.
std::vector<float> LevelsSet(const FakeOutput& fake);
// The names of the calls, in order, leaving out the levels.
std::vector<std::string> CallsBesideLevels(const FakeOutput& fake);

}  // namespace nf::test
