// orvo_plugin.h — how a format plug-in (orvu.dll for FLAC) adds its decoders to orvo.dll, so that
// every Orvo_Channel* call works on its streams. Plain C, because the two libraries meet only
// through their exported names; orvo.dll exports these three functions besides its own ABI.
#pragma once

#include <cstdint>

#include "engine_libs/orvo/abi_export.h"

extern "C" {

// A decoder as orvo.dll drives it. Frames are interleaved 2-channel 32-bit float frames; the
// stream above it turns them into bytes, positions and lengths. orvo.dll calls these under the
// stream's lock, so a source never sees two calls at once.
struct OrvoSourceOps {
  // Decodes up to `frames` frames into `out`. Fewer only where the data ends or is damaged.
  std::int64_t (*read)(void* source, float* out, std::int64_t frames);
  // Moves to `frame` (0 to the length); the next read starts exactly there. 0 on failure.
  std::int32_t (*seek)(void* source, std::int64_t frame);
  // The byte offset in the file that decoding has reached.
  std::int64_t (*file_position)(void* source);
  void (*close)(void* source);
};

// Checks the arguments of a *_StreamCreateFile call the way Orvo_StreamCreateFile does and
// opens the file for reading: a file descriptor the caller then owns, or -1 with the calling
// thread's error code set.
NF_ENGINE_EXPORT int OrvoPlugin_OpenFile(std::int32_t mem, const void* file, std::uint64_t offset,
                                         std::uint64_t length, std::uint32_t flags);

// Makes a stream of an opened source: its handle, with the error code cleared. orvo.dll owns
// the source from here on, also when it fails (0, with the error code set).
NF_ENGINE_EXPORT std::uint32_t OrvoPlugin_AddStream(const OrvoSourceOps* ops, void* source,
                                                    std::uint32_t rate, std::int64_t frames);

// Sets the calling thread's error code, for a failure the plug-in found itself.
NF_ENGINE_EXPORT void OrvoPlugin_SetError(std::int32_t code);

}  // extern "C"
