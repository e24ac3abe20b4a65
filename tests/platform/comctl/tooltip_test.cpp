#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/comctl/tooltip_appearance.h"
#include "platform/display/headless/headless_display.h"
#include "platform/gdi/font_resolver.h"
#include "tests/support/golden.h"
#include "win32.h"

namespace vel::platform {
namespace {

struct Notification {
  UINT code;
  UINT_PTR id;
};

std::vector<Notification> g_notifications;
std::function<void(NMTTDISPINFOA&)> g_needText;

// The window that owns the tools: it records the tooltip's notifications and answers
// TTN_GETDISPINFOA through g_needText.
LRESULT CALLBACK OwnerProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    g_notifications.push_back({header->code, header->idFrom});
    if (header->code == TTN_GETDISPINFOA && g_needText) g_needText(*reinterpret_cast<NMTTDISPINFOA*>(lParam));
    return 0;
  }
  return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

class Tooltip : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    display = CurrentHeadlessDisplay();
    ASSERT_NE(display, nullptr);
    display->Clock().SetManual(true);
    static const ATOM ownerClass = [] {
      WNDCLASSA description{0, OwnerProcedure, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TipOwner"};
      return RegisterClassA(&description);
    }();
    ASSERT_NE(ownerClass, 0);
    g_notifications.clear();
    g_needText = nullptr;
    owner = CreateWindowExA(0, "TipOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                            nullptr, nullptr, nullptr);
    first = Child(20, 20);
    second = Child(200, 20);
    tip = CreateTip(WS_POPUP | WS_BORDER | TTS_ALWAYSTIP);
    ASSERT_NE(tip, nullptr);
  }

  void TearDown() override {
    for (HWND window : {tip, owner}) {
      if (IsWindow(window)) DestroyWindow(window);
    }
    Pump();
    g_needText = nullptr;
  }

  HWND Child(int x, int y) {
    return CreateWindowExA(0, "TipOwner", "tool", WS_CHILD | WS_VISIBLE, x, y, 80, 24, owner, nullptr, nullptr, nullptr);
  }

  static HWND CreateTip(DWORD style) {
    // As the runtime creates it: every position the system default.
    auto systemDefault = static_cast<int>(0x80000000u);
    return CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, style, systemDefault, systemDefault, systemDefault,
                           systemDefault, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }

  static TOOLINFOA Info(HWND toolOwner, UINT_PTR id, UINT flags, LPSTR text, HINSTANCE instance = nullptr) {
    TOOLINFOA info{};
    info.cbSize = sizeof info;
    info.uFlags = flags;
    info.hwnd = toolOwner;
    info.uId = id;
    info.hinst = instance;
    info.lpszText = text;
    return info;
  }

  // A tool for a whole window, as the runtime registers its controls.
  BOOL AddWindowTool(HWND toolWindow, LPSTR text, HINSTANCE instance = nullptr) {
    TOOLINFOA info = Info(owner, reinterpret_cast<UINT_PTR>(toolWindow), TTF_IDISHWND, text, instance);
    return static_cast<BOOL>(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
  }

  void Relay(HWND window, UINT message, int x, int y) {
    MSG msg{window, message, 0, MAKELPARAM(x, y), 0, {}};
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  }
  void Move(HWND window, int x, int y) { Relay(window, WM_MOUSEMOVE, x, y); }

  void Advance(uint64_t milliseconds) {
    display->AdvanceClock(milliseconds);
    Pump();
  }

  bool Shown() const { return IsWindowVisible(tip) != FALSE; }

  std::string ShownText() const {
    char text[256] = {};
    GetWindowTextA(tip, text, sizeof text);
    return text;
  }

  std::vector<UINT> Codes() const {
    std::vector<UINT> codes;
    for (const Notification& note : g_notifications) codes.push_back(note.code);
    return codes;
  }

  HeadlessDisplay* display = nullptr;
  HWND owner = nullptr;
  HWND first = nullptr;
  HWND second = nullptr;
  HWND tip = nullptr;
};

char kFirstText[] = "First tool";
char kSecondText[] = "Second tool";

TEST_F(Tooltip, TheTipShowsAfterTheInitialDelayBelowThePointerAndPopsAfterAutopop) {
  EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
  EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 5000);
  EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 100);
  ASSERT_TRUE(AddWindowTool(first, kFirstText));
  EXPECT_TRUE(GetWindowLongPtrA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);

  Move(first, 10, 5);
  Advance(499);
  EXPECT_FALSE(Shown());
  Advance(1);
  ASSERT_TRUE(Shown());
  EXPECT_EQ(ShownText(), "First tool");
  POINT pointer{10, 5};
  ClientToScreen(first, &pointer);
  RECT rect{};
  GetWindowRect(tip, &rect);
  EXPECT_EQ(rect.left, pointer.x);
  EXPECT_GT(rect.top, pointer.y);
  EXPECT_LT(rect.top, pointer.y + 32);
  EXPECT_EQ(Codes(), std::vector<UINT>{TTN_SHOW});

  // Moving within the tool keeps the tip; after the autopop delay it goes and stays away
  // while the pointer is still on the tool.
  Move(first, 30, 10);
  Advance(4999);
  EXPECT_TRUE(Shown());
  Advance(1);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(Codes(), (std::vector<UINT>{TTN_SHOW, TTN_POP}));
  Move(first, 31, 10);
  Advance(1000);
  EXPECT_FALSE(Shown());
  // Leaving and coming back starts again.
  Move(owner, 300, 200);
  Move(first, 31, 10);
  Advance(500);
  EXPECT_TRUE(Shown());
}

TEST_F(Tooltip, MovingToAnotherToolReshowsQuicklyAndLeavingOrClickingHidesTheTip) {
  AddWindowTool(first, kFirstText);
  AddWindowTool(second, kSecondText);
  Move(first, 10, 5);
  Advance(500);
  ASSERT_TRUE(Shown());
  Move(owner, 150, 30);  // the gap between the tools
  EXPECT_FALSE(Shown());
  Move(second, 10, 5);
  Advance(100);
  EXPECT_TRUE(Shown());
  EXPECT_EQ(ShownText(), "Second tool");
  ASSERT_EQ(g_notifications.size(), 3u);
  EXPECT_EQ(g_notifications[1].code, static_cast<UINT>(TTN_POP));
  EXPECT_EQ(g_notifications[1].id, reinterpret_cast<UINT_PTR>(first));
  EXPECT_EQ(g_notifications[2].id, reinterpret_cast<UINT_PTR>(second));

  // A button press hides it until the pointer has left the tool.
  Relay(second, WM_LBUTTONDOWN, 10, 5);
  EXPECT_FALSE(Shown());
  Relay(second, WM_LBUTTONUP, 10, 5);
  Move(second, 12, 6);
  Advance(1000);
  EXPECT_FALSE(Shown());
  // Long after a tip was seen, a new tool takes the full initial delay again.
  Move(owner, 150, 30);
  Advance(2000);
  Move(first, 10, 5);
  Advance(100);
  EXPECT_FALSE(Shown());
  Advance(400);
  EXPECT_TRUE(Shown());
}

TEST_F(Tooltip, DelayTimesCanBeSetTogetherSeparatelyAndReset) {
  SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(1000, 0));
  EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 1000);
  EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 10000);
  EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 200);
  SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(50, 0));
  SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(static_cast<WORD>(-1), 0));
  EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 50);
  EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 5000);

  AddWindowTool(first, kFirstText);
  Move(first, 10, 5);
  Advance(50);
  EXPECT_TRUE(Shown());
}

TEST_F(Tooltip, CallbackToolsTakeTheirTextInEachFormTheOwnerGives) {
  HINSTANCE program = GetModuleHandleA(nullptr);
  ASSERT_TRUE(AddWindowTool(first, LPSTR_TEXTCALLBACKA));
  static char ownText[] = "Text the owner keeps";
  struct Form {
    std::function<void(NMTTDISPINFOA&)> answer;
    std::string expected;
  };
  const Form forms[] = {
      {[](NMTTDISPINFOA& info) { std::snprintf(info.szText, sizeof info.szText, "In the &buffer"); }, "In the buffer"},
      {[](NMTTDISPINFOA& info) { info.lpszText = ownText; }, "Text the owner keeps"},
      {[program](NMTTDISPINFOA& info) {
         info.hinst = program;
         info.lpszText = MAKEINTRESOURCEA(102);
       },
       "Tip named by the owner"},
  };
  for (const Form& form : forms) {
    g_notifications.clear();
    g_needText = [&](NMTTDISPINFOA& info) {
      EXPECT_EQ(info.hdr.hwndFrom, tip);
      EXPECT_EQ(info.hdr.idFrom, reinterpret_cast<UINT_PTR>(first));
      EXPECT_EQ(info.uFlags & TTF_IDISHWND, static_cast<UINT>(TTF_IDISHWND));
      form.answer(info);
    };
    Move(first, 10, 5);
    Advance(500);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(ShownText(), form.expected);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TTN_GETDISPINFOA, TTN_SHOW}));
    Move(owner, 300, 200);
    Advance(2000);
  }

  // An empty answer shows nothing; TTF_DI_SETITEM keeps the answer and the owner is not asked
  // again.
  g_needText = [](NMTTDISPINFOA&) {};
  Move(first, 10, 5);
  Advance(500);
  EXPECT_FALSE(Shown());
  Move(owner, 300, 200);
  int asked = 0;
  g_needText = [&](NMTTDISPINFOA& info) {
    ++asked;
    std::snprintf(info.szText, sizeof info.szText, "Kept");
    info.uFlags |= TTF_DI_SETITEM;
  };
  for (int pass = 0; pass < 2; ++pass) {
    Move(first, 10, 5);
    Advance(500);
    EXPECT_EQ(ShownText(), "Kept");
    Move(owner, 300, 200);
    Advance(2000);
  }
  EXPECT_EQ(asked, 1);
}

TEST_F(Tooltip, ToolsCarryTheirOwnTextOrAResourceAndCanBeUpdatedWhileShown) {
  TOOLINFOA area = Info(owner, 7, 0, MAKEINTRESOURCEA(101), GetModuleHandleA(nullptr));
  area.rect = {300, 100, 380, 140};
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&area)));
  Move(owner, 310, 110);
  Advance(500);
  EXPECT_EQ(ShownText(), "Tip from a resource");
  RECT before{};
  GetWindowRect(tip, &before);

  char longer[] = "A much longer text than the resource gave";
  TOOLINFOA update = Info(owner, 7, 0, longer);
  SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&update));
  EXPECT_TRUE(Shown());
  EXPECT_EQ(ShownText(), longer);
  RECT after{};
  GetWindowRect(tip, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_GT(after.right - after.left, before.right - before.left);

  // Outside the rectangle is outside the tool.
  Move(owner, 290, 110);
  EXPECT_FALSE(Shown());
  // A record too small for the fields every version has is refused.
  TOOLINFOA tooSmall = Info(owner, 8, 0, longer);
  tooSmall.cbSize = 16;
  EXPECT_FALSE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tooSmall)));
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(Tooltip, RemovingTheShownToolOrDeactivatingHidesTheTip) {
  AddWindowTool(first, kFirstText);
  AddWindowTool(second, kSecondText);
  AddWindowTool(first, kSecondText);  // the same tool again replaces it
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
  Move(first, 10, 5);
  Advance(500);
  ASSERT_TRUE(Shown());
  EXPECT_EQ(ShownText(), "Second tool");

  TOOLINFOA remove = Info(owner, reinterpret_cast<UINT_PTR>(first), TTF_IDISHWND, nullptr);
  SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&remove));
  EXPECT_FALSE(Shown());
  EXPECT_EQ(Codes().back(), static_cast<UINT>(TTN_POP));
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  Move(first, 12, 5);
  Advance(1000);
  EXPECT_FALSE(Shown());

  // Deactivated, the control hides its tip and ignores the pointer until activated again.
  Move(second, 10, 5);
  Advance(500);
  ASSERT_TRUE(Shown());
  SendMessageA(tip, TTM_ACTIVATE, FALSE, 0);
  EXPECT_FALSE(Shown());
  Move(owner, 300, 200);
  Move(second, 10, 5);
  Advance(1000);
  EXPECT_FALSE(Shown());
  SendMessageA(tip, TTM_ACTIVATE, TRUE, 0);
  Move(second, 11, 5);
  Advance(500);
  EXPECT_TRUE(Shown());
  SendMessageA(tip, TTM_POP, 0, 0);
  EXPECT_FALSE(Shown());
}

TEST_F(Tooltip, SubclassingToolsHearThePointerWithoutTheOwnerRelayingIt) {
  TOOLINFOA info = Info(owner, reinterpret_cast<UINT_PTR>(first), TTF_IDISHWND | TTF_SUBCLASS, kFirstText);
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_NE(GetWindowLongPtrA(first, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(OwnerProcedure));
  POINT inside{10, 5};
  ClientToScreen(first, &inside);
  display->MoveMouse(inside);
  Pump();
  Advance(500);
  EXPECT_TRUE(Shown());
  display->Click(inside);
  Pump();
  EXPECT_FALSE(Shown()) << "the click reached the tooltip too";

  // Removing the tool gives the window its own procedure back.
  SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(GetWindowLongPtrA(first, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(OwnerProcedure));
  // A tooltip destroyed with subclassing tools gives theirs back as well.
  SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  DestroyWindow(tip);
  EXPECT_EQ(GetWindowLongPtrA(first, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(OwnerProcedure));
}

TEST_F(Tooltip, WithoutAlwaysTipOnlyTheActiveWindowsToolsShowTips) {
  HWND quiet = CreateTip(WS_POPUP);
  TOOLINFOA info = Info(owner, reinterpret_cast<UINT_PTR>(first), TTF_IDISHWND, kFirstText);
  SendMessageA(quiet, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  HWND other = CreateWindowExA(0, "TipOwner", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  MSG move{first, WM_MOUSEMOVE, 0, MAKELPARAM(10, 5), 0, {}};
  SendMessageA(quiet, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  Advance(500);
  EXPECT_FALSE(IsWindowVisible(quiet));
  SetActiveWindow(owner);
  move.lParam = MAKELPARAM(40, 5);
  SendMessageA(quiet, TTM_RELAYEVENT, 0, 0);  // no message: ignored
  MSG away{owner, WM_MOUSEMOVE, 0, MAKELPARAM(300, 200), 0, {}};
  SendMessageA(quiet, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&away));
  SendMessageA(quiet, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  Advance(500);
  EXPECT_TRUE(IsWindowVisible(quiet));
  DestroyWindow(quiet);
  DestroyWindow(other);
}

TEST_F(Tooltip, TipsStayOnTheScreenAtItsEdges) {
  const SIZE screen{1024, 768};
  const SIZE size{120, 20};
  EXPECT_EQ(TipPosition({100, 100}, size, screen).x, 100);
  EXPECT_EQ(TipPosition({100, 100}, size, screen).y, 120);
  // At the right edge the tip moves left; at the bottom it goes above the pointer.
  EXPECT_EQ(TipPosition({1000, 100}, size, screen).x, 1024 - 120);
  EXPECT_EQ(TipPosition({100, 760}, size, screen).y, 740);
  EXPECT_EQ(TipPosition({-50, -40}, size, screen).x, 0);
  EXPECT_EQ(TipPosition({-50, -40}, size, screen).y, 0);

  // The real tip of a tool in the bottom right corner.
  HWND corner = CreateWindowExA(0, "TipOwner", "corner", WS_POPUP | WS_VISIBLE, 900, 700, 124, 68, nullptr, nullptr,
                                nullptr, nullptr);
  TOOLINFOA info = Info(corner, reinterpret_cast<UINT_PTR>(corner), TTF_IDISHWND, kSecondText);
  SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  Move(corner, 120, 60);
  Advance(500);
  ASSERT_TRUE(Shown());
  RECT rect{};
  GetWindowRect(tip, &rect);
  EXPECT_LE(rect.right, 1024);
  EXPECT_LE(rect.bottom, 760);
  EXPECT_GE(rect.left, 0);
  DestroyWindow(corner);
}

TEST(TooltipText, PrefixesAreRemovedUnlessTheControlKeepsThem) {
  EXPECT_EQ(TipDisplayText("&Save && close&", 0), "Save & close");
  EXPECT_EQ(TipDisplayText("&Save", TTS_NOPREFIX), "&Save");
}

TEST(CommonControls, InitialisingChecksTheRecordSize) {
  INITCOMMONCONTROLSEX good{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  INITCOMMONCONTROLSEX bad{3, ICC_BAR_CLASSES};
  EXPECT_TRUE(InitCommonControlsEx(&good));
  EXPECT_FALSE(InitCommonControlsEx(&bad));
  EXPECT_FALSE(InitCommonControlsEx(nullptr));
  WNDCLASSA description{};
  EXPECT_TRUE(GetClassInfoA(nullptr, TOOLTIPS_CLASSA, &description));
}

class GoldenTooltip : public Tooltip {
 protected:
  void SetUp() override {
    Tooltip::SetUp();
    PinFontFile(testing::PinnedFontPath());
  }
  void TearDown() override {
    PinFontFile("");
    Tooltip::TearDown();
  }
};

TEST_F(GoldenTooltip, ShownTip) {
  char text[] = "Search the archive (Ctrl+S)";
  AddWindowTool(first, text);
  Move(first, 10, 5);
  Advance(500);
  ASSERT_TRUE(Shown());
  EXPECT_EQ(testing::CompareWindowWithGolden(tip, "tooltip_shown"), "");
}

}  // namespace
}  // namespace vel::platform
