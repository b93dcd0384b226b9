// The playlist panels: rows on both panels in their colours, the right panel turned, paging,
// the arrows, row selection by click, and the plain repaint of the playing row.
#include <gtest/gtest.h>

#include "tests/ui/main_window_fixture.h"

namespace nf::test {
namespace {

using platform::Color;
using platform::Rect;

using Panels = MainWindowTest;

// The arrows' chevron pixels: both tips and the ends of their arms.
bool ArrowsShown(const platform::PixelGrid& grid) {
  const Rect up = RectOf(ui::PageUpArrow), down = RectOf(ui::PageDownArrow);
  for (const auto& [x, y] : {std::pair{17, 9}, {11, 15}, {23, 15}, {17, 17}, {11, 23}, {23, 23}})
    if (grid.At(up.x + x, up.y + y) != kRowColor) return false;
  for (const auto& [x, y] : {std::pair{17, 16}, {11, 10}, {23, 10}, {17, 24}, {11, 18}, {23, 18}})
    if (grid.At(down.x + x, down.y + y) != kRowColor) return false;
  return true;
}

bool ArrowsHidden(const platform::PixelGrid& grid) {
  return !HasInk(grid, RectOf(ui::PageUpArrow), kWindowColor) &&
         !HasInk(grid, RectOf(ui::PageDownArrow), kWindowColor);
}

// Which of the 16 rows of each panel show text.
std::vector<bool> InkedRows(const platform::PixelGrid& grid, bool right) {
  std::vector<bool> rows;
  for (int r = 0; r < 16; ++r)
    rows.push_back(HasInk(grid, right ? RightRow(r) : LeftRow(r), Backdrop()));
  return rows;
}

std::vector<bool> FirstRows(int count) {
  std::vector<bool> rows(16, false);
  for (int r = 0; r < count; ++r) rows[r] = true;
  return rows;
}

TEST_F(Panels, AppendedEntriesDrawOneRowEachAndTheArrowsComeWithTheSeventeenth) {
  AddEntries(3);
  auto grid = Screen();
  EXPECT_EQ(InkedRows(grid, false), FirstRows(3));
  EXPECT_EQ(InkedRows(grid, true), FirstRows(3));
  EXPECT_TRUE(TextIn(grid, LeftRow(0), Backdrop(), kRowColor));  // appended rows: plain colours
  EXPECT_TRUE(TextIn(grid, RightRow(0), Backdrop(), kMirrorRowColor));

  AddEntries(13);
  EXPECT_TRUE(ArrowsHidden(Screen()));  // 16 entries fit one page
  AddEntries(1);
  grid = Screen();
  EXPECT_TRUE(ArrowsShown(grid));
  AddEntries(3);  // beyond the page: no more rows, only the list's length changes
  const auto after = Screen();
  const Rect total = RectOf(ui::TotalTimeDisplay);
  for (int y = 0; y < grid.height; ++y)
    for (int x = 0; x < grid.width; ++x)
      if (!total.Contains({x, y})) {
        ASSERT_EQ(after.At(x, y), grid.At(x, y)) << x << "," << y;
      }
}

TEST_F(Panels, ANewRowIsPlacedByItsIndexAlone) {
  ui::PageIndex = 1;
  ui::DrawNewRow(2, u"Placed as on the first page");
  const auto grid = Screen();
  EXPECT_EQ(InkedRows(grid, false),
            (std::vector<bool>{false, false, true, false, false, false, false, false, false, false,
                               false, false, false, false, false, false}));
  EXPECT_TRUE(HasInk(grid, RightRow(2), Backdrop()));
}

TEST_F(Panels, TheCurrentEntryIsDrawnInTheCurrentColoursOnBothPanels) {
  AddEntries(3);
  playlist::SetCurrentIndex(1);
  ui::RedrawPanels();
  const auto grid = Screen();
  struct Case {
    Rect band;
    Color color;
  };
  const Case cases[] = {
      {LeftRow(0), kRowColor},
      {LeftRow(1), kCurrentRowColor},
      {LeftRow(2), kRowColor},
      {RightRow(0), kMirrorRowColor},
      {RightRow(1), kMirrorCurrentRowColor},
      {RightRow(2), kMirrorRowColor},
  };
  for (const auto& [band, color] : cases)
    EXPECT_TRUE(TextIn(grid, band, Backdrop(), color)) << band.x << "," << band.y;
  EXPECT_FALSE(TextIn(grid, LeftRow(0), Backdrop(), kCurrentRowColor));
  EXPECT_FALSE(TextIn(grid, RightRow(1), Backdrop(), kMirrorRowColor));
}

TEST_F(Panels, TheRightPanelsFirstRowIsAtItsBottomTurnedAboutItsPoint) {
  AddEntries(1);
  const auto grid = Screen();
  const Rect left = RectOf(ui::LeftPanel), right = RectOf(ui::RightPanel);
  const Color back = Backdrop();
  int inked = 0;
  for (int y = 0; y < 416; ++y)
    for (int x = 0; x < 310; ++x) {
      const bool right_ink = grid.At(right.x + x, right.y + y) != back;
      if (!right_ink) continue;
      ++inked;
      EXPECT_LT(x, 308) << x << "," << y;  // left of and above the reference point
      EXPECT_LT(y, 414) << x << "," << y;
      EXPECT_GE(y, 414 - platform::TextHeight(ui::RowFont)) << x << "," << y;
    }
  EXPECT_GT(inked, 30);
  // Each row is the left row turned about the panels' centre: where the left row is clearly
  // inked, the turned place on the right is inked too, and the other way round.
  auto strong = [&](int x, int y, Color ink) { return IsInkToward(grid.At(x, y), back, ink, 0.3); };
  for (int y = 0; y < 416; ++y)
    for (int x = 0; x < 310; ++x) {
      const int tx = right.x + 309 - x, ty = right.y + 415 - y;
      if (strong(left.x + x, left.y + y, kRowColor)) {
        EXPECT_NE(grid.At(tx, ty), back) << x << "," << y;
      }
      if (strong(tx, ty, kMirrorRowColor)) {
        EXPECT_NE(grid.At(left.x + x, left.y + y), back) << x << "," << y;
      }
    }
}

TEST_F(Panels, PagingStepsByEightAndStopsAtTheFirstPageShowingTheLast) {
  struct Case {
    int entries;
    std::vector<int> pages_after_each_down;
  };
  const Case cases[] = {
      {16, {0, 0}},
      {17, {1, 1}},
      {24, {1, 1}},
      {25, {1, 2, 2}},
  };
  for (const auto& [entries, pages] : cases) {
    playlist::EmptyPlaylist();
    AddEntries(entries);
    for (const int page : pages) {
      ui::PageDown();
      EXPECT_EQ(ui::PageIndex, page) << entries << " entries";
    }
    for (int page = ui::PageIndex - 1; page >= -1; --page) {
      ui::PageUp();
      EXPECT_EQ(ui::PageIndex, std::max(page, 0)) << entries << " entries";
    }
  }
}

TEST_F(Panels, APageShowsItsEntriesAndEmptyRowsBelowTheLast) {
  AddEntries(17);
  ui::PageDown();  // page 1: entries 8 to 16 on rows 0 to 8
  const auto grid = Screen();
  EXPECT_EQ(InkedRows(grid, false), FirstRows(9));
  EXPECT_EQ(InkedRows(grid, true), FirstRows(9));
  EXPECT_TRUE(ArrowsShown(grid));  // paging leaves the arrows as they are

  ui::PageIndex = 0;
  AddEntries(3);
  ui::PageDown();
  ui::PageDown();
  EXPECT_EQ(ui::PageIndex, 1);  // 20 entries: page 1 shows entries 8 to 19
  EXPECT_EQ(InkedRows(Screen(), false), FirstRows(12));
}

TEST_F(Panels, DeletingDownToTenOnPageOneLeavesTwoRowsAndTheArrows) {
  AddEntries(20);
  ui::PageDown();
  while (playlist::Playlist.size() > 10) {
    playlist::SetCurrentIndex(static_cast<std::int32_t>(playlist::Playlist.size()) - 1);
    playlist::DeleteCurrentEntry();
  }
  const auto grid = Screen();
  EXPECT_EQ(ui::PageIndex, 1);
  EXPECT_EQ(InkedRows(grid, false), FirstRows(2));
  EXPECT_TRUE(ArrowsShown(grid));
}

TEST_F(Panels, ClearingReturnsToTheFirstBlankPageWithHiddenArrows) {
  AddEntries(30);
  ui::PageDown();
  playlist::EmptyPlaylist();
  const auto grid = Screen();
  EXPECT_EQ(ui::PageIndex, 0);
  EXPECT_EQ(InkedRows(grid, false), FirstRows(0));
  EXPECT_EQ(InkedRows(grid, true), FirstRows(0));
  EXPECT_TRUE(ArrowsHidden(grid));
}

TEST(PanelPaging, AMovedEntryStaysOnThePageShown) {
  struct Case {
    int page, from;
    playlist::MoveDirection direction;
    int page_after;
  };
  const Case cases[] = {
      {1, 8, playlist::MoveUp, 0},     // the top row of page 1 goes up a page
      {1, 23, playlist::MoveDown, 2},  // the bottom row of page 1 goes down a page
      {1, 12, playlist::MoveUp, 1},    // inside the page: the page stays
      {0, 0, playlist::MoveDown, 0},  {0, 15, playlist::MoveDown, 1},
      {0, 1, playlist::MoveUp, 0},  // page 0 cannot go up
      {0, 0, playlist::MoveUp, 0},    {2, 16, playlist::MoveUp, 1},
  };
  for (const auto& [page, from, direction, after] : cases)
    EXPECT_EQ(ui::PageKeepingMovedEntry(page, from, direction), after) << page << " " << from;
}

TEST_F(Panels, MovingTheBottomRowDownTurnsThePageAndRedrawsIt) {
  AddEntries(40);
  ui::PageDown();  // page 1: entries 8 to 23
  playlist::SetCurrentIndex(23);
  playlist::MoveCurrentEntry(playlist::MoveDown);
  EXPECT_EQ(playlist::CurrentIndex, 24);
  EXPECT_EQ(ui::PageIndex, 2);  // entries 16 to 31: the moved entry on row 8
  const auto grid = Screen();
  EXPECT_TRUE(TextIn(grid, LeftRow(8), Backdrop(), kCurrentRowColor));
  EXPECT_TRUE(TextIn(grid, LeftRow(7), Backdrop(), kRowColor));
}

TEST_F(Panels, AClickSelectsTheRowUnderItByHeightAlone) {
  const int top = platform::ElementScreenRect(ui::LeftPanel)->y;
  struct Case {
    int entries, page, click_y, current_before, current_after;
  };
  const Case cases[] = {
      {20, 0, 0, 5, 0},  // the top pixel row: the first row
      {20, 0, 25, 5, 0},
      {20, 0, 26, 5, 1},
      {20, 0, 415, 5, 15},  // the lowest pixel row: row 15 of the page
      {25, 1, 415, 5, 23},
      {20, 1, 26 * 11 + 25, 5, 19},  // page 1 of 20 ends with entry 19 on row 11
      {20, 1, 26 * 12, 5, 5},
      {20, 1, 0, 5, 8},
      {5, 0, 26 * 10, 2, 2},  // below the last entry of a short list: nothing changes
      {5, 0, 26 * 4 + 3, 2, 4},
  };
  for (const auto& [entries, page, click_y, before, after] : cases) {
    playlist::EmptyPlaylist();
    AddEntries(entries);
    ui::PageIndex = page;
    playlist::SetCurrentIndex(before);
    ui::ClickPoint = {platform::ElementScreenRect(ui::LeftPanel)->x + 150, top + click_y};
    ui::SelectClickedRow();
    EXPECT_EQ(playlist::CurrentIndex, after)
        << entries << " entries, page " << page << ", y " << click_y;
  }
}

TEST_F(Panels, ThePlayingRowRepaintsPlainlyOnlyOnThePage) {
  AddEntries(5);
  ui::NowPlayingTitle = u"The playing title, whole";
  const auto before = Screen();
  for (const int row : {0, -3, 17}) {
    ui::PlayingRow = row;
    ui::PaintPlayingRow();
    EXPECT_EQ(Screen().pixels, before.pixels) << row;
  }
  ui::PlayingRow = 3;  // counted from 1: the third row, where "Title 3" was
  ui::PaintPlayingRow();
  const auto grid = Screen();
  EXPECT_TRUE(TextIn(grid, LeftRow(2), Backdrop(), kCurrentRowColor));
  EXPECT_FALSE(TextIn(grid, LeftRow(2), Backdrop(), kRowColor));
  EXPECT_GT(platform::TextWidth(ui::RowFont, ui::NowPlayingTitle),
            platform::TextWidth(ui::RowFont, u"Title 3"));
  const int title_end = 20 + 2 + platform::TextWidth(ui::RowFont, u"Title 3");
  EXPECT_TRUE(
      HasInk(grid, {title_end + 10, LeftRow(2).y, 100, 26}, Backdrop()));  // the new, longer text
  for (int r : {0, 1, 3, 4}) EXPECT_TRUE(TextIn(grid, LeftRow(r), Backdrop(), kRowColor)) << r;
  for (int r = 0; r < 5; ++r)  // the right panel is not touched
    for (int y = RightRow(r).y; y < RightRow(r).y + 26; ++y)
      for (int x = 669; x < 979; ++x) ASSERT_EQ(grid.At(x, y), before.At(x, y));
}

}  // namespace
}  // namespace nf::test
