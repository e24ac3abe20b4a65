#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/menu_bar.h"
#include "platform/user/menu_popup.h"
#include "platform/user/menu_tracking.h"
#include "tests/platform/user/menu_test_window.h"

namespace vel::platform::usertest {
namespace {

using ::testing::ElementsAre;

class MenuTracking : public MenuWindowTest {};

TEST_F(MenuTracking, AMouseSelectionSendsTheDocumentedMessagesAndPostsTheCommandLast) {
  Display().Click(BarItemCentre(0));
  Script({"click " + PopupItemPoint(m_file, BarPopupOrigin(0), 0)});
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#0 mouse", "initpopup file", "select 101 mouse",
                                   "select none", "exit", "command 101 posted"));
  EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MenuTracking, HoveringOpensSubmenusAndMovesAlongTheOpenBar) {
  PopupView file;
  file.menu = m_file;
  LoadPopupView(file);
  POINT fileOrigin = BarPopupOrigin(0);
  POINT recentOrigin{fileOrigin.x + file.size.cx - 3, fileOrigin.y + file.boxes[1].top - 3};
  Display().Click(BarItemCentre(0));
  Script({"move " + Point(BarItemCentre(1)), "move " + Point(BarItemCentre(0)),
          "move " + PopupItemPoint(m_file, fileOrigin, 1), "click " + PopupItemPoint(m_recent, recentOrigin, 1)});
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#0 mouse", "initpopup file", "select bar#1 mouse",
                                   "initpopup edit", "select bar#0 mouse", "initpopup file", "select file#1 mouse",
                                   "initpopup recent", "select 112 mouse", "select none", "exit",
                                   "command 112 posted"));
}

TEST_F(MenuTracking, AltThenArrowsAndEnterChooseFromTheKeyboard) {
  Display().PressKey(VK_MENU);
  Display().PressKey(VK_RIGHT);
  Display().PressKey(VK_DOWN);
  Display().PressKey(VK_DOWN);  // the greyed Paste is selected on the way
  Display().PressKey(VK_UP);
  Display().PressKey(VK_RETURN);
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#0", "select bar#1", "initpopup edit", "select 201",
                                   "select 202 grey", "select 201", "select none", "exit", "command 201 posted"));
}

TEST_F(MenuTracking, MnemonicsOpenABarItemAndChooseAnItem) {
  Display().PressKey('E', kAlt);
  Display().PressKey('C');
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#1", "initpopup edit", "select 201", "select none",
                                   "exit", "command 201 posted"));
  // A letter that is no mnemonic of the bar only beeps.
  MessageLog::Clear();
  Display().PressKey('Q', kAlt);
  Pump();
  EXPECT_TRUE(Trace().empty());
  // Inside a popup an unknown letter asks the owner with WM_MENUCHAR; MNC_CLOSE ends the loop.
  OverrideAnswer(WM_MENUCHAR, MAKELRESULT(0, MNC_CLOSE));
  Display().PressKey('F', kAlt);
  Display().PressKey('W');
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#0", "initpopup file", "select 101", "menuchar w",
                                   "select none", "exit"));
}

TEST_F(MenuTracking, EscapeClosesOneLevelAtATime) {
  Display().PressKey(VK_F10);     // F10 alone enters the bar as Alt does
  Display().PressKey(VK_DOWN);    // File opens with Open selected
  Display().PressKey(VK_DOWN);    // Recent
  Display().PressKey(VK_RIGHT);   // its submenu opens
  Display().PressKey(VK_ESCAPE);  // submenu closes
  Display().PressKey(VK_ESCAPE);  // File closes, the bar item stays selected
  Display().PressKey(VK_RIGHT);   // so the arrow moves along the bar
  Display().PressKey(VK_ESCAPE);  // and this ends the loop
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#0", "initpopup file", "select 101",
                                   "select file#1", "initpopup recent", "select 111", "select bar#1", "select none",
                                   "exit"));
  EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);
}

TEST_F(MenuTracking, PressingAltAgainClosesTheMenuAndDoesNotReopenIt) {
  Display().PressKey(VK_MENU);
  Display().PressKey(VK_DOWN);
  Display().PressKey(VK_MENU);
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#0", "initpopup file", "select 101", "select none",
                                   "exit"));
  EXPECT_FALSE(MenuLoopActive());
}

TEST_F(MenuTracking, AClickOutsideClosesTheMenuWithoutACommand) {
  Display().Click(BarItemCentre(0));
  Script({"click 900 700"});
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#0 mouse", "initpopup file", "select none", "exit"));
  EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  // A second click on the open bar item closes it as well.
  MessageLog::Clear();
  Display().Click(BarItemCentre(1));
  Script({"click " + Point(BarItemCentre(1))});
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#1 mouse", "initpopup edit", "select none", "exit"));
}

TEST_F(MenuTracking, GreyedItemsAreSelectableButNeverSendACommand) {
  Display().Click(BarItemCentre(0));
  Script({"click " + PopupItemPoint(m_file, BarPopupOrigin(0), 3), "key RETURN", "key ESCAPE", "key ESCAPE"});
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#0 mouse", "initpopup file", "select 102 grey mouse",
                                   "select none", "exit"));
  // A command item straight on the bar is chosen by clicking it.
  MessageLog::Clear();
  Display().Click(BarItemCentre(2));
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select 301 mouse", "select none", "exit", "command 301 posted"));
}

TEST_F(MenuTracking, StatesSetDuringInitMenuPopupShowInThePopupAndGuardTheCommand) {
  std::vector<MenuItem> shown;
  OnMessage([&](HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wParam) == m_file) {
      CheckMenuItem(m_file, 101, MF_BYCOMMAND | MF_CHECKED);
      EnableMenuItem(m_file, 101, MF_BYCOMMAND | MF_GRAYED);
    }
    if (message == WM_MENUSELECT && LOWORD(wParam) == 101) {
      HWND popup = FindWindowA("#32768", nullptr);
      auto* view = popup != nullptr ? reinterpret_cast<PopupView*>(GetWindowLongPtrA(popup, GWLP_USERDATA)) : nullptr;
      if (view != nullptr) shown = view->items;
    }
  });
  Display().PressKey(VK_MENU);
  Display().PressKey(VK_DOWN);
  Display().PressKey(VK_RETURN);  // Open is greyed now: nothing happens
  Display().PressKey(VK_ESCAPE);
  Display().PressKey(VK_ESCAPE);
  Pump();
  ASSERT_FALSE(shown.empty());
  EXPECT_TRUE(shown[0].IsChecked());
  EXPECT_FALSE(shown[0].IsEnabled());
  EXPECT_TRUE(MessageLog::Find(m_window, WM_COMMAND).empty());
}

TEST_F(MenuTracking, TrackPopupMenuReturnsTheCommandOrPostsIt) {
  HMENU context = CreatePopupMenu();
  AppendMenuA(context, MF_STRING, 401, "&Cut");
  AppendMenuA(context, MF_STRING, 402, "C&opy");
  Display().PressKey(VK_DOWN);
  Display().PressKey(VK_DOWN);
  Display().PressKey(VK_RETURN);
  EXPECT_EQ(TrackPopupMenu(context, TPM_RETURNCMD, 200, 200, 0, m_window, nullptr), 402);
  EXPECT_THAT(Trace(), ElementsAre("enter popup", "init context", "initpopup context", "select 401", "select 402",
                                   "select none", "exit popup"));
  // Without TPM_RETURNCMD the command is posted; TPM_NONOTIFY keeps the loop quiet.
  MessageLog::Clear();
  Display().PressKey('C');
  EXPECT_TRUE(TrackPopupMenu(context, 0, 200, 200, 0, m_window, nullptr));
  Pump();
  EXPECT_THAT(Trace(), ElementsAre("enter popup", "init context", "initpopup context", "select 401", "select none",
                                   "exit popup", "command 401 posted"));
  MessageLog::Clear();
  Display().PressKey('O');
  EXPECT_EQ(TrackPopupMenu(context, TPM_NONOTIFY | TPM_RETURNCMD, 200, 200, 0, m_window, nullptr), 402);
  EXPECT_TRUE(Trace().empty());
  EXPECT_FALSE(TrackPopupMenu(reinterpret_cast<HMENU>(uintptr_t{0x77}), 0, 0, 0, 0, m_window, nullptr));
  DestroyMenu(context);
}

TEST_F(MenuTracking, ALoopEndsWhenItsOwnerIsDestroyed) {
  OnMessage([&](HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITMENUPOPUP) DestroyWindow(window);
  });
  Display().PressKey(VK_MENU);
  Display().PressKey(VK_DOWN);
  Pump();
  EXPECT_FALSE(IsWindow(m_window));
  EXPECT_FALSE(MenuLoopActive());
  EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);
}

TEST_F(MenuTracking, EndMenuAndAQuitRequestEndTheLoopAndTheQuitIsKeptForTheProgram) {
  OnMessage([&](HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITMENUPOPUP) EndMenu();
  });
  SendMessageA(m_window, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#0", "initpopup file", "select 101", "select none",
                                   "exit"));
  EXPECT_FALSE(EndMenu());  // no loop to end now

  MessageLog::Clear();
  OnMessage([&](HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITMENU) PostQuitMessage(7);
  });
  SendMessageA(m_window, WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_THAT(Trace(), ElementsAre("enter", "init bar", "select bar#0", "select none", "exit"));
  MSG quit{};
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
}

TEST_F(MenuTracking, PopupsNearTheScreenEdgeStayOnTheScreen) {
  HMENU context = CreatePopupMenu();
  AppendMenuA(context, MF_STRING, 401, "A rather long item");
  AppendMenuA(context, MF_STRING, 402, "Another");
  RECT shown{};
  OnMessage([&](HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_MENUSELECT && HIWORD(wParam) != 0xFFFF) GetWindowRect(FindWindowA("#32768", nullptr), &shown);
  });
  Display().PressKey(VK_DOWN);
  Display().PressKey(VK_ESCAPE);
  SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_EQ(TrackPopupMenu(context, TPM_RETURNCMD, screen.cx - 5, screen.cy - 5, 0, m_window, nullptr), 0);
  EXPECT_GT(shown.right, shown.left);
  EXPECT_LE(shown.right, screen.cx);
  EXPECT_LE(shown.bottom, screen.cy);
  EXPECT_GE(shown.left, 0);
  DestroyMenu(context);
}

}  // namespace
}  // namespace vel::platform::usertest
