// volume_ramps.cpp — fades of the whole output for pause, resume and stop. Each step sets a
// level and then sleeps, on the main thread, while the callback keeps delivering samples.
#include "engine/asio_output.h"
#include "platform/platform.h"
#include "playback/playback_state.h"

namespace nf::playback {
namespace {

using engine::asio_output;

void Step(float level, std::uint32_t sleep_ms) {
  SetOutputLevel(level);
  platform::SleepMs(sleep_ms);
}

// A library that keeps reporting a started output after being stopped and freed would otherwise
// hold the main thread for ever; no real device needs more than a few rounds.
constexpr int MaxStopRounds = 1000;

}  // namespace

void SetOutputLevel(float level) {
  asio_output.Orva_ASIO_ChannelSetVolume(0, engine::OrvaAllChannels, level);
}

void PauseFade() {
  for (int n = 20; n >= 0; --n) Step(OutputGain * static_cast<float>(n) / 20.0f, 20);
}

void ResumeFade() {
  for (int n = 0; n <= 20; ++n) Step(OutputGain * static_cast<float>(n) / 20.0f, 20);
}

void StopFade() {
  const float g = OutputGain;
  for (int n = 20; n >= 2; --n) Step(g * static_cast<float>(n) / 20.0f, 30);  // 0 to -20 dB
  for (int n = 9; n >= 1; --n) Step(g * static_cast<float>(n) / 100.0f, 30);  // to -40 dB
  for (const float tail : {0.006f, 0.002f, 0.0002f}) Step(g * tail, 30);      // to -74 dB
  for (int round = 0; round < MaxStopRounds && asio_output.Orva_ASIO_IsStarted(); ++round) {
    asio_output.Orva_ASIO_Stop();
    asio_output.Orva_ASIO_Free();
  }
  SetOutputLevel(g);
}

}  // namespace nf::playback
