// playlist.h — the play list: its entries, the current entry, the running total, the list's one
// sample rate and the entry ids, with the four editing operations. Everything here runs on the
// main thread, except the few reads marked safe from any thread, which the playback side uses
// while the main thread may be appending.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nf::playlist {

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
  std::int32_t EntryId = 0;      // unique for the run: 2, 4, 6, ...
  std::int32_t Position = 0;     // place from 1, as last numbered by the now-playing display
};

inline constexpr std::int32_t MaxPlaylistEntries = 96;

// The list itself. Read it freely on the main thread; change it only through this module.
inline std::vector<PlaylistEntry> Playlist;
inline std::int32_t CurrentIndex = 0;        // the highlighted entry; may equal the count after
                                             // the last entry was deleted
inline std::int64_t PlaylistTotalBytes = 0;  // sum of the entries' LengthBytes
inline std::int32_t ListSampleRate = 0;      // 0 while no entry has fixed it
inline std::int32_t NextEntryId = 0;         // advanced by 2 for every entry made; never reset

// What the list tells the window. The user interface installs its painters when it builds the
// main window; tests install recorders. An empty slot is passed over.
struct PlaylistNotifications {
  void (*DrawNewRow)(std::int32_t index, const std::u16string& display_title) = nullptr;
  void (*RedrawPanels)() = nullptr;
  void (*ResetPanels)() = nullptr;
  void (*PaintTotalTime)() = nullptr;
  void (*PaintRateIndicator)(const std::u16string& text) = nullptr;
};
inline PlaylistNotifications ListNotifications;

enum MoveDirection { MoveUp, MoveDown };

// Appends a copy of a complete entry when the list has room; drops it silently otherwise. Gives
// the window's message queue one turn in either case.
void AppendEntry(const PlaylistEntry& entry);
// Removes the current entry while stopped, when at least two entries remain.
void DeleteCurrentEntry();
// Moves the current entry one place while stopped, keeping it on the page shown.
void MoveCurrentEntry(MoveDirection direction);
// Removes every entry and frees the list rate; entry ids go on counting.
void EmptyPlaylist();
// The next entry id, 2 more than the last one made.
std::int32_t MakeEntryId();

// Safe from any thread: the count, and a copy of one entry that sees the list either before or
// after an append, never half of it. An index outside the list gives nothing, so a play that
// starts from a current index past the end (after the last entry was deleted) opens nothing.
std::int32_t EntryCount();
std::optional<PlaylistEntry> CopyEntry(std::int32_t index);
// Numbers an entry's place (main thread; guarded against a concurrent copy).
void SetEntryPosition(std::int32_t index, std::int32_t position);

}  // namespace nf::playlist
