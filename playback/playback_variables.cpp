// playback_variables.cpp — the playback state's storage, the read-only names the rest of the
// program sees it by, and the few calls through which others change it.
#include "playback/internal/playback_variables.h"

namespace nf::playback {

namespace internal {
std::uint8_t* StagingBuffer = nullptr;
std::uint8_t* PlayBufferA = nullptr;
std::uint8_t* PlayBufferB = nullptr;

std::atomic<std::uint32_t> CurrentStream{0};
std::atomic<std::int64_t> CueEnd{0};
std::atomic<std::int64_t> StagingFill{0};
std::atomic<std::uint8_t> PlayState{Stopped};
std::atomic<std::int32_t> NextEntry{0};
std::atomic<std::int64_t> FeedState{0};
std::atomic<std::int64_t> StopRequested{0};
LoadedTrack NowPlaying;
std::deque<LoadedTrack> LoadedTracks;

std::atomic<std::int64_t> ReadBuffer{0};
std::atomic<std::int64_t> FillTarget{1};
std::atomic<std::int64_t> FillA{0};
std::atomic<std::int64_t> ReadA{0};
std::atomic<std::int64_t> FillB{0};
std::atomic<std::int64_t> ReadB{0};
std::atomic<std::int64_t> BufferSwitched{0};
std::atomic<std::int64_t> Starved{0};
std::atomic<std::int64_t> CopiedBytes{0};
std::atomic<std::int64_t> PlayRate{0};
std::atomic<std::uint32_t> AudioThreadId{0};

std::optional<platform::Semaphore> BufferSemaphore;

std::atomic<std::uint8_t> Paused{0};
std::atomic<std::uint8_t> PlayLit{0};

float OutputGain = 0.0f;
}  // namespace internal

const std::atomic<std::uint32_t>& CurrentStream = internal::CurrentStream;
const std::atomic<std::int64_t>& CueEnd = internal::CueEnd;
const std::atomic<std::int64_t>& StagingFill = internal::StagingFill;
const std::atomic<std::uint8_t>& PlayState = internal::PlayState;
const std::atomic<std::int32_t>& NextEntry = internal::NextEntry;
const std::atomic<std::int64_t>& FeedState = internal::FeedState;
const std::atomic<std::int64_t>& StopRequested = internal::StopRequested;
const LoadedTrack& NowPlaying = internal::NowPlaying;
const std::deque<LoadedTrack>& LoadedTracks = internal::LoadedTracks;

const std::atomic<std::int64_t>& ReadBuffer = internal::ReadBuffer;
const std::atomic<std::int64_t>& FillTarget = internal::FillTarget;
const std::atomic<std::int64_t>& FillA = internal::FillA;
const std::atomic<std::int64_t>& ReadA = internal::ReadA;
const std::atomic<std::int64_t>& FillB = internal::FillB;
const std::atomic<std::int64_t>& ReadB = internal::ReadB;
const std::atomic<std::int64_t>& BufferSwitched = internal::BufferSwitched;
const std::atomic<std::int64_t>& Starved = internal::Starved;
const std::atomic<std::int64_t>& CopiedBytes = internal::CopiedBytes;
const std::atomic<std::int64_t>& PlayRate = internal::PlayRate;
const std::atomic<std::uint32_t>& AudioThreadId = internal::AudioThreadId;

const std::atomic<std::uint8_t>& Paused = internal::Paused;
const std::atomic<std::uint8_t>& PlayLit = internal::PlayLit;

const float& OutputGain = internal::OutputGain;

// The callback rewrites the heard entry on its own thread; every read of it by the main thread
// comes through here, so that the guard it needs sits in one place.
LoadedTrack ReadNowPlaying() {
  return internal::NowPlaying;
}

void SetNowPlayingPosition(std::int32_t position) {
  internal::NowPlaying.Position = position;
}

bool PlayActive() {
  return internal::PlayState.load(std::memory_order_acquire) != Stopped;
}

void ClearPlayState() {
  internal::PlayState.store(Stopped, std::memory_order_release);
  internal::NextEntry.store(0, std::memory_order_release);
}

void SetOutputGain(float gain) {
  internal::OutputGain = gain;
}

void ResetPlayback() {
  internal::BufferSemaphore.emplace(0);
  internal::OutputGain = 0.0f;
  internal::LoadedTracks.clear();
  internal::NowPlaying = LoadedTrack{};
}

}  // namespace nf::playback
