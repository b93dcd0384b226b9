// threads.cpp — numbered threads over std::thread, with per-thread nice values.
#include "platform/threads.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace nf::platform {
namespace {

struct ThreadRecord {
  std::thread thread;
  std::mutex mutex;
  std::condition_variable ended_signal;
  bool ended = false;
  // A thread still running when the program ends is left to the process exit.
  ~ThreadRecord() {
    if (thread.joinable()) thread.detach();
  }
};

std::mutex table_mutex;
std::map<std::uint32_t, std::shared_ptr<ThreadRecord>> threads_by_number;
std::uint32_t last_number = 0;

std::shared_ptr<ThreadRecord> FindThread(std::uint32_t number) {
  std::lock_guard lock(table_mutex);
  const auto found = threads_by_number.find(number);
  return found == threads_by_number.end() ? nullptr : found->second;
}

}  // namespace

int NiceValueForPriority(int priority) {
  if (priority <= 1) return 19;
  if (priority <= 15) return 5;
  if (priority == 16) return 0;
  if (priority <= 30) return -5;
  if (priority == 31) return -10;
  return -15;
}

std::uint32_t StartThread(void (*body)(), int priority) {
  auto record = std::make_shared<ThreadRecord>();
  const int nice_value = NiceValueForPriority(priority);
  std::uint32_t number;
  {
    std::lock_guard lock(table_mutex);
    number = ++last_number;
    if (number == 0) number = ++last_number;
    threads_by_number[number] = record;
  }
  try {
    record->thread = std::thread([record, body, nice_value] {
      // Raising a priority needs a privilege; without it the thread simply runs at normal.
      setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), nice_value);
      body();
      std::lock_guard lock(record->mutex);
      record->ended = true;
      record->ended_signal.notify_all();
    });
  } catch (const std::system_error&) {
    std::lock_guard lock(table_mutex);
    threads_by_number.erase(number);
    return 0;
  }
  return number;
}

bool ThreadRunning(std::uint32_t thread) {
  const auto record = FindThread(thread);
  if (!record) return false;
  std::lock_guard lock(record->mutex);
  return !record->ended;
}

bool WaitForThread(std::uint32_t thread, std::uint32_t timeout_ms) {
  const auto record = FindThread(thread);
  if (!record) return true;
  {
    std::unique_lock lock(record->mutex);
    if (!record->ended_signal.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                                       [&] { return record->ended; }))
      return false;
  }
  {
    std::lock_guard lock(table_mutex);
    if (threads_by_number.erase(thread) == 0) return true;  // another waiter joined it
  }
  record->thread.join();
  return true;
}

}  // namespace nf::platform
