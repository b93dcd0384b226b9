// events.cpp — the event wait: SDL events translated into the program's events, with the
// hover tracking of canvases, the gathering of a drop's files, and shortcut matching.
#include "platform/events.h"

#include <algorithm>
#include <deque>

#include "platform/shortcut_keys.h"
#include "platform/sleep.h"
#include "platform/text_codec.h"
#include "platform/timer_events.h"
#include "platform/toolkit_state.h"
#include "platform/windows.h"

namespace nf::platform {
namespace {

using toolkit::FindWindow;

std::deque<Event> ready;  // translated, not yet taken by the program
Point last_cursor;

// The files of one drop arrive one by one between its begin and complete events.
struct DropGathering {
  int window = 0;
  std::u16string names;
};
std::optional<DropGathering> drop;

void Post(EventKind kind, int window, auto&&... fill) {
  Event event;
  event.kind = kind;
  event.window = window;
  (fill(event), ...);
  ready.push_back(std::move(event));
}

bool TakesInput(int window) {
  const toolkit::Window* found = FindWindow(window);
  return found && found->enabled;
}

Point ScreenPoint(int window, int x, int y) {
  const auto rect = WindowScreenRect(window);
  return rect ? Point{rect->x + x, rect->y + y} : Point{x, y};
}

// Reports leaving the canvas the mouse was over and entering the one it is over now.
void TrackHover(int window_number, std::optional<Point> client) {
  toolkit::Window* window = FindWindow(window_number);
  if (!window) return;
  const int now = client ? toolkit::ElementAt(window_number, *client) : 0;
  if (now == window->hovered) return;
  const toolkit::Element* left = toolkit::FindElement(window->hovered);
  if (left && left->canvas)
    Post(EventKind::MouseLeave, window_number, [&](Event& e) { e.element = window->hovered; });
  window->hovered = now;
  const toolkit::Element* entered = toolkit::FindElement(now);
  if (entered && entered->canvas)
    Post(EventKind::MouseEnter, window_number, [&](Event& e) { e.element = now; });
}

void AddDroppedName(const char* name) {
  if (!drop->names.empty()) drop->names += u'\n';
  drop->names += FromUtf8(name);
}

void FinishDrop() {
  if (drop && !drop->names.empty() && TakesInput(drop->window))
    Post(EventKind::Drop, drop->window, [&](Event& e) { e.dropped = std::move(drop->names); });
  drop.reset();
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
  const int window = toolkit::WindowNumberOf(event.windowID);
  if (!window) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED:
      toolkit::PresentWhole(window);  // the toolkit, not the program, repaints
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      Post(EventKind::Minimized, window);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      Post(EventKind::Restored, window);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      Post(EventKind::CloseRequest, window);
      break;
    case SDL_WINDOWEVENT_LEAVE:
      if (TakesInput(window)) TrackHover(window, std::nullopt);
      break;
    default:
      break;
  }
}

void Translate(SDL_Event& event) {
  if (event.type == toolkit::TimerEventType()) {
    const int window = static_cast<int>(event.user.windowID);
    if (toolkit::TakeTimerEvent(event) && FindWindow(window))
      Post(EventKind::Timer, window, [&](Event& e) { e.timer = event.user.code; });
    return;
  }
  switch (event.type) {
    case SDL_WINDOWEVENT:
      TranslateWindowEvent(event.window);
      break;
    case SDL_MOUSEMOTION: {
      const int window = toolkit::WindowNumberOf(event.motion.windowID);
      if (!window) break;
      last_cursor = ScreenPoint(window, event.motion.x, event.motion.y);
      if (TakesInput(window)) TrackHover(window, Point{event.motion.x, event.motion.y});
      break;
    }
    case SDL_MOUSEBUTTONDOWN: {
      const int window = toolkit::WindowNumberOf(event.button.windowID);
      if (!window || event.button.button != SDL_BUTTON_LEFT) break;
      last_cursor = ScreenPoint(window, event.button.x, event.button.y);
      if (TakesInput(window))
        Post(EventKind::LeftButtonDown, window, [&](Event& e) { e.cursor = last_cursor; });
      break;
    }
    case SDL_KEYDOWN: {
      const int window = toolkit::WindowNumberOf(event.key.windowID);
      if (!window || !TakesInput(window)) break;
      if (const auto command = toolkit::ShortcutCommand(window, event.key.keysym))
        Post(EventKind::Shortcut, window, [&](Event& e) { e.command = *command; });
      break;
    }
    case SDL_DROPBEGIN:
      drop = DropGathering{toolkit::WindowNumberOf(event.drop.windowID), {}};
      break;
    case SDL_DROPFILE:
      if (event.drop.file) {
        const bool lone = !drop;  // a system that sends no begin gives one drop per file
        if (lone) drop = DropGathering{toolkit::WindowNumberOf(event.drop.windowID), {}};
        AddDroppedName(event.drop.file);
        if (lone) FinishDrop();
      }
      break;
    case SDL_DROPCOMPLETE:
      FinishDrop();
      break;
    default:
      break;
  }
  if ((event.type == SDL_DROPFILE || event.type == SDL_DROPTEXT) && event.drop.file)
    SDL_free(event.drop.file);
}

// A window opened without being drawn into is shown once the program waits.
void ShowWaitingWindows() {
  for (auto& [number, window] : toolkit::Windows())
    if (window.wants_showing && !window.shown) toolkit::PresentWhole(number);
}

}  // namespace

namespace toolkit {

void ResetEventState() {
  ready.clear();
  drop.reset();
  last_cursor = {};
}

}  // namespace toolkit

std::optional<Event> WaitEvent(int timeout_ms) {
  if (!SDL_WasInit(SDL_INIT_EVENTS)) return std::nullopt;
  ShowWaitingWindows();
  const Uint64 deadline = SDL_GetTicks64() + static_cast<Uint64>(timeout_ms > 0 ? timeout_ms : 0);
  while (ready.empty()) {
    SDL_Event event;
    int got;
    if (timeout_ms < 0) {
      got = SDL_WaitEvent(&event);
      if (!got) return std::nullopt;  // the queue is broken; waiting again would spin
    } else {
      const Uint64 now = SDL_GetTicks64();
      got = now < deadline ? SDL_WaitEventTimeout(&event, static_cast<int>(deadline - now))
                           : SDL_PollEvent(&event);
      if (!got && SDL_GetTicks64() >= deadline) return std::nullopt;
    }
    if (got) Translate(event);
  }
  Event event = std::move(ready.front());
  ready.pop_front();
  return event;
}

Point CursorScreenPosition() {
  return last_cursor;
}

bool DispatchOnePendingEvent() {
  if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
  SDL_Event event;
  // SDL marks the end of what one pump found; a poll that meets the mark says "nothing" once
  // although more is waiting, so one turn may have to poll twice.
  if (SDL_PollEvent(&event) != 1 && SDL_PollEvent(&event) != 1) return false;
  const std::size_t kept = ready.size();
  Translate(event);
  // What this message yields is not acted on, but the pointer's crossings stay, so that a
  // canvas painted as hovered is painted plain again when the pointer leaves it.
  const auto acted_on = [](const Event& yielded) {
    return yielded.kind != EventKind::MouseEnter && yielded.kind != EventKind::MouseLeave;
  };
  ready.erase(
      std::remove_if(ready.begin() + static_cast<std::ptrdiff_t>(kept), ready.end(), acted_on),
      ready.end());
  return true;
}

void DropPendingEvents() {
  for (;;) {
    const bool any = DispatchOnePendingEvent() || !ready.empty();
    ready.clear();
    if (!any) return;
    SleepMs(1);
  }
}

}  // namespace nf::platform
