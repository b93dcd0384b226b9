// channel_map.cpp — stereo pairs in ALSA channel maps.
#include "engine_libs/orva/channel_map.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <utility>

namespace nf::orva {
namespace {

// Left position, right position: the pairs a listener would call stereo.
constexpr std::pair<unsigned, unsigned> kStereoPairs[] = {
    {SND_CHMAP_FL, SND_CHMAP_FR},   {SND_CHMAP_RL, SND_CHMAP_RR},
    {SND_CHMAP_SL, SND_CHMAP_SR},   {SND_CHMAP_FLC, SND_CHMAP_FRC},
    {SND_CHMAP_RLC, SND_CHMAP_RRC}, {SND_CHMAP_FLW, SND_CHMAP_FRW},
    {SND_CHMAP_FLH, SND_CHMAP_FRH}, {SND_CHMAP_TFL, SND_CHMAP_TFR},
    {SND_CHMAP_TRL, SND_CHMAP_TRR}, {SND_CHMAP_TFLC, SND_CHMAP_TFRC},
    {SND_CHMAP_TSL, SND_CHMAP_TSR}, {SND_CHMAP_LLFE, SND_CHMAP_RLFE},
    {SND_CHMAP_BLC, SND_CHMAP_BRC},
};

bool IsStereoPair(unsigned left, unsigned right) {
  left &= SND_CHMAP_POSITION_MASK;
  right &= SND_CHMAP_POSITION_MASK;
  return std::any_of(std::begin(kStereoPairs), std::end(kStereoPairs),
                     [&](const auto& pair) { return pair.first == left && pair.second == right; });
}

}  // namespace

std::vector<std::uint32_t> FurtherPairStarts(const std::vector<unsigned>& positions,
                                             std::size_t channels) {
  std::vector<std::uint32_t> starts(channels, 0);
  if (positions.size() != channels) return starts;
  for (std::size_t c = 0; c + 1 < channels;) {
    if (IsStereoPair(positions[c], positions[c + 1])) {
      if (c > 0) starts[c] = 1;
      c += 2;  // a pair's right channel never starts another pair
    } else {
      ++c;
    }
  }
  return starts;
}

std::string ChannelName(std::size_t channel, const std::vector<unsigned>& positions) {
  std::string name = "Output " + std::to_string(channel + 1);
  if (channel < positions.size()) {
    const unsigned position = positions[channel] & SND_CHMAP_POSITION_MASK;
    const char* position_name = snd_pcm_chmap_name(static_cast<snd_pcm_chmap_position>(position));
    if (position > SND_CHMAP_NA && position_name) name += std::string(" (") + position_name + ")";
  }
  return name;
}

}  // namespace nf::orva
