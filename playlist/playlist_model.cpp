// playlist_model.cpp — the list's editing operations and its invariants: at most 96 entries,
// the total kept equal to the sum of the lengths, one sample rate, unique ids.
#include <mutex>

#include "platform/platform.h"
#include "playback/playback_state.h"
#include "playlist/playlist.h"
#include "ui/ui.h"

namespace nf::playlist {
namespace {

// Guards the list against the playback side's copy of an entry on its own thread. The main
// thread takes it only to change the list; its own reads need no lock.
std::mutex list_guard;
std::atomic<std::int32_t> shared_count{0};

void Notify(void (*painter)()) {
  if (painter) painter();
}

bool Stopped() {
  return playback::PlayState.load(std::memory_order_acquire) == 0;
}

std::int32_t Count() {
  return static_cast<std::int32_t>(Playlist.size());
}

void PublishCount() {
  shared_count.store(Count(), std::memory_order_release);
}

}  // namespace

void AppendEntry(const PlaylistEntry& entry) {
  if (Count() < MaxPlaylistEntries) {
    {
      std::lock_guard lock(list_guard);
      Playlist.push_back(entry);
      PublishCount();
    }
    PlaylistTotalBytes += entry.LengthBytes;
    if (ListNotifications.DrawNewRow) ListNotifications.DrawNewRow(Count() - 1, entry.DisplayTitle);
    Notify(ListNotifications.PaintTotalTime);
  }
  // Lets the window repaint and move while a long run of files is added.
  platform::DispatchOnePendingEvent();
}

void DeleteCurrentEntry() {
  if (!Stopped() || Count() < 2 || CurrentIndex < 0 || CurrentIndex >= Count()) return;
  PlaylistTotalBytes -= Playlist[CurrentIndex].LengthBytes;
  {
    std::lock_guard lock(list_guard);
    Playlist.erase(Playlist.begin() + CurrentIndex);
    PublishCount();
  }
  Notify(ListNotifications.RedrawPanels);
  Notify(ListNotifications.PaintTotalTime);
}

void MoveCurrentEntry(MoveDirection direction) {
  const std::int32_t k = CurrentIndex;
  if (!Stopped() || Count() < 2) return;
  if (direction == MoveUp ? !(k > 0 && k < Count()) : !(k >= 0 && k < Count() - 1)) return;
  const std::int32_t other = direction == MoveUp ? k - 1 : k + 1;
  {
    std::lock_guard lock(list_guard);
    std::swap(Playlist[k], Playlist[other]);
  }
  const std::int32_t top_row = ui::PageIndex * ui::PageStep;
  if (direction == MoveUp && ui::PageIndex > 0 && k == top_row) --ui::PageIndex;
  if (direction == MoveDown && k == top_row + ui::RowsPerPage - 1) ++ui::PageIndex;
  CurrentIndex = other;
  Notify(ListNotifications.RedrawPanels);
}

void EmptyPlaylist() {
  {
    std::lock_guard lock(list_guard);
    Playlist.clear();
    PublishCount();
  }
  PlaylistTotalBytes = 0;
  CurrentIndex = 0;
  Notify(ListNotifications.PaintTotalTime);
  ListSampleRate = 0;
  if (ListNotifications.PaintRateIndicator) ListNotifications.PaintRateIndicator(u"");
  Notify(ListNotifications.ResetPanels);
}

std::int32_t MakeEntryId() {
  return NextEntryId += 2;
}

std::int32_t EntryCount() {
  return shared_count.load(std::memory_order_acquire);
}

std::optional<PlaylistEntry> CopyEntry(std::int32_t index) {
  std::lock_guard lock(list_guard);
  if (index < 0 || index >= Count()) return std::nullopt;
  return Playlist[index];
}

void SetEntryPosition(std::int32_t index, std::int32_t position) {
  std::lock_guard lock(list_guard);
  if (index >= 0 && index < Count()) Playlist[index].Position = position;
}

}  // namespace nf::playlist
