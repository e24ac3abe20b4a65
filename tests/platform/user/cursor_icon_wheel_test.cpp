#include <gtest/gtest.h>

#include "platform/gdi/display_metrics.h"
#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

class CursorIconWheel : public WindowTest {
 protected:
  // A shown window at (100, 100) with a child at (10, 10) in it that has the focus; the log
  // starts empty.
  static HWND ParentOfFocusedChild(HWND* child) {
    HWND parent = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 100, 100, 300, 200);
    *child = MakeWindow(WS_CHILD | WS_VISIBLE, parent, 10, 10, 100, 50, 7);
    SetFocus(*child);
    Pump();
    MessageLog::Clear();
    return parent;
  }
};

HICON StockIcon(LPCSTR id) { return LoadIconA(nullptr, id); }
HCURSOR StockCursor(LPCSTR id) { return LoadCursorA(nullptr, id); }

/// The icon the headless display shows for a top-level window.
HICON ShownIcon(HWND window) {
  for (const auto& entry : Display().TopLevels()) {
    if (entry.window == window) return entry.icon;
  }
  return reinterpret_cast<HICON>(-1);
}

/// A class of its own per test, so changing its icon or cursor leaves the logging classes alone.
const char* RegisterIconClass(const char* name, HICON icon, HICON smallIcon, HCURSOR cursor) {
  WNDCLASSEXA description{};
  description.cbSize = sizeof description;
  description.lpfnWndProc = DefWindowProcA;
  description.hIcon = icon;
  description.hIconSm = smallIcon;
  description.hCursor = cursor;
  description.lpszClassName = name;
  UnregisterClassA(name, nullptr);
  EXPECT_NE(RegisterClassExA(&description), 0);
  return name;
}

TEST_F(CursorIconWheel, TheWheelGoesToTheFocusAndUpToItsParents) {
  HWND child = nullptr;
  HWND parent = ParentOfFocusedChild(&child);
  // The mouse is over the parent, not the child: the wheel still goes to the focus, with the
  // screen position, the turn and the keys held.
  Display().KeyDown(VK_SHIFT);
  Display().Wheel({250, 240}, -2 * WHEEL_DELTA);
  Display().KeyUp(VK_SHIFT);
  Pump();
  auto atChild = MessageLog::Find(child, WM_MOUSEWHEEL);
  ASSERT_EQ(atChild.size(), 1u);
  EXPECT_TRUE(atChild[0].posted);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(atChild[0].wParam), -240);
  EXPECT_EQ(GET_KEYSTATE_WPARAM(atChild[0].wParam), MK_SHIFT);
  EXPECT_EQ(GET_X_LPARAM(atChild[0].lParam), 250);
  EXPECT_EQ(GET_Y_LPARAM(atChild[0].lParam), 240);
  // Unhandled, the default procedure hands it to the parent unchanged.
  auto atParent = MessageLog::Find(parent, WM_MOUSEWHEEL);
  ASSERT_EQ(atParent.size(), 1u);
  EXPECT_FALSE(atParent[0].posted);
  EXPECT_EQ(atParent[0].wParam, atChild[0].wParam);
  EXPECT_EQ(atParent[0].lParam, atChild[0].lParam);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 250);

  // A window that scrolls with it keeps it from its parents.
  OverrideAnswer(WM_MOUSEWHEEL, 0);
  MessageLog::Clear();
  Display().Wheel({150, 130}, WHEEL_DELTA);
  Pump();
  EXPECT_EQ(MessageLog::Find(child, WM_MOUSEWHEEL).size(), 1u);
  EXPECT_TRUE(MessageLog::Find(parent, WM_MOUSEWHEEL).empty());
}

// Tilting the wheel sideways travels the same way as a turn, as WM_MOUSEHWHEEL.
TEST_F(CursorIconWheel, TheSidewaysWheelGoesToTheFocusAndUpToItsParents) {
  HWND child = nullptr;
  HWND parent = ParentOfFocusedChild(&child);
  ASSERT_TRUE(Display().QueueScript("hwheel 150 130 -2"));
  while (Display().ScriptPending()) Display().Idle(std::nullopt);
  Pump();
  auto atChild = MessageLog::Find(child, WM_MOUSEHWHEEL);
  ASSERT_EQ(atChild.size(), 1u);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(atChild[0].wParam), -240);
  EXPECT_EQ(GET_X_LPARAM(atChild[0].lParam), 150);
  ASSERT_EQ(MessageLog::Find(parent, WM_MOUSEHWHEEL).size(), 1u);
  EXPECT_TRUE(MessageLog::Find(child, WM_MOUSEWHEEL).empty());
  std::string error;
  EXPECT_FALSE(Display().QueueScript("hwheel 10 20 0", &error));
  EXPECT_NE(error.find("hwheel needs"), std::string::npos) << error;
}

TEST_F(CursorIconWheel, TheWheelHasAScriptStep) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SetFocus(window);
  Pump();
  MessageLog::Clear();
  std::string error;
  EXPECT_FALSE(Display().QueueScript("wheel 10 20", &error));
  EXPECT_FALSE(Display().QueueScript("wheel 10 20 0", &error));
  EXPECT_FALSE(Display().QueueScript("wheel 10 20 400", &error));
  EXPECT_FALSE(Display().QueueScript("wheel 10 20 up", &error));
  EXPECT_NE(error.find("notches"), std::string::npos);
  ASSERT_TRUE(Display().QueueScript("wheel 120 130 3; wheel 120 130 -1"));
  while (Display().ScriptPending()) Display().Idle(std::nullopt);
  Pump();
  auto turns = MessageLog::Find(window, WM_MOUSEWHEEL);
  ASSERT_EQ(turns.size(), 2u);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(turns[0].wParam), 360);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(turns[1].wParam), -120);
  EXPECT_EQ(GET_Y_LPARAM(turns[1].lParam), 130);
}

TEST_F(CursorIconWheel, OwnIconsAnswerAndReplaceOneAnother) {
  const HICON classIcon = StockIcon(IDI_APPLICATION);
  const HICON first = StockIcon(IDI_HAND);
  const HICON second = StockIcon(IDI_QUESTION);
  HWND window = CreateWindowExA(0, RegisterIconClass("IconTestOwn", classIcon, nullptr, nullptr), "icons",
                                WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  // A new window shows its class's icon; WM_GETICON answers only icons of its own.
  EXPECT_EQ(ShownIcon(window), classIcon);
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_SMALL2, 0), reinterpret_cast<LRESULT>(classIcon));

  EXPECT_EQ(SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(first)), 0);
  EXPECT_EQ(SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(second)),
            reinterpret_cast<LRESULT>(first));
  EXPECT_EQ(ShownIcon(window), second);
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(second));
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_SMALL2, 0), reinterpret_cast<LRESULT>(second));

  // The small icon is kept apart and is what ICON_SMALL2 prefers; the desktop keeps the big one.
  EXPECT_EQ(SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(first)), 0);
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_SMALL2, 0), reinterpret_cast<LRESULT>(first));
  EXPECT_EQ(ShownIcon(window), second);

  // A kind that does not exist changes nothing.
  EXPECT_EQ(SendMessageA(window, WM_SETICON, 7, reinterpret_cast<LPARAM>(classIcon)), 0);
  EXPECT_EQ(SendMessageA(window, WM_GETICON, 7, 0), 0);
  EXPECT_EQ(ShownIcon(window), second);

  // Taking the own icon away shows the class's again.
  EXPECT_EQ(SendMessageA(window, WM_SETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(second));
  EXPECT_EQ(ShownIcon(window), classIcon);
}

TEST_F(CursorIconWheel, AClassIconChangeReachesWindowsWithoutOwnIcons) {
  const HICON classIcon = StockIcon(IDI_APPLICATION);
  const HICON newClassIcon = StockIcon(IDI_EXCLAMATION);
  const HICON own = StockIcon(IDI_HAND);
  const char* className = RegisterIconClass("IconTestClass", classIcon, nullptr, nullptr);
  HWND plain = CreateWindowExA(0, className, "plain", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
  HWND withOwn = CreateWindowExA(0, className, "own", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
  HWND child = CreateWindowExA(0, className, "child", WS_CHILD, 0, 0, 10, 10, plain, nullptr, nullptr, nullptr);
  ASSERT_TRUE(plain != nullptr && withOwn != nullptr && child != nullptr);
  SendMessageA(withOwn, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(own));
  EXPECT_EQ(SetClassLongPtrA(plain, GCLP_HICON, reinterpret_cast<LONG_PTR>(newClassIcon)),
            reinterpret_cast<ULONG_PTR>(classIcon));
  EXPECT_EQ(ShownIcon(plain), newClassIcon);
  EXPECT_EQ(ShownIcon(withOwn), own);
  // Child windows have no desktop icon to show.
  EXPECT_EQ(ShownIcon(child), reinterpret_cast<HICON>(-1));

  // Without a big icon anywhere the small one stands in.
  SetClassLongPtrA(plain, GCLP_HICON, 0);
  EXPECT_EQ(ShownIcon(plain), nullptr);
  SetClassLongPtrA(plain, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(own));
  EXPECT_EQ(ShownIcon(plain), own);
  DestroyWindow(plain);
  DestroyWindow(withOwn);
  EXPECT_TRUE(UnregisterClassA(className, nullptr));
}

TEST_F(CursorIconWheel, TheDisplayShowsTheCursorSetWhileTheCountAllowsIt) {
  const HCURSOR hand = StockCursor(IDC_HAND);
  const HCURSOR beam = StockCursor(IDC_IBEAM);
  SetCursor(nullptr);
  HCURSOR before = SetCursor(hand);
  EXPECT_EQ(before, nullptr);
  EXPECT_EQ(Display().ShownCursor(), hand);
  EXPECT_EQ(SetCursor(nullptr), hand);
  EXPECT_EQ(Display().ShownCursor(), nullptr);
  SetCursor(hand);

  // Hidden below a count of zero; a cursor set meanwhile shows when the count comes back.
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(Display().ShownCursor(), nullptr);
  EXPECT_EQ(ShowCursor(FALSE), -2);
  SetCursor(beam);
  EXPECT_EQ(GetCursor(), beam);
  EXPECT_EQ(Display().ShownCursor(), nullptr);
  EXPECT_EQ(ShowCursor(TRUE), -1);
  EXPECT_EQ(Display().ShownCursor(), nullptr);
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_EQ(Display().ShownCursor(), beam);
  EXPECT_EQ(ShowCursor(TRUE), 1);
  EXPECT_EQ(ShowCursor(FALSE), 0);
  EXPECT_EQ(Display().ShownCursor(), beam);
}

TEST_F(CursorIconWheel, MovingTheMouseShowsTheClassCursorInsideAndTheArrowOnTheFrame) {
  const HCURSOR cross = StockCursor(IDC_CROSS);
  HWND window = CreateWindowExA(0, RegisterIconClass("CursorTestClass", nullptr, nullptr, cross), "cursor",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr, nullptr,
                                nullptr);
  ASSERT_NE(window, nullptr);
  Pump();
  RECT client{};
  GetClientRect(window, &client);
  POINT inside{client.right / 2, client.bottom / 2};
  ClientToScreen(window, &inside);
  Display().MoveMouse(inside);
  EXPECT_EQ(Display().ShownCursor(), cross);
  // The caption is not the client area: the default procedure shows the standard arrow there,
  // never nothing.
  Display().MoveMouse({inside.x, 100 + 8});
  EXPECT_EQ(Display().ShownCursor(), StockCursor(IDC_ARROW));
  EXPECT_NE(Display().ShownCursor(), nullptr);
  DestroyWindow(window);
  UnregisterClassA("CursorTestClass", nullptr);
}

// Programs size their fonts and dialog units from the screen DC's resolution, which is the
// display's (raised on a scaling desktop).
TEST_F(CursorIconWheel, TheScreenDcReportsTheDisplayResolution) {
  const DisplayMetrics saved = CurrentDisplayMetrics();
  SetDisplayMetrics(DisplayMetrics{saved.width, saved.height, 192});
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 192);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 192);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), saved.width);
  // Drawing on it is harmless: nothing shows outside the windows.
  RECT box{0, 0, 50, 50};
  EXPECT_NE(FillRect(screen, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  SetDisplayMetrics(saved);
}

}  // namespace
}  // namespace vel::platform::usertest
