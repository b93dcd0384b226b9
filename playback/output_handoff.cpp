// output_handoff.cpp — the audio thread and the output callback. Until the track loader feeds
// the play buffers, the callback delivers nothing (the device plays silence) and the thread
// ends at once.
#include "playback/internal/playback_variables.h"

namespace nf::playback {

std::int32_t AsioProc(std::int32_t, std::int32_t, void*, std::int32_t, void*) {
  if (internal::BufferSemaphore) internal::BufferSemaphore->Release();
  return 0;
}

void AudioThread() {}

}  // namespace nf::playback
