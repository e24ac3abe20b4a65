#include <gtest/gtest.h>

#include "tests/platform/user/control_test_support.h"

// The standard buttons and statics driven by synthetic input: pressing, leaving and releasing,
// the space bar, radio groups, hot tracking, colours from the parent and owner drawing.

namespace vel::platform::usertest {
namespace {

using ::testing::ElementsAre;

class Controls : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    host = MakeHost(WS_POPUP | WS_VISIBLE, 50, 50, 300, 200);
  }
  int Clicks(int id) {
    int count = 0;
    for (const auto& [control, code] : Host().commands)
      count += (control == id && code == BN_CLICKED) ? 1 : 0;
    return count;
  }
  static bool Pushed(HWND button) { return (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

  HWND host = nullptr;
};

TEST_F(Controls, PressingCapturesLeavingUnpressesAndOnlyAReleaseInsideClicks) {
  HWND button = MakeControl("Button", "Go", BS_PUSHBUTTON, host, 10, 10, 80, 24, 7);
  Pump();
  COLORREF normalCorner = WindowPixel(button, 0, 0);
  Display().MouseDown(ScreenPoint(button, 40, 12));
  Pump();
  EXPECT_EQ(GetCapture(), button);
  EXPECT_TRUE(Pushed(button));
  // Pressed, the raised edge gives way to a shadow line.
  EXPECT_EQ(WindowPixel(button, 0, 0), GetSysColor(COLOR_3DSHADOW));
  EXPECT_NE(WindowPixel(button, 0, 0), normalCorner);
  Display().MoveMouse(ScreenPoint(button, 150, 12));
  Pump();
  EXPECT_FALSE(Pushed(button));
  EXPECT_EQ(WindowPixel(button, 0, 0), normalCorner);
  // Coming back shows it pressed again; releasing there clicks once.
  Display().MoveMouse(ScreenPoint(button, 40, 12));
  Pump();
  EXPECT_TRUE(Pushed(button));
  Display().MouseUp(ScreenPoint(button, 40, 12));
  Pump();
  EXPECT_EQ(Clicks(7), 1);
  EXPECT_EQ(GetCapture(), nullptr);
  // Released outside: no click.
  Display().AdvanceClock(1000);
  Display().MouseDown(ScreenPoint(button, 40, 12));
  Pump();
  Display().MoveMouse(ScreenPoint(button, 150, 12));
  Pump();
  Display().MouseUp(ScreenPoint(button, 150, 12));
  Pump();
  EXPECT_EQ(Clicks(7), 1);
  EXPECT_FALSE(Pushed(button));
}

TEST_F(Controls, TheSpaceBarPressesOnKeyDownAndClicksOnKeyUp) {
  HWND check = MakeControl("Button", "Check", BS_AUTOCHECKBOX | WS_TABSTOP, host, 10, 10, 80, 20, 8);
  SetFocus(check);
  Pump();
  Display().KeyDown(VK_SPACE);
  Pump();
  EXPECT_TRUE(Pushed(check));
  EXPECT_EQ(Clicks(8), 0);
  // The box shows grey while pressed.
  EXPECT_EQ(WindowPixel(check, 4, 6), GetSysColor(COLOR_3DFACE));
  Display().KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(Clicks(8), 1);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(Pushed(check));
  // Losing the focus in the middle of a press cancels it.
  Display().KeyDown(VK_SPACE);
  Pump();
  SetFocus(host);
  Display().KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(Clicks(8), 1);
  EXPECT_FALSE(Pushed(check));
}

WNDPROC g_loggedButtonBase = nullptr;
LRESULT CALLBACK LoggedButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageLog::Add({window, message, wParam, lParam, false});
  return CallWindowProcA(g_loggedButtonBase, window, message, wParam, lParam);
}

// BM_CLICK is a press and a release of the mouse, as a reference implementation shows: the
// press moves the focus to the button before the release reports the click.
TEST_F(Controls, BmClickMovesTheFocusToTheButtonBeforeItReportsTheClick) {
  HWND parent = MakeWindow(WS_POPUP | WS_VISIBLE);
  HWND first = MakeControl("Button", "One", BS_PUSHBUTTON | WS_TABSTOP, parent, 10, 10, 80, 24, 31);
  HWND second = MakeControl("Button", "Two", BS_PUSHBUTTON | WS_TABSTOP, parent, 10, 40, 80, 24, 32);
  HWND empty = MakeControl("Button", "", BS_PUSHBUTTON | WS_TABSTOP, parent, 10, 70, 0, 0, 33);
  for (HWND button : {first, second, empty}) {
    g_loggedButtonBase = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggedButton)));
  }
  SetActiveWindow(parent);
  SetFocus(first);
  Pump();
  MessageLog::Clear();
  SendMessageA(second, BM_CLICK, 0, 0);
  EXPECT_EQ(GetFocus(), second);
  EXPECT_EQ(GetCapture(), nullptr);
  const std::vector<std::pair<HWND, std::string>> tags{
      {first, "one"}, {second, "two"}, {empty, "empty"}, {parent, "parent"}};
  const std::vector<UINT> shown{BM_CLICK,    WM_LBUTTONDOWN, WM_KILLFOCUS,
                                WM_SETFOCUS, WM_LBUTTONUP,   WM_COMMAND};
  EXPECT_THAT(MessageLog::Tagged(tags, shown),
              ElementsAre(MessageName(BM_CLICK) + "@two", "WM_LBUTTONDOWN@two", "WM_KILLFOCUS@one",
                          "WM_SETFOCUS@two", "WM_LBUTTONUP@two", "WM_COMMAND@parent"));
  EXPECT_EQ(MessageLog::Find(parent, WM_COMMAND)[0].wParam, MAKEWPARAM(32, BN_CLICKED));

  // A button without an area takes the focus, but the release is not inside it: no click.
  MessageLog::Clear();
  SendMessageA(empty, BM_CLICK, 0, 0);
  EXPECT_EQ(GetFocus(), empty);
  EXPECT_TRUE(MessageLog::Find(parent, WM_COMMAND).empty());

  // A disabled button neither takes the focus nor clicks.
  EnableWindow(first, FALSE);
  MessageLog::Clear();
  SendMessageA(first, BM_CLICK, 0, 0);
  EXPECT_EQ(GetFocus(), empty);
  EXPECT_TRUE(MessageLog::Find(parent, WM_COMMAND).empty());
}

TEST_F(Controls, AutomaticRadioButtonsKeepOneCheckedInTheirGroup) {
  HWND first =
      MakeControl("Button", "OR", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, host, 10, 10, 80, 20, 1);
  HWND second = MakeControl("Button", "AND", BS_AUTORADIOBUTTON, host, 10, 34, 80, 20, 2);
  HWND other = MakeControl("Button", "Other group", BS_AUTORADIOBUTTON | WS_GROUP, host, 10, 58, 80, 20, 3);
  SendMessageA(first, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(other, BM_SETCHECK, BST_CHECKED, 0);
  Pump();
  Display().Click(ScreenPoint(second, 5, 10));
  Pump();
  EXPECT_EQ(SendMessageA(first, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(second, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Clicks(2), 1);
  // The dot shows in the chosen button's well and is gone from the other.
  EXPECT_EQ(WindowPixel(second, 5, 10), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(WindowPixel(first, 5, 10), GetSysColor(COLOR_WINDOW));
}

TEST_F(Controls, AFlatButtonIsHotWhileThePointerIsOverIt) {
  HWND flat = MakeControl("Button", "Flat", BS_PUSHBUTTON | BS_FLAT, host, 10, 10, 80, 24, 9);
  Pump();
  EXPECT_EQ(WindowPixel(flat, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  Display().MoveMouse(ScreenPoint(flat, 30, 10));
  Pump();
  EXPECT_TRUE(SendMessageA(flat, BM_GETSTATE, 0, 0) & BST_HOT);
  EXPECT_EQ(WindowPixel(flat, 0, 0), GetSysColor(COLOR_3DHILIGHT));
  // Leaving, even straight out of the host, ends the hot look through WM_MOUSELEAVE.
  Display().MoveMouse({900, 700});
  Pump();
  EXPECT_FALSE(SendMessageA(flat, BM_GETSTATE, 0, 0) & BST_HOT);
  EXPECT_EQ(WindowPixel(flat, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
}

TEST_F(Controls, ColoursComeFromTheParentAndBadAnswersGetTheDefaults) {
  HWND prompt = MakeControl("Static", "IIIIII", SS_LEFT, host, 10, 10, 80, 20);
  HWND radio = MakeControl("Button", "IIIIII", BS_AUTORADIOBUTTON, host, 10, 40, 100, 20);
  HWND push = MakeControl("Button", "IIIIII", BS_PUSHBUTTON, host, 10, 70, 100, 24);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  Host().colors = {red, RGB(0, 0, 255), RGB(255, 0, 0), 0};
  InvalidateRect(host, nullptr, TRUE);
  RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  auto countColor = [](HWND window, COLORREF color) {
    std::unique_ptr<Surface> pixels = testing::CaptureWindowPixels(window);
    int count = 0;
    for (int y = 0; pixels && y < pixels->Height(); ++y) {
      for (int x = 0; x < pixels->Width(); ++x)
        count += ColorFromPixel(pixels->Pixel(x, y) & 0xFFFFFF) == color;
    }
    return count;
  };
  for (HWND control : {prompt, radio}) {
    EXPECT_EQ(WindowPixel(control, 79, 1), RGB(255, 0, 0));
    EXPECT_GT(countColor(control, RGB(0, 0, 255)), 10);
  }
  // A push button's face takes the brush too, inside its edge.
  EXPECT_EQ(WindowPixel(push, 50, 3), RGB(255, 0, 0));
  EXPECT_GT(countColor(push, RGB(0, 0, 255)), 10);
  // TRUE is no brush: the control keeps the scheme's face colour and text.
  Host().colors = {};
  Host().colors.raw = TRUE;
  RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  EXPECT_EQ(WindowPixel(prompt, 79, 1), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(countColor(prompt, RGB(0, 0, 255)), 0);
  EXPECT_GT(countColor(prompt, GetSysColor(COLOR_WINDOWTEXT)), 10);
  DeleteObject(red);
}

TEST_F(Controls, OwnerDrawnButtonsAreDrawnByTheParentWithTheirState) {
  HWND button = MakeControl("Button", "", BS_OWNERDRAW, host, 10, 10, 60, 20, 11);
  Pump();
  ASSERT_FALSE(Host().drawItemStates.empty());
  EXPECT_EQ(Host().drawItemStates.back() & ODS_SELECTED, 0u);
  EXPECT_EQ(WindowPixel(button, 30, 10), GetSysColor(COLOR_WINDOW));
  EnableWindow(button, FALSE);
  SendMessageA(button, BM_SETSTATE, TRUE, 0);
  Pump();
  EXPECT_EQ(Host().drawItemStates.back() & (ODS_SELECTED | ODS_DISABLED), UINT{ODS_SELECTED | ODS_DISABLED});
  EXPECT_EQ(WindowPixel(button, 30, 10), GetSysColor(COLOR_HIGHLIGHT));
}

// A superclass made the way the runtime makes its own classes: the standard procedure found
// through GetClassInfoA, extra bytes of its own after the standard ones, CallWindowProcA.
WNDPROC g_buttonProcedure = nullptr;
int g_baseExtra = 0;
LRESULT CALLBACK SuperButton(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_CREATE) SetWindowLongPtrA(hWnd, g_baseExtra, 0x5EED);
  return CallWindowProcA(g_buttonProcedure, hWnd, Msg, wParam, lParam);
}

TEST_F(Controls, ASuperclassOfButtonDrawsAndClicksLikeTheOriginal) {
  WNDCLASSA base{};
  ASSERT_TRUE(GetClassInfoA(nullptr, "Button", &base));
  g_buttonProcedure = base.lpfnWndProc;
  g_baseExtra = base.cbWndExtra;
  WNDCLASSA super = base;
  super.lpfnWndProc = SuperButton;
  super.cbWndExtra = base.cbWndExtra + static_cast<int>(sizeof(LONG_PTR));
  super.lpszClassName = "SuperButton";
  super.style &= ~CS_GLOBALCLASS;
  static ATOM atom = RegisterClassA(&super);
  ASSERT_NE(atom, 0);
  HWND original = MakeControl("Button", "Same", BS_DEFPUSHBUTTON, host, 10, 10, 80, 24, 20);
  HWND derived = MakeControl("SuperButton", "Same", BS_DEFPUSHBUTTON, host, 10, 50, 80, 24, 21);
  Pump();
  std::unique_ptr<Surface> a = testing::CaptureWindowPixels(original);
  std::unique_ptr<Surface> b = testing::CaptureWindowPixels(derived);
  ASSERT_TRUE(a && b);
  bool same = a->Width() == b->Width() && a->Height() == b->Height();
  for (int y = 0; same && y < a->Height(); ++y) {
    for (int x = 0; x < a->Width(); ++x)
      same = same && (a->Pixel(x, y) & 0xFFFFFF) == (b->Pixel(x, y) & 0xFFFFFF);
  }
  EXPECT_TRUE(same);
  EXPECT_EQ(GetWindowLongPtrA(derived, g_baseExtra), 0x5EED);
  Display().Click(ScreenPoint(derived, 20, 10));
  Pump();
  EXPECT_EQ(Clicks(21), 1);
}

TEST_F(Controls, StaticsRedrawWhenTheirTextOrEnabledStateChanges) {
  HWND prompt = MakeControl("Static", "", SS_LEFT, host, 10, 10, 80, 20);
  Pump();
  auto darkPixels = [&]() {
    std::unique_ptr<Surface> pixels = testing::CaptureWindowPixels(prompt);
    int dark = 0;
    for (int y = 0; y < pixels->Height(); ++y) {
      for (int x = 0; x < pixels->Width(); ++x) dark += (pixels->Pixel(x, y) & 0xFFFFFF) == 0;
    }
    return dark;
  };
  EXPECT_EQ(darkPixels(), 0);
  SetWindowTextA(prompt, "Hits:");
  Pump();
  EXPECT_GT(darkPixels(), 10);
  EnableWindow(prompt, FALSE);
  Pump();
  EXPECT_EQ(darkPixels(), 0);
}

TEST_F(Controls, StaticIconsAreSetReplacedAndSizeTheControl) {
  HWND icon = MakeControl("Static", "", SS_ICON, host, 10, 10, 5, 5);
  HICON info = LoadIconA(nullptr, IDI_INFORMATION);
  HICON warning = LoadIconA(nullptr, IDI_WARNING);
  EXPECT_EQ(SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(info), 0), 0);
  EXPECT_EQ(SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(warning), 0),
            reinterpret_cast<LRESULT>(info));
  EXPECT_EQ(SendMessageA(icon, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(warning));
  RECT rect{};
  GetClientRect(icon, &rect);
  EXPECT_EQ(rect.right, 32);
  EXPECT_EQ(rect.bottom, 32);
  Pump();
  // Something of the icon shows where the button face was.
  std::unique_ptr<Surface> pixels = testing::CaptureWindowPixels(icon);
  int drawn = 0;
  for (int y = 0; y < pixels->Height(); ++y) {
    for (int x = 0; x < pixels->Width(); ++x)
      drawn += ColorFromPixel(pixels->Pixel(x, y) & 0xFFFFFF) != GetSysColor(COLOR_BTNFACE);
  }
  EXPECT_GT(drawn, 100);
}

TEST_F(Controls, TrackMouseEventReportsLeavingOnceAndCanBeQueriedAndCancelled) {
  HWND a = MakeWindow(WS_CHILD | WS_VISIBLE, host, 0, 0, 100, 100, 1);
  Display().MoveMouse(ScreenPoint(a, 50, 50));
  Pump();
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, a, 0};
  ASSERT_TRUE(TrackMouseEvent(&track));
  TRACKMOUSEEVENT query{sizeof query, TME_QUERY, a, 0};
  ASSERT_TRUE(TrackMouseEvent(&query));
  EXPECT_EQ(query.dwFlags, DWORD{TME_LEAVE});
  Display().MoveMouse(ScreenPoint(a, 60, 50));
  Pump();
  EXPECT_TRUE(MessageLog::Find(a, WM_MOUSELEAVE).empty());
  Display().MoveMouse(ScreenPoint(a, 200, 50));
  Display().MoveMouse(ScreenPoint(a, 210, 50));
  Pump();
  EXPECT_EQ(MessageLog::Find(a, WM_MOUSELEAVE).size(), 1u);
  // Asked while the pointer is elsewhere, the answer comes at once.
  ASSERT_TRUE(TrackMouseEvent(&track));
  Pump();
  EXPECT_EQ(MessageLog::Find(a, WM_MOUSELEAVE).size(), 2u);
  // Cancelled tracking reports nothing.
  Display().MoveMouse(ScreenPoint(a, 50, 50));
  ASSERT_TRUE(TrackMouseEvent(&track));
  TRACKMOUSEEVENT cancel{sizeof cancel, TME_LEAVE | TME_CANCEL, a, 0};
  ASSERT_TRUE(TrackMouseEvent(&cancel));
  Display().MoveMouse(ScreenPoint(a, 200, 50));
  Pump();
  EXPECT_EQ(MessageLog::Find(a, WM_MOUSELEAVE).size(), 2u);
  TRACKMOUSEEVENT wrongSize{0, TME_LEAVE, a, 0};
  EXPECT_FALSE(TrackMouseEvent(&wrongSize));
  TRACKMOUSEEVENT hover{sizeof hover, TME_HOVER, a, HOVER_DEFAULT};
  EXPECT_FALSE(TrackMouseEvent(&hover));

  // Destroying a tracked window ends its tracking: later moves ask nothing more of anyone.
  Display().MoveMouse(ScreenPoint(a, 50, 50));
  Pump();
  ASSERT_TRUE(TrackMouseEvent(&track));
  DestroyWindow(a);
  HWND b = MakeWindow(WS_CHILD | WS_VISIBLE, host, 0, 0, 100, 100, 2);
  Pump();
  MessageLog::Clear();
  Display().MoveMouse(ScreenPoint(b, 40, 40));
  Pump();
  EXPECT_EQ(MessageLog::Find(b, WM_NCHITTEST).size(), 1u);
}

}  // namespace
}  // namespace vel::platform::usertest
