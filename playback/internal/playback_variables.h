// playback_variables.h — the playback state's own storage, written only by the playback
// modules. Others read it through the const names of playback/playback_state.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <optional>

#include "platform/platform.h"
#include "playback/playback_state.h"

namespace nf::playback::internal {

extern std::uint8_t* StagingBuffer;
extern std::uint8_t* PlayBufferA;
extern std::uint8_t* PlayBufferB;

extern std::atomic<std::uint32_t> CurrentStream;
extern std::atomic<std::int64_t> CueEnd;
extern std::atomic<std::int64_t> StagingFill;
extern std::atomic<std::uint8_t> PlayState;
extern std::atomic<std::int32_t> NextEntry;
extern std::atomic<std::int64_t> FeedState;
extern std::atomic<std::int64_t> StopRequested;
extern LoadedTrack NowPlaying;
extern std::deque<LoadedTrack> LoadedTracks;

extern std::atomic<std::int64_t> ReadBuffer;
extern std::atomic<std::int64_t> FillTarget;
extern std::atomic<std::int64_t> FillA;
extern std::atomic<std::int64_t> ReadA;
extern std::atomic<std::int64_t> FillB;
extern std::atomic<std::int64_t> ReadB;
extern std::atomic<std::int64_t> BufferSwitched;
extern std::atomic<std::int64_t> Starved;
extern std::atomic<std::int64_t> CopiedBytes;
extern std::atomic<std::int64_t> PlayRate;
extern std::atomic<std::uint32_t> AudioThreadId;

// Released by every callback and by Play; taken once by each opening of an entry.
extern std::optional<platform::Semaphore> BufferSemaphore;

extern std::atomic<std::uint8_t> Paused;
extern std::atomic<std::uint8_t> PlayLit;

extern float OutputGain;

}  // namespace nf::playback::internal
