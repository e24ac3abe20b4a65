#include <gtest/gtest.h>

#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

using ::testing::ElementsAre;

class Focus : public WindowTest {};

TEST_F(Focus, KillFocusComesBeforeSetFocusAndEachNamesTheOther) {
  HWND frame = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND first = MakeWindow(WS_CHILD | WS_VISIBLE, frame, 0, 0, 50, 20, 1);
  HWND second = MakeWindow(WS_CHILD | WS_VISIBLE, frame, 0, 30, 50, 20, 2);
  EXPECT_EQ(SetFocus(first), frame);
  MessageLog::Clear();
  EXPECT_EQ(SetFocus(second), first);
  EXPECT_THAT(MessageLog::Tagged({{first, "first"}, {second, "second"}}, {WM_SETFOCUS, WM_KILLFOCUS}),
              ElementsAre("WM_KILLFOCUS@first", "WM_SETFOCUS@second"));
  auto entries = MessageLog::Entries();
  EXPECT_EQ(reinterpret_cast<HWND>(entries[0].wParam), second);
  EXPECT_EQ(reinterpret_cast<HWND>(entries[1].wParam), first);
  EXPECT_EQ(GetFocus(), second);
  // Focus on the window that has it changes nothing.
  MessageLog::Clear();
  EXPECT_EQ(SetFocus(second), second);
  EXPECT_TRUE(MessageLog::Entries().empty());
  // Disabling the focused window takes the focus away.
  EnableWindow(second, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(IsWindowEnabled(second));
  EXPECT_THAT(MessageLog::NamesFor(second), ElementsAre("WM_CANCELMODE", "WM_KILLFOCUS", "WM_ENABLE"));
  EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x4444)), nullptr);
}

TEST_F(Focus, ActivationMovesBetweenTopLevelWindowsInOrder) {
  HWND first = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND second = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 200, 200);
  EXPECT_EQ(GetActiveWindow(), second);
  MessageLog::Clear();
  EXPECT_EQ(SetActiveWindow(first), second);
  EXPECT_THAT(MessageLog::Tagged({{first, "first"}, {second, "second"}},
                                 {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_SETFOCUS, WM_KILLFOCUS}),
              ElementsAre("WM_NCACTIVATE@second", "WM_ACTIVATE@second", "WM_NCACTIVATE@first", "WM_ACTIVATE@first",
                          "WM_KILLFOCUS@second", "WM_SETFOCUS@first"));
  auto deactivate = MessageLog::Find(second, WM_ACTIVATE);
  EXPECT_EQ(LOWORD(deactivate[0].wParam), WA_INACTIVE);
  EXPECT_EQ(reinterpret_cast<HWND>(deactivate[0].lParam), first);
  // Activation brought the window to the top.
  EXPECT_EQ(GetTopWindow(nullptr), first);

  // Leaving the program and coming back: WM_ACTIVATEAPP to every top-level window.
  MessageLog::Clear();
  Display().SwitchAway();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(MessageLog::Find(second, WM_ACTIVATEAPP).size(), 1u);
  EXPECT_EQ(MessageLog::Find(first, WM_ACTIVATEAPP)[0].wParam, static_cast<WPARAM>(FALSE));
  Display().SwitchBack();
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_EQ(MessageLog::Find(first, WM_ACTIVATEAPP)[1].wParam, static_cast<WPARAM>(TRUE));
}

TEST_F(Focus, ClickingAnInactiveWindowAsksItAndActivatesIt) {
  HWND first = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 200, 200);
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, first, 10, 10, 50, 50, 3);
  HWND second = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 400, 0, 200, 200);
  EXPECT_EQ(GetActiveWindow(), second);
  MessageLog::Clear();
  POINT inChild{10, 10};
  ClientToScreen(child, &inChild);
  Display().Click(inChild);
  Pump();
  EXPECT_EQ(GetActiveWindow(), first);
  auto mouseActivate = MessageLog::Find(child, WM_MOUSEACTIVATE);
  ASSERT_EQ(mouseActivate.size(), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(mouseActivate[0].wParam), first);
  EXPECT_EQ(LOWORD(mouseActivate[0].lParam), HTCLIENT);
  EXPECT_EQ(HIWORD(mouseActivate[0].lParam), WM_LBUTTONDOWN);
  // The parent was asked too, through the default procedure.
  EXPECT_EQ(MessageLog::Find(first, WM_MOUSEACTIVATE).size(), 1u);
  auto activate = MessageLog::Find(first, WM_ACTIVATE);
  ASSERT_EQ(activate.size(), 1u);
  EXPECT_EQ(LOWORD(activate[0].wParam), WA_CLICKACTIVE);
  auto down = MessageLog::Find(child, WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_TRUE(down[0].posted);
  EXPECT_EQ(down[0].lParam, MAKELPARAM(10, 10));

  // A window that eats the activating click activates without seeing the button.
  SetActiveWindow(second);
  MessageLog::Clear();
  OverrideAnswer(WM_MOUSEACTIVATE, MA_ACTIVATEANDEAT);
  Display().Click(inChild);
  Pump();
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_TRUE(MessageLog::Find(child, WM_LBUTTONDOWN).empty());
  EXPECT_EQ(MessageLog::Find(child, WM_LBUTTONUP).size(), 1u);
}

TEST_F(Focus, CaptureTakesTheMouseAndReportsItsLoss) {
  HWND frame = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 300, 300);
  HWND left = MakeWindow(WS_CHILD | WS_VISIBLE, frame, 0, 0, 100, 100, 1);
  HWND right = MakeWindow(WS_CHILD | WS_VISIBLE, frame, 150, 0, 100, 100, 2);
  EXPECT_EQ(SetCapture(left), nullptr);
  EXPECT_EQ(GetCapture(), left);
  MessageLog::Clear();
  POINT overRight{20, 20};
  ClientToScreen(right, &overRight);
  Display().MoveMouse(overRight);
  Pump();
  auto moves = MessageLog::Find(left, WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  // Coordinates are relative to the capturing window, outside its client area.
  EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 170);
  EXPECT_TRUE(MessageLog::Find(right, WM_MOUSEMOVE).empty());

  EXPECT_EQ(SetCapture(right), left);
  auto changed = MessageLog::Find(left, WM_CAPTURECHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(changed[0].lParam), right);
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(MessageLog::Find(right, WM_CAPTURECHANGED).size(), 1u);
  // Destroying the capturing window releases the capture.
  SetCapture(left);
  DestroyWindow(left);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
}  // namespace vel::platform::usertest
