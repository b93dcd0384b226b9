// The play list's invariants: the cap, the running total, ids, the notice of a move, and
// refusals while a play is active.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/platform.h"
#include "playlist/playlist.h"
#include "tests/support/list_recorder.h"

namespace nf::playlist {
namespace {

PlaylistEntry MakeEntry(int n, std::int64_t length = 0) {
  PlaylistEntry entry;
  entry.FilePath = u"/music/track" + platform::FromUtf8(std::to_string(n)) + u".flac";
  entry.Title = u"Track " + platform::FromUtf8(std::to_string(n));
  entry.DisplayTitle = entry.Title;
  entry.Extension = u"flac";
  entry.SampleRate = 44100;
  entry.LengthBytes = length ? length : 8 * 44100 * (n + 1);
  entry.EntryId = MakeEntryId();
  return entry;
}

// What the list is told about the play, as the program above it would answer.
bool play_active = false;

class PlaylistTest : public ::testing::Test {
 protected:
  void SetUp() override {
    play_active = false;
    InstallQueries({[] { return play_active; }});
    notes = &test::RecordListNotifications();
  }
  void TearDown() override {
    InstallQueries({});
    InstallNotifications({});
    EmptyPlaylist();
  }
  void Fill(int count) {
    for (int n = 0; n < count; ++n) AppendEntry(MakeEntry(n));
    notes->clear();
  }
  // `count` entries with the current index at `current`; an index equal to the count is the one
  // the deletion of the last entry leaves, which designates no entry.
  void FillWithCurrent(int count, int current) {
    Fill(current == count ? count + 1 : count);
    SetCurrentIndex(current);
    if (current == count) DeleteCurrentEntry();
    ASSERT_EQ(CurrentIndex, current);
    notes->clear();
  }
  std::vector<std::u16string> Titles() {
    std::vector<std::u16string> titles;
    for (const auto& entry : Playlist) titles.push_back(entry.Title);
    return titles;
  }
  std::vector<std::string>* notes;
};

TEST_F(PlaylistTest, AppendDrawsOneRowAndTheTotalUntilTheListIsFull) {
  std::int64_t expected_total = 0;
  for (int n = 0; n < MaxPlaylistEntries; ++n) {
    const PlaylistEntry entry = MakeEntry(n);
    AppendEntry(entry);
    expected_total += entry.LengthBytes;
    ASSERT_EQ(*notes, (std::vector<std::string>{
                          "row " + std::to_string(n) + " Track " + std::to_string(n), "total"}));
    notes->clear();
  }
  AppendEntry(MakeEntry(96));
  EXPECT_EQ(Playlist.size(), 96u);
  EXPECT_EQ(EntryCount(), 96);
  EXPECT_EQ(PlaylistTotalBytes, expected_total);
  EXPECT_TRUE(notes->empty()) << "a dropped 97th entry must not touch the panels";
}

TEST_F(PlaylistTest, TotalFollowsAppendDeleteAndClear) {
  for (int n = 0; n < 5; ++n) AppendEntry(MakeEntry(n, 1000 * (n + 1)));
  EXPECT_EQ(PlaylistTotalBytes, 15000);

  SetCurrentIndex(2);  // the third entry, 3000 bytes
  DeleteCurrentEntry();
  EXPECT_EQ(PlaylistTotalBytes, 12000);
  EXPECT_EQ(CurrentIndex, 2);
  EXPECT_EQ(Playlist[2].Title, u"Track 3") << "the current index now names the following entry";

  EmptyPlaylist();
  EXPECT_EQ(PlaylistTotalBytes, 0);
  EXPECT_TRUE(Playlist.empty());
  EXPECT_EQ(EntryCount(), 0);
}

TEST_F(PlaylistTest, DeleteNeedsTwoEntriesAndAnIndexInsideTheList) {
  struct Case {
    int entries;
    int current;
    bool deletes;
  };
  for (auto [entries, current, deletes] :
       {Case{1, 0, false}, {2, 0, true}, {2, 1, true}, {3, 3, false}}) {
    SetUp();
    FillWithCurrent(entries, current);
    DeleteCurrentEntry();
    EXPECT_EQ(Playlist.size(), static_cast<std::size_t>(deletes ? entries - 1 : entries))
        << entries << " entries, current " << current;
    const std::vector<std::string> painted =
        deletes ? std::vector<std::string>{"redraw", "total"} : std::vector<std::string>{};
    EXPECT_EQ(*notes, painted);
  }
}

TEST_F(PlaylistTest, DeletingTheLastEntryLeavesNoCurrentEntryToCopy) {
  Fill(3);
  SetCurrentIndex(2);
  DeleteCurrentEntry();
  EXPECT_EQ(CurrentIndex, 2);
  EXPECT_FALSE(CopyEntry(CurrentIndex).has_value());
  EXPECT_EQ(CopyEntry(1)->Title, u"Track 1");
}

TEST_F(PlaylistTest, OnlyAnEntryOfTheListCanBeMadeCurrent) {
  Fill(5);
  for (const int index : {3, -1, 5, 96}) {
    SetCurrentIndex(index);
    EXPECT_EQ(CurrentIndex, 3) << index;
  }
}

// The list swaps the neighbours and moves the current index with the entry; keeping it on the
// page is the window's, told by the notice.
TEST_F(PlaylistTest, MoveSwapsNeighboursAndTellsTheWindowWhereTheEntryCameFrom) {
  struct Case {
    int entries, current;
    MoveDirection direction;
    int moved_to;
    const char* notice;
  };
  const Case cases[] = {
      {40, 8, MoveUp, 7, "moved 8 up"},
      {40, 23, MoveDown, 24, "moved 23 down"},
      {40, 0, MoveDown, 1, "moved 0 down"},
      {20, 19, MoveUp, 18, "moved 19 up"},
  };
  for (const Case& c : cases) {
    SetUp();
    Fill(c.entries);
    SetCurrentIndex(c.current);
    const std::u16string moved = Playlist[c.current].Title;
    const std::u16string neighbour = Playlist[c.moved_to].Title;
    const std::int64_t total = PlaylistTotalBytes;
    MoveCurrentEntry(c.direction);
    EXPECT_EQ(Playlist[c.moved_to].Title, moved) << c.current;
    EXPECT_EQ(Playlist[c.current].Title, neighbour) << c.current;
    EXPECT_EQ(CurrentIndex, c.moved_to) << c.current;
    EXPECT_EQ(PlaylistTotalBytes, total);
    EXPECT_EQ(*notes, std::vector<std::string>{c.notice});
  }
}

TEST_F(PlaylistTest, MovesPastEitherEndDoNothing) {
  struct Case {
    int entries, current;
    MoveDirection direction;
  };
  for (auto [entries, current, direction] : {Case{5, 0, MoveUp},
                                             {5, 4, MoveDown},
                                             {1, 0, MoveDown},
                                             {1, 0, MoveUp},
                                             {5, 5, MoveUp},
                                             {5, 5, MoveDown}}) {
    SetUp();
    FillWithCurrent(entries, current);
    const auto before = Titles();
    MoveCurrentEntry(direction);
    EXPECT_EQ(Titles(), before) << current;
    EXPECT_EQ(CurrentIndex, current);
    EXPECT_TRUE(notes->empty());
  }
}

TEST_F(PlaylistTest, EditingIsRefusedWhilePlayingOrPausedButAppendingIsNot) {
  Fill(5);
  SetCurrentIndex(2);
  play_active = true;
  const auto before = Titles();
  const std::int64_t total = PlaylistTotalBytes;
  DeleteCurrentEntry();
  MoveCurrentEntry(MoveUp);
  MoveCurrentEntry(MoveDown);
  EXPECT_EQ(Titles(), before);
  EXPECT_EQ(CurrentIndex, 2);
  EXPECT_EQ(PlaylistTotalBytes, total);
  EXPECT_TRUE(notes->empty());
  AppendEntry(MakeEntry(5));
  EXPECT_EQ(Playlist.size(), 6u) << "appending goes on during a play";
}

TEST_F(PlaylistTest, ClearFreesTheRateAndResetsThePanelsButIdsGoOn) {
  EXPECT_TRUE(FixListSampleRate(96000));
  EXPECT_FALSE(FixListSampleRate(44100)) << "a fixed rate stays until clear";
  EXPECT_EQ(ListSampleRate, 96000);
  const EntryIdType first = NextEntryId + 2;
  AppendEntry(MakeEntry(0));
  AppendEntry(MakeEntry(1));
  SetCurrentIndex(1);
  notes->clear();
  EmptyPlaylist();
  EXPECT_EQ(ListSampleRate, 0);
  EXPECT_EQ(CurrentIndex, 0);
  EXPECT_EQ(*notes, (std::vector<std::string>{"total", "rate ", "reset"}));
  AppendEntry(MakeEntry(2));
  EXPECT_EQ(Playlist[0].EntryId, first + 4);
  EXPECT_TRUE(FixListSampleRate(44100)) << "after clear any rate may fix the list anew";
  EXPECT_EQ(Playlist[0].Position, 0) << "a new entry is not numbered until a play renumbers";
}

TEST_F(PlaylistTest, EntryIdsRunInStepsOfTwo) {
  std::vector<EntryIdType> ids;
  for (int n = 0; n < 4; ++n) ids.push_back(MakeEntryId());
  EXPECT_EQ(ids.back(), NextEntryId);
  for (std::size_t n = 1; n < ids.size(); ++n) EXPECT_EQ(ids[n], ids[n - 1] + 2);
}

// The playback side copies entries on its own thread while the main thread appends: every copy
// is a whole entry, either of the list before the append or after it.
TEST_F(PlaylistTest, CopiesFromAnotherThreadNeverSeeHalfAnAppend) {
  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    while (!done.load()) {
      const int count = EntryCount();
      for (int i = 0; i < count; ++i) {
        const auto copy = CopyEntry(i);
        if (!copy || copy->Title != u"Track " + platform::FromUtf8(std::to_string(i))) ++torn;
      }
    }
  });
  for (int n = 0; n < MaxPlaylistEntries; ++n) AppendEntry(MakeEntry(n));
  done = true;
  reader.join();
  EXPECT_EQ(torn.load(), 0);
}

}  // namespace
}  // namespace nf::playlist
