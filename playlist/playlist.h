// playlist.h — the play list: its entries, the current entry, the running total, the list's one
// sample rate and the entry ids, with the four editing operations.
//
// Ownership: the playlist's modules alone write this state. Everyone reads it through the const
// names below on the main thread and changes it through the functions here. The playback side
// reads only through the calls marked safe from any thread. The list never reads the state of
// the modules above it: it tells the window through PlaylistNotifications and asks whether a
// play is active through ListQueries, both installed by the program at start-up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nf::playlist {

// An entry's identity: unique for the run, 2, 4, 6, ... The playback side and the now-playing
// display find the playing entry by it.
using EntryIdType = std::int32_t;

struct PlaylistEntry {
  std::u16string FilePath;      // the audio file (for a CUE track, the file the sheet names)
  std::u16string Title;         // shown by the now-playing display
  std::u16string Extension;     // without the dot, in whatever case it came; compare caselessly
  std::int32_t SampleRate = 0;  // Hz; equals ListSampleRate
  std::u16string DisplayTitle;  // Title shortened to fit a panel row
  std::uint8_t IsCueTrack = 0;
  std::int64_t StartOffset = 0;  // CUE track: first byte of the track in the decoded file
  std::int64_t EndOffset = 0;    // CUE track: just past its last byte
  std::int64_t LengthBytes = 0;  // decoded bytes, 8 a frame
  EntryIdType EntryId = 0;
  std::int32_t Position = 0;  // place from 1, as last numbered by the now-playing display
};

inline constexpr std::int32_t MaxPlaylistEntries = 96;

// The list, read-only outside this module. Main thread.
extern const std::vector<PlaylistEntry>& Playlist;
// The highlighted entry; may equal the count after the last entry was deleted. Written by the
// editing operations and through SetCurrentIndex (a click, the next-track step, the playing
// entry changing).
extern const std::int32_t& CurrentIndex;
extern const std::int64_t& PlaylistTotalBytes;  // sum of the entries' LengthBytes
// 0 while no entry has fixed it; fixed by the first accepted track, freed only by clear.
extern const std::int32_t& ListSampleRate;
extern const EntryIdType& NextEntryId;  // the id last made; never reset

enum MoveDirection { MoveUp, MoveDown };

// What the list tells the window. The user interface installs its painters when it builds the
// main window; tests install recorders. An empty slot is passed over.
struct PlaylistNotifications {
  void (*DrawNewRow)(std::int32_t index, const std::u16string& display_title) = nullptr;
  void (*RedrawPanels)() = nullptr;
  void (*ResetPanels)() = nullptr;
  void (*PaintTotalTime)() = nullptr;
  void (*PaintRateIndicator)(const std::u16string& text) = nullptr;
  // The entry at `from` moved one place in `direction` and stays current: the window keeps it
  // on the page shown and redraws the panels.
  void (*EntryMoved)(std::int32_t from, MoveDirection direction) = nullptr;
};
void InstallNotifications(const PlaylistNotifications& notifications);

// What the list asks of the program above it. Without an answer, no play is active.
struct ListQueries {
  bool (*PlayActive)() = nullptr;  // playing or paused: removing and reordering are refused
};
void InstallQueries(const ListQueries& queries);

// Appends a copy of a complete entry when the list has room; drops it silently otherwise. Gives
// the window's message queue one turn in either case.
void AppendEntry(const PlaylistEntry& entry);
// Removes the current entry while stopped, when at least two entries remain.
void DeleteCurrentEntry();
// Moves the current entry one place while stopped; the window keeps it on the page shown.
void MoveCurrentEntry(MoveDirection direction);
// Removes every entry and frees the list rate; entry ids go on counting.
void EmptyPlaylist();
// The next entry id, 2 more than the last one made.
EntryIdType MakeEntryId();
// Makes the entry at `index` current; an index outside the list changes nothing.
void SetCurrentIndex(std::int32_t index);
// Fixes the list rate while it is free (the first accepted track) and says whether it did; a
// fixed rate stays.
bool FixListSampleRate(std::int32_t rate);

// Safe from any thread: the count, and a copy of one entry that sees the list either before or
// after an append, never half of it. An index outside the list gives nothing, so a play that
// starts from a current index past the end (after the last entry was deleted) opens nothing.
std::int32_t EntryCount();
std::optional<PlaylistEntry> CopyEntry(std::int32_t index);
// Numbers an entry's place (main thread; guarded against a concurrent copy).
void SetEntryPosition(std::int32_t index, std::int32_t position);

}  // namespace nf::playlist
