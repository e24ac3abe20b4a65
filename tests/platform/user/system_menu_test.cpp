#include <gtest/gtest.h>

#include "platform/user/nonclient.h"
#include "tests/platform/user/message_log.h"

// The window menu: its standard items, their states, and opening it from the keyboard and
// from the caption icon.

namespace vel::platform::usertest {
namespace {

class SystemMenu : public WindowTest {
 protected:
  static HWND ShownWindow(DWORD style) { return MakeShownWindow(style); }
};

TEST_F(SystemMenu, HoldsTheStandardCommandsAndCanBeReverted) {
  HWND window = ShownWindow(WS_OVERLAPPEDWINDOW);
  HMENU menu = GetSystemMenu(window, FALSE);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetSystemMenu(window, FALSE), menu);
  ASSERT_EQ(GetMenuItemCount(menu), 5);
  EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(SC_RESTORE));
  EXPECT_EQ(GetMenuItemID(menu, 4), static_cast<UINT>(SC_CLOSE));
  // A program may change its copy; reverting gives the standard one back.
  DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
  EXPECT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_EQ(GetSystemMenu(window, TRUE), nullptr);
  EXPECT_FALSE(IsMenu(menu));
  EXPECT_EQ(GetMenuItemCount(GetSystemMenu(window, FALSE)), 5);
  // No window menu without WS_SYSMENU, and none for a window that is not there.
  EXPECT_EQ(GetSystemMenu(ShownWindow(WS_POPUP), FALSE), nullptr);
  DestroyWindow(window);
  EXPECT_EQ(GetSystemMenu(window, FALSE), nullptr);
}

TEST_F(SystemMenu, AltSpaceOpensItAndOnlyEnabledCommandsAreSent) {
  HWND window = ShownWindow(WS_OVERLAPPEDWINDOW);
  // Restore is greyed for a normal window: choosing it does nothing and Esc closes the menu.
  Display().PressKey(VK_SPACE, kAlt);
  Display().PressKey('R');
  Display().PressKey(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(IsIconic(window));
  EXPECT_FALSE(IsZoomed(window));
  EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);
  // Minimize is enabled.
  MessageLog::Clear();
  Display().PressKey(VK_SPACE, kAlt);
  Display().PressKey('N');
  Pump();
  EXPECT_TRUE(IsIconic(window));
  ASSERT_FALSE(MessageLog::Find(window, WM_SYSCOMMAND).empty());
}

TEST_F(SystemMenu, AClickOnTheCaptionIconOpensIt) {
  HWND window = ShownWindow(WS_OVERLAPPEDWINDOW);
  RECT outer{};
  GetWindowRect(window, &outer);
  NonClientLayout layout = LayoutNonClient(outer, WS_OVERLAPPEDWINDOW, 0, false);
  ASSERT_FALSE(IsRectEmpty(&layout.systemMenuIcon));
  Display().Click({(layout.systemMenuIcon.left + layout.systemMenuIcon.right) / 2,
                   (layout.systemMenuIcon.top + layout.systemMenuIcon.bottom) / 2});
  Display().PressKey('X');
  Pump();
  EXPECT_TRUE(IsZoomed(window));
}

}  // namespace
}  // namespace vel::platform::usertest
