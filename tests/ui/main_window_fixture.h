// main_window_fixture.h — the main window built on the offscreen display, with helpers that
// fill the playlist and find the window's parts.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "playback/playback_state.h"
#include "playlist/playlist.h"
#include "tests/support/window_capture.h"
#include "ui/ui.h"

namespace nf::test {

// Appends entries "Title 1", "Title 2", ... of `seconds` each at 44.1 kHz, through the list's
// own append, which draws their rows.
inline void AddEntries(int count, int seconds = 187) {
  playlist::ListSampleRate = 44100;
  for (int i = 0; i < count; ++i) {
    playlist::PlaylistEntry entry;
    entry.Title = u"Title " + platform::FromUtf8(std::to_string(playlist::Playlist.size() + 1));
    entry.DisplayTitle = entry.Title;
    entry.FilePath = u"/music/" + entry.Title + u".flac";
    entry.Extension = u"flac";
    entry.SampleRate = 44100;
    entry.LengthBytes = std::int64_t{seconds} * 8 * 44100;
    entry.EntryId = playlist::MakeEntryId();
    playlist::AppendEntry(entry);
  }
}

inline platform::PixelGrid Screen() {
  return WindowPixels(ui::MainWindow);
}
inline platform::Rect RectOf(int element) {
  return *platform::ElementRect(element);
}
// The background picture's pixel at (x, y) of the picture.
inline platform::Color PictureAt(int x, int y) {
  return platform::ReadImagePixels(ui::BackgroundImage)->At(x, y);
}
// The panels' backdrop is flat and dark; this is its colour.
inline platform::Color Backdrop() {
  return PictureAt(20, 54);
}

// The band of row `row` (0 = first) on the window: the left panel's from the top, the right
// panel's from the bottom.
inline platform::Rect LeftRow(int row) {
  return {20, 80 + row * ui::RowHeight, 310, ui::RowHeight};
}
inline platform::Rect RightRow(int row) {
  return {669, 80 + 416 - (row + 1) * ui::RowHeight, 310, ui::RowHeight};
}

// Whether the strongest ink of `area` is text of colour `ink` over `back`.
inline bool TextIn(const platform::PixelGrid& grid, platform::Rect area, platform::Color back,
                   platform::Color ink) {
  const auto strongest = StrongestInk(grid, area, back);
  return strongest && IsInkToward(*strongest, back, ink, 0.3);
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartOffscreenToolkit();
    platform::UseVirtualClock(true);
    ui::InitPalette();
    ui::LoadFonts();
    ui::BuildMainWindow();
    ASSERT_TRUE(platform::WindowExists(ui::MainWindow));
  }
  void TearDown() override { platform::StopToolkit(); }
};

}  // namespace nf::test
