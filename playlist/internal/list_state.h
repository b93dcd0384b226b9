// list_state.h — the list's own storage. Only the playlist's modules write it; everyone else
// reads it through the const names of playlist/playlist.h and changes it through its functions.
#pragma once

#include <cstdint>
#include <vector>

#include "playlist/playlist.h"

namespace nf::playlist::internal {

extern std::vector<PlaylistEntry> Playlist;
extern std::int32_t CurrentIndex;
extern std::int64_t PlaylistTotalBytes;
extern std::int32_t ListSampleRate;
extern EntryIdType NextEntryId;
extern PlaylistNotifications Notifications;
extern ListQueries Queries;

}  // namespace nf::playlist::internal
