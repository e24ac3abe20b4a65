// Two runtime threads, each with its own window and ACCEPT loop, sharing the runtime lock.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/runtime_running.h"
#include "runtime/services/shutdown_step.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_services.h"
#include "runtime/windows/thread_table.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

const char kThreadWindows[] =
    "definition \"test$THREADS\"\n"
    "window \"MAIN\" title(\"Main\") at(10, 10, 200, 100)\n"
    "end\n"
    "window \"SECOND\" title(\"Second\") at(300, 10, 200, 100)\n"
    "end\n";

class AcceptThreads : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    AddDefinitions("test$THREADS", kThreadWindows);
  }

  // Events up to and including `last` (or the end of the loop).
  std::vector<std::int32_t> EventsUntil(ProcedureWindow& window, std::int32_t last) {
    std::vector<std::int32_t> seen;
    for (;;) {
      std::int32_t number = NextEventOfAnyKind(window);
      if (number == -1) break;
      seen.push_back(number);
      if (number == last) break;
    }
    return seen;
  }

  // After a Suspend the thread's next event, whatever it is, must come after a Resume.
  static bool SuspendsAreResumedBeforeTheNextEvent(const std::vector<std::int32_t>& events) {
    bool suspended = false;
    for (std::int32_t number : events) {
      if (number == Number(EVENT_Suspend)) suspended = true;
      else if (number == Number(EVENT_Resume)) suspended = false;
      else if (suspended) return false;
    }
    return true;
  }

  static std::ptrdiff_t Position(const std::vector<std::int32_t>& events, std::int32_t code) {
    auto found = std::find(events.begin(), events.end(), Number(code));
    return found == events.end() ? -1 : found - events.begin();
  }
};

TEST_F(AcceptThreads, WithOneThreadTheProgramsActivationBringsFocusEventsButNeverASuspend) {
  ProcedureWindow window;
  window.Open("test$THREADS", "MAIN");
  ASSERT_EQ(NextEventOfAnyKind(window), Number(EVENT_OpenWindow));
  platform::HeadlessDisplay* display = platform::CurrentHeadlessDisplay();
  ASSERT_NE(display, nullptr);
  display->SwitchAway();
  std::vector<std::int32_t> away = EventsUntil(window, Number(EVENT_LoseFocus));
  ASSERT_FALSE(away.empty());
  EXPECT_EQ(away.back(), Number(EVENT_LoseFocus));
  display->SwitchBack();
  std::vector<std::int32_t> back = EventsUntil(window, Number(EVENT_GainFocus));
  ASSERT_FALSE(back.empty());
  EXPECT_EQ(back.back(), Number(EVENT_GainFocus));
  for (const auto& events : {away, back}) {
    EXPECT_EQ(Position(events, EVENT_Suspend), -1);
    EXPECT_EQ(Position(events, EVENT_Resume), -1);
  }
  window.Close();
}

// The second thread's procedure: it opens its own window, answers the main thread's Notify
// with an Accepted posted to thread 1, and ends when its window is asked to close.
struct SecondProcedure {
  std::vector<std::int32_t> events;
  std::int32_t threadNumberSeen = 0;

  void Run() {
    ProcedureWindow window;
    window.Open("test$THREADS", "SECOND");
    threadNumberSeen = FindSlotOfCallingThread() + 1;
    while (window.Accept()) {
      events.push_back(EventNumber());
      if (EventNumber() == Number(EVENT_Notify)) PostEvent(Number(EVENT_Accepted), 0, 1);
    }
    window.Close();
  }
};

TEST_F(AcceptThreads, ASecondThreadRunsItsOwnLoopAndEventsCrossBetweenThreads) {
  ProcedureWindow window;
  window.Open("test$THREADS", "MAIN");
  ASSERT_EQ(NextEventOfAnyKind(window), Number(EVENT_OpenWindow));

  SecondProcedure second;
  int slot = StartRuntimeThread([&] { second.Run(); });
  ASSERT_EQ(slot, 1);
  EXPECT_GT(ThreadsActive(), 0) << "window procedures take the lock once a second thread exists";

  // The second thread's first event suspends this one.
  std::vector<std::int32_t> first = EventsUntil(window, Number(EVENT_Suspend));
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.back(), Number(EVENT_Suspend));

  PostEvent(Number(EVENT_Notify), 0, slot + 1);
  std::vector<std::int32_t> answer = EventsUntil(window, Number(EVENT_Accepted));
  ASSERT_FALSE(answer.empty());
  EXPECT_EQ(answer.back(), Number(EVENT_Accepted)) << "the second thread's post arrives";
  EXPECT_NE(Position(answer, EVENT_Resume), -1) << "a suspended thread is resumed before its next event";

  PostEvent(Number(EVENT_CloseWindow), 0, slot + 1);
  WaitForOtherThreads();
  EXPECT_EQ(UsedSlotCount(), 1);
  EXPECT_EQ(second.threadNumberSeen, 2);

  const std::vector<std::int32_t>& events = second.events;
  ASSERT_FALSE(events.empty());
  // Only the focus and thread-switch events, which are sent, may come before OpenWindow.
  std::ptrdiff_t opened = Position(events, EVENT_OpenWindow);
  ASSERT_NE(opened, -1);
  for (std::ptrdiff_t index = 0; index < opened; ++index) {
    EXPECT_TRUE(events[index] == Number(EVENT_GainFocus) || events[index] == Number(EVENT_LoseFocus) ||
                events[index] == Number(EVENT_Suspend) || events[index] == Number(EVENT_Resume))
        << events[index];
  }
  EXPECT_NE(Position(events, EVENT_Notify), -1) << "the main thread's post arrives";
  EXPECT_EQ(events.back(), Number(EVENT_CloseWindow));
  EXPECT_NE(Position(events, EVENT_Suspend), -1);
  EXPECT_TRUE(SuspendsAreResumedBeforeTheNextEvent(events)) << ::testing::PrintToString(events);
  std::vector<std::int32_t> mainEvents = first;
  mainEvents.insert(mainEvents.end(), answer.begin(), answer.end());
  EXPECT_TRUE(SuspendsAreResumedBeforeTheNextEvent(mainEvents)) << ::testing::PrintToString(mainEvents);
  // The second window took the focus from the first when it was shown.
  EXPECT_NE(Position(mainEvents, EVENT_LoseFocus), -1);
  EXPECT_NE(Position(events, EVENT_GainFocus), -1);
  window.Close();
}

TEST_F(AcceptThreads, AMessageSentWhileTheLockIsHeldElsewhereIsHandledWithoutDeadlock) {
  ProcedureWindow window;
  window.Open("test$THREADS", "MAIN");
  ASSERT_EQ(NextEventOfAnyKind(window), Number(EVENT_OpenWindow));
  HWND mainWindow = window.Handle();

  char title[32] = {};
  bool ownedTheLock = false;
  StartRuntimeThread([&] {
    // This thread holds the lock; the main thread wakes for the event posted to it and waits
    // for the lock, and must still answer the message sent to its window.
    ownedTheLock = CallingThreadOwnsRuntimeLock();
    PostEvent(Number(EVENT_Notify), 0, 1);
    SendMessageA(mainWindow, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title));
  });
  std::vector<std::int32_t> events = EventsUntil(window, Number(EVENT_Notify));
  EXPECT_EQ(events.back(), Number(EVENT_Notify));
  WaitForOtherThreads();
  EXPECT_TRUE(ownedTheLock);
  EXPECT_STREQ(title, "Main");
  window.Close();
}

TEST_F(AcceptThreads, TheShutdownStepClosesOpenWindowsAndWaitsForTheOtherThreads) {
  OpenWindowListService(services::kInitialiseCall);
  ThreadTableService(services::kInitialiseCall);
  ProcedureWindow window;
  window.Open("test$THREADS", "MAIN");
  ASSERT_EQ(NextEventOfAnyKind(window), Number(EVENT_OpenWindow));
  SecondProcedure second;
  ASSERT_EQ(StartRuntimeThread([&] { second.Run(); }), 1);
  // Let the second thread open its window and reach its loop.
  EventsUntil(window, Number(EVENT_Suspend));

  services::RunShutdownStep();
  EXPECT_FALSE(window.IsOpen());
  EXPECT_EQ(UsedSlotCount(), 1) << "the second thread ended and was waited for";
  ASSERT_FALSE(second.events.empty());
  EXPECT_EQ(second.events.back(), Number(EVENT_CloseWindow));

  OpenWindowListService(services::kTerminateCall);
  services::SetShutdownHook(services::ShutdownHook::StopOtherThreads, nullptr);
  services::SetRuntimeRunning(true);
}

}  // namespace
}  // namespace vel::windows::testing
