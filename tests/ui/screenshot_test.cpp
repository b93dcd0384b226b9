// A picture of the window as a listener sees it: 20 entries, the fifth playing half-way, the
// list's length and rate shown. Written to main_window_20_entries.png for a look.
#include <gtest/gtest.h>

#include "tests/support/fake_output.h"
#include "tests/ui/main_window_fixture.h"

namespace nf::test {
namespace {

using Screenshot = MainWindowTest;

TEST_F(Screenshot, TwentyEntriesOnePlayingHalfWay) {
  const char16_t* titles[] = {
      u"01 - Aria (Goldberg Variations)",
      u"02 - Variatio 1 a 1 Clav.",
      u"03 - Variatio 2 a 1 Clav.",
      u"04 - Variatio 3 a 1 Clav. Canone all'Unisono",
      u"05 - Variatio 4 a 1 Clav.",
      u"06 - Variatio 5 a 1 ovvero 2 Clav.",
      u"07 - Variatio 6 a 1 Clav. Canone alla Seconda",
      u"08 - Variatio 7 a 1 ovvero 2 Clav. al tempo di Giga",
      u"09 - Variatio 8 a 2 Clav.",
      u"10 - Variatio 9 a 1 Clav. Canone alla Terza",
      u"11 - Variatio 10 a 1 Clav. Fughetta",
      u"12 - Variatio 11 a 2 Clav.",
      u"13 - Variatio 12 Canone alla Quarta",
      u"14 - Variatio 13 a 2 Clav.",
      u"15 - Variatio 14 a 2 Clav.",
      u"16 - Variatio 15 Canone alla Quinta. Andante",
      u"17 - Variatio 16 Ouverture",
      u"18 - Variatio 17 a 2 Clav.",
      u"19 - Variatio 18 Canone alla Sesta",
      u"20 - Variatio 19 a 1 Clav.",
  };
  playlist::FixListSampleRate(44100);
  int k = 0;
  for (const char16_t* title : titles) {
    playlist::PlaylistEntry entry;
    entry.Title = title;
    entry.DisplayTitle = title;
    entry.SampleRate = 44100;
    entry.LengthBytes = std::int64_t{120 + 17 * k++} * 8 * 44100;
    entry.EntryId = playlist::MakeEntryId();
    playlist::AppendEntry(entry);
  }
  ui::PaintRateIndicator(u"44.1");
  auto& output = BindFakeOutput();
  output.started = true;
  playing::PlayState = playback::Playing;
  playing::FeedState = 1;
  playing::PlayLit = 1;
  ui::PaintPlayButton(0);
  ui::LastShownSecond = -2;
  const auto& heard = playlist::Playlist[4];
  playing::NowPlaying = {heard.LengthBytes, heard.Title, heard.LengthBytes / 2, heard.EntryId, 0};
  ui::NowPlayingTick();
  ui::PaintOpenButton(1);  // the mouse rests on "open"
  for (int alpha = 5; alpha <= 255; alpha += 5) ui::SetWindowAlpha(ui::MainWindow, alpha);

  const std::string path = SaveWindowPng(ui::MainWindow, "main_window_20_entries");
  ASSERT_FALSE(path.empty());
  std::printf("screenshot: %s\n", path.c_str());
  EXPECT_EQ(playlist::CurrentIndex, 4);
  EXPECT_TRUE(TextIn(Screen(), {20, LeftRow(4).y, 40, 26}, Backdrop(), kProgressColor));
}

}  // namespace
}  // namespace nf::test
