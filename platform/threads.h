// threads.h — the program's threads, known by number, and its counting semaphore.
// Priorities use the scale 1..32 (1 lowest, 2..15 below normal, 16 normal, 17..30 above normal,
// 31 highest, 32 time-critical), applied as the thread's nice value. A thread is never ended by
// force: the program asks it to stop and waits.
#pragma once

#include <cstdint>
#include <semaphore>

namespace nf::platform {

// Starts body on a new thread at the given priority; returns its number (never 0), or 0 when
// no thread could be made.
std::uint32_t StartThread(void (*body)(), int priority);
// True while the numbered thread runs.
bool ThreadRunning(std::uint32_t thread);
// Waits up to timeout_ms (real time: this is a limit, not a pause) for the thread to end; true
// once it has ended. An unknown or already ended number is true at once.
bool WaitForThread(std::uint32_t thread, std::uint32_t timeout_ms);

// The nice value for a priority of the 1..32 scale.
int NiceValueForPriority(int priority);

// The program's counting semaphore.
class Semaphore {
 public:
  explicit Semaphore(std::ptrdiff_t initial) : count_(initial) {}
  void Release() { count_.release(); }
  void Acquire() { count_.acquire(); }
  bool TryAcquire() { return count_.try_acquire(); }

 private:
  std::counting_semaphore<2147483647> count_;
};

}  // namespace nf::platform
