// The fades: exact level sequences in 32-bit float, the pause after every step, and the stop
// loop, all on the virtual clock.
#include <gtest/gtest.h>

#include "engine/asio_output.h"
#include "platform/platform.h"
#include "playback/playback_state.h"
#include "tests/support/fake_output.h"
#include "tests/support/playback_stand_in.h"

namespace nf::playback {
namespace {

class VolumeRampTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UseVirtualClock(true);
    fake = &test::BindFakeOutput();
    SetOutputGain(1.0f);
  }
  void TearDown() override {
    test::ResetPlaybackState();
    platform::UseVirtualClock(false);
  }

  // Every level is followed by exactly one pause of step_ms before the next level is set.
  void ExpectOnePausePerStep(std::uint32_t step_ms, std::size_t steps) {
    std::vector<std::uint64_t> times;
    for (const auto& call : fake->calls)
      if (call.name == "Orva_ASIO_ChannelSetVolume") times.push_back(call.at_ms);
    ASSERT_GE(times.size(), steps);
    for (std::size_t i = 0; i < steps; ++i) EXPECT_EQ(times[i], i * step_ms) << "step " << i;
    EXPECT_EQ(platform::TakeVirtualSleeps(), std::vector<std::uint32_t>(steps, step_ms));
  }

  test::FakeOutput* fake;
};

std::vector<float> Twentieths(int from, int to) {
  std::vector<float> levels;
  for (int n = from; from > to ? n >= to : n <= to; from > to ? --n : ++n)
    levels.push_back(static_cast<float>(n) / 20.0f);
  return levels;
}

TEST_F(VolumeRampTest, PauseFadesFromFullToSilenceIn21StepsOf20Ms) {
  PauseFade();
  EXPECT_EQ(test::LevelsSet(*fake), Twentieths(20, 0));
  EXPECT_EQ(test::LevelsSet(*fake).back(), 0.0f);
  ExpectOnePausePerStep(20, 21);
  EXPECT_EQ(platform::VirtualNowMs(), 420u);
}

TEST_F(VolumeRampTest, ResumeFadesFromSilenceToFullIn21StepsOf20Ms) {
  ResumeFade();
  EXPECT_EQ(test::LevelsSet(*fake), Twentieths(0, 20));
  EXPECT_EQ(test::LevelsSet(*fake).back(), 1.0f);
  ExpectOnePausePerStep(20, 21);
  EXPECT_EQ(platform::VirtualNowMs(), 420u);
}

TEST_F(VolumeRampTest, StopFadesToMinus74DbThenStopsAndRestoresTheLevel) {
  fake->started = true;
  StopFade();
  std::vector<float> expected = Twentieths(20, 2);
  for (int n = 9; n >= 1; --n) expected.push_back(static_cast<float>(n) / 100.0f);
  expected.insert(expected.end(), {0.006f, 0.002f, 0.0002f});
  expected.push_back(1.0f);  // the level is restored once output has stopped
  EXPECT_EQ(test::LevelsSet(*fake), expected);
  ExpectOnePausePerStep(30, 31);
  EXPECT_EQ(platform::VirtualNowMs(), 930u);
  EXPECT_EQ(fake->calls.back().name, "Orva_ASIO_ChannelSetVolume");
  EXPECT_FALSE(fake->started);
}

TEST_F(VolumeRampTest, EveryRampScalesTheOutputGain) {
  SetOutputGain(0.5f);
  PauseFade();
  EXPECT_EQ(test::LevelsSet(*fake).front(), 0.5f);
  fake->calls.clear();
  ResumeFade();
  EXPECT_EQ(test::LevelsSet(*fake)[1], 0.5f * 1.0f / 20.0f);
  fake->calls.clear();
  StopFade();
  const auto levels = test::LevelsSet(*fake);
  EXPECT_EQ(levels[30], 0.5f * 0.0002f);
  EXPECT_EQ(levels.back(), 0.5f);
}

TEST_F(VolumeRampTest, StopLoopRepeatsStopAndFreeUntilOutputHalts) {
  struct Case {
    bool started;
    int rounds_to_halt;
    int stops_expected;
  };
  for (auto [started, rounds, stops] : {Case{false, 1, 0}, {true, 1, 1}, {true, 3, 3}}) {
    fake = &test::BindFakeOutput();
    fake->started = started;
    fake->stop_rounds_to_halt = rounds;
    StopFade();
    int stop_calls = 0, free_calls = 0;
    for (const auto& call : fake->calls) {
      stop_calls += call.name == "Orva_ASIO_Stop";
      free_calls += call.name == "Orva_ASIO_Free";
    }
    EXPECT_EQ(stop_calls, stops) << rounds;
    EXPECT_EQ(free_calls, stops) << rounds;
  }
}

// Each round asks whether output still runs, then stops it and only then frees the driver; the
// level comes back once it no longer runs.
TEST_F(VolumeRampTest, StopLoopStopsBeforeItFrees) {
  fake->started = true;
  fake->stop_rounds_to_halt = 2;
  StopFade();
  EXPECT_EQ(test::CallsBesideLevels(*fake),
            (std::vector<std::string>{"Orva_ASIO_IsStarted", "Orva_ASIO_Stop", "Orva_ASIO_Free",
                                      "Orva_ASIO_IsStarted", "Orva_ASIO_Stop", "Orva_ASIO_Free",
                                      "Orva_ASIO_IsStarted"}));
  EXPECT_EQ(fake->calls.back().name, "Orva_ASIO_ChannelSetVolume");
}

TEST_F(VolumeRampTest, EveryLevelGoesToAllChannelsOfTheOutputSide) {
  fake->started = true;
  PauseFade();
  ResumeFade();
  StopFade();
  SetOutputLevel(0.25f);
  ASSERT_EQ(test::LevelsSet(*fake).size(), 21u + 21u + 32u + 1u);
  for (const auto& call : fake->calls) {
    if (call.name != "Orva_ASIO_ChannelSetVolume") continue;
    EXPECT_EQ(call.input, 0) << "the output side, not the input";
    EXPECT_EQ(call.channel, engine::OrvaAllChannels);
  }
}

TEST_F(VolumeRampTest, StopLoopGivesUpOnAnOutputThatNeverHalts) {
  fake->started = true;
  fake->stop_rounds_to_halt = 1 << 30;
  StopFade();  // must return
  EXPECT_EQ(test::LevelsSet(*fake).back(), 1.0f);
}

}  // namespace
}  // namespace nf::playback
