// orva_test_kit.h — what the output library's tests share: finding a device by its ALSA name,
// music with known samples, a callback that plays it and logs every call, and reading a
// recording back.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>
#include <vector>

#include "engine/asio_output.h"

namespace nf::test {

// The index of the device that ALSA knows as `driver` ("nf_stereo"), or -1.
int DeviceIndex(const engine::AsioOutput& orva, std::string_view driver);

// Seeded music, interleaved stereo: any 32-bit patterns (NaNs, infinities, subnormals, values
// beyond ±1 among them), or finite non-zero samples, or samples that are `bits`-bit integers
// divided by 2^(bits-1), as a decoder delivers them (`integers` receives the integers).
std::vector<float> AnyBitPatterns(std::size_t frames, unsigned seed);
std::vector<float> FiniteSamples(std::size_t frames, unsigned seed);
std::vector<float> IntegerSamples(std::size_t frames, int bits, unsigned seed,
                                  std::vector<std::int32_t>& integers);

std::vector<std::uint32_t> BitsOf(const std::vector<float>& samples);
std::vector<std::uint32_t> FloatBitsOf(const std::vector<unsigned char>& bytes);

struct CallRecord {
  std::int32_t channel;
  std::int32_t asked;     // bytes
  std::int32_t returned;  // what the callback said it wrote
};

// Plays `samples` through the output callback, as much as each call asks for, then returns 0.
// `answer`, when set, gives the callback's return value for a call instead (the callback copies
// that many bytes of music, within what was asked, and moves on by the whole samples of it).
class MusicSource {
 public:
  explicit MusicSource(std::vector<float> samples) : samples_(std::move(samples)) {}

  static std::int32_t Proc(std::int32_t input, std::int32_t channel, void* buffer,
                           std::int32_t length, void* user);
  std::function<std::int32_t(std::int32_t asked, std::size_t call)> answer;

  const std::vector<float>& samples() const { return samples_; }
  std::size_t Calls();
  std::size_t SamplesPlayed();
  std::vector<CallRecord> Log();
  std::chrono::steady_clock::time_point LastMusicAt();  // when the last sample went out
  // Waits (real time, up to `limit`) until `samples` samples of music have gone out.
  bool WaitForSamples(std::size_t samples, std::chrono::milliseconds limit);
  bool WaitForCalls(std::size_t calls, std::chrono::milliseconds limit);

 private:
  std::int32_t Deliver(std::int32_t channel, float* buffer, std::int32_t length);

  std::mutex lock_;
  std::vector<float> samples_;
  std::size_t position_ = 0;
  std::vector<CallRecord> log_;
  std::chrono::steady_clock::time_point last_music_at_{};
};

// Initialises `device` to play at `rate` on the pair from `first_channel`, as transport does:
// enable, join, 32-bit float, start. False (with a test failure) when a step fails.
bool StartPair(const engine::AsioOutput& orva, int device, double rate, int first_channel,
               MusicSource& music);

}  // namespace nf::test
