// timers.cpp — window timers over SDL timers. SDL runs the callbacks on its own thread; each
// posts a user event carrying the window and timer number and a serial that tells a live timer
// from one that was stopped (or restarted) after its event was posted.
#include "platform/timers.h"

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <utility>

#include "platform/timer_events.h"
#include "platform/toolkit_state.h"

namespace nf::platform {
namespace {

struct TimerRecord {
  SDL_TimerID id = 0;
  std::uintptr_t serial = 0;
  bool event_waiting = false;
};

std::mutex timers_mutex;  // guards everything below; SDL is never called while it is held
std::map<std::pair<int, int>, TimerRecord> timers;  // by (window, timer)
std::map<std::uintptr_t, std::pair<int, int>> timer_of_serial;
std::set<int> open_windows;
std::uintptr_t last_serial = 0;
std::atomic<Uint32> event_type{0};
std::once_flag event_type_registered;

Uint32 Fire(Uint32 interval, void* param) {
  const auto serial = reinterpret_cast<std::uintptr_t>(param);
  std::pair<int, int> key;
  {
    std::lock_guard lock(timers_mutex);
    const auto found = timer_of_serial.find(serial);
    if (found == timer_of_serial.end()) return 0;  // stopped meanwhile: end this SDL timer
    key = found->second;
    TimerRecord& record = timers[key];
    if (record.event_waiting) return interval;
    record.event_waiting = true;
  }
  SDL_Event event{};
  event.type = event_type.load();
  event.user.windowID = static_cast<Uint32>(key.first);
  event.user.code = key.second;
  event.user.data1 = param;
  SDL_PushEvent(&event);
  return interval;
}

// Forgets the timers matching `matches`; their SDL timers are removed after the lock is let go.
template <typename Matches>
void Forget(Matches matches) {
  std::vector<SDL_TimerID> ids;
  {
    std::lock_guard lock(timers_mutex);
    for (auto it = timers.begin(); it != timers.end();) {
      if (!matches(it->first)) {
        ++it;
        continue;
      }
      ids.push_back(it->second.id);
      timer_of_serial.erase(it->second.serial);
      it = timers.erase(it);
    }
  }
  for (const SDL_TimerID id : ids) SDL_RemoveTimer(id);
}

}  // namespace

namespace toolkit {

Uint32 TimerEventType() {
  std::call_once(event_type_registered, [] { event_type.store(SDL_RegisterEvents(1)); });
  return event_type.load();
}

bool TakeTimerEvent(const SDL_Event& event) {
  std::lock_guard lock(timers_mutex);
  const auto found = timer_of_serial.find(reinterpret_cast<std::uintptr_t>(event.user.data1));
  if (found == timer_of_serial.end()) return false;
  timers[found->second].event_waiting = false;
  return true;
}

void NoteWindowOpen(int window, bool open) {
  std::lock_guard lock(timers_mutex);
  if (open)
    open_windows.insert(window);
  else
    open_windows.erase(window);
}

void RemoveTimersOf(int window) {
  Forget([window](const std::pair<int, int>& key) { return key.first == window; });
}

void RemoveAllTimers() {
  Forget([](const std::pair<int, int>&) { return true; });
}

}  // namespace toolkit

bool AddWindowTimer(int window, int timer, std::uint32_t period_ms) {
  toolkit::TimerEventType();
  RemoveWindowTimer(window, timer);
  std::uintptr_t serial;
  {
    std::lock_guard lock(timers_mutex);
    if (!open_windows.contains(window)) return false;
    serial = ++last_serial;
    timers[{window, timer}] = TimerRecord{0, serial, false};
    timer_of_serial[serial] = {window, timer};
  }
  const SDL_TimerID id = SDL_AddTimer(period_ms, Fire, reinterpret_cast<void*>(serial));
  std::lock_guard lock(timers_mutex);
  const auto found = timers.find({window, timer});
  if (id == 0) {
    if (found != timers.end() && found->second.serial == serial) {
      timers.erase(found);
      timer_of_serial.erase(serial);
    }
    return false;
  }
  // When another thread stopped it before its id was known, the SDL timer ends at its first call.
  if (found != timers.end() && found->second.serial == serial) found->second.id = id;
  return true;
}

void RemoveWindowTimer(int window, int timer) {
  Forget([window, timer](const std::pair<int, int>& key) {
    return key == std::pair<int, int>{window, timer};
  });
}

}  // namespace nf::platform
