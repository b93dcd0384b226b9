// main_window_fixture.h — the main window built on the offscreen display, with helpers that
// fill the playlist and find the window's parts.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "playback/playback_state.h"
#include "playlist/playlist.h"
#include "tests/support/playback_stand_in.h"
#include "tests/support/window_capture.h"
#include "ui/ui.h"

namespace nf::test {

// The colours the window is meant to have, stored as 0xBBGGRR, written out here rather than read
// from the palette the code set, so that a wrong palette fails the tests.
inline constexpr platform::Color kWindowColor = 0x020204;
inline constexpr platform::Color kButtonHoverColor = 0x040820;
inline constexpr platform::Color kButtonTextColor = 0x476171;
inline constexpr platform::Color kPlayLitColor = 0x5050E0;
inline constexpr platform::Color kPausedColor = 0x00A0C0;
inline constexpr platform::Color kCaptionBackColor = 0x000000;
inline constexpr platform::Color kCaptionTextColor = 0x040840;
inline constexpr platform::Color kCloseBackColor = 0x020204;
inline constexpr platform::Color kMinimizeBackColor = 0x020204;
inline constexpr platform::Color kMinimizeHoverColor = 0x040840;
inline constexpr platform::Color kRowColor = 0x476171;
inline constexpr platform::Color kCurrentRowColor = 0x6A8AB7;
inline constexpr platform::Color kProgressColor = 0x4646D6;
inline constexpr platform::Color kMirrorRowColor = 0x193136;
inline constexpr platform::Color kMirrorCurrentRowColor = 0x294146;
inline constexpr platform::Color kDialogBackColor = 0x161616;
inline constexpr platform::Color kDialogTextColor = 0xCDCDE6;
inline constexpr platform::Color kDialogHoverColor = 0xEDEDF6;
inline constexpr platform::Color kDialogGreyColor = 0x919191;

// Appends entries "Title 1", "Title 2", ... of `seconds` each at 44.1 kHz, through the list's
// own append, which draws their rows.
inline void AddEntries(int count, int seconds = 187) {
  playlist::FixListSampleRate(44100);  // a list already fixed at another rate keeps it
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
    ResetPlaybackState();
    playlist::InstallNotifications({});
    playlist::EmptyPlaylist();
    StartOffscreenToolkit();
    platform::UseVirtualClock(true);
    ui::InitPalette();
    ui::LoadFonts();
    ui::BuildMainWindow();
    ASSERT_TRUE(platform::WindowExists(ui::MainWindow));
  }
  // What a test changed goes back through its owners: the list empties (its notifications go
  // first, with the window), the playback side resets, and the window state starts anew.
  void TearDown() override {
    playlist::InstallNotifications({});
    playlist::EmptyPlaylist();
    ResetPlaybackState();
    ui::PageIndex = 0;
    ui::LastShownSecond = 0;
    ui::LastSeenEntryId = 0;
    ui::PlayingRow = 0;
    ui::NowPlayingTitle.clear();
    ui::ClickPoint = {};
    ui::Transport = {};
    platform::UseVirtualClock(false);
    platform::StopToolkit();
  }
};

}  // namespace nf::test
