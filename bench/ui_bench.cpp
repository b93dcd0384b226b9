// ui_bench.cpp — what painting the main window costs: a full redraw of both panels with 20
// entries, one hover repaint of a button, one appended row, and one now-playing drawing tick.
// The window is drawn on the offscreen display, so the figures are the program's own work.
#include <benchmark/benchmark.h>

#include "engine/asio_output.h"
#include "platform/platform.h"
#include "playback/playback_state.h"
#include "playlist/playlist.h"
#include "tests/support/playback_stand_in.h"
#include "ui/ui.h"

namespace nf {
namespace {

void BuildWindowWithEntries(int count) {
  platform::UseOffscreenDisplay();
  ui::InitPalette();
  ui::LoadFonts();
  ui::BuildMainWindow();
  playlist::EmptyPlaylist();
  ui::LastSeenEntryId = 0;  // every run starts a play afresh
  playlist::FixListSampleRate(44100);
  for (int i = 0; i < count; ++i) {
    playlist::PlaylistEntry entry;
    entry.Title = u"07 - Variatio 6 a 1 Clav. Canone alla Seconda";
    entry.DisplayTitle = entry.Title;
    entry.SampleRate = 44100;
    entry.LengthBytes = std::int64_t{300} * 8 * 44100;
    entry.EntryId = playlist::MakeEntryId();
    playlist::AppendEntry(entry);
  }
}

void BM_RedrawPanels(benchmark::State& state) {
  BuildWindowWithEntries(20);
  for (auto _ : state) ui::RedrawPanels();
  platform::StopToolkit();
}
BENCHMARK(BM_RedrawPanels)->Unit(benchmark::kMicrosecond);

void BM_HoverRepaint(benchmark::State& state) {
  BuildWindowWithEntries(20);
  std::uint8_t hovered = 0;
  for (auto _ : state) ui::PaintPlayButton(hovered ^= 1);
  platform::StopToolkit();
}
BENCHMARK(BM_HoverRepaint)->Unit(benchmark::kMicrosecond);

void BM_DrawNewRow(benchmark::State& state) {
  BuildWindowWithEntries(0);
  const std::u16string title = u"07 - Variatio 6 a 1 Clav. Canone alla Seconda";
  std::int32_t index = 0;
  for (auto _ : state) ui::DrawNewRow(index++ % 16, title);
  platform::StopToolkit();
}
BENCHMARK(BM_DrawNewRow)->Unit(benchmark::kMicrosecond);

void BM_NowPlayingDrawingTick(benchmark::State& state) {
  BuildWindowWithEntries(20);
  engine::asio_output.Orva_ASIO_IsStarted = []() -> std::int32_t { return 1; };
  test::playing::FeedState = 1;
  const auto& entry = playlist::Playlist[4];
  test::playing::NowPlaying = {entry.LengthBytes, entry.Title, 0, entry.EntryId, 0};
  ui::LastShownSecond = -2;
  ui::NowPlayingTick();  // the first tick renumbers the list; the rest draw the row only
  std::int64_t second = 1;
  for (auto _ : state) {
    test::playing::NowPlaying.PlayedBytes = (second++ % 300) * 8 * 44100;
    ui::NowPlayingTick();
  }
  platform::StopToolkit();
}
BENCHMARK(BM_NowPlayingDrawingTick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace nf

BENCHMARK_MAIN();
