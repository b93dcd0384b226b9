// The calls through which the rest of the program changes the playback state: the reset at
// start-up, the end of a play, the heard entry's number and the gain; and the active-play test.
#include <gtest/gtest.h>

#include "playback/playback_state.h"
#include "tests/support/playback_stand_in.h"

namespace nf::playback {
namespace {

using test::playing::PlayState;

class PlaybackStateTest : public ::testing::Test {
 protected:
  void TearDown() override { test::ResetPlaybackState(); }
};

TEST_F(PlaybackStateTest, APlayIsActiveInEveryStateButStopped) {
  for (const auto& [state, active] :
       {std::pair{Stopped, false}, {Playing, true}, {PlayingLastOpened, true}}) {
    PlayState = state;
    EXPECT_EQ(PlayActive(), active) << int{state};
  }
}

TEST_F(PlaybackStateTest, ClearingThePlayStopsItAndOpensFromTheTopNextTime) {
  PlayState = PlayingLastOpened;
  test::playing::NextEntry = 7;
  ClearPlayState();
  EXPECT_FALSE(PlayActive());
  EXPECT_EQ(NextEntry, 0);
}

TEST_F(PlaybackStateTest, StartUpLeavesNoPlayNoGainAndAnEmptySemaphore) {
  test::playing::LoadedTracks.push_back({100, u"queued", 0, 4, 0});
  test::playing::NowPlaying = {800, u"heard", 400, 2, 1};
  SetOutputGain(1.0f);
  ResetPlayback();
  EXPECT_EQ(OutputGain, 0.0f);
  EXPECT_TRUE(LoadedTracks.empty());
  EXPECT_EQ(ReadNowPlaying().EntryId, 0);
  EXPECT_TRUE(ReadNowPlaying().Title.empty());
  ASSERT_TRUE(test::playing::BufferSemaphore.has_value());
  EXPECT_FALSE(test::playing::BufferSemaphore->TryAcquire()) << "the count starts at 0";
}

TEST_F(PlaybackStateTest, TheDisplayNumbersOnlyTheHeardEntrysPlace) {
  test::playing::NowPlaying = {800, u"heard", 400, 6, 0};
  SetNowPlayingPosition(3);
  const LoadedTrack heard = ReadNowPlaying();
  EXPECT_EQ(heard.Position, 3);
  EXPECT_EQ(heard.PlayedBytes, 400);
  EXPECT_EQ(heard.EntryId, 6);
}

}  // namespace
}  // namespace nf::playback
