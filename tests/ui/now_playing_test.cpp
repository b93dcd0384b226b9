// The now-playing display: its texts and rules as tables, and the tick on the built window
// with a recording output library.
#include <gtest/gtest.h>

#include <atomic>

#include "engine/asio_output.h"
#include "tests/support/fake_output.h"
#include "tests/ui/main_window_fixture.h"

namespace nf::test {
namespace {

using platform::Color;

TEST(TotalTime, ReadsLikeAClockWithHoursModuloNinetyNine) {
  struct Case {
    std::int64_t seconds;
    std::u16string shown;
  };
  const Case cases[] = {
      {0, u""},
      {187, u"  3:07"},
      {2700, u" 45:00"},
      {3599, u" 59:59"},
      {3600, u" 1:00:00"},
      {3723, u" 1:02:03"},
      {5, u"  0:05"},
      {99 * 3600, u" 0:00:00"},
      {100 * 3600 + 5, u" 1:00:05"},
      {36 * 3600 + 59 * 60 + 59, u"36:59:59"},
  };
  for (const auto& [seconds, shown] : cases)
    EXPECT_EQ(ui::TotalTimeText(seconds * 8 * 44100, 44100), shown) << seconds;
  EXPECT_EQ(ui::TotalTimeText(187 * 8 * 96000 + 8 * 95999, 96000), u"  3:07");  // truncated
  EXPECT_EQ(ui::TotalTimeText(8 * 44100, 0), u"");                              // no rate
}

TEST(RateIndicator, ShowsKilohertzOnlyForATextOfMoreThanTwoCharacters) {
  struct Case {
    std::u16string text, shown;
  };
  for (const auto& [text, shown] : {Case{u"44.1", u"44.1  kHz"},
                                    {u"352.8", u"352.8  kHz"},
                                    {u"48.0", u"48.0  kHz"},
                                    {u"", u""},
                                    {u"48", u""}})
    EXPECT_EQ(ui::RateIndicatorText(text), shown) << platform::ToUtf8(text);
}

TEST(ProgressPrefix, CountsWholeCharactersPlusOne) {
  const std::u16string ten = u"0123456789";
  struct Case {
    std::int64_t played, length;
    std::u16string shown;
  };
  const Case cases[] = {
      {0, 800, u"0"},        {200, 800, u"012"},  // a quarter of 10 is 2, plus 1
      {400, 800, u"012345"}, {799, 800, ten},    {800, 800, ten},
      {5000, 800, ten},      {-8, 800, u"0"},  // clamped to the track
      {0, 0, ten},           {96, 0, ten},     // a track of no length: all played
  };
  for (const auto& [played, length, shown] : cases)
    EXPECT_EQ(ui::ProgressPrefix(ten, played, length), shown) << played << "/" << length;
}

TEST(ProgressPrefix, NeverSplitsASurrogatePair) {
  const std::u16string note = u"\U0001F3B5";                          // two UTF-16 units
  const std::u16string title = u"a" + note + u"b" + note + u"c";      // five characters
  EXPECT_EQ(ui::ProgressPrefix(title, 40, 100), u"a" + note + u"b");  // 5 x 0.4 + 1 = 3
  for (std::int64_t played = 0; played <= 100; ++played) {
    const std::u16string prefix = ui::ProgressPrefix(title, played, 100);
    ASSERT_EQ(platform::CharacterCount(prefix), std::min<std::size_t>(played * 5 / 100 + 1, 5));
    ASSERT_FALSE(platform::IsHighSurrogate(prefix.back())) << played;
  }
}

TEST(PageRule, KeepsThePlayingEntryOnThePageWithoutMovingAVisibleOne) {
  struct Case {
    std::int32_t page, index, followed;
  };
  const Case cases[] = {
      {0, 19, 1}, {3, 19, 2},  // index 19 lies on pages 1 and 2
      {1, 19, 1}, {2, 19, 2}, {0, 7, 0}, {0, 8, 0}, {0, 16, 1}, {5, 0, 0}, {4, 95, 10},
  };
  for (const auto& [page, index, followed] : cases)
    EXPECT_EQ(ui::PageFollowingEntry(page, index), followed) << page << " " << index;
}

class Tick : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    output_ = &BindFakeOutput();
    output_->started = true;
    ui::Transport = {[](std::uint8_t keep) { stops.push_back(keep); }, [] { ++button_resets; }};
    AddEntries(20);
    playing::PlayState = playback::Playing;
    playing::FeedState = 1;
    ui::LastShownSecond = -2;
    ui::LastSeenEntryId = 0;
    platform::TakeVirtualSleeps();
  }

  // Entry `index` is being heard, `played` of its bytes already.
  static void Hear(int index, std::int64_t played) {
    const auto& entry = playlist::Playlist[index];
    playing::NowPlaying = {entry.LengthBytes, entry.Title, played, entry.EntryId, 0};
  }
  static std::int64_t Second(double seconds) {
    return static_cast<std::int64_t>(seconds * 8 * 44100);
  }

  FakeOutput* output_ = nullptr;
  static inline std::vector<int> stops;
  static inline int button_resets = 0;
};

TEST_F(Tick, ANewEntryIsNumberedMadeCurrentAndFollowedByThePage) {
  for (const auto& [start_page, page, row] : {std::tuple{0, 1, 12}, {3, 2, 4}}) {
    ui::PageIndex = start_page;
    ui::LastSeenEntryId = 0;
    ui::LastShownSecond = -2;
    Hear(19, Second(10));
    ui::NowPlayingTick();
    EXPECT_EQ(ui::PageIndex, page) << start_page;
    EXPECT_EQ(ui::PlayingRow, row) << start_page;
    EXPECT_EQ(playlist::CurrentIndex, 19);
    EXPECT_EQ(playback::ReadNowPlaying().Position, 20);
    EXPECT_EQ(ui::LastSeenEntryId, playlist::Playlist[19].EntryId);
    EXPECT_EQ(ui::LastShownSecond, 10);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(playlist::Playlist[i].Position, i + 1);
    EXPECT_EQ(ui::NowPlayingTitle, u"Title 20");
  }
}

TEST_F(Tick, TheTitleFillsWithTheProgressColourOncePerSecondOfMusic) {
  Hear(2, Second(187 / 2.0));  // half-way
  ui::NowPlayingTick();
  auto grid = Screen();
  const platform::Rect row = LeftRow(2);
  const int width = platform::TextWidth(ui::RowFont, u"Title 3");
  const int played_width = platform::TextWidth(ui::RowFont, u"Titl");  // 7 x 1/2 + 1 = 4
  EXPECT_TRUE(TextIn(grid, {row.x, row.y, 2 + played_width, 26}, Backdrop(), kProgressColor));
  EXPECT_TRUE(TextIn(grid, {row.x + 2 + played_width + 1, row.y, width - played_width, 26},
                     Backdrop(), kCurrentRowColor));
  EXPECT_TRUE(TextIn(grid, RightRow(2), Backdrop(), kMirrorCurrentRowColor));

  playing::NowPlaying.PlayedBytes += Second(0.2);  // the same second: nothing changes
  ui::NowPlayingTick();
  EXPECT_EQ(Screen().pixels, grid.pixels);

  playing::NowPlaying.PlayedBytes = Second(187);  // the end: all of it in the progress colour
  ui::NowPlayingTick();
  grid = Screen();
  EXPECT_FALSE(TextIn(grid, row, Backdrop(), kCurrentRowColor));
  EXPECT_TRUE(TextIn(grid, row, Backdrop(), kProgressColor));
}

TEST_F(Tick, ATrackOfNoLengthIsDrawnWhollyPlayed) {
  Hear(0, 0);
  playing::NowPlaying.LengthBytes = 0;
  ui::NowPlayingTick();
  const auto grid = Screen();
  EXPECT_TRUE(TextIn(grid, LeftRow(0), Backdrop(), kProgressColor));
  EXPECT_FALSE(TextIn(grid, LeftRow(0), Backdrop(), kCurrentRowColor));
}

TEST_F(Tick, PagingAwayHidesTheRowAndPagingBackShowsItAtTheNextSecond) {
  Hear(2, Second(20));
  ui::NowPlayingTick();
  ui::PageDown();
  const auto away = Screen();
  playing::NowPlaying.PlayedBytes = Second(21);
  ui::NowPlayingTick();
  EXPECT_EQ(ui::PlayingRow, 3 - 8);
  EXPECT_EQ(Screen().pixels, away.pixels);  // off the page: nothing drawn
  ui::PageUp();
  playing::NowPlaying.PlayedBytes = Second(22);
  ui::NowPlayingTick();
  const int played = 2 + platform::TextWidth(ui::RowFont, u"T");  // 7 x 22 / 187 + 1 = 1
  EXPECT_TRUE(TextIn(Screen(), {20, LeftRow(2).y, played, 26}, Backdrop(), kProgressColor));
}

TEST_F(Tick, NothingHappensWhileTheOutputDoesNotRun) {
  output_->started = false;  // no audio thread, and the output reports itself stopped
  Hear(2, Second(20));
  const auto before = Screen();
  ui::NowPlayingTick();
  EXPECT_EQ(Screen().pixels, before.pixels);
  EXPECT_EQ(ui::LastShownSecond, -2);
  EXPECT_TRUE(platform::TakeVirtualSleeps().empty());
  EXPECT_EQ(playback::PlayState, playback::Playing);
}

TEST_F(Tick, WhileTheAudioThreadRunsTheFeedStateSaysWhetherOutputRuns) {
  static std::atomic<bool> release{false};
  playing::AudioThreadId = platform::StartThread(
      [] {
        while (!release.load()) platform::SleepMs(1);
      },
      16);
  ASSERT_NE(playback::AudioThreadId, 0u);
  output_->started = false;  // not asked while the thread runs
  Hear(2, Second(20));
  playing::FeedState = 0;
  ui::NowPlayingTick();
  EXPECT_EQ(ui::LastShownSecond, -2);
  playing::FeedState = 1;
  ui::NowPlayingTick();
  EXPECT_EQ(ui::LastShownSecond, 20);
  release = true;
  platform::WaitForThread(playback::AudioThreadId, 5000);
}

TEST_F(Tick, StarvationBeforeTheEndStopsThePlayAfterThreeSeconds) {
  Hear(2, Second(20));
  ui::NowPlayingTick();
  playing::NextEntry = 5;
  playing::Starved = 1;
  playing::FeedState = 1;  // data was still being decoded
  platform::TakeVirtualSleeps();
  ui::NowPlayingTick();
  EXPECT_EQ(platform::TakeVirtualSleeps(), std::vector<std::uint32_t>{3000});
  EXPECT_EQ(stops, std::vector<int>{0});
  EXPECT_EQ(button_resets, 1);
  EXPECT_EQ(playback::PlayState, playback::Stopped);
  EXPECT_EQ(playback::NextEntry, 0);
  const auto grid = Screen();  // the row lost its progress colouring
  EXPECT_TRUE(TextIn(grid, LeftRow(2), Backdrop(), kCurrentRowColor));
  EXPECT_FALSE(TextIn(grid, LeftRow(2), Backdrop(), kProgressColor));
}

TEST_F(Tick, StarvationAfterAllDataWasDecodedIsTheEndOfTheList) {
  Hear(2, Second(20));
  playing::Starved = 1;
  playing::FeedState = 2;
  ui::NowPlayingTick();
  EXPECT_TRUE(platform::TakeVirtualSleeps().empty());
  EXPECT_TRUE(stops.empty());
  EXPECT_EQ(playback::PlayState, playback::Playing);
}

}  // namespace
}  // namespace nf::test
