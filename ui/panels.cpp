// panels.cpp — the two playlist panels: the left one lists a page of entries top to bottom, the
// right one shows the same rows turned by half a turn about its centre. Pages of 16 rows move
// by 8 entries. Painting is retained: an appended entry draws one row over what is there.
#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "playlist/playlist.h"
#include "ui/internal/playing_row.h"
#include "ui/ui.h"

namespace nf::ui {
namespace {

constexpr float HalfTurn = 180.0f;

// Reference points: the left row's top-left corner, and the same point turned about the panel's
// centre, which the turned text ends at.
platform::Point LeftRowPoint(int row) {
  return {2, row * RowHeight + 2};
}
platform::Point RightRowPoint(int row) {
  return {PanelWidth - 2, PanelHeight - 2 - row * RowHeight};
}

void DrawLeftRow(int row, std::u16string_view title, std::uint32_t color) {
  const auto at = LeftRowPoint(row);
  platform::DrawText(at.x, at.y, title, color);
}

void DrawRightRow(int row, std::u16string_view title, std::uint32_t color) {
  const auto at = RightRowPoint(row);
  platform::DrawRotatedText(at.x, at.y, title, HalfTurn, color);
}

struct VisibleRow {
  int row;
  std::u16string title;
  bool current;
};

// The rows of the page shown, copied out of the list, so that a walk of the list in progress
// (the now-playing display renumbers it while it redraws) is left undisturbed.
std::vector<VisibleRow> SnapshotOfPage() {
  std::vector<VisibleRow> rows;
  const std::int32_t first = PageIndex * PageStep;
  const auto count = static_cast<std::int32_t>(playlist::Playlist.size());
  for (std::int32_t i = std::max(first, 0); i < count && i < first + RowsPerPage; ++i)
    rows.push_back({i - first, playlist::Playlist[i].DisplayTitle, i == playlist::CurrentIndex});
  return rows;
}

void DrawBackdrop(int panel, int backdrop) {
  if (!platform::StartDrawing(panel)) return;
  platform::DrawImage(backdrop, 0, 0);
  platform::StopDrawing();
}

void PaintArrow(int arrow, bool shown, int first_tip_y, int second_tip_y, int rise) {
  if (!platform::StartDrawing(arrow)) return;
  platform::FillBox(0, 0, 32, 36, WindowColor);
  if (shown) {
    // Each chevron: two seven-pixel lines from its tip, one to each side.
    for (const int tip : {first_tip_y, second_tip_y}) {
      platform::DrawLine(17, tip, -7, rise, RowColor);
      platform::DrawLine(17, tip, 7, rise, RowColor);
    }
  }
  platform::StopDrawing();
}

}  // namespace

void RedrawPanels() {
  const std::vector<VisibleRow> rows = SnapshotOfPage();
  if (platform::StartDrawing(LeftPanel)) {
    platform::DrawImage(LeftPanelImage, 0, 0);
    platform::SetDrawingFont(RowFont);
    for (const auto& [row, title, current] : rows)
      DrawLeftRow(row, title, current ? CurrentRowColor : RowColor);
    platform::StopDrawing();
  }
  if (platform::StartDrawing(RightPanel)) {
    platform::DrawImage(RightPanelImage, 0, 0);
    platform::SetDrawingFont(RowFont);
    for (const auto& [row, title, current] : rows)
      DrawRightRow(row, title, current ? MirrorCurrentRowColor : MirrorRowColor);
    platform::StopDrawing();
  }
}

void DrawNewRow(std::int32_t index, const std::u16string& display_title) {
  if (index >= 0 && index < RowsPerPage) {
    if (platform::StartDrawing(LeftPanel)) {
      platform::SetDrawingFont(RowFont);
      DrawLeftRow(index, display_title, RowColor);
      platform::StopDrawing();
    }
    if (platform::StartDrawing(RightPanel)) {
      platform::SetDrawingFont(RowFont);
      DrawRightRow(index, display_title, MirrorRowColor);
      platform::StopDrawing();
    }
  } else if (index == RowsPerPage) {
    PaintPageArrows(1);  // the list has just grown beyond one page
  }
}

void ResetPanels() {
  PageIndex = 0;
  DrawBackdrop(LeftPanel, LeftPanelImage);
  DrawBackdrop(RightPanel, RightPanelImage);
  PaintPageArrows(0);
}

void PaintPageArrows(std::uint8_t shown) {
  PaintArrow(PageUpArrow, shown == 1, 9, 17, 7);      // pointing up: lines run down from the tips
  PaintArrow(PageDownArrow, shown == 1, 16, 24, -7);  // pointing down: lines run up
}

void SelectClickedRow() {
  const auto panel = platform::ElementScreenRect(LeftPanel);
  if (!panel) return;
  const auto row =
      static_cast<std::int32_t>((ClickPoint.y - panel->y) / static_cast<double>(RowHeight));
  const std::int32_t position = PageIndex * PageStep + row + 1;
  if (position < 1 || position > static_cast<std::int32_t>(playlist::Playlist.size())) return;
  playlist::SetCurrentIndex(position - 1);
}

void PageUp() {
  if (PageIndex <= 0) return;
  --PageIndex;
  RedrawPanels();
}

void PageDown() {
  if (static_cast<std::int32_t>(playlist::Playlist.size()) <= PageIndex * PageStep + RowsPerPage)
    return;
  ++PageIndex;
  RedrawPanels();
}

std::int32_t PageKeepingMovedEntry(std::int32_t page, std::int32_t from,
                                   playlist::MoveDirection direction) {
  const std::int32_t top_row = page * PageStep;
  if (direction == playlist::MoveUp && page > 0 && from == top_row) return page - 1;
  if (direction == playlist::MoveDown && from == top_row + RowsPerPage - 1) return page + 1;
  return page;
}

void FollowMovedEntry(std::int32_t from, playlist::MoveDirection direction) {
  PageIndex = PageKeepingMovedEntry(PageIndex, from, direction);
  RedrawPanels();
}

void PaintPlayingRow() {
  DrawPlayingRow(PlayingRow, NowPlayingTitle, {});
}

void DrawPlayingRow(std::int32_t row, const std::u16string& title, std::u16string_view played) {
  if (row < 1 || row > RowsPerPage) return;
  const int top = (row - 1) * RowHeight;
  platform::CopyImageRegion(RowStripImage, LeftPanelImage, {0, top, PanelWidth, RowHeight});
  if (!platform::StartDrawing(LeftPanel)) return;
  platform::DrawImage(RowStripImage, 0, top);
  platform::SetDrawingFont(RowFont);
  if (played.empty()) {
    platform::DrawText(2, top + 2, title, CurrentRowColor);
  } else {
    // The played part goes onto the bare row, not over the title: drawn over it, the softened
    // edges of the letters would mix both colours. The title shows only right of that part.
    const int boundary = 2 + platform::TextWidth(RowFont, played);
    platform::SetDrawingClip({boundary, top, PanelWidth - boundary, RowHeight});
    platform::DrawText(2, top + 2, title, CurrentRowColor);
    platform::ClearDrawingClip();
    platform::DrawText(2, top + 2, played, ProgressColor);
  }
  platform::StopDrawing();
}

}  // namespace nf::ui
