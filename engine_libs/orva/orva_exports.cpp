// orva_exports.cpp — the C ABI of orva.dll: each function runs its operation, keeps the code
// for Orva_ASIO_ErrorGetCode on the calling thread and returns 1 on success, 0 on failure.
// No exception leaves the library.
#include "engine_libs/orva/orva_exports.h"

#include <new>
#include <type_traits>

#include "engine_libs/orva/output_library.h"

namespace {

using nf::engine::EngineCode;
using nf::orva::Library;

#define NF_ORVA_CHECK_SIGNATURE(result, name, params)                      \
  static_assert(std::is_same_v<decltype(&::name), ::nf::engine::name##Fn>, \
                #name " strays from the signature the program binds");
NF_ORVA_FUNCTIONS(NF_ORVA_CHECK_SIGNATURE)

constexpr std::uint32_t kVersion = 0x01000000;  // 1.0.0.0

thread_local std::int32_t last_code = nf::engine::EngineOk;

std::int32_t Report(EngineCode code) {
  last_code = code;
  return code == nf::engine::EngineOk ? 1 : 0;
}

template <typename Operation>
std::int32_t Run(Operation operation) {
  try {
    return Report(operation());
  } catch (const std::bad_alloc&) {
    return Report(nf::engine::EngineErrorMemory);
  } catch (...) {
    return Report(nf::engine::EngineErrorUnknown);
  }
}

// A callback that called back into the library would wait for itself.
template <typename Operation>
std::int32_t RunOutsideCallback(Operation operation) {
  if (nf::orva::InOutputCallback()) return Report(nf::engine::EngineErrorStart);
  return Run(operation);
}

}  // namespace

namespace nf::orva {

std::uint64_t UnderrunCount() {
  return Library().Underruns();
}
bool OutputThreadRealTime() {
  return Library().RealTime();
}

}  // namespace nf::orva

extern "C" {

std::uint32_t Orva_ASIO_GetVersion() {
  return kVersion;
}

std::int32_t Orva_ASIO_SetUnicode(std::int32_t unicode) {
  Library().SetUnicode(unicode != 0);
  return Report(nf::engine::EngineOk);
}

std::int32_t Orva_ASIO_GetDeviceInfo(std::uint32_t device, nf::engine::OrvaDeviceInfo* info) {
  return RunOutsideCallback([&] { return Library().DeviceInfo(device, info); });
}

std::int32_t Orva_ASIO_Init(std::int32_t device, std::uint32_t flags) {
  return RunOutsideCallback([&] { return Library().Init(device, flags); });
}

std::int32_t Orva_ASIO_Free() {
  return RunOutsideCallback([&] {
    Library().Free();
    return nf::engine::EngineOk;
  });
}

std::int32_t Orva_ASIO_ErrorGetCode() {
  return last_code;
}

std::int32_t Orva_ASIO_ControlPanel() {
  return RunOutsideCallback([&] { return Library().ControlPanel(); });
}

std::int32_t Orva_ASIO_CheckRate(double rate) {
  return RunOutsideCallback([&] { return Library().CheckRate(rate); });
}

std::int32_t Orva_ASIO_SetRate(double rate) {
  return RunOutsideCallback([&] { return Library().SetRate(rate); });
}

double Orva_ASIO_GetRate() {
  double rate = 0.0;
  const std::int32_t ok = RunOutsideCallback([&] { return Library().Rate(rate); });
  return ok ? rate : 0.0;
}

std::int32_t Orva_ASIO_Start(std::uint32_t buffer_length, std::uint32_t /*threads*/) {
  return RunOutsideCallback([&] { return Library().Start(buffer_length); });
}

std::int32_t Orva_ASIO_Stop() {
  return RunOutsideCallback([&] { return Library().Stop(); });
}

std::int32_t Orva_ASIO_IsStarted() {
  return Library().IsStarted() ? 1 : 0;
}

std::int32_t Orva_ASIO_ChannelReset(std::int32_t input, std::int32_t channel, std::uint32_t flags) {
  return RunOutsideCallback([&] { return Library().ChannelReset(input, channel, flags); });
}

std::int32_t Orva_ASIO_ChannelEnable(std::int32_t input, std::int32_t channel,
                                     nf::engine::OrvaAsioProc proc, void* user) {
  return RunOutsideCallback([&] { return Library().ChannelEnable(input, channel, proc, user); });
}

std::int32_t Orva_ASIO_ChannelJoin(std::int32_t input, std::int32_t channel,
                                   std::int32_t channel2) {
  return RunOutsideCallback([&] { return Library().ChannelJoin(input, channel, channel2); });
}

std::int32_t Orva_ASIO_ChannelPause(std::int32_t input, std::int32_t channel) {
  return RunOutsideCallback([&] { return Library().ChannelPause(input, channel); });
}

std::int32_t Orva_ASIO_ChannelSetFormat(std::int32_t input, std::int32_t channel,
                                        std::uint32_t format) {
  return RunOutsideCallback([&] { return Library().ChannelSetFormat(input, channel, format); });
}

std::int32_t Orva_ASIO_ChannelSetVolume(std::int32_t input, std::int32_t channel, float volume) {
  // The whole output's level is an atomic store: safe even from inside a callback.
  if (channel == nf::engine::OrvaAllChannels)
    return Run([&] { return Library().ChannelSetVolume(input, channel, volume); });
  return RunOutsideCallback([&] { return Library().ChannelSetVolume(input, channel, volume); });
}

std::int32_t Orva_ASIO_ChannelGetInfo(std::int32_t input, std::int32_t channel,
                                      nf::engine::OrvaChannelInfo* info) {
  return RunOutsideCallback([&] { return Library().ChannelGetInfo(input, channel, info); });
}

}  // extern "C"
