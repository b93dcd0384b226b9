// orva_test_kit.cpp — devices by name, seeded music, the logging callback.
#include "tests/engine_libs/orva/orva_test_kit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <thread>

namespace nf::test {

int DeviceIndex(const engine::AsioOutput& orva, std::string_view driver) {
  engine::OrvaDeviceInfo info{};
  for (std::uint32_t d = 0; orva.Orva_ASIO_GetDeviceInfo(d, &info); ++d)
    if (info.driver == driver) return static_cast<int>(d);
  return -1;
}

std::vector<float> AnyBitPatterns(std::size_t frames, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<float> samples(frames * 2);
  for (float& sample : samples) {
    const std::uint32_t bits = random();
    std::memcpy(&sample, &bits, sizeof bits);
  }
  return samples;
}

std::vector<float> FiniteSamples(std::size_t frames, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> level(-1.0f, 1.0f);
  std::vector<float> samples(frames * 2);
  for (float& sample : samples) {
    do sample = level(random);
    while (sample == 0.0f);
  }
  return samples;
}

std::vector<float> IntegerSamples(std::size_t frames, int bits, unsigned seed,
                                  std::vector<std::int32_t>& integers) {
  std::mt19937 random(seed);
  // A float holds 24 bits exactly: wider integers are 24-bit ones shifted up, as a 24-bit file
  // decodes to.
  const int exact_bits = std::min(bits, 24);
  std::uniform_int_distribution<std::int32_t> value(-(1 << (exact_bits - 1)),
                                                    (1 << (exact_bits - 1)) - 1);
  std::vector<float> samples(frames * 2);
  integers.assign(frames * 2, 0);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    integers[i] = value(random) * (1 << (bits - exact_bits));
    samples[i] = static_cast<float>(std::ldexp(static_cast<double>(integers[i]), 1 - bits));
  }
  return samples;
}

std::vector<std::uint32_t> BitsOf(const std::vector<float>& samples) {
  std::vector<std::uint32_t> bits(samples.size());
  std::memcpy(bits.data(), samples.data(), samples.size() * sizeof(float));
  return bits;
}

std::vector<std::uint32_t> FloatBitsOf(const std::vector<unsigned char>& bytes) {
  std::vector<std::uint32_t> bits(bytes.size() / 4);
  std::memcpy(bits.data(), bytes.data(), bits.size() * 4);
  return bits;
}

std::int32_t MusicSource::Proc(std::int32_t, std::int32_t channel, void* buffer,
                               std::int32_t length, void* user) {
  return static_cast<MusicSource*>(user)->Deliver(channel, static_cast<float*>(buffer), length);
}

std::int32_t MusicSource::Deliver(std::int32_t channel, float* buffer, std::int32_t length) {
  std::lock_guard hold(lock_);
  const std::size_t left_bytes = (samples_.size() - position_) * sizeof(float);
  const std::int32_t returned =
      answer ? answer(length, log_.size())
             : static_cast<std::int32_t>(std::min<std::size_t>(length, left_bytes));
  const std::size_t copied = std::min<std::size_t>(
      {static_cast<std::size_t>(std::clamp<std::int32_t>(returned, 0, length)), left_bytes});
  std::memcpy(buffer, samples_.data() + position_, copied);
  position_ += copied / sizeof(float);
  if (copied > 0) last_music_at_ = std::chrono::steady_clock::now();
  log_.push_back({channel, length, returned});
  return returned;
}

std::size_t MusicSource::Calls() {
  std::lock_guard hold(lock_);
  return log_.size();
}

std::size_t MusicSource::SamplesPlayed() {
  std::lock_guard hold(lock_);
  return position_;
}

std::vector<CallRecord> MusicSource::Log() {
  std::lock_guard hold(lock_);
  return log_;
}

std::chrono::steady_clock::time_point MusicSource::LastMusicAt() {
  std::lock_guard hold(lock_);
  return last_music_at_;
}

namespace {

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace

bool MusicSource::WaitForSamples(std::size_t samples, std::chrono::milliseconds limit) {
  return WaitFor([&] { return SamplesPlayed() >= samples; }, limit);
}

bool MusicSource::WaitForCalls(std::size_t calls, std::chrono::milliseconds limit) {
  return WaitFor([&] { return Calls() >= calls; }, limit);
}

bool StartPair(const engine::AsioOutput& orva, int device, double rate, int first_channel,
               MusicSource& music) {
  const bool started = orva.Orva_ASIO_Init(device, engine::OrvaInitPlay) &&
                       orva.Orva_ASIO_CheckRate(rate) && orva.Orva_ASIO_SetRate(rate) &&
                       orva.Orva_ASIO_ChannelEnable(0, first_channel, &MusicSource::Proc, &music) &&
                       orva.Orva_ASIO_ChannelJoin(0, first_channel + 1, first_channel) &&
                       orva.Orva_ASIO_ChannelSetFormat(0, first_channel, engine::OrvaFormatFloat) &&
                       orva.Orva_ASIO_Start(0, 0);
  EXPECT_TRUE(started) << "code " << orva.Orva_ASIO_ErrorGetCode();
  return started;
}

}  // namespace nf::test
