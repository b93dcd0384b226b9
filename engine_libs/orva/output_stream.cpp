// output_stream.cpp — the output thread's loop: render, convert, write, recover, pace.
#include "engine_libs/orva/output_stream.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace nf::orva {
namespace {

// High enough to run ahead of desktop work, below the system's own real-time threads.
constexpr int kRealTimePriority = 50;
constexpr int kRaisedNice = -11;

}  // namespace

bool OutputStream::Start(PcmDevice& device, const PcmSetup& setup, ChannelTable& table,
                         const std::atomic<float>& master) {
  Stop();
  device_ = &device;
  table_ = &table;
  master_ = &master;
  setup_ = setup;
  channels_ = device.ChannelCount();
  frames_.assign(setup.period_frames * channels_, 0.0f);
  bytes_.assign(setup.period_frames * channels_ * BytesPerSample(setup.format), 0);
  written_ = 0;
  filled_ = 0;
  pacing_ = false;
  table.PrepareFor(setup.period_frames);
  stop_.store(false, std::memory_order_relaxed);
  underruns_.store(0, std::memory_order_relaxed);
  real_time_.store(false, std::memory_order_relaxed);
  running_.store(true, std::memory_order_release);
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    running_.store(false, std::memory_order_release);
    return false;
  }
  return true;
}

void OutputStream::Stop() {
  if (!thread_.joinable()) return;
  stop_.store(true, std::memory_order_release);
  thread_.join();
  running_.store(false, std::memory_order_release);
  device_->Drop();
}

void OutputStream::RaisePriority() {
  sched_param param{};
  param.sched_priority = std::min(kRealTimePriority, sched_get_priority_max(SCHED_FIFO));
  if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0) {
    real_time_.store(true, std::memory_order_relaxed);
    return;
  }
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kRaisedNice);  // refused: stays at 0
}

void OutputStream::Run() {
  pthread_setname_np(pthread_self(), "orva output");
  RaisePriority();
  const std::size_t samples = setup_.period_frames * channels_;
  while (!stop_.load(std::memory_order_acquire)) {
    table_->Render(frames_.data(), setup_.period_frames, master_->load(std::memory_order_relaxed));
    ConvertSamples(frames_.data(), samples, setup_.format, bytes_.data());
    if (!WritePeriod()) break;
    Pace();
  }
  running_.store(false, std::memory_order_release);
}

bool OutputStream::WritePeriod() {
  const std::size_t frame_bytes = channels_ * BytesPerSample(setup_.format);
  const unsigned char* next = bytes_.data();
  snd_pcm_uframes_t left = setup_.period_frames;
  while (left > 0) {
    const snd_pcm_sframes_t written = device_->Write(next, left);
    if (written >= 0) {
      next += static_cast<std::size_t>(written) * frame_bytes;
      left -= static_cast<snd_pcm_uframes_t>(written);
      written_ += static_cast<std::uint64_t>(written);
      filled_ += static_cast<std::uint64_t>(written);
      if (filled_ >= setup_.buffer_frames && device_->StartIfPrepared() < 0) return false;
      continue;
    }
    if (written == -EPIPE) underruns_.fetch_add(1, std::memory_order_relaxed);
    if (written == -EAGAIN) {
      if (stop_.load(std::memory_order_acquire)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    // The rest of this period is written again once the device runs.
    if (device_->Recover(static_cast<int>(written)) < 0) return false;
    filled_ = 0;
    pacing_ = false;
  }
  return true;
}

void OutputStream::Pace() {
  if (!device_->HoldsNothing()) {
    pacing_ = false;  // the device's own clock holds the writes back
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  const std::chrono::duration<double> buffer_time(static_cast<double>(setup_.buffer_frames) /
                                                  setup_.rate);
  if (pacing_) {
    const std::chrono::duration<double> played(static_cast<double>(written_ - paced_frames_) /
                                               setup_.rate);
    const auto due = paced_from_ + std::chrono::duration_cast<std::chrono::nanoseconds>(played);
    if (now <= due + buffer_time) {
      std::this_thread::sleep_until(due);
      return;
    }
    // Fell more than a buffer behind (a slow callback): count the time from here.
  }
  // The first period written once the device ran: the clock starts here, a buffer ahead, as a
  // real device's would.
  pacing_ = true;
  paced_from_ = now;
  paced_frames_ = written_;
}

}  // namespace nf::orva
