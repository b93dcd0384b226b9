// flac_source.h — FLAC decoding through libFLAC, as a frame source for an orvo.dll stream.
#pragma once

#include <cstdint>

#include "engine_libs/orvo/orvo_plugin.h"

namespace nf::orvu {

struct OpenedFlac {
  void* source = nullptr;
  std::uint32_t rate = 0;
  std::int64_t frames = 0;  // exact: what reading from the start delivers
};

extern const OrvoSourceOps FlacSourceOps;

// Reads the metadata of the FLAC file behind `fd` (which it takes over, also on failure) and
// finds its exact length. Returns 0 and fills `opened`, or the engine code of the failure.
std::int32_t OpenFlacSource(int fd, OpenedFlac& opened);

}  // namespace nf::orvu
