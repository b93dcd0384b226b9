// playback_state.h — what the main thread, the audio thread and the output callback share.
// Counters are written in a fixed order with release stores and read with acquire loads; no lock
// guards the hand-off between the audio thread and the callback.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace nf::playback {

// --- Track loader: buffers and decoding state -----------------------------------------------

inline constexpr std::int64_t ChunkLimit = 81'607'680;        // the most one fill decodes
inline constexpr std::int64_t PlayBufferBytes = 553'528'320;  // each of the three buffers

inline std::uint8_t* StagingBuffer = nullptr;
inline std::uint8_t* PlayBufferA = nullptr;
inline std::uint8_t* PlayBufferB = nullptr;

inline std::atomic<std::uint32_t> CurrentStream{0};  // decoder handle being read, 0 = none
inline std::atomic<std::int64_t> CueEnd{0};          // end of a CUE range in its stream, 0 = file
inline std::atomic<std::int64_t> StagingFill{0};     // bytes decoded by the current fill

inline constexpr std::uint8_t Stopped = 0;
inline constexpr std::uint8_t Playing = 1;
inline constexpr std::uint8_t PlayingLastOpened = 255;
inline std::atomic<std::uint8_t> PlayState{Stopped};  // any non-zero value is a running play

inline std::atomic<std::int32_t> NextEntry{0};      // index of the next entry to open
inline std::atomic<std::int64_t> FeedState{0};      // 0 idle, 1 decoding, 2 all data decoded
inline std::atomic<std::int64_t> StopRequested{0};  // set by Stop; loader and thread give up

// One opened entry, as the output clock follows it.
struct LoadedTrack {
  std::int64_t LengthBytes = 0;
  std::u16string Title;
  std::int64_t PlayedBytes = 0;
  std::int64_t EntryId = 0;
  std::int32_t Position = 0;
};
// The entry being heard, and the entries opened after it, first in first out.
inline LoadedTrack NowPlaying;
inline std::deque<LoadedTrack> LoadedTracks;

// --- Audio thread and output hand-off ---------------------------------------------------------

inline constexpr std::int64_t ReadingB = 6;
inline constexpr std::int64_t ReadingA = 8;
inline std::atomic<std::int64_t> ReadBuffer{0};  // 6: callback reads B; 8 (or other): A
inline std::atomic<std::int64_t> FillTarget{1};  // next copy goes to 1 = B, 2 = A
inline std::atomic<std::int64_t> FillA{0};
inline std::atomic<std::int64_t> ReadA{0};
inline std::atomic<std::int64_t> FillB{0};
inline std::atomic<std::int64_t> ReadB{0};
inline std::atomic<std::int64_t> BufferSwitched{0};  // callback moved to the other buffer
inline std::atomic<std::int64_t> Starved{0};         // callback delivered less than asked
inline std::atomic<std::int64_t> CopiedBytes{0};     // bytes of the chunk copied last
inline std::atomic<std::int64_t> PlayRate{0};        // Hz while a play is in progress
inline std::atomic<std::uint32_t> AudioThreadId{0};  // 0 = none

// The output callback, called on the output library's thread with the buffer and the byte
// count; returns the bytes it wrote. And the body of the audio thread.
std::int32_t AsioProc(std::int32_t input, std::int32_t channel, void* buffer, std::int32_t length,
                      void* user);
void AudioThread();

// Released by every callback and by Play; taken once by each opening of an entry.
inline std::optional<platform::Semaphore> BufferSemaphore;
inline int AudioThreadPriority = 4;  // below normal

// --- Transport (main thread) -------------------------------------------------------------------

inline std::atomic<std::uint8_t> Paused{0};   // 1 while the play is paused
inline std::atomic<std::uint8_t> PlayLit{0};  // 1 while the play button's word is lit

// --- Volume ramps (main thread) -----------------------------------------------------------------

// The level every ramp scales: 0.0 at start, 1.0 once the main loop runs.
inline float OutputGain = 0.0f;

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
