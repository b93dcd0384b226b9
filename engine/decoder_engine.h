// decoder_engine.h — the decoder engine ("orvo.dll" and its FLAC plug-in "orvu.dll") as the
// program sees it: the C signature of every function it binds, and the table of bound pointers.
// The program never links the libraries; it loads them at start and fills `decoder_engine`.
// Decoded data is interleaved 2-channel 32-bit float at the file's rate; positions and lengths
// are bytes of it (8 a frame). Handles are 32-bit, 0 = failure; failures leave a code for
// Orvo_ErrorGetCode, kept per calling thread.
#pragma once

#include <cstdint>

#include "engine/engine_codes.h"

namespace nf::engine {

// Stream flags. The program passes OrvoPlayFlags to play and OrvoProbeFlags to probe.
inline constexpr std::uint32_t OrvoStreamUnicode = 0x80000000;  // the path is UTF-16
inline constexpr std::uint32_t OrvoStreamDecode = 0x00200000;   // decode only, no device
inline constexpr std::uint32_t OrvoStreamPrescan = 0x00020000;  // exact length before first read
inline constexpr std::uint32_t OrvoSampleFloat = 0x00000100;    // 32-bit float samples
inline constexpr std::uint32_t OrvoSampleSoftware = 0x00000010;
inline constexpr std::uint32_t OrvoPlayFlags = 0x80200110;
inline constexpr std::uint32_t OrvoProbeFlags = 0x80220110;

inline constexpr std::uint32_t OrvoInitNoSound = 4096;       // Orvo_Init flags: no output device
inline constexpr std::uint32_t OrvoConfigBuffer = 1;         // Orvo_SetConfig: playback buffer
inline constexpr std::uint32_t OrvoConfigUnicodePaths = 42;  // Orvo_SetConfig: paths are UTF-16
inline constexpr std::uint32_t OrvoPosByte = 0;              // position and length mode
inline constexpr std::uint32_t OrvoAttribFreq = 1;           // Orvo_ChannelGetAttribute: rate

// X(result, exported name, parameters) for every function, in binding order.
#define NF_ORVO_FUNCTIONS(X)                                                                    \
  X(std::int32_t, Orvo_ChannelGetData, (std::uint32_t handle, void* buffer, std::int32_t length)) \
  X(std::uint32_t, Orvo_StreamCreateFile,                                                       \
    (std::int32_t mem, const void* file, std::uint64_t offset, std::uint64_t length,            \
     std::uint32_t flags))                                                                      \
  X(std::int64_t, Orvo_ChannelGetLength, (std::uint32_t handle, std::uint32_t mode))            \
  X(std::int64_t, Orvo_ChannelGetPosition, (std::uint32_t handle, std::uint32_t mode))          \
  X(std::int32_t, Orvo_ErrorGetCode, ())                                                        \
  X(std::int32_t, Orvo_Init,                                                                    \
    (std::int32_t device, std::uint32_t rate, std::uint32_t flags, void* window,               \
     const void* clsid))                                                                        \
  X(std::int32_t, Orvo_Free, ())                                                                \
  X(std::int32_t, Orvo_StreamFree, (std::uint32_t handle))                                      \
  X(std::int64_t, Orvo_StreamGetFilePosition, (std::uint32_t handle, std::uint32_t mode))       \
  X(std::int32_t, Orvo_SetDevice, (std::uint32_t device))                                       \
  X(std::int32_t, Orvo_SetConfig, (std::uint32_t option, std::uint32_t value))                  \
  X(double, Orvo_ChannelBytes2Seconds, (std::uint32_t handle, std::int64_t position))           \
  X(std::int32_t, Orvo_ChannelGetAttribute,                                                     \
    (std::uint32_t handle, std::uint32_t attribute, float* value))                              \
  X(std::int32_t, Orvo_ChannelSetPosition,                                                      \
    (std::uint32_t handle, std::int64_t position, std::uint32_t mode))                          \
  X(std::int32_t, Orvo_ChannelSetDevice, (std::uint32_t handle, std::uint32_t device))          \
  X(std::int32_t, Orvo_ChannelStop, (std::uint32_t handle))                                     \
  X(std::int32_t, Orvo_ChannelUpdate, (std::uint32_t handle, std::uint32_t length))

#define NF_ORVU_FUNCTIONS(X)                                                         \
  X(std::uint32_t, Orvo_FLAC_StreamCreateFile,                                       \
    (std::int32_t mem, const void* file, std::uint64_t offset, std::uint64_t length, \
     std::uint32_t flags))

extern "C" {
#define NF_DECLARE_FN_TYPE(result, name, params) using name##Fn = result(*) params;
NF_ORVO_FUNCTIONS(NF_DECLARE_FN_TYPE)
NF_ORVU_FUNCTIONS(NF_DECLARE_FN_TYPE)
}

#define NF_DECLARE_FN_POINTER(result, name, params) name##Fn name = nullptr;
struct DecoderEngine {
  NF_ORVO_FUNCTIONS(NF_DECLARE_FN_POINTER)
  NF_ORVU_FUNCTIONS(NF_DECLARE_FN_POINTER)
};

// Filled once at start by the engine binding (tests bind fakes); read by everyone after.
inline DecoderEngine decoder_engine;

}  // namespace nf::engine
