// playlist_model.cpp — the list's editing operations and its invariants: at most 96 entries,
// the total kept equal to the sum of the lengths, one sample rate, unique ids.
#include <atomic>
#include <mutex>

#include "platform/platform.h"
#include "playlist/internal/list_state.h"
#include "playlist/playlist.h"

namespace nf::playlist {
namespace {

using internal::Notifications;

// Guards the list against the playback side's copy of an entry on its own thread. The main
// thread takes it only to change the list; its own reads need no lock.
std::mutex list_guard;
std::atomic<std::int32_t> shared_count{0};

void Notify(void (*painter)()) {
  if (painter) painter();
}

bool Stopped() {
  return !internal::Queries.PlayActive || !internal::Queries.PlayActive();
}

std::int32_t Count() {
  return static_cast<std::int32_t>(internal::Playlist.size());
}

void PublishCount() {
  shared_count.store(Count(), std::memory_order_release);
}

}  // namespace

void InstallNotifications(const PlaylistNotifications& notifications) {
  Notifications = notifications;
}

void InstallQueries(const ListQueries& queries) {
  internal::Queries = queries;
}

void AppendEntry(const PlaylistEntry& entry) {
  if (Count() < MaxPlaylistEntries) {
    {
      std::lock_guard lock(list_guard);
      internal::Playlist.push_back(entry);
      PublishCount();
    }
    internal::PlaylistTotalBytes += entry.LengthBytes;
    if (Notifications.DrawNewRow) Notifications.DrawNewRow(Count() - 1, entry.DisplayTitle);
    Notify(Notifications.PaintTotalTime);
  }
  // Lets the window repaint and move while a long run of files is added.
  platform::DispatchOnePendingEvent();
}

void DeleteCurrentEntry() {
  const std::int32_t k = internal::CurrentIndex;
  if (!Stopped() || Count() < 2 || k < 0 || k >= Count()) return;
  internal::PlaylistTotalBytes -= internal::Playlist[k].LengthBytes;
  {
    std::lock_guard lock(list_guard);
    internal::Playlist.erase(internal::Playlist.begin() + k);
    PublishCount();
  }
  Notify(Notifications.RedrawPanels);
  Notify(Notifications.PaintTotalTime);
}

void MoveCurrentEntry(MoveDirection direction) {
  const std::int32_t k = internal::CurrentIndex;
  if (!Stopped() || Count() < 2) return;
  if (direction == MoveUp ? !(k > 0 && k < Count()) : !(k >= 0 && k < Count() - 1)) return;
  const std::int32_t other = direction == MoveUp ? k - 1 : k + 1;
  {
    std::lock_guard lock(list_guard);
    std::swap(internal::Playlist[k], internal::Playlist[other]);
  }
  internal::CurrentIndex = other;
  if (Notifications.EntryMoved) Notifications.EntryMoved(k, direction);
}

void EmptyPlaylist() {
  {
    std::lock_guard lock(list_guard);
    internal::Playlist.clear();
    PublishCount();
  }
  internal::PlaylistTotalBytes = 0;
  internal::CurrentIndex = 0;
  Notify(Notifications.PaintTotalTime);
  internal::ListSampleRate = 0;
  if (Notifications.PaintRateIndicator) Notifications.PaintRateIndicator(u"");
  Notify(Notifications.ResetPanels);
}

EntryIdType MakeEntryId() {
  return internal::NextEntryId += 2;
}

void SetCurrentIndex(std::int32_t index) {
  if (index >= 0 && index < Count()) internal::CurrentIndex = index;
}

bool FixListSampleRate(std::int32_t rate) {
  if (internal::ListSampleRate != 0) return false;
  internal::ListSampleRate = rate;
  return true;
}

std::int32_t EntryCount() {
  return shared_count.load(std::memory_order_acquire);
}

std::optional<PlaylistEntry> CopyEntry(std::int32_t index) {
  std::lock_guard lock(list_guard);
  if (index < 0 || index >= Count()) return std::nullopt;
  return internal::Playlist[index];
}

void SetEntryPosition(std::int32_t index, std::int32_t position) {
  std::lock_guard lock(list_guard);
  if (index >= 0 && index < Count()) internal::Playlist[index].Position = position;
}

}  // namespace nf::playlist
