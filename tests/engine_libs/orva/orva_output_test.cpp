// orva_output_test.cpp — what orva.dll's output thread delivers, read back from the recordings
// of ALSA's file plug-in: bit for bit what the callback returned, on the chosen pair only, in the
// device's own sample format, scaled by the level, silent where the callback gave nothing, and
// paced by the clock on a device that never blocks.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/asio_output.h"
#include "engine/engine_codes.h"
#include "tests/engine_libs/orva/orva_binding.h"
#include "tests/engine_libs/orva/orva_test_kit.h"
#include "tests/support/alsa_test_config.h"

namespace nf::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kLimit = 10s;  // for waits that end in a few hundred milliseconds

class OrvaOutput : public ::testing::Test {
 protected:
  // Plays all of `music` on `driver` from `first_channel`, then silence; stops as transport
  // does and returns the recording.
  std::vector<unsigned char> PlayAll(const char* driver, double rate, int first_channel,
                                     MusicSource& music) {
    alsa_.Write();
    const int device = DeviceIndex(orva_, driver);
    EXPECT_GE(device, 0) << driver;
    if (device < 0 || !StartPair(orva_, device, rate, first_channel, music)) return {};
    EXPECT_TRUE(music.WaitForSamples(music.samples().size(), kLimit));
    StopAndFree();
    return alsa_.Recording(driver);
  }

  void StopAndFree() {
    EXPECT_TRUE(orva_.Orva_ASIO_ChannelReset(0, -1, engine::OrvaResetStop));
    while (orva_.Orva_ASIO_IsStarted()) EXPECT_TRUE(orva_.Orva_ASIO_Stop());
    EXPECT_TRUE(orva_.Orva_ASIO_Free());  // closing the device writes out the recording
  }

  AlsaTestConfig alsa_;
  engine::AsioOutput orva_ = LoadOrva();
};

// The recording holds the music from its first frame, then only silence.
void ExpectMusicThenSilence(const std::vector<std::uint32_t>& recorded,
                            const std::vector<std::uint32_t>& music) {
  ASSERT_GE(recorded.size(), music.size());
  EXPECT_TRUE(std::equal(music.begin(), music.end(), recorded.begin()));
  EXPECT_TRUE(std::all_of(recorded.begin() + static_cast<long>(music.size()), recorded.end(),
                          [](std::uint32_t bits) { return bits == 0; }));
}

TEST_F(OrvaOutput, TheDeviceReceivesBitForBitWhatTheCallbackReturned) {
  alsa_.AddRecorded("nf_stereo", "Nightfold stereo", AlsaTestConfig::NullDevice("FL,FR"));
  for (double rate : {44100.0, 96000.0, 384000.0}) {
    MusicSource music(AnyBitPatterns(static_cast<std::size_t>(rate / 5), 7));  // 200 ms
    const std::vector<unsigned char> recorded = PlayAll("nf_stereo", rate, 0, music);
    ExpectMusicThenSilence(FloatBitsOf(recorded), BitsOf(music.samples()));
    // Each call asked for a period of stereo float frames, about 10 ms of them.
    const std::vector<CallRecord> log = music.Log();
    ASSERT_FALSE(log.empty());
    for (const CallRecord& call : log) {
      EXPECT_EQ(call.channel, 0);
      EXPECT_EQ(call.asked, log.front().asked);
    }
    EXPECT_EQ(log.front().asked % 8, 0);
    EXPECT_NEAR(log.front().asked / 8 / rate, 0.010, 0.005) << rate;
  }
}

TEST_F(OrvaOutput, ThePairLandsOnItsChannelsAndEveryOtherChannelIsSilent) {
  alsa_.AddRecorded("nf_quad", "Nightfold quad", AlsaTestConfig::NullDevice("FL,FR,RL,RR"));
  alsa_.AddRecorded("nf_octo", "Nightfold eight",
                    AlsaTestConfig::NullDevice("FL,FR,RL,RR,FC,LFE,SL,SR"));
  struct Case {
    const char* device;
    std::size_t channels;
    int first;
  };
  for (const Case& c : {Case{"nf_quad", 4, 2}, Case{"nf_quad", 4, 0}, Case{"nf_octo", 8, 6}}) {
    MusicSource music(FiniteSamples(4410, 3));
    const std::vector<std::uint32_t> recorded =
        FloatBitsOf(PlayAll(c.device, 44100.0, c.first, music));
    const std::vector<std::uint32_t> expected = BitsOf(music.samples());
    const std::size_t frames = expected.size() / 2;
    ASSERT_GE(recorded.size(), frames * c.channels) << c.device;
    ASSERT_EQ(recorded.size() % c.channels, 0u);
    std::size_t misplaced = 0;
    for (std::size_t f = 0; f < recorded.size() / c.channels; ++f) {
      for (std::size_t channel = 0; channel < c.channels; ++channel) {
        const int k = static_cast<int>(channel) - c.first;
        const std::uint32_t wanted = (k == 0 || k == 1) && f < frames ? expected[2 * f + k] : 0;
        misplaced += recorded[f * c.channels + channel] != wanted;
      }
    }
    EXPECT_EQ(misplaced, 0u) << c.device << " from channel " << c.first;
  }
}

TEST_F(OrvaOutput, AnIntegerDeviceGetsTheExactIntegers) {
  struct Case {
    const char* device;
    std::vector<std::string> formats;
    int bits;
    std::size_t bytes;  // per sample
  };
  const std::vector<Case> cases = {
      {"nf_s32", {"S32_LE"}, 32, 4},
      {"nf_s24", {"S24_LE"}, 24, 4},
      {"nf_s24_3", {"S24_3LE"}, 24, 3},
      {"nf_s16", {"S16_LE"}, 16, 2},
      {"nf_widest", {"S16_LE", "S24_3LE", "S32_LE"}, 32, 4},  // the widest one it takes
  };
  for (const Case& c : cases)
    alsa_.AddRecorded(c.device, c.device, alsa_.Card({.formats = c.formats, .rates = {48000}}));
  for (const Case& c : cases) {
    std::vector<std::int32_t> integers;
    MusicSource music(IntegerSamples(4800, c.bits, 11, integers));
    const std::vector<unsigned char> recorded = PlayAll(c.device, 48000.0, 0, music);
    ASSERT_GE(recorded.size(), integers.size() * c.bytes) << c.device;
    ASSERT_EQ(recorded.size() % (2 * c.bytes), 0u) << c.device;
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < recorded.size() / c.bytes; ++i) {
      std::int32_t value = 0;
      std::memcpy(&value, &recorded[i * c.bytes], c.bytes);
      const int unused_bits = 32 - 8 * static_cast<int>(c.bytes);  // little-endian, sign-extended
      value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << unused_bits) >>
              unused_bits;
      wrong += value != (i < integers.size() ? integers[i] : 0);
    }
    EXPECT_EQ(wrong, 0u) << c.device;
  }
}

TEST_F(OrvaOutput, TheLevelScalesTheOutputAndFullLevelChangesNoBit) {
  alsa_.AddRecorded("nf_stereo", "Nightfold stereo", AlsaTestConfig::NullDevice("FL,FR"));
  MusicSource half(FiniteSamples(4410, 5));
  ASSERT_TRUE(orva_.Orva_ASIO_ChannelSetVolume(0, -1, 0.5f));
  std::vector<float> scaled = half.samples();
  for (float& sample : scaled) sample *= 0.5f;
  ExpectMusicThenSilence(FloatBitsOf(PlayAll("nf_stereo", 44100.0, 0, half)), BitsOf(scaled));

  // Back at 1.0 every pattern passes, NaN payloads included.
  ASSERT_TRUE(orva_.Orva_ASIO_ChannelSetVolume(0, -1, 1.0f));
  MusicSource full(AnyBitPatterns(4410, 9));
  ExpectMusicThenSilence(FloatBitsOf(PlayAll("nf_stereo", 44100.0, 0, full)),
                         BitsOf(full.samples()));
}

TEST_F(OrvaOutput, AShortReturnIsPaddedWithSilence) {
  alsa_.AddRecorded("nf_stereo", "Nightfold stereo", AlsaTestConfig::NullDevice("FL,FR"));
  MusicSource music(FiniteSamples(44100, 13));
  // Less than asked, nothing, a sample and a half, nonsense below and above.
  music.answer = [](std::int32_t asked, std::size_t call) -> std::int32_t {
    switch (call % 6) {
      case 0:
        return asked;
      case 1:
        return asked / 2;
      case 2:
        return 0;
      case 3:
        return 6;
      case 4:
        return -5;
      default:
        return asked + 100;
    }
  };
  alsa_.Write();
  ASSERT_TRUE(StartPair(orva_, DeviceIndex(orva_, "nf_stereo"), 44100.0, 0, music));
  ASSERT_TRUE(music.WaitForCalls(12, kLimit));
  StopAndFree();

  // Each call's period: the whole samples it gave, then zeros.
  std::vector<std::uint32_t> expected;
  const std::vector<std::uint32_t> source = BitsOf(music.samples());
  std::size_t position = 0;
  for (const CallRecord& call : music.Log()) {
    const std::size_t kept = std::min<std::size_t>(std::clamp(call.returned, 0, call.asked) / 4,
                                                   source.size() - position);
    expected.insert(expected.end(), source.begin() + position, source.begin() + position + kept);
    expected.resize(expected.size() + call.asked / 4 - kept, 0);
    position += kept;
  }
  const std::vector<std::uint32_t> recorded = FloatBitsOf(alsa_.Recording("nf_stereo"));
  ASSERT_GE(recorded.size(), expected.size());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), recorded.begin()));
}

TEST_F(OrvaOutput, PauseStopsTheCallbacksAndResetFourResumesThem) {
  alsa_.AddRecorded("nf_stereo", "Nightfold stereo", AlsaTestConfig::NullDevice("FL,FR"));
  MusicSource music(FiniteSamples(8820, 17));  // 200 ms
  alsa_.Write();
  ASSERT_TRUE(StartPair(orva_, DeviceIndex(orva_, "nf_stereo"), 44100.0, 0, music));
  ASSERT_TRUE(music.WaitForSamples(2000, kLimit));

  ASSERT_TRUE(orva_.Orva_ASIO_ChannelPause(0, 0));
  const std::size_t calls = music.Calls();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(music.Calls(), calls);
  EXPECT_TRUE(orva_.Orva_ASIO_IsStarted());  // the device plays on, silent

  ASSERT_TRUE(orva_.Orva_ASIO_ChannelReset(0, -1, engine::OrvaResetPause));
  ASSERT_TRUE(music.WaitForSamples(music.samples().size(), kLimit));
  StopAndFree();

  // All of the music, in order, with silence where the pause was.
  const std::vector<std::uint32_t> recorded = FloatBitsOf(alsa_.Recording("nf_stereo"));
  std::vector<std::uint32_t> heard;
  for (std::size_t f = 0; f + 1 < recorded.size(); f += 2)
    if (recorded[f] || recorded[f + 1]) heard.insert(heard.end(), {recorded[f], recorded[f + 1]});
  EXPECT_EQ(heard, BitsOf(music.samples()));
  EXPECT_GT(recorded.size(), music.samples().size() + 44100 * 2 / 20);  // over 50 ms of pause
}

TEST_F(OrvaOutput, ResetThreeEndsTheCallbacksForGood) {
  alsa_.AddRecorded("nf_stereo", "Nightfold stereo", AlsaTestConfig::NullDevice("FL,FR"));
  MusicSource music(FiniteSamples(44100, 19));
  alsa_.Write();
  ASSERT_TRUE(StartPair(orva_, DeviceIndex(orva_, "nf_stereo"), 44100.0, 0, music));
  ASSERT_TRUE(music.WaitForCalls(3, kLimit));
  ASSERT_TRUE(orva_.Orva_ASIO_ChannelReset(0, -1, engine::OrvaResetStop));
  const std::size_t calls = music.Calls();
  ASSERT_TRUE(orva_.Orva_ASIO_ChannelReset(0, -1, engine::OrvaResetPause));  // resumes nothing
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(music.Calls(), calls);
  EXPECT_TRUE(orva_.Orva_ASIO_IsStarted());
  StopAndFree();
}

TEST_F(OrvaOutput, StartAndStopFollowTheOutputsState) {
  alsa_.AddRecorded("nf_stereo", "Nightfold stereo",
                    alsa_.Card({.formats = {"FLOAT_LE"}, .rates = {44100, 48000}}));
  MusicSource music(FiniteSamples(441, 23));
  alsa_.Write();
  ASSERT_TRUE(StartPair(orva_, DeviceIndex(orva_, "nf_stereo"), 44100.0, 0, music));
  EXPECT_TRUE(orva_.Orva_ASIO_IsStarted());
  EXPECT_FALSE(orva_.Orva_ASIO_Start(0, 0));
  EXPECT_EQ(orva_.Orva_ASIO_ErrorGetCode(), engine::EngineErrorAlready);
  EXPECT_FALSE(orva_.Orva_ASIO_SetRate(48000.0));  // not while it runs at another
  EXPECT_EQ(orva_.Orva_ASIO_ErrorGetCode(), engine::EngineErrorAlready);
  EXPECT_EQ(orva_.Orva_ASIO_GetRate(), 44100.0);
  EXPECT_TRUE(orva_.Orva_ASIO_Stop());
  EXPECT_FALSE(orva_.Orva_ASIO_IsStarted());
  EXPECT_FALSE(orva_.Orva_ASIO_Stop());
  EXPECT_EQ(orva_.Orva_ASIO_ErrorGetCode(), engine::EngineErrorStart);
  // Stopped, it starts again at another rate; Free while it runs stops it.
  EXPECT_TRUE(orva_.Orva_ASIO_SetRate(48000.0));
  EXPECT_TRUE(orva_.Orva_ASIO_Start(0, 0));
  EXPECT_TRUE(music.WaitForCalls(music.Calls() + 2, kLimit));
  EXPECT_TRUE(orva_.Orva_ASIO_Free());
  EXPECT_FALSE(orva_.Orva_ASIO_IsStarted());
}

TEST_F(OrvaOutput, APlayOnADeviceThatNeverBlocksLastsAsLongAsItsMusic) {
  alsa_.AddRecorded("nf_stereo", "Nightfold stereo", AlsaTestConfig::NullDevice("FL,FR"));
  constexpr double kSeconds = 1.5;
  MusicSource music(FiniteSamples(static_cast<std::size_t>(48000 * kSeconds), 29));
  alsa_.Write();
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(StartPair(orva_, DeviceIndex(orva_, "nf_stereo"), 48000.0, 0, music));
  ASSERT_TRUE(music.WaitForSamples(music.samples().size(), kLimit));
  const std::chrono::duration<double> lasted = music.LastMusicAt() - started;
  StopAndFree();
  // The device takes a buffer (80 ms) ahead; the rest comes at the music's pace. The margins
  // are wide: this is about pacing, not about timing on a busy machine.
  EXPECT_GT(lasted.count(), kSeconds * 0.75);
  EXPECT_LT(lasted.count(), kSeconds * 2.5);
}

TEST_F(OrvaOutput, ErrorCodesBelongToTheCallingThread) {
  ASSERT_TRUE(orva_.Orva_ASIO_ChannelSetVolume(0, -1, 1.0f));
  std::int32_t code_there = 0;
  std::thread([&] {
    EXPECT_FALSE(orva_.Orva_ASIO_Init(99, engine::OrvaInitPlay));
    code_there = orva_.Orva_ASIO_ErrorGetCode();
  }).join();
  EXPECT_EQ(code_there, engine::EngineErrorDevice);
  EXPECT_EQ(orva_.Orva_ASIO_ErrorGetCode(), engine::EngineOk);
}

// A callback that calls the library back is refused instead of waiting for itself forever.
std::int32_t CallsBack(std::int32_t, std::int32_t, void*, std::int32_t length, void* user) {
  auto& orva = *static_cast<engine::AsioOutput*>(user);
  const bool refused = !orva.Orva_ASIO_Stop() && !orva.Orva_ASIO_ChannelPause(0, 0) &&
                       orva.Orva_ASIO_ErrorGetCode() == engine::EngineErrorStart;
  const bool level_set = orva.Orva_ASIO_ChannelSetVolume(0, -1, 1.0f);
  return refused && level_set ? length : 0;
}

TEST_F(OrvaOutput, ACallbackThatCallsTheLibraryDoesNotHangIt) {
  alsa_.AddRecorded("nf_stereo", "Nightfold stereo", AlsaTestConfig::NullDevice("FL,FR"));
  alsa_.Write();
  ASSERT_TRUE(orva_.Orva_ASIO_Init(DeviceIndex(orva_, "nf_stereo"), engine::OrvaInitPlay));
  ASSERT_TRUE(orva_.Orva_ASIO_ChannelEnable(0, 0, &CallsBack, &orva_));
  ASSERT_TRUE(orva_.Orva_ASIO_ChannelJoin(0, 1, 0));
  ASSERT_TRUE(orva_.Orva_ASIO_Start(0, 0));
  std::this_thread::sleep_for(50ms);
  StopAndFree();
  const std::vector<std::uint32_t> recorded = FloatBitsOf(alsa_.Recording("nf_stereo"));
  // The callback wrote nothing into its buffer but claimed all of it: zeros, every period.
  EXPECT_FALSE(recorded.empty());
}

}  // namespace
}  // namespace nf::test
