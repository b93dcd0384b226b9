// Window timers: started from any thread, one waiting event at a time, gone once stopped.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/platform.h"
#include "tests/support/window_capture.h"

namespace nf::platform {
namespace {

constexpr int kWindow = 20;

class Timers : public ::testing::Test {
 protected:
  void SetUp() override {
    test::StartOffscreenToolkit();
    ASSERT_TRUE(OpenWindow(kWindow, {0, 0, 100, 100}, u"main", WindowBorderless));
    DropPendingEvents();
  }
  void TearDown() override { StopToolkit(); }

  static int TimerEventsNow(int timer) {
    int count = 0;
    while (const auto event = WaitEvent(0))
      if (event->kind == EventKind::Timer && event->timer == timer && event->window == kWindow)
        ++count;
    return count;
  }
};

TEST_F(Timers, ATimerStartedOnAnotherThreadReachesTheWindow) {
  std::thread starter([] { ASSERT_TRUE(AddWindowTimer(kWindow, 119, 5)); });
  starter.join();
  const auto event = WaitEvent(5000);
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event->kind, EventKind::Timer);
  EXPECT_EQ(event->window, kWindow);
  EXPECT_EQ(event->timer, 119);
  RemoveWindowTimer(kWindow, 119);
}

TEST_F(Timers, ABusyHandlerFindsOneEventNotABacklog) {
  ASSERT_TRUE(AddWindowTimer(kWindow, 117, 5));
  std::this_thread::sleep_for(std::chrono::milliseconds(120));
  EXPECT_EQ(TimerEventsNow(117), 1);
  ASSERT_TRUE(WaitEvent(5000).has_value());  // and it goes on firing
  RemoveWindowTimer(kWindow, 117);
}

TEST_F(Timers, AStoppedTimersWaitingEventIsDropped) {
  ASSERT_TRUE(AddWindowTimer(kWindow, 117, 5));
  std::this_thread::sleep_for(std::chrono::milliseconds(60));  // an event now waits
  RemoveWindowTimer(kWindow, 117);
  EXPECT_EQ(TimerEventsNow(117), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(TimerEventsNow(117), 0);
}

TEST_F(Timers, TimersBelongToAnOpenWindow) {
  EXPECT_FALSE(AddWindowTimer(99, 1, 5));
  ASSERT_TRUE(AddWindowTimer(kWindow, 121, 5));
  CloseWindow(kWindow);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(WaitEvent(0).has_value());
  EXPECT_FALSE(AddWindowTimer(kWindow, 121, 5));
}

TEST_F(Timers, ThreadsStartingAndStoppingAtOnceLeaveNoTimerRunning) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < 50; ++i) {
        AddWindowTimer(kWindow, 200 + t, 1);
        RemoveWindowTimer(kWindow, 200 + t);
      }
    });
  for (auto& thread : threads) thread.join();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  while (WaitEvent(0)) {
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(WaitEvent(0).has_value());
}

}  // namespace
}  // namespace nf::platform
