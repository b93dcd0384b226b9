// output_stream.h — the output thread: it renders a period from the channel table, converts it
// to the device's format and writes it, for as long as output runs. It asks for real-time
// scheduling (SCHED_FIFO); where the system refuses, it asks for a raised nice value, and where
// that is refused too it runs at normal priority, where the 80 ms buffer still carries it
// through ordinary load and any underrun is recovered and counted. On a device that keeps
// nothing of what it is given (ALSA's null and file devices), the thread paces itself by the
// clock at the running rate, so that a play lasts as long as its music.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "engine_libs/orva/channel_table.h"
#include "engine_libs/orva/pcm_device.h"

namespace nf::orva {

class OutputStream {
 public:
  ~OutputStream() { Stop(); }

  // Starts the thread on a configured device; false when no thread could be made.
  bool Start(PcmDevice& device, const PcmSetup& setup, ChannelTable& table,
             const std::atomic<float>& master);
  // Ends the thread (after the period it is writing) and drops what the device still holds.
  void Stop();
  // True from Start until Stop, or until the device failed beyond recovery.
  bool Running() const { return running_.load(std::memory_order_acquire); }
  // True while a thread exists, running or ended by a failure, that Stop has not collected.
  bool Exists() const { return thread_.joinable(); }
  std::uint64_t Underruns() const { return underruns_.load(std::memory_order_relaxed); }
  bool RealTime() const { return real_time_.load(std::memory_order_relaxed); }

 private:
  void Run();
  void RaisePriority();
  bool WritePeriod();
  void Pace();

  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> running_{false};
  std::atomic<bool> real_time_{false};
  std::atomic<std::uint64_t> underruns_{0};

  // Set before the thread starts; the thread's own afterwards.
  PcmDevice* device_ = nullptr;
  ChannelTable* table_ = nullptr;
  const std::atomic<float>* master_ = nullptr;
  PcmSetup setup_;
  std::size_t channels_ = 0;
  std::vector<float> frames_;
  std::vector<unsigned char> bytes_;
  std::uint64_t written_ = 0;
  std::uint64_t filled_ = 0;  // written since the device was last prepared
  bool pacing_ = false;
  std::chrono::steady_clock::time_point paced_from_;
  std::uint64_t paced_frames_ = 0;
};

}  // namespace nf::orva
