// channel_map.h — reading a device's channel map: where its further stereo pairs start, and
// what to call each channel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nf::orva {

// For each channel of a map (ALSA channel positions), 1 where a left/right pair other than the
// first one starts, else 0. An empty map (the device names no positions) gives no pairs.
std::vector<std::uint32_t> FurtherPairStarts(const std::vector<unsigned>& positions,
                                             std::size_t channels);

// "Output 3 (RL)", or "Output 3" when the position is unknown.
std::string ChannelName(std::size_t channel, const std::vector<unsigned>& positions);

}  // namespace nf::orva
