// sndfile_source.h — WAV and AIFF decoding through libsndfile, as a frame source for a stream.
#pragma once

#include <cstdint>

#include "engine_libs/orvo/orvo_plugin.h"

namespace nf::orvo {

struct OpenedSource {
  const OrvoSourceOps* ops = nullptr;
  void* source = nullptr;
  std::uint32_t rate = 0;
  std::int64_t frames = 0;
};

// Reads the header of the file behind `fd` (which it takes over, also on failure). On success
// fills `opened` and returns 0; otherwise returns the engine code: "Unsupported file format"
// for anything but a WAV (also WAVE_FORMAT_EXTENSIBLE and RF64) or AIFF / AIFF-C file,
// "Unsupported sample format" for compressed samples.
std::int32_t OpenSndfileSource(int fd, OpenedSource& opened);

}  // namespace nf::orvo
