// output_library.h — the library's one state: the device list, the open device, its channels,
// the output level and the output thread. Each operation returns the code the caller reports
// (EngineOk on success); calls are serialised, so a program may make them from any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/asio_output.h"
#include "engine/engine_codes.h"
#include "engine_libs/orva/channel_table.h"
#include "engine_libs/orva/device_list.h"
#include "engine_libs/orva/output_stream.h"
#include "engine_libs/orva/pcm_device.h"

namespace nf::orva {

using engine::EngineCode;

class OutputLibrary {
 public:
  ~OutputLibrary() { Free(); }

  void SetUnicode(bool unicode) { unicode_.store(unicode, std::memory_order_relaxed); }
  // Device 0 lists the devices afresh; the record's strings stay valid until then.
  EngineCode DeviceInfo(std::uint32_t device, engine::OrvaDeviceInfo* info);

  EngineCode Init(std::int32_t device, std::uint32_t flags);
  void Free();
  EngineCode ControlPanel();

  EngineCode CheckRate(double rate);
  EngineCode SetRate(double rate);
  EngineCode Rate(double& rate);

  EngineCode Start(std::uint32_t period_frames);
  EngineCode Stop();
  bool IsStarted() const { return stream_.Running(); }

  EngineCode ChannelEnable(std::int32_t input, std::int32_t channel, engine::OrvaAsioProc proc,
                           void* user);
  EngineCode ChannelJoin(std::int32_t input, std::int32_t channel, std::int32_t head);
  EngineCode ChannelPause(std::int32_t input, std::int32_t channel);
  EngineCode ChannelReset(std::int32_t input, std::int32_t channel, std::uint32_t flags);
  EngineCode ChannelSetFormat(std::int32_t input, std::int32_t channel, std::uint32_t format);
  EngineCode ChannelSetVolume(std::int32_t input, std::int32_t channel, float level);
  EngineCode ChannelGetInfo(std::int32_t input, std::int32_t channel,
                            engine::OrvaChannelInfo* info);

  // Diagnostics of the current or last output.
  std::uint64_t Underruns() const { return stream_.Underruns(); }
  bool RealTime() const { return stream_.RealTime(); }

 private:
  EngineCode ChannelCall(std::int32_t input) const;
  EngineCode StopLocked();

  std::mutex lock_;
  std::atomic<bool> unicode_{false};
  std::atomic<float> master_{1.0f};  // outlives Free: the program sets it before each Init
  std::vector<DeviceRecord> devices_;
  std::unique_ptr<PcmDevice> device_;
  bool for_play_ = false;
  unsigned rate_ = 0;  // 0: not set, Start takes one the device runs at
  PcmSetup setup_;     // how the device runs once started
  ChannelTable channels_;
  OutputStream stream_;
};

OutputLibrary& Library();

}  // namespace nf::orva
