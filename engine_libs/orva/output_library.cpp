// output_library.cpp — the operations behind the exported functions.
#include "engine_libs/orva/output_library.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <optional>

#include "engine_libs/orva/channel_map.h"

namespace nf::orva {
namespace {

// A rate the devices can be asked for: a whole number of hertz.
std::optional<unsigned> WholeRate(double rate) {
  if (!(rate >= 1.0 && rate <= 100'000'000.0) || rate != std::floor(rate)) return std::nullopt;
  return static_cast<unsigned>(rate);
}

// A device that vanished or that something else took is no valid driver any more.
EngineCode DeviceFailure(int error) {
  return error == -ENODEV || error == -EBADFD || error == -EBUSY || error == -ENXIO
             ? engine::EngineErrorDriver
             : engine::EngineErrorUnknown;
}

}  // namespace

OutputLibrary& Library() {
  static OutputLibrary library;
  return library;
}

EngineCode OutputLibrary::DeviceInfo(std::uint32_t device, engine::OrvaDeviceInfo* info) {
  std::lock_guard hold(lock_);
  if (!info) return engine::EngineErrorIllegalParameter;
  if (device == 0 || devices_.empty()) devices_ = ListDevices();
  if (device >= devices_.size()) return engine::EngineErrorDevice;
  const DeviceRecord& record = devices_[device];
  info->name = unicode_.load(std::memory_order_relaxed)
                   ? static_cast<const void*>(record.name16.c_str())
                   : static_cast<const void*>(record.name.c_str());
  info->driver = record.driver.c_str();
  return engine::EngineOk;
}

EngineCode OutputLibrary::Init(std::int32_t device, std::uint32_t flags) {
  std::lock_guard hold(lock_);
  if (flags > engine::OrvaInitPlay) return engine::EngineErrorIllegalParameter;
  if (device_) return engine::EngineErrorAlready;
  if (devices_.empty()) devices_ = ListDevices();
  if (device < 0 || static_cast<std::size_t>(device) >= devices_.size())
    return engine::EngineErrorDevice;
  int error = 0;
  std::unique_ptr<PcmDevice> opened = PcmDevice::Open(devices_[device].driver, error);
  if (!opened) return engine::EngineErrorDriver;  // held by another program, or gone
  if (flags == engine::OrvaInitPlay && opened->SomeRate() == 0)
    return engine::EngineErrorSampleFormat;  // takes none of the formats the library writes
  device_ = std::move(opened);
  for_play_ = flags == engine::OrvaInitPlay;
  rate_ = 0;
  channels_.Reset(device_->ChannelCount());
  return engine::EngineOk;
}

void OutputLibrary::Free() {
  std::lock_guard hold(lock_);
  stream_.Stop();
  device_.reset();
  for_play_ = false;
  rate_ = 0;
  channels_.Reset(0);
}

EngineCode OutputLibrary::ControlPanel() {
  std::lock_guard hold(lock_);
  // ALSA devices have no settings window of their own to show.
  return device_ ? engine::EngineErrorNotAvailable : engine::EngineErrorNotInitialized;
}

EngineCode OutputLibrary::CheckRate(double rate) {
  std::lock_guard hold(lock_);
  if (!device_) return engine::EngineErrorNotInitialized;
  const std::optional<unsigned> whole = WholeRate(rate);
  return whole && device_->RunsAt(*whole) ? engine::EngineOk : engine::EngineErrorSampleRate;
}

EngineCode OutputLibrary::SetRate(double rate) {
  std::lock_guard hold(lock_);
  if (!device_) return engine::EngineErrorNotInitialized;
  const std::optional<unsigned> whole = WholeRate(rate);
  if (!whole || !device_->RunsAt(*whole)) return engine::EngineErrorSampleRate;
  // A running device keeps its rate; Stop first to change it.
  if (stream_.Running() && *whole != setup_.rate) return engine::EngineErrorAlready;
  rate_ = *whole;
  return engine::EngineOk;
}

EngineCode OutputLibrary::Rate(double& rate) {
  std::lock_guard hold(lock_);
  if (!device_) return engine::EngineErrorNotInitialized;
  rate = stream_.Running() ? setup_.rate : rate_ ? rate_ : device_->SomeRate();
  return engine::EngineOk;
}

EngineCode OutputLibrary::Start(std::uint32_t period_frames) {
  std::lock_guard hold(lock_);
  if (!device_ || !for_play_) return engine::EngineErrorNotInitialized;
  if (stream_.Running()) return engine::EngineErrorAlready;
  stream_.Stop();  // collects a thread that ended on a device failure
  const unsigned rate = rate_ ? rate_ : device_->SomeRate();
  if (rate == 0 || !device_->RunsAt(rate)) return engine::EngineErrorSampleRate;
  const int error = device_->Configure(rate, period_frames, setup_);
  if (error < 0) return DeviceFailure(error);
  if (!stream_.Start(*device_, setup_, channels_, master_)) return engine::EngineErrorUnknown;
  return engine::EngineOk;
}

EngineCode OutputLibrary::Stop() {
  std::lock_guard hold(lock_);
  if (!device_) return engine::EngineErrorNotInitialized;
  if (!stream_.Exists()) return engine::EngineErrorStart;
  stream_.Stop();
  return engine::EngineOk;
}

EngineCode OutputLibrary::ChannelCall(std::int32_t input) const {
  if (input != 0) return engine::EngineErrorIllegalParameter;  // the library has no inputs
  return device_ ? engine::EngineOk : engine::EngineErrorNotInitialized;
}

EngineCode OutputLibrary::ChannelEnable(std::int32_t input, std::int32_t channel,
                                        engine::OrvaAsioProc proc, void* user) {
  std::lock_guard hold(lock_);
  const EngineCode code = ChannelCall(input);
  return code != engine::EngineOk ? code : channels_.Enable(channel, proc, user);
}

EngineCode OutputLibrary::ChannelJoin(std::int32_t input, std::int32_t channel, std::int32_t head) {
  std::lock_guard hold(lock_);
  const EngineCode code = ChannelCall(input);
  return code != engine::EngineOk ? code : channels_.Join(channel, head);
}

EngineCode OutputLibrary::ChannelPause(std::int32_t input, std::int32_t channel) {
  std::lock_guard hold(lock_);
  const EngineCode code = ChannelCall(input);
  return code != engine::EngineOk ? code : channels_.Pause(channel);
}

EngineCode OutputLibrary::ChannelReset(std::int32_t input, std::int32_t channel,
                                       std::uint32_t flags) {
  std::lock_guard hold(lock_);
  const EngineCode code = ChannelCall(input);
  return code != engine::EngineOk ? code : channels_.ResetFlags(channel, flags);
}

EngineCode OutputLibrary::ChannelSetFormat(std::int32_t input, std::int32_t channel,
                                           std::uint32_t format) {
  std::lock_guard hold(lock_);
  const EngineCode code = ChannelCall(input);
  if (code != engine::EngineOk) return code;
  if (channel < 0 || static_cast<std::size_t>(channel) >= channels_.Count())
    return engine::EngineErrorIllegalParameter;
  // Callbacks always see 32-bit float; the library converts for the device itself.
  return format == engine::OrvaFormatFloat ? engine::EngineOk : engine::EngineErrorSampleFormat;
}

EngineCode OutputLibrary::ChannelSetVolume(std::int32_t input, std::int32_t channel, float level) {
  if (input != 0 || !std::isfinite(level) || level < 0.0f)
    return engine::EngineErrorIllegalParameter;
  if (channel == engine::OrvaAllChannels) {
    // The whole output's level needs no device: it is kept for the next one.
    master_.store(level, std::memory_order_relaxed);
    return engine::EngineOk;
  }
  std::lock_guard hold(lock_);
  const EngineCode code = ChannelCall(input);
  return code != engine::EngineOk ? code : channels_.SetLevel(channel, level);
}

EngineCode OutputLibrary::ChannelGetInfo(std::int32_t input, std::int32_t channel,
                                         engine::OrvaChannelInfo* info) {
  std::lock_guard hold(lock_);
  const EngineCode code = ChannelCall(input);
  if (code != engine::EngineOk) return code;
  const std::size_t count = device_->ChannelCount();
  if (!info || channel < 0 || static_cast<std::size_t>(channel) >= count)
    return engine::EngineErrorIllegalParameter;
  const auto& positions = device_->ChannelPositions();
  info->group = FurtherPairStarts(positions, count)[static_cast<std::size_t>(channel)];
  info->format = engine::OrvaFormatFloat;
  std::snprintf(info->name, sizeof(info->name), "%s",
                ChannelName(static_cast<std::size_t>(channel), positions).c_str());
  return engine::EngineOk;
}

}  // namespace nf::orva
