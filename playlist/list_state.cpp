// list_state.cpp — the list's storage, and the read-only names the rest of the program sees it by.
#include "playlist/internal/list_state.h"

namespace nf::playlist {

namespace internal {
std::vector<PlaylistEntry> Playlist;
std::int32_t CurrentIndex = 0;
std::int64_t PlaylistTotalBytes = 0;
std::int32_t ListSampleRate = 0;
EntryIdType NextEntryId = 0;
PlaylistNotifications Notifications;
ListQueries Queries;
}  // namespace internal

const std::vector<PlaylistEntry>& Playlist = internal::Playlist;
const std::int32_t& CurrentIndex = internal::CurrentIndex;
const std::int64_t& PlaylistTotalBytes = internal::PlaylistTotalBytes;
const std::int32_t& ListSampleRate = internal::ListSampleRate;
const EntryIdType& NextEntryId = internal::NextEntryId;

}  // namespace nf::playlist
