// The event wait: hovering canvases, presses, shortcuts, drops and window changes, fed through
// the window system's own queue.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "tests/support/window_capture.h"

namespace nf::platform {
namespace {

constexpr int kWindow = 20;
constexpr int kOther = 21;

class Events : public ::testing::Test {
 protected:
  void SetUp() override {
    test::StartOffscreenToolkit();
    ASSERT_TRUE(OpenWindow(kWindow, {100, 50, 300, 200}, u"main", WindowBorderless));
    ASSERT_TRUE(OpenWindow(kOther, {500, 50, 100, 100}, u"other", WindowBorderless));
    DropPendingEvents();
  }
  void TearDown() override { StopToolkit(); }

  // Every event the queue holds now, as short texts.
  static std::vector<std::string> Taken() {
    std::vector<std::string> seen;
    while (const auto event = WaitEvent(0)) {
      std::string text = std::to_string(event->window) + " ";
      switch (event->kind) {
        case EventKind::Timer:
          text += "timer " + std::to_string(event->timer);
          break;
        case EventKind::Shortcut:
          text += "shortcut " + std::to_string(event->command);
          break;
        case EventKind::LeftButtonDown:
          text +=
              "press " + std::to_string(event->cursor.x) + "," + std::to_string(event->cursor.y);
          break;
        case EventKind::MouseEnter:
          text += "enter " + std::to_string(event->element);
          break;
        case EventKind::MouseLeave:
          text += "leave " + std::to_string(event->element);
          break;
        case EventKind::Drop:
          text += "drop " + ToUtf8(event->dropped);
          break;
        case EventKind::Minimized:
          text += "minimized";
          break;
        case EventKind::Restored:
          text += "restored";
          break;
        case EventKind::CloseRequest:
          text += "close";
          break;
      }
      seen.push_back(text);
    }
    return seen;
  }
};

using Seen = std::vector<std::string>;

TEST_F(Events, CanvasesReportTheMouseEnteringAndLeavingThem) {
  ASSERT_TRUE(CreateCanvas(30, kWindow, {10, 10, 20, 20}));
  ASSERT_TRUE(CreateCanvas(31, kWindow, {25, 10, 20, 20}));  // over the right edge of 30
  ASSERT_TRUE(CreateTextElement(32, kWindow, {60, 10, 40, 20}, u"strip"));
  SimulateMouseMove(kWindow, 15, 15);
  SimulateMouseMove(kWindow, 16, 16);  // still inside: nothing
  SimulateMouseMove(kWindow, 27, 15);  // where both lie, the later one counts
  SimulateMouseMove(kWindow, 65, 15);  // a static text reports nothing
  SimulateMouseMove(kWindow, 200, 150);
  SimulateMouseMove(kWindow, 12, 12);
  SimulateMouseLeave(kWindow);
  EXPECT_EQ(Taken(), (Seen{"20 enter 30", "20 leave 30", "20 enter 31", "20 leave 31",
                           "20 enter 30", "20 leave 30"}));
}

TEST_F(Events, APressCarriesTheCursorInScreenCoordinates) {
  SimulateLeftButtonDown(kWindow, 7, 9);
  SimulateLeftButtonDown(kOther, 1, 2);  // whichever of the program's windows it reaches
  EXPECT_EQ(Taken(), (Seen{"20 press 107,59", "21 press 501,52"}));
  EXPECT_EQ(CursorScreenPosition(), (Point{501, 52}));
}

TEST_F(Events, ShortcutsMatchTheirKeyWithExactlyTheirModifiers) {
  AddShortcut(kWindow, KeySpace, 0, 200);
  AddShortcut(kWindow, 'S', 0, 201);
  AddShortcut(kWindow, KeyUp, ModifierShift, 207);
  AddShortcut(kWindow, KeyUp, 0, 205);
  AddShortcut(kOther, KeyEnter, 0, 444);
  struct Case {
    int window, key;
    std::uint32_t modifiers;
    Seen seen;
  };
  const Case cases[] = {
      {kWindow, KeySpace, 0, {"20 shortcut 200"}},
      {kWindow, 'S', 0, {"20 shortcut 201"}},
      {kWindow, 'S', ModifierShift, {}},
      {kWindow, 'S', ModifierControl, {}},
      {kWindow, 'S', ModifierAlt, {}},
      {kWindow, KeyUp, 0, {"20 shortcut 205"}},
      {kWindow, KeyUp, ModifierShift, {"20 shortcut 207"}},
      {kWindow, KeyEnter, 0, {}},  // another window's shortcut
      {kOther, KeyEnter, 0, {"21 shortcut 444"}},
      {kOther, KeySpace, 0, {}},
  };
  for (const auto& [window, key, modifiers, seen] : cases) {
    SimulateKeyPress(window, key, modifiers);
    EXPECT_EQ(Taken(), seen) << window << " key " << key << " modifiers " << modifiers;
  }
  RemoveAllShortcuts(kWindow);
  SimulateKeyPress(kWindow, KeySpace, 0);
  EXPECT_EQ(Taken(), Seen{});
}

TEST_F(Events, OneDropGivesOneTextOfItsNamesJoinedByLineFeeds) {
  SimulateDrop(kWindow, {u"/music/a.flac", u"/music/b \u00e9t\u00e9.wav"});
  SimulateDrop(kWindow, {u"/music/folder"});
  EXPECT_EQ(Taken(), (Seen{"20 drop /music/a.flac\n/music/b \xc3\xa9t\xc3\xa9.wav",
                           "20 drop /music/folder"}));
}

TEST_F(Events, WindowChangesArriveAsTheirOwnKinds) {
  SimulateWindowChange(kWindow, EventKind::Minimized);
  SimulateWindowChange(kWindow, EventKind::Restored);
  SimulateWindowChange(kOther, EventKind::CloseRequest);
  EXPECT_EQ(Taken(), (Seen{"20 minimized", "20 restored", "21 close"}));
}

TEST_F(Events, ADisabledWindowTakesNoInput) {
  ASSERT_TRUE(CreateCanvas(30, kWindow, {0, 0, 50, 50}));
  AddShortcut(kWindow, KeySpace, 0, 200);
  SetWindowEnabled(kWindow, false);
  SimulateMouseMove(kWindow, 5, 5);
  SimulateLeftButtonDown(kWindow, 5, 5);
  SimulateKeyPress(kWindow, KeySpace, 0);
  SimulateDrop(kWindow, {u"/music/a.flac"});
  SimulateWindowChange(kWindow, EventKind::Restored);  // the window system still talks to it
  EXPECT_EQ(Taken(), (Seen{"20 restored"}));
  SetWindowEnabled(kWindow, true);
  SimulateKeyPress(kWindow, KeySpace, 0);
  EXPECT_EQ(Taken(), (Seen{"20 shortcut 200"}));
}

TEST_F(Events, WaitingEndsAtItsLimitWhenNothingComes) {
  EXPECT_FALSE(WaitEvent(0).has_value());
  EXPECT_FALSE(WaitEvent(30).has_value());
}

TEST_F(Events, ATurnOfTheQueueIsNotActedOnAndDrainingDropsEverything) {
  ASSERT_TRUE(CreateCanvas(30, kWindow, {10, 10, 20, 20}));
  ASSERT_TRUE(CreateCanvas(31, kWindow, {35, 10, 20, 20}));
  AddShortcut(kWindow, KeySpace, 0, 200);
  // Clicks and keys made while the queue is only turned are dropped; crossings are kept.
  SimulateLeftButtonDown(kWindow, 1, 1);
  SimulateKeyPress(kWindow, KeySpace, 0);
  SimulateMouseMove(kWindow, 15, 15);
  while (DispatchOnePendingEvent()) {
  }
  EXPECT_EQ(Taken(), (Seen{"20 enter 30"}));

  // An event the program had not yet taken when the queue was turned stays.
  SimulateMouseMove(kWindow, 45, 15);  // leaves one canvas and enters another: two events
  ASSERT_TRUE(WaitEvent(100).has_value());
  SimulateLeftButtonDown(kWindow, 45, 15);
  EXPECT_TRUE(DispatchOnePendingEvent());
  EXPECT_EQ(Taken(), (Seen{"20 enter 31"}));

  UseVirtualClock(true);
  SimulateLeftButtonDown(kWindow, 1, 1);
  SimulateKeyPress(kWindow, KeySpace, 0);
  DispatchOnePendingEvent();
  DropPendingEvents();
  EXPECT_EQ(Taken(), Seen{});
  EXPECT_FALSE(TakeVirtualSleeps().empty());  // 1 ms after each
}

TEST(EventsWithoutWindows, NothingIsPendingBeforeTheToolkitStarts) {
  EXPECT_FALSE(WaitEvent(-1).has_value());
  EXPECT_FALSE(DispatchOnePendingEvent());
  DropPendingEvents();
}

}  // namespace
}  // namespace nf::platform
