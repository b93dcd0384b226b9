// playback_state.h — what the main thread, the audio thread and the output callback share.
// Counters are written in a fixed order with release stores and read with acquire loads; no lock
// guards the hand-off between the audio thread and the callback.
//
// Ownership: the playback modules alone write this state (the track loader, the audio thread
// and callback, the transport, the ramps). Every other module reads it through the const names
// below and changes it only by calling a playback function: start-up resets it, the launch
// sequence sets the output gain, the display numbers the heard entry and ends a starved play.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>

#include "playlist/playlist.h"

namespace nf::playback {

// --- Track loader: buffers and decoding state -----------------------------------------------

inline constexpr std::int64_t ChunkLimit = 81'607'680;        // the most one fill decodes
inline constexpr std::int64_t PlayBufferBytes = 553'528'320;  // each of the three buffers

inline constexpr std::uint8_t Stopped = 0;
inline constexpr std::uint8_t Playing = 1;
inline constexpr std::uint8_t PlayingLastOpened = 255;

// Written by the track loader (audio thread; the main thread for a play's first entry) and by
// Play and Stop; read by the display.
extern const std::atomic<std::uint32_t>& CurrentStream;  // decoder handle being read, 0 = none
extern const std::atomic<std::int64_t>& CueEnd;       // end of a CUE range in its stream, 0 = file
extern const std::atomic<std::int64_t>& StagingFill;  // bytes decoded by the current fill
extern const std::atomic<std::uint8_t>& PlayState;    // any non-zero value is a running play
extern const std::atomic<std::int32_t>& NextEntry;    // index of the next entry to open
extern const std::atomic<std::int64_t>& FeedState;    // 0 idle, 1 decoding, 2 all data decoded
extern const std::atomic<std::int64_t>& StopRequested;  // set by Stop; loader and thread give up

// One opened entry, as the output clock follows it.
struct LoadedTrack {
  std::int64_t LengthBytes = 0;
  std::u16string Title;
  std::int64_t PlayedBytes = 0;
  playlist::EntryIdType EntryId = 0;
  std::int32_t Position = 0;
};
// The entry being heard (rewritten by the callback), and the entries opened after it, first in
// first out (appended by the audio thread, taken by the callback). The main thread reads the
// heard entry only through ReadNowPlaying.
extern const LoadedTrack& NowPlaying;
extern const std::deque<LoadedTrack>& LoadedTracks;

// A copy of the entry being heard, for the main thread.
LoadedTrack ReadNowPlaying();
// The display numbers the heard entry's place in the list (main thread).
void SetNowPlayingPosition(std::int32_t position);

// --- Audio thread and output hand-off ---------------------------------------------------------

inline constexpr std::int64_t ReadingB = 6;
inline constexpr std::int64_t ReadingA = 8;
// Written by the callback, the audio thread, Play and Stop, in the orders the hand-off needs.
extern const std::atomic<std::int64_t>& ReadBuffer;  // 6: callback reads B; 8 (or other): A
extern const std::atomic<std::int64_t>& FillTarget;  // next copy goes to 1 = B, 2 = A
extern const std::atomic<std::int64_t>& FillA;
extern const std::atomic<std::int64_t>& ReadA;
extern const std::atomic<std::int64_t>& FillB;
extern const std::atomic<std::int64_t>& ReadB;
extern const std::atomic<std::int64_t>& BufferSwitched;  // callback moved to the other buffer
extern const std::atomic<std::int64_t>& Starved;         // callback delivered less than asked
extern const std::atomic<std::int64_t>& CopiedBytes;     // bytes of the chunk copied last
extern const std::atomic<std::int64_t>& PlayRate;        // Hz while a play is in progress
extern const std::atomic<std::uint32_t>& AudioThreadId;  // 0 = none

// The output callback, called on the output library's thread with the buffer and the byte
// count; returns the bytes it wrote. And the body of the audio thread.
std::int32_t AsioProc(std::int32_t input, std::int32_t channel, void* buffer, std::int32_t length,
                      void* user);
void AudioThread();

inline constexpr int AudioThreadPriority = 4;  // below normal

// --- Transport (main thread) -------------------------------------------------------------------

extern const std::atomic<std::uint8_t>& Paused;   // 1 while the play is paused
extern const std::atomic<std::uint8_t>& PlayLit;  // 1 while the play button's word is lit

// True while a play runs, paused or not.
bool PlayActive();
// The last step of ending a play: nothing plays, and the next play opens from the current entry.
void ClearPlayState();

// Start-up: the shared state as a new program has it, with the buffer semaphore at count 0.
void ResetPlayback();

// --- Volume ramps (main thread) -----------------------------------------------------------------

// The level every ramp scales: 0.0 at start, 1.0 once the main loop runs.
extern const float& OutputGain;
// The launch sequence sets the gain just before the main loop runs; nothing else changes it.
void SetOutputGain(float gain);

// Sets the level of the whole output.
void SetOutputLevel(float level);
// 1.0 to 0.0 in 21 steps, 20 ms apart.
void PauseFade();
// 0.0 to 1.0 in 21 steps, 20 ms apart.
void ResumeFade();
// Down to -74 dB in 31 steps, 30 ms apart, then stops the output and restores the level.
void StopFade();

// --- Engine error messages ----------------------------------------------------------------------

// The words for an engine code: its text from the table, else "Error code #" and the number.
std::u16string EngineErrorText(std::int32_t code);
// Shows the code's words in a modal error box. Safe from the main and the audio thread.
void ShowEngineError(std::int32_t code);

}  // namespace nf::playback
