// sleep.cpp — real sleeps, or a virtual clock for tests.
#include "platform/sleep.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

namespace nf::platform {
namespace {

std::atomic<bool> virtual_clock_on{false};
std::atomic<std::uint64_t> virtual_now_ms{0};
std::mutex sleeps_mutex;
std::vector<std::uint32_t> virtual_sleeps;

}  // namespace

void SleepMs(std::uint32_t ms) {
  if (!virtual_clock_on.load(std::memory_order_acquire)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return;
  }
  virtual_now_ms.fetch_add(ms, std::memory_order_acq_rel);
  {
    std::lock_guard lock(sleeps_mutex);
    virtual_sleeps.push_back(ms);
  }
  std::this_thread::yield();
}

void UseVirtualClock(bool on) {
  std::lock_guard lock(sleeps_mutex);
  virtual_sleeps.clear();
  virtual_now_ms.store(0, std::memory_order_release);
  virtual_clock_on.store(on, std::memory_order_release);
}

std::uint64_t VirtualNowMs() {
  return virtual_now_ms.load(std::memory_order_acquire);
}

std::vector<std::uint32_t> TakeVirtualSleeps() {
  std::lock_guard lock(sleeps_mutex);
  return std::exchange(virtual_sleeps, {});
}

}  // namespace nf::platform
