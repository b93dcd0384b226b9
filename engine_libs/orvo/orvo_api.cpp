// orvo_api.cpp — the exported C ABI of orvo.dll: the calls of the program's binding table and
// the registration calls of the FLAC plug-in. Every call leaves the calling thread's error code
// at 0 when it succeeds; no exception leaves through here.
#include <atomic>

#include "engine/decoder_engine.h"
#include "engine_libs/orvo/abi_export.h"
#include "engine_libs/orvo/error_code.h"
#include "engine_libs/orvo/file_open.h"
#include "engine_libs/orvo/orvo_plugin.h"
#include "engine_libs/orvo/sndfile_source.h"
#include "engine_libs/orvo/stream_table.h"

NF_ORVO_FUNCTIONS(NF_ENGINE_DECLARE_EXPORT)
NF_ORVO_FUNCTIONS(NF_ENGINE_CHECK_EXPORT)

using namespace nf::engine;
using nf::orvo::Fail;
using nf::orvo::FindStream;
using nf::orvo::Guarded;
using nf::orvo::SetError;

namespace {

// Decoding needs no device; the one device, 0, stands for "no sound".
constexpr std::uint32_t NoSoundDevice = 0;

std::atomic<bool> initialized{false};
std::atomic<bool> unicode_paths{false};

template <typename T>
T Succeed(T result) {
  SetError(EngineOk);
  return result;
}

// Runs `body` on the stream of `handle`, or fails as for a bad handle.
template <typename T, typename Body>
T WithStream(std::uint32_t handle, T failure, Body&& body) {
  return Guarded(failure, [&]() -> T {
    const auto stream = FindStream(handle);
    return stream ? body(*stream) : failure;
  });
}

bool ValidDevice(std::uint32_t device) {
  return device == NoSoundDevice;
}

}  // namespace

std::int32_t Orvo_ErrorGetCode() {
  return nf::orvo::LastError();
}

std::int32_t Orvo_Init(std::int32_t device, std::uint32_t, std::uint32_t, void*, const void*) {
  // -1 asks for the default device, which is the no-sound device here.
  if (device != -1 && !ValidDevice(static_cast<std::uint32_t>(device)))
    return Fail(EngineErrorDevice, 0);
  if (initialized.exchange(true)) return Fail(EngineErrorAlready, 0);
  return Succeed(1);
}

std::int32_t Orvo_Free() {
  return Guarded(0, [] {
    nf::orvo::FreeAllStreams();
    initialized.store(false);
    return Succeed(1);
  });
}

std::int32_t Orvo_SetDevice(std::uint32_t device) {
  return ValidDevice(device) ? Succeed(1) : Fail(EngineErrorDevice, 0);
}

std::int32_t Orvo_SetConfig(std::uint32_t option, std::uint32_t value) {
  switch (option) {
    case OrvoConfigBuffer:  // accepted; decoding streams have no playback buffer to size
      return Succeed(1);
    case OrvoConfigUnicodePaths:
      unicode_paths.store(value != 0);
      return Succeed(1);
    default:
      return Fail(EngineErrorIllegalParameter, 0);
  }
}

std::uint32_t Orvo_StreamCreateFile(std::int32_t mem, const void* file, std::uint64_t offset,
                                    std::uint64_t length, std::uint32_t flags) {
  return Guarded(0u, [&]() -> std::uint32_t {
    const int fd = nf::orvo::OpenStreamFile(mem, file, offset, length, flags, unicode_paths);
    if (fd < 0) return 0;
    nf::orvo::OpenedSource opened;
    if (const std::int32_t code = nf::orvo::OpenSndfileSource(fd, opened); code != EngineOk)
      return Fail(code, 0u);
    return OrvoPlugin_AddStream(opened.ops, opened.source, opened.rate, opened.frames);
  });
}

std::int32_t Orvo_StreamFree(std::uint32_t handle) {
  return Guarded(0, [&] { return nf::orvo::FreeStream(handle) ? Succeed(1) : 0; });
}

std::int64_t Orvo_StreamGetFilePosition(std::uint32_t handle, std::uint32_t mode) {
  return WithStream(handle, std::int64_t{-1}, [&](nf::orvo::Stream& stream) -> std::int64_t {
    if (mode != OrvoPosByte) return Fail(EngineErrorIllegalParameter, std::int64_t{-1});
    const std::int64_t position = stream.FilePosition();
    return position >= 0 ? Succeed(position) : Fail(EngineErrorNotAvailable, position);
  });
}

std::int32_t Orvo_ChannelGetData(std::uint32_t handle, void* buffer, std::int32_t length) {
  return WithStream(handle, -1, [&](nf::orvo::Stream& stream) {
    const std::int32_t written = stream.Read(buffer, length);
    return written >= 0 ? Succeed(written) : written;
  });
}

std::int64_t Orvo_ChannelGetLength(std::uint32_t handle, std::uint32_t mode) {
  return WithStream(handle, std::int64_t{-1}, [&](nf::orvo::Stream& stream) {
    return mode == OrvoPosByte ? Succeed(stream.length_bytes())
                               : Fail(EngineErrorIllegalParameter, std::int64_t{-1});
  });
}

std::int64_t Orvo_ChannelGetPosition(std::uint32_t handle, std::uint32_t mode) {
  return WithStream(handle, std::int64_t{-1}, [&](nf::orvo::Stream& stream) -> std::int64_t {
    if (mode != OrvoPosByte) return Fail(EngineErrorIllegalParameter, std::int64_t{-1});
    const std::int64_t position = stream.Position();
    return position >= 0 ? Succeed(position) : position;
  });
}

std::int32_t Orvo_ChannelSetPosition(std::uint32_t handle, std::int64_t position,
                                     std::uint32_t mode) {
  return WithStream(handle, 0, [&](nf::orvo::Stream& stream) {
    if (mode != OrvoPosByte) return Fail(EngineErrorIllegalParameter, 0);
    return stream.SetPosition(position) ? Succeed(1) : 0;
  });
}

double Orvo_ChannelBytes2Seconds(std::uint32_t handle, std::int64_t position) {
  return WithStream(handle, -1.0, [&](nf::orvo::Stream& stream) {
    if (position < 0) return Fail(EngineErrorIllegalParameter, -1.0);
    return Succeed(static_cast<double>(position) / (8.0 * stream.rate()));
  });
}

std::int32_t Orvo_ChannelGetAttribute(std::uint32_t handle, std::uint32_t attribute, float* value) {
  return WithStream(handle, 0, [&](nf::orvo::Stream& stream) {
    if (attribute != OrvoAttribFreq || value == nullptr)
      return Fail(EngineErrorIllegalParameter, 0);
    *value = static_cast<float>(stream.rate());
    return Succeed(1);
  });
}

std::int32_t Orvo_ChannelSetDevice(std::uint32_t handle, std::uint32_t device) {
  return WithStream(handle, 0, [&](nf::orvo::Stream&) {
    return ValidDevice(device) ? Succeed(1) : Fail(EngineErrorDevice, 0);
  });
}

std::int32_t Orvo_ChannelStop(std::uint32_t handle) {
  return WithStream(handle, 0, [&](nf::orvo::Stream& stream) {
    stream.Stop();
    return Succeed(1);
  });
}

std::int32_t Orvo_ChannelUpdate(std::uint32_t handle, std::uint32_t) {
  // Decoding streams are filled by the caller's reads; there is nothing to update ahead.
  return WithStream(handle, 0, [&](nf::orvo::Stream&) { return Succeed(1); });
}

// --- Registration of plug-in streams ---------------------------------------------------------

int OrvoPlugin_OpenFile(std::int32_t mem, const void* file, std::uint64_t offset,
                        std::uint64_t length, std::uint32_t flags) {
  return Guarded(-1, [&] {
    return nf::orvo::OpenStreamFile(mem, file, offset, length, flags, unicode_paths);
  });
}

std::uint32_t OrvoPlugin_AddStream(const OrvoSourceOps* ops, void* source, std::uint32_t rate,
                                   std::int64_t frames) {
  if (ops == nullptr || source == nullptr) return Fail(EngineErrorIllegalParameter, 0u);
  return Guarded(0u, [&]() -> std::uint32_t {
    std::unique_ptr<nf::orvo::Stream> stream;
    try {
      stream = std::make_unique<nf::orvo::Stream>(*ops, source, rate, frames);
    } catch (...) {
      ops->close(source);
      throw;
    }
    if (rate == 0 || frames < 0) return Fail(EngineErrorFileFormat, 0u);  // closes the source
    return Succeed(nf::orvo::AddStream(std::move(stream)));
  });
}

void OrvoPlugin_SetError(std::int32_t code) {
  SetError(code);
}
