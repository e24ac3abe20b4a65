#include <gtest/gtest.h>

#include "tests/platform/user/message_log.h"

// Moving windows by the caption and sizing them by the frame with the mouse, as a user on the
// desktop does: the drag follows the pointer, keeps the tracking limits, and Esc undoes it.

namespace vel::platform::usertest {
namespace {

class MoveSize : public WindowTest {
 protected:
  // A shown window at (100, 100), 300 by 200.
  static HWND ShownWindow(DWORD style) {
    HWND window = MakeShownWindow(style);
    MessageLog::Clear();
    return window;
  }
  // Presses at `from` and runs the script steps while the loop runs.
  static void Drag(POINT from, const char* steps) {
    Display().MouseDown(from);
    ASSERT_TRUE(Display().QueueScript(steps));
    Pump();
  }
  static RECT Rect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
  }
};

TEST_F(MoveSize, DraggingTheCaptionMovesTheWindowAndEscPutsItBack) {
  HWND window = ShownWindow(WS_OVERLAPPEDWINDOW);
  Drag({200, 110}, "move 230 140; move 260 150; up 260 150");
  RECT moved = Rect(window);
  EXPECT_EQ(moved.left, 160);
  EXPECT_EQ(moved.top, 140);
  EXPECT_EQ(moved.right - moved.left, 300);
  EXPECT_EQ(moved.bottom - moved.top, 200);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(MessageLog::Find(window, WM_ENTERSIZEMOVE).size(), 1u);
  EXPECT_EQ(MessageLog::Find(window, WM_MOVING).size(), 2u);
  EXPECT_EQ(MessageLog::Find(window, WM_EXITSIZEMOVE).size(), 1u);
  EXPECT_EQ(MessageLog::Find(window, WM_SYSCOMMAND).at(0).wParam, static_cast<WPARAM>(SC_MOVE | HTCAPTION));

  Drag({260, 150}, "move 400 300; key ESCAPE");
  Display().MouseUp({400, 300});
  Pump();
  RECT back = Rect(window);
  EXPECT_EQ(back.left, 160);
  EXPECT_EQ(back.top, 140);
}

TEST_F(MoveSize, FrameBordersSizeWithinTheTrackingLimits) {
  HWND window = ShownWindow(WS_OVERLAPPEDWINDOW);
  Drag({398, 298}, "move 448 328; up 448 328");
  RECT grown = Rect(window);
  EXPECT_EQ(grown.left, 100);
  EXPECT_EQ(grown.top, 100);
  EXPECT_EQ(grown.right, 450);
  EXPECT_EQ(grown.bottom, 330);
  EXPECT_FALSE(MessageLog::Find(window, WM_SIZING).empty());
  EXPECT_FALSE(MessageLog::Find(window, WM_SIZE).empty());

  // Far past the opposite corner: the minimum tracking size holds, the top-left stays.
  Drag({448, 328}, "move 10 10; up 10 10");
  RECT smallest = Rect(window);
  EXPECT_EQ(smallest.left, 100);
  EXPECT_EQ(smallest.right - smallest.left, GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_EQ(smallest.bottom - smallest.top, GetSystemMetrics(SM_CYMINTRACK));

  // The left border moves the left edge and keeps the right one.
  MoveWindow(window, 100, 100, 300, 200, TRUE);
  Pump();
  Drag({101, 200}, "move 151 260; up 151 260");
  RECT narrowed = Rect(window);
  EXPECT_EQ(narrowed.left, 150);
  EXPECT_EQ(narrowed.right, 400);
  EXPECT_EQ(narrowed.top, 100);
  EXPECT_EQ(narrowed.bottom, 300);
}

TEST_F(MoveSize, FixedFramesAndMaximisedWindowsStayPut) {
  HWND fixed = ShownWindow(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
  Drag({398, 298}, "move 450 350; up 450 350");
  EXPECT_EQ(Rect(fixed).right, 400);
  EXPECT_TRUE(MessageLog::Find(fixed, WM_ENTERSIZEMOVE).empty());
  DestroyWindow(fixed);

  HWND maximised = ShownWindow(WS_OVERLAPPEDWINDOW);
  ShowWindow(maximised, SW_MAXIMIZE);
  Pump();
  RECT before = Rect(maximised);
  Drag({before.left + 200, before.top + 10}, "move 300 300; up 300 300");
  RECT after = Rect(maximised);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
}

TEST_F(MoveSize, SizingBordersShowTheSizingCursors) {
  ShownWindow(WS_OVERLAPPEDWINDOW);
  Display().MoveMouse({101, 200});
  Pump();
  EXPECT_EQ(Display().ShownCursor(), LoadCursorA(nullptr, IDC_SIZEWE));
  Display().MoveMouse({398, 298});
  Pump();
  EXPECT_EQ(Display().ShownCursor(), LoadCursorA(nullptr, IDC_SIZENWSE));
  Display().MoveMouse({200, 110});
  Pump();
  EXPECT_EQ(Display().ShownCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace
}  // namespace vel::platform::usertest
