// now_playing.cpp — what is being heard, shown in the list itself: the playing entry becomes
// current, the page follows it, and its title fills with the progress colour as the music
// plays. Also the two small displays: the list's total length and its sample rate.
#include <algorithm>

#include "engine/asio_output.h"
#include "platform/platform.h"
#include "playback/playback_state.h"
#include "playlist/playlist.h"
#include "ui/internal/playing_row.h"
#include "ui/ui.h"

namespace nf::ui {
namespace {

bool OutputRunning() {
  if (platform::ThreadRunning(playback::AudioThreadId.load(std::memory_order_acquire)))
    return playback::FeedState.load(std::memory_order_acquire) != 0;
  const auto is_started = engine::asio_output.Orva_ASIO_IsStarted;
  return is_started && is_started() != 0;
}

// The output ran dry before all data was decoded: show the row plainly, wait, and end the play
// as the end of the list does.
void EndStarvedPlay() {
  PaintPlayingRow();
  platform::SleepMs(3000);
  if (Transport.StopPlayback) Transport.StopPlayback(0);
  if (Transport.ResetTransportButtons) Transport.ResetTransportButtons();
  playback::ClearPlayState();
}

// A new entry is being heard: number the list from 1, make the entry current and keep its
// page in view. Returns the entry's position, or `position` when it is not in the list.
std::int32_t FollowHeardEntry(playlist::EntryIdType entry_id, std::int32_t position) {
  LastSeenEntryId = entry_id;
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(playlist::Playlist.size()); ++i) {
    playlist::SetEntryPosition(i, i + 1);
    if (playlist::Playlist[i].EntryId != entry_id) continue;
    playlist::SetCurrentIndex(i);
    position = i + 1;
    playback::SetNowPlayingPosition(position);
    PageIndex = PageFollowingEntry(PageIndex, i);
    RedrawPanels();
  }
  return position;
}

// A number right-aligned in a field, padded with `pad`.
std::u16string Field(std::int64_t value, std::size_t width, char16_t pad) {
  std::u16string digits;
  for (const char c : std::to_string(value)) digits += static_cast<char16_t>(c);
  if (digits.size() < width) digits.insert(0, width - digits.size(), pad);
  return digits;
}

}  // namespace

std::u16string TotalTimeText(std::int64_t total_bytes, std::int32_t sample_rate) {
  if (total_bytes <= 0 || sample_rate <= 0) return {};
  const double bytes = static_cast<double>(total_bytes);
  const auto hours = static_cast<std::int64_t>(bytes / sample_rate / 8 / 60 / 60);
  const auto minutes = static_cast<std::int64_t>(bytes / sample_rate / 8 / 60);
  const auto seconds = static_cast<std::int64_t>(bytes / sample_rate / 8) % 60;
  if (hours == 0) return Field(minutes, 3, u' ') + u":" + Field(seconds, 2, u'0');
  // Hours are shown modulo 99: the field has two places.
  return Field(hours % 99, 2, u' ') + u":" + Field(minutes % 60, 2, u'0') + u":" +
         Field(seconds, 2, u'0');
}

std::u16string RateIndicatorText(const std::u16string& khz) {
  return platform::CharacterCount(khz) > 2 ? khz + u"  kHz" : std::u16string();
}

std::u16string ProgressPrefix(const std::u16string& title, std::int64_t played_bytes,
                              std::int64_t length_bytes) {
  // A track of no length (a CUE track whose start and end coincide) counts as wholly played.
  if (length_bytes <= 0) return title;
  const auto characters = static_cast<std::int64_t>(platform::CharacterCount(title));
  const std::int64_t played = std::clamp<std::int64_t>(played_bytes, 0, length_bytes);
  const std::int64_t shown = played * characters / length_bytes + 1;
  return std::u16string(platform::FirstCharacters(title, static_cast<std::size_t>(shown)));
}

std::int32_t PageFollowingEntry(std::int32_t page, std::int32_t index) {
  // Page q - 1 shows the entry in its lower half, page q in its upper half.
  const std::int32_t q = index / PageStep;
  if (page < q - 1) return q - 1;
  if (page > q) return q;
  return page;
}

void NowPlayingTick() {
  const std::int64_t starved = playback::Starved.load(std::memory_order_acquire);
  if (starved != 0 || !OutputRunning()) {
    if (starved == 1 && playback::FeedState.load(std::memory_order_acquire) != 2) EndStarvedPlay();
    return;
  }
  playback::LoadedTrack heard = playback::ReadNowPlaying();
  NowPlayingTitle = heard.Title;
  const std::int64_t played =
      std::clamp<std::int64_t>(heard.PlayedBytes, 0, std::max<std::int64_t>(heard.LengthBytes, 0));
  const std::int32_t rate = playlist::ListSampleRate;
  if (rate <= 0) return;  // no list rate, no clock to show

  const auto second = static_cast<std::int64_t>(static_cast<double>(played) / 8 / rate);
  if (second == LastShownSecond) return;  // at most one drawing per second of music
  LastShownSecond = second;

  if (LastSeenEntryId != heard.EntryId)
    heard.Position = FollowHeardEntry(heard.EntryId, heard.Position);

  const std::u16string prefix = ProgressPrefix(NowPlayingTitle, played, heard.LengthBytes);
  PlayingRow = heard.Position - PageIndex * PageStep;
  DrawPlayingRow(PlayingRow, NowPlayingTitle, prefix);
}

void PaintTotalTime() {
  if (!platform::StartDrawing(TotalTimeDisplay)) return;
  platform::FillBox(0, 0, 70, 22, WindowColor);
  const std::u16string text = TotalTimeText(playlist::PlaylistTotalBytes, playlist::ListSampleRate);
  if (!text.empty()) {
    platform::SetDrawingFont(RowFont);
    platform::DrawText((70 - platform::TextWidth(RowFont, text)) / 2, 2, text, RowColor);
  }
  platform::StopDrawing();
}

void PaintRateIndicator(const std::u16string& text) {
  if (!platform::StartDrawing(RateIndicator)) return;
  platform::FillBox(0, 0, 88, 26, WindowColor);
  const std::u16string shown = RateIndicatorText(text);
  if (!shown.empty()) {
    platform::SetDrawingFont(RowFont);
    platform::DrawText(2, 2, shown, RowColor);
  }
  platform::StopDrawing();
}

}  // namespace nf::ui
