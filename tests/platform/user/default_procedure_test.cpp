#include <gtest/gtest.h>

#include "platform/user/caret_state.h"
#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

using ::testing::ElementsAre;

class DefaultProcedure : public WindowTest {};

TEST_F(DefaultProcedure, TheFrameAnswersHitTestsAndItsButtonsBecomeSystemCommands) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 100, 100, 300, 200);
  Pump();
  auto hit = [&](int x, int y) { return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  EXPECT_EQ(hit(200, 200), HTCLIENT);
  EXPECT_EQ(hit(200, 110), HTCAPTION);
  EXPECT_EQ(hit(390, 110), HTCLOSE);
  EXPECT_EQ(hit(368, 110), HTMAXBUTTON);
  EXPECT_EQ(hit(350, 110), HTMINBUTTON);
  EXPECT_EQ(hit(110, 110), HTSYSMENU);
  EXPECT_EQ(hit(101, 200), HTLEFT);
  EXPECT_EQ(hit(399, 299), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(50, 50), HTNOWHERE);

  // A double click on the caption maximises, another restores.
  Display().DoubleClick({200, 110});
  Pump();
  EXPECT_TRUE(IsZoomed(window));
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT caption{rect.left + 200, rect.top + 10};
  Display().AdvanceClock(1000);
  Display().DoubleClick(caption);
  Pump();
  EXPECT_FALSE(IsZoomed(window));
  // The minimise box minimises; clicking the close box closes through WM_SYSCOMMAND and WM_CLOSE.
  Display().AdvanceClock(1000);
  Display().Click({350, 110});
  Pump();
  EXPECT_TRUE(IsIconic(window));
  ShowWindow(window, SW_RESTORE);
  Display().AdvanceClock(1000);
  MessageLog::Clear();
  Display().Click({390, 110});
  Pump();
  EXPECT_FALSE(IsWindow(window));
  auto command = MessageLog::Find(window, WM_SYSCOMMAND);
  ASSERT_EQ(command.size(), 1u);
  EXPECT_EQ(command[0].wParam, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_EQ(MessageLog::Find(window, WM_CLOSE).size(), 1u);
}

TEST_F(DefaultProcedure, AltF4ClosesTheTopLevelWindowOfTheFocus) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, window, 0, 0, 50, 50, 1);
  SetFocus(child);
  Pump();
  Display().PressKey(VK_F4, kAlt);
  Pump();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(MessageLog::Find(child, WM_SYSKEYDOWN).empty());
  // The keys came up after their window had gone; the thread still knows they are up.
  EXPECT_EQ(GetKeyState(VK_MENU) & 0x8000, 0);
  EXPECT_EQ(GetKeyState(VK_F4) & 0x8000, 0);
}

TEST_F(DefaultProcedure, ADisabledWindowIgnoresClicksAndAModalOwnerStaysInactive) {
  HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 300, 300);
  HWND modal = MakeWindow(WS_POPUP | WS_CAPTION | WS_VISIBLE, owner, 400, 0, 200, 200);
  EnableWindow(owner, FALSE);
  Pump();
  MessageLog::Clear();
  Display().Click({150, 150});
  Pump();
  EXPECT_EQ(GetActiveWindow(), modal);
  EXPECT_TRUE(MessageLog::Find(owner, WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(MessageLog::Find(owner, WM_ACTIVATE).empty());
}

TEST_F(DefaultProcedure, QueueStatusReportsWhatIsWaitingAndWhatIsNew) {
  HWND window = MakeWindow(WS_POPUP);
  Pump();
  EXPECT_EQ(GetQueueStatus(QS_ALLINPUT), 0u);
  PostMessageA(window, WM_USER, 0, 0);
  DWORD status = GetQueueStatus(QS_POSTMESSAGE);
  EXPECT_EQ(HIWORD(status), QS_POSTMESSAGE);
  EXPECT_EQ(LOWORD(status), QS_POSTMESSAGE);
  // Asking again: still waiting, no longer new.
  status = GetQueueStatus(QS_POSTMESSAGE);
  EXPECT_EQ(HIWORD(status), QS_POSTMESSAGE);
  EXPECT_EQ(LOWORD(status), 0);
  SetTimer(window, 3, 10, nullptr);
  Display().AdvanceClock(10);
  EXPECT_TRUE(HIWORD(GetQueueStatus(QS_TIMER)) & QS_TIMER);
  Pump();
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(DefaultProcedure, TheCaretCountsShowsAndHidesAndBelongsToOneWindow) {
  HWND window = MakeWindow(WS_POPUP);
  HWND other = MakeWindow(WS_POPUP);
  EXPECT_FALSE(ShowCaret(window));
  ASSERT_TRUE(CreateCaret(window, nullptr, 2, 14));
  EXPECT_EQ(CurrentCaret().hideCount, 1);
  EXPECT_TRUE(ShowCaret(window));
  EXPECT_FALSE(ShowCaret(window));
  EXPECT_FALSE(HideCaret(other));
  EXPECT_TRUE(HideCaret(window));
  EXPECT_TRUE(HideCaret(nullptr));
  EXPECT_EQ(CurrentCaret().hideCount, 2);
  SetCaretPos(7, 9);
  POINT where{};
  EXPECT_TRUE(GetCaretPos(&where));
  EXPECT_EQ(where.x, 7);
  EXPECT_EQ(CurrentCaret().height, 14);
  // A caret created for another window replaces the first.
  CreateCaret(other, nullptr, 0, 0);
  EXPECT_EQ(CurrentCaret().owner, other);
  EXPECT_EQ(CurrentCaret().width, 1);
  DestroyWindow(other);
  EXPECT_EQ(CurrentCaret().owner, nullptr);
  EXPECT_FALSE(DestroyCaret());
}

TEST_F(DefaultProcedure, ShowingAChildNeverActivatesAndShowWindowReportsThePreviousState) {
  HWND frame = MakeWindow(WS_OVERLAPPEDWINDOW);
  HWND child = MakeWindow(WS_CHILD, frame, 0, 0, 10, 10, 1);
  MessageLog::Clear();
  EXPECT_FALSE(ShowWindow(child, SW_SHOW));
  EXPECT_THAT(MessageLog::NamesFor(child), ElementsAre("WM_SHOWWINDOW", "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED"));
  EXPECT_TRUE(ShowWindow(child, SW_SHOW));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  // The child counts as visible only once its parent is.
  EXPECT_FALSE(IsWindowVisible(child));
  ShowWindow(frame, SW_SHOWNA);
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

}  // namespace
}  // namespace vel::platform::usertest
