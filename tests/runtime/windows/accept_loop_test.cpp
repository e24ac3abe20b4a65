// The ACCEPT loop on real windows of the headless display: the order events arrive in, the
// events a procedure may refuse, and what the procedure reads about each event.

#include <gtest/gtest.h>

#include "runtime/services/error_state.h"
#include "runtime/windows/accept_step.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/window_object_fields.h"
#include "runtime/windows/window_object.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

const char kLoopWindows[] =
    "definition \"test$LOOPS\"\n"
    "window \"W1\" title(\"Loops\") at(10, 10, 200, 100) flags(size-events) attributes(resizable + system-menu)\n"
    "  button \"One\" at(2, 2, 40, 12)\n"
    "  button \"Two\" at(2, 20, 40, 12)\n"
    "  entry use(FixedString, 20) at(50, 2, 60, 12)\n"
    "  entry use(FixedString, 20) at(50, 20, 60, 12)\n"
    "end\n"
    "window \"PLAIN\" title(\"Plain\") at(10, 10, 100, 50)\n"
    "end\n";

class AcceptLoop : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    AddDefinitions("test$LOOPS", kLoopWindows);
  }

  // Opens W1 and takes its first event, which must be OpenWindow.
  void OpenAndTakeFirstEvent() {
    m_window.Open("test$LOOPS", "W1", {&m_first, &m_second});
    ASSERT_TRUE(m_window.IsOpen());
    ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
  }

  HWND ControlHandle(std::int32_t field) { return m_window.Object().ControlOfField(field)->Handle(); }

  char m_first[20] = {};
  char m_second[20] = {};
  ProcedureWindow m_window;
};

TEST_F(AcceptLoop, OpenWindowComesFirstAndAnUnrefusedCloseWindowEndsTheLoop) {
  m_window.Open("test$LOOPS", "W1", {&m_first, &m_second});
  // Posted before the loop ever ran: still behind OpenWindow.
  m_window.Post(Number(EVENT_Accepted), 1);
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
  EXPECT_TRUE(IsWindowVisible(m_window.Handle()));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Accepted));
  EXPECT_EQ(EventField(), 1);
  EXPECT_EQ(AcceptedField(), 1);

  PostMessageA(m_window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_CloseWindow));
  EXPECT_EQ(NextEvent(m_window), -1);
  EXPECT_TRUE(m_window.IsOpen()) << "the procedure closes its window after the loop";
  HWND handle = m_window.Handle();
  m_window.Close();
  EXPECT_FALSE(m_window.IsOpen());
  EXPECT_FALSE(IsWindow(handle));
}

TEST_F(AcceptLoop, ARefusedCloseWindowKeepsTheLoopGoing) {
  OpenAndTakeFirstEvent();
  PostMessageA(m_window.Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_CloseWindow));
  m_window.Refuse();
  m_window.Post(Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Notify));
  // The window stores the focus control's value before it asks to close.
  m_window.Post(Number(EVENT_CloseWindow));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_CloseWindow));
  EXPECT_EQ(NextEvent(m_window), -1);
  m_window.Close();
}

TEST_F(AcceptLoop, UrgentEventsGoAheadOfPostedOnesWhichKeepTheirOrder) {
  OpenAndTakeFirstEvent();
  m_window.Post(Number(EVENT_Accepted), 1);
  m_window.Post(Number(EVENT_NewSelection), 2);
  PostUrgentEvent(m_window.Object(), EVENT_Notify);
  PostUrgentEvent(m_window.Object(), EVENT_DDEclosed);
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_DDEclosed));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Accepted));
  EXPECT_EQ(EventField(), 1);
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_NewSelection));
  EXPECT_EQ(EventField(), 2);
  EXPECT_EQ(AcceptedField(), 0) << "only EVENT:Accepted reports an accepted field";
  m_window.Close();
}

TEST_F(AcceptLoop, AMinimiseAsksWithIconizeBeforeIconizedAndARefusalKeepsTheWindow) {
  OpenAndTakeFirstEvent();
  PostMessageA(m_window.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Iconize));
  EXPECT_FALSE(IsIconic(m_window.Handle())) << "the command waits for the procedure's answer";
  m_window.Refuse();
  m_window.Post(Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Notify));
  EXPECT_FALSE(IsIconic(m_window.Handle()));

  PostMessageA(m_window.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Iconize));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Iconized));
  EXPECT_TRUE(IsIconic(m_window.Handle()));

  PostMessageA(m_window.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Restore));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Restored));
  EXPECT_FALSE(IsIconic(m_window.Handle()));
  m_window.Close();
}

TEST_F(AcceptLoop, AWindowWithoutSizeEventsIsMinimisedWithoutAsking) {
  m_window.Open("test$LOOPS", "PLAIN");
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
  PostMessageA(m_window.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  m_window.Post(Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Notify));
  EXPECT_TRUE(IsIconic(m_window.Handle()));
  m_window.Close();
}

TEST_F(AcceptLoop, ASelectedEventForAControlThatLostTheFocusIsDropped) {
  OpenAndTakeFirstEvent();
  SetFocus(ControlHandle(2));
  m_window.Post(Number(EVENT_Selected), 1);
  m_window.Post(Number(EVENT_Selected), 2);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Selected));
  EXPECT_EQ(EventField(), 2);
  EXPECT_EQ(AcceptedField(), 0);
  EXPECT_EQ(SelectedField(), 2);
  auto* second = static_cast<ButtonControl*>(m_window.Object().ControlOfField(2));
  auto* first = static_cast<ButtonControl*>(m_window.Object().ControlOfField(1));
  EXPECT_EQ(second->selectedCount, 1);
  EXPECT_EQ(first->selectedCount, 0);
  m_window.Close();
}

TEST_F(AcceptLoop, TheErrorStateIsClearedAtEachNewEvent) {
  OpenAndTakeFirstEvent();
  services::SetError(2);
  EXPECT_EQ(services::ERRORCODE(), 2);
  m_window.Post(Number(EVENT_Notify));
  // Redisplaying keeps the error the procedure has not read yet.
  Redisplay();
  EXPECT_EQ(services::ERRORCODE(), 2);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Notify));
  EXPECT_EQ(services::ERRORCODE(), 0);
  m_window.Close();
}

TEST_F(AcceptLoop, PostedEventsKeepTheKeyCodeOfTheEventBeingHandled) {
  SetKeyCode(0x41);
  EXPECT_EQ(KeyCode(), 0x41) << "with no window the thread's last key code";
  OpenAndTakeFirstEvent();
  SetKeyCode(0xFFFF);
  EXPECT_EQ(KeyCode(), 0x7FF) << "only the low 11 bits are kept";
  SetKeyCode(0x123);
  PostEvent(Number(EVENT_Accepted), 1);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Accepted));
  EXPECT_EQ(KeyCode(), 0x123);
  EXPECT_EQ(EventField(), 1);
  m_window.Close();
}

TEST_F(AcceptLoop, AccessorsReadZeroWithoutAWindowAndPostingToAThreadWithoutOneDoesNothing) {
  EXPECT_EQ(EventNumber(), 0);
  EXPECT_EQ(EventField(), 0);
  EXPECT_EQ(AcceptedField(), 0);
  EXPECT_EQ(SelectedField(), 0);
  PostEvent(Number(EVENT_CloseWindow), 0, 5);
  PostEvent(Number(EVENT_CloseWindow), 0, 65);
  PostEvent(Number(EVENT_CloseWindow), 0, -3);
  EXPECT_EQ(services::ERRORCODE(), 0);
}

TEST_F(AcceptLoop, AMessageThatCarriesNoPostedRecordIsIgnored) {
  OpenAndTakeFirstEvent();
  static EventRecord notOurs;
  notOurs.window = &m_window.Object();
  notOurs.code = EVENT_CloseWindow;
  PostMessageA(m_window.Handle(), kPostedEventMessage, 0, reinterpret_cast<LPARAM>(&notOurs));
  PostMessageA(m_window.Handle(), kPostedEventMessage, 0, 0x1234);
  m_window.Post(Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Notify));
  m_window.Close();
}

TEST_F(AcceptLoop, AnAcceptAllPassVisitsTheFieldsWithVariablesInOrderThenCompletes) {
  OpenAndTakeFirstEvent();
  SelectField(0);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Accepted));
  EXPECT_EQ(AcceptedField(), 3);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Accepted));
  EXPECT_EQ(AcceptedField(), 4);
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Completed));

  // A field that refuses stops the pass and gets the focus; Completed never comes.
  ButtonControl::Refusing().insert(4);
  SelectField(0);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_Accepted));
  EXPECT_EQ(AcceptedField(), 3);
  m_window.Post(Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Notify));
  EXPECT_EQ(GetFocus(), ControlHandle(4));
  m_window.Close();
}

TEST_F(AcceptLoop, SelectFieldMovesTheFocusAndSetsTheSelection) {
  OpenAndTakeFirstEvent();
  SelectField(3, 2, 5);
  auto* third = static_cast<ButtonControl*>(m_window.Object().ControlOfField(3));
  EXPECT_EQ(GetFocus(), ControlHandle(3));
  EXPECT_EQ(third->selectionStart, 2);
  EXPECT_EQ(third->selectionEnd, 5);
  SelectField(99);
  EXPECT_EQ(GetFocus(), ControlHandle(3)) << "a field the window does not have changes nothing";
  m_window.Close();
}

TEST_F(AcceptLoop, RedisplayShowsTheFieldsOfItsRange) {
  OpenAndTakeFirstEvent();
  Redisplay(2, 3);
  auto redisplays = [&](std::int32_t field) {
    return static_cast<ButtonControl*>(m_window.Object().ControlOfField(field))->redisplays;
  };
  EXPECT_EQ(redisplays(1), 0);
  EXPECT_EQ(redisplays(2), 1);
  EXPECT_EQ(redisplays(3), 1);
  EXPECT_EQ(redisplays(4), 0);
  Redisplay();
  EXPECT_EQ(redisplays(1), 1);
  EXPECT_EQ(redisplays(4), 1);
  m_window.Close();
}

TEST_F(AcceptLoop, AWindowCanBeOpenedAgainAfterItClosed) {
  for (int round = 0; round < 2; ++round) {
    m_window.Open("test$LOOPS", "PLAIN");
    ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow)) << "round " << round;
    PostMessageA(m_window.Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(NextEvent(m_window), Number(EVENT_CloseWindow));
    EXPECT_EQ(NextEvent(m_window), -1);
    m_window.Close();
  }
}

// No application frame exists: windows are owned by their opener or by nothing, a CloseDown is
// an event like any other, and a window that closes has no child windows to ask first.
TEST_F(AcceptLoop, WithoutAFrameAClosingWindowAsksNoChildToCloseDown) {
  m_window.Open("test$LOOPS", "PLAIN");
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
  EXPECT_EQ(GetWindow(m_window.Handle(), GW_OWNER), nullptr) << "no frame owns the first window";
  ProcedureWindow inner;
  inner.Open("test$LOOPS", "PLAIN");
  ASSERT_EQ(NextEvent(inner), Number(EVENT_OpenWindow));
  EXPECT_EQ(GetWindow(inner.Handle(), GW_OWNER), m_window.Handle()) << "its opener owns the next";

  inner.Post(Number(EVENT_CloseDown));
  EXPECT_EQ(NextEvent(inner), Number(EVENT_CloseDown));
  inner.Post(Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(inner), Number(EVENT_Notify)) << "no frame was waiting for that CloseDown";
  EXPECT_EQ(inner.Object().closingState, kNotClosing);

  PostMessageA(inner.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(NextEvent(inner), Number(EVENT_CloseWindow));
  EXPECT_EQ(NextEvent(inner), -1);
  EXPECT_EQ(inner.Object().closingState, kClosing);
  inner.Close();
  m_window.Post(Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(m_window), Number(EVENT_Notify)) << "the opener was not asked to close down";
  m_window.Close();
}

}  // namespace
}  // namespace vel::windows::testing
