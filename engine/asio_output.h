// asio_output.h — the output library ("orva.dll") as the program sees it: the C signature of
// every function it binds, the records it reads and the table of bound pointers. All sound
// leaves through it, to one device at a time; channel calls take 0 first (the output side).
#pragma once

#include <cstdint>

#include "engine/decoder_engine.h"  // the shared binding macros

namespace nf::engine {

extern "C" {
// Device information: `name` points to the device's name, UTF-16 (char16_t, NUL-terminated)
// after Orva_ASIO_SetUnicode(1), UTF-8 before; `driver` names the device to the system.
struct OrvaDeviceInfo {
  const void* name;
  const char* driver;
};

// Output channel information: `group` is 1 on a channel where a further stereo pair starts.
struct OrvaChannelInfo {
  std::uint32_t group;
  std::uint32_t format;
  char name[32];
};

// The output callback: called on the library's thread with the buffer third and the byte count
// fourth; returns the bytes it wrote. The rest of the buffer plays as silence.
using OrvaAsioProc = std::int32_t (*)(std::int32_t input, std::int32_t channel, void* buffer,
                                      std::int32_t length, void* user);
}

inline constexpr std::uint32_t OrvaInitProbe = 0;   // Orva_ASIO_Init: to test rates
inline constexpr std::uint32_t OrvaInitPlay = 1;    // Orva_ASIO_Init: to play
inline constexpr std::uint32_t OrvaFormatFloat = 19;  // 32-bit float, little-endian
inline constexpr std::uint32_t OrvaResetEnable = 1;   // Orva_ASIO_ChannelReset flags
inline constexpr std::uint32_t OrvaResetJoin = 2;
inline constexpr std::uint32_t OrvaResetPause = 4;
inline constexpr std::uint32_t OrvaResetStop = OrvaResetEnable | OrvaResetJoin;  // 3
inline constexpr std::int32_t OrvaAllChannels = -1;

#define NF_ORVA_FUNCTIONS(X)                                                                   \
  X(std::uint32_t, Orva_ASIO_GetVersion, ())                                                   \
  X(std::int32_t, Orva_ASIO_GetDeviceInfo, (std::uint32_t device, ::nf::engine::OrvaDeviceInfo* info)) \
  X(std::int32_t, Orva_ASIO_Init, (std::int32_t device, std::uint32_t flags))                  \
  X(std::int32_t, Orva_ASIO_Free, ())                                                          \
  X(std::int32_t, Orva_ASIO_ErrorGetCode, ())                                                  \
  X(std::int32_t, Orva_ASIO_ControlPanel, ())                                                  \
  X(std::int32_t, Orva_ASIO_CheckRate, (double rate))                                          \
  X(std::int32_t, Orva_ASIO_SetRate, (double rate))                                            \
  X(double, Orva_ASIO_GetRate, ())                                                             \
  X(std::int32_t, Orva_ASIO_Start, (std::uint32_t buffer_length, std::uint32_t threads))       \
  X(std::int32_t, Orva_ASIO_Stop, ())                                                          \
  X(std::int32_t, Orva_ASIO_SetUnicode, (std::int32_t unicode))                                \
  X(std::int32_t, Orva_ASIO_IsStarted, ())                                                     \
  X(std::int32_t, Orva_ASIO_ChannelReset,                                                      \
    (std::int32_t input, std::int32_t channel, std::uint32_t flags))                           \
  X(std::int32_t, Orva_ASIO_ChannelEnable,                                                     \
    (std::int32_t input, std::int32_t channel, ::nf::engine::OrvaAsioProc proc, void* user)) \
  X(std::int32_t, Orva_ASIO_ChannelJoin,                                                       \
    (std::int32_t input, std::int32_t channel, std::int32_t channel2))                         \
  X(std::int32_t, Orva_ASIO_ChannelPause, (std::int32_t input, std::int32_t channel))          \
  X(std::int32_t, Orva_ASIO_ChannelSetFormat,                                                  \
    (std::int32_t input, std::int32_t channel, std::uint32_t format))                          \
  X(std::int32_t, Orva_ASIO_ChannelSetVolume,                                                  \
    (std::int32_t input, std::int32_t channel, float volume))                                  \
  X(std::int32_t, Orva_ASIO_ChannelGetInfo,                                                    \
    (std::int32_t input, std::int32_t channel, ::nf::engine::OrvaChannelInfo* info))

extern "C" {
NF_ORVA_FUNCTIONS(NF_DECLARE_FN_TYPE)
}

struct AsioOutput {
  NF_ORVA_FUNCTIONS(NF_DECLARE_FN_POINTER)
};

// Filled once at start by the engine binding (tests bind fakes); read by everyone after.
inline AsioOutput asio_output;

}  // namespace nf::engine
