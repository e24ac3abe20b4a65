// The window's timer (timer 1, EVENT:Timer) as its property restarts it, and the idle timer
// (timer 2) of the ACCEPT loop, on the headless display's clock: a loop with nothing to do
// lets the clock jump to the next timer, so the time that passed is exactly the interval.

#include "runtime/windows/window_timers.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "runtime/windows/window_properties.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

const char kTimerWindows[] =
    "definition \"test$TIMERS\"\n"
    "window \"TICKING\" title(\"Ticking\") at(0, 0, 100, 40) timer(50)\n"
    "end\n"
    "window \"QUIET\" title(\"Quiet\") at(0, 0, 100, 40)\n"
    "end\n";

class WindowTimers : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    AddDefinitions("test$TIMERS", kTimerWindows);
  }

  void OpenShown(ProcedureWindow& window, const char* label) {
    window.Open("test$TIMERS", label);
    ASSERT_TRUE(window.IsOpen());
    ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  }

  // The next event and the milliseconds that passed until it came.
  std::pair<std::int32_t, DWORD> TimedNextEvent(ProcedureWindow& window) {
    DWORD start = GetTickCount();
    std::int32_t event = NextEvent(window);
    return {event, GetTickCount() - start};
  }
};

TEST_F(WindowTimers, TheTimerPropertyRestartsTimerOneWithTenMillisecondsPerUnit) {
  ProcedureWindow window;
  OpenShown(window, "TICKING");
  EXPECT_EQ(window.Property(kPropTimer), "50");
  window.SetProperty(kPropTimer, 20);
  EXPECT_EQ(window.Property(kPropTimer), "20");
  auto [event, elapsed] = TimedNextEvent(window);
  EXPECT_EQ(event, Number(EVENT_Timer));
  EXPECT_EQ(elapsed, 200u);
  std::tie(event, elapsed) = TimedNextEvent(window);
  EXPECT_EQ(event, Number(EVENT_Timer));
  EXPECT_EQ(elapsed, 200u) << "the timer goes on ticking";

  // Stopped, it raises no more events: the idle timer's event is what comes next.
  window.SetProperty(kPropTimer, 0);
  EXPECT_EQ(window.Property(kPropTimer), "0");
  window.SetIdleTimer(Number(EVENT_Notify), 70);
  std::tie(event, elapsed) = TimedNextEvent(window);
  EXPECT_EQ(event, Number(EVENT_Notify));
  EXPECT_EQ(elapsed, 700u);
  window.Close();
}

TEST_F(WindowTimers, TheIdleTimerPostsItsEventEveryIntervalUntilItIsStopped) {
  ProcedureWindow window;
  OpenShown(window, "QUIET");
  window.SetIdleTimer(Number(EVENT_Notify), 30);
  for (int tick = 0; tick < 2; ++tick) {
    auto [event, elapsed] = TimedNextEvent(window);
    EXPECT_EQ(event, Number(EVENT_Notify));
    EXPECT_EQ(elapsed, 300u);
  }
  // A window timer started later runs beside it.
  window.SetProperty(kPropTimer, 10);
  auto [event, elapsed] = TimedNextEvent(window);
  EXPECT_EQ(event, Number(EVENT_Timer));
  EXPECT_EQ(elapsed, 100u);

  window.SetProperty(kPropTimer, 0);
  window.SetIdleTimer(0, 0);
  EXPECT_EQ(window.Object().idleEvent, 0);
  EXPECT_FALSE(window.Object().timerRunning);
  EXPECT_FALSE(KillTimer(window.Handle(), kIdleTimerId)) << "the platform timer is gone too";
  EXPECT_FALSE(KillTimer(window.Handle(), kWindowTimerId));
  window.Close();
}

TEST_F(WindowTimers, ClosingAWindowStopsItsIdleTimer) {
  ProcedureWindow window;
  OpenShown(window, "QUIET");
  window.SetIdleTimer(Number(EVENT_Notify), 10);
  HWND handle = window.Handle();
  window.Close();
  EXPECT_EQ(window.Object().idleEvent, 0);
  EXPECT_FALSE(KillTimer(handle, kIdleTimerId)) << "the timer went with the window";
}

}  // namespace
}  // namespace vel::windows::testing
