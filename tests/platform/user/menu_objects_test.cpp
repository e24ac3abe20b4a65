#include <gtest/gtest.h>

#include <string>

#include "platform/user/menu_popup.h"
#include "platform/user/menu_store.h"
#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

std::string TextAt(HMENU menu, UINT position, UINT flags = MF_BYPOSITION) {
  char buffer[64] = {};
  GetMenuStringA(menu, position, buffer, sizeof buffer, flags);
  return buffer;
}

// A bar with "&File" (Open 101, separator, Exit 102) and "&Edit" (Copy 201 with a "Paste
// special" submenu holding 301).
struct SampleBar {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU edit = CreatePopupMenu();
  HMENU special = CreatePopupMenu();
  SampleBar() {
    AppendMenuA(file, MF_STRING, 101, "&Open\tCtrl+O");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, 102, "E&xit");
    AppendMenuA(special, MF_STRING, 301, "As &text");
    AppendMenuA(edit, MF_STRING, 201, "&Copy");
    AppendMenuA(edit, MF_POPUP, reinterpret_cast<UINT_PTR>(special), "Paste &special");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
  }
};

TEST(MenuObjects, ItemsArePlacedByPositionOrBeforeACommandInWhicheverSubmenuHoldsIt) {
  SampleBar sample;
  EXPECT_EQ(GetMenuItemCount(sample.bar), 2);
  EXPECT_EQ(GetSubMenu(sample.bar, 1), sample.edit);
  EXPECT_EQ(GetSubMenu(sample.file, 0), nullptr);
  EXPECT_EQ(GetMenuItemID(sample.file, 2), 102u);
  EXPECT_EQ(GetMenuItemID(sample.bar, 0), static_cast<UINT>(-1));  // a popup has no command
  EXPECT_EQ(GetMenuItemID(sample.file, 9), static_cast<UINT>(-1));
  EXPECT_EQ(TextAt(sample.file, 0), "&Open\tCtrl+O");
  EXPECT_EQ(GetMenuState(sample.file, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));

  // By command, the search goes down into submenus and the new item lands there.
  ASSERT_TRUE(InsertMenuA(sample.bar, 301, MF_BYCOMMAND | MF_STRING, 300, "As &picture"));
  EXPECT_EQ(GetMenuItemCount(sample.special), 2);
  EXPECT_EQ(GetMenuItemID(sample.special, 0), 300u);
  EXPECT_EQ(TextAt(sample.bar, 301, MF_BYCOMMAND), "As &text");
  // Past the end by position appends; an unknown command is refused.
  ASSERT_TRUE(InsertMenuA(sample.file, 50, MF_BYPOSITION | MF_STRING, 103, "&Save"));
  EXPECT_EQ(GetMenuItemID(sample.file, 3), 103u);
  SetLastError(0);
  EXPECT_FALSE(InsertMenuA(sample.file, 999, MF_BYCOMMAND | MF_STRING, 104, "x"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MENU_ITEM_NOT_FOUND));
  ASSERT_TRUE(InsertMenuA(sample.file, 0, MF_BYPOSITION | MF_STRING, 100, "&New"));
  EXPECT_EQ(GetMenuItemID(sample.file, 0), 100u);

  // The popup item reports its submenu's item count in the high byte.
  EXPECT_EQ(GetMenuState(sample.bar, 1, MF_BYPOSITION), (2u << 8) | MF_POPUP);
  EXPECT_TRUE(DestroyMenu(sample.bar));
}

TEST(MenuObjects, CheckAndEnableReturnThePreviousStateAndMinusOneForMissingItems) {
  SampleBar sample;
  EXPECT_EQ(CheckMenuItem(sample.bar, 101, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(sample.bar, 101, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(GetMenuState(sample.file, 0, MF_BYPOSITION), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(sample.file, 2, MF_BYPOSITION | MF_UNCHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(sample.bar, 999, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(-1));

  EXPECT_EQ(EnableMenuItem(sample.bar, 102, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(sample.bar, 102, MF_BYCOMMAND | MF_DISABLED), MF_GRAYED);
  EXPECT_EQ(GetMenuState(sample.bar, 102, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED), static_cast<UINT>(MF_DISABLED));
  EXPECT_EQ(EnableMenuItem(sample.bar, 102, MF_BYCOMMAND | MF_ENABLED), MF_DISABLED);
  EXPECT_EQ(EnableMenuItem(sample.bar, 1, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);  // a popup item
  EXPECT_EQ(GetMenuState(sample.bar, 1, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(sample.bar, 555, MF_BYCOMMAND | MF_GRAYED), -1);

  AppendMenuA(sample.file, MF_STRING, 103, "A");
  AppendMenuA(sample.file, MF_STRING, 104, "B");
  EXPECT_TRUE(CheckMenuRadioItem(sample.file, 2, 4, 3, MF_BYPOSITION));
  EXPECT_EQ(GetMenuState(sample.file, 103, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_TRUE(CheckMenuRadioItem(sample.file, 102, 104, 104, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuState(sample.file, 103, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuState(sample.file, 104, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  DestroyMenu(sample.bar);
}

TEST(MenuObjects, ModifyDeleteAndRemoveTreatSubmenusAsWin32Does) {
  SampleBar sample;
  // Modify replaces type, state, command and text.
  ASSERT_TRUE(ModifyMenuA(sample.bar, 102, MF_BYCOMMAND | MF_STRING | MF_GRAYED, 110, "&Quit"));
  EXPECT_EQ(GetMenuItemID(sample.file, 2), 110u);
  EXPECT_EQ(TextAt(sample.file, 2), "&Quit");
  EXPECT_EQ(GetMenuState(sample.file, 2, MF_BYPOSITION), static_cast<UINT>(MF_GRAYED));
  // Replacing a popup item with a command destroys the submenu it opened.
  ASSERT_TRUE(ModifyMenuA(sample.edit, 1, MF_BYPOSITION | MF_STRING, 202, "Paste"));
  EXPECT_FALSE(IsMenu(sample.special));
  // RemoveMenu keeps the submenu alive; DeleteMenu destroys it.
  ASSERT_TRUE(RemoveMenu(sample.bar, 0, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(sample.file));
  EXPECT_EQ(GetMenuItemCount(sample.bar), 1);
  ASSERT_TRUE(DeleteMenu(sample.bar, 0, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sample.edit));
  EXPECT_EQ(GetMenuItemCount(sample.bar), 0);
  EXPECT_FALSE(DeleteMenu(sample.bar, 0, MF_BYPOSITION));
  // Deleting by command reaches into submenus.
  ASSERT_TRUE(AppendMenuA(sample.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sample.file), "&File"));
  ASSERT_TRUE(DeleteMenu(sample.bar, 101, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuItemCount(sample.file), 2);
  // Destroying the bar takes every submenu with it.
  EXPECT_TRUE(DestroyMenu(sample.bar));
  EXPECT_FALSE(IsMenu(sample.file));
}

TEST(MenuObjects, BadHandlesAndLoopsAreRefusedWithoutHarm) {
  HMENU stale = CreatePopupMenu();
  ASSERT_TRUE(DestroyMenu(stale));
  SetLastError(0);
  EXPECT_FALSE(DestroyMenu(stale));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  auto madeUp = reinterpret_cast<HMENU>(uintptr_t{0x12345});
  EXPECT_FALSE(AppendMenuA(madeUp, MF_STRING, 1, "x"));
  EXPECT_EQ(GetMenuItemCount(madeUp), -1);
  EXPECT_EQ(GetMenuState(madeUp, 0, MF_BYPOSITION), static_cast<UINT>(-1));
  EXPECT_EQ(CheckMenuItem(madeUp, 0, MF_BYPOSITION), static_cast<DWORD>(-1));
  EXPECT_EQ(GetMenuStringA(madeUp, 0, nullptr, 0, MF_BYPOSITION), 0);
  EXPECT_EQ(GetSubMenu(madeUp, 0), nullptr);
  EXPECT_FALSE(ModifyMenuA(madeUp, 0, MF_BYPOSITION, 1, "x"));
  EXPECT_FALSE(DeleteMenu(nullptr, 0, MF_BYPOSITION));

  HMENU outer = CreatePopupMenu();
  HMENU inner = CreatePopupMenu();
  // A popup item must name a live menu, and a menu may not end up inside itself.
  EXPECT_FALSE(AppendMenuA(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(stale), "Gone"));
  EXPECT_FALSE(AppendMenuA(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(outer), "Self"));
  ASSERT_TRUE(AppendMenuA(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), "Inner"));
  EXPECT_FALSE(AppendMenuA(inner, MF_POPUP, reinterpret_cast<UINT_PTR>(outer), "Loop"));
  AppendMenuA(inner, MF_STRING, 5, "Leaf");
  EXPECT_FALSE(ModifyMenuA(inner, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(outer), "Loop"));
  EXPECT_EQ(GetMenuItemID(inner, 0), 5u);
  EXPECT_EQ(CheckMenuItem(outer, 4242, MF_BYCOMMAND), static_cast<DWORD>(-1));  // search ends

  // Text longer than the buffer is cut; a null buffer asks for the length.
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 7, "Long item text");
  char small[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetMenuStringA(menu, 7, small, sizeof small, MF_BYCOMMAND), 4);
  EXPECT_STREQ(small, "Long");
  EXPECT_EQ(GetMenuStringA(menu, 7, nullptr, 0, MF_BYCOMMAND), 14);
  DestroyMenu(menu);
  DestroyMenu(outer);
  EXPECT_FALSE(IsMenu(inner));
}

TEST(MenuObjects, MnemonicIsTheLetterAfterASingleAmpersandBeforeAnyTab) {
  EXPECT_EQ(MnemonicOf("&File"), 'f');
  EXPECT_EQ(MnemonicOf("E&xit"), 'x');
  EXPECT_EQ(MnemonicOf("Save && &Close"), 'c');
  EXPECT_EQ(MnemonicOf("Plain\t&Ctrl"), 0);
  EXPECT_EQ(MnemonicOf("Ends with &"), 0);
}

TEST(MenuObjects, PopupItemsStackInColumnsThatBreaksStart) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "&Alpha\tCtrl+A");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, 2, "Beta");
  AppendMenuA(menu, MF_STRING | MF_MENUBREAK, 3, "Gamma");
  AppendMenuA(menu, MF_STRING | MF_MENUBARBREAK, 4, "Delta");
  PopupView view;
  view.menu = menu;
  LoadPopupView(view);
  ASSERT_EQ(view.boxes.size(), 5u);
  const RECT& alpha = view.boxes[0];
  EXPECT_EQ(view.boxes[1].top, alpha.bottom);
  EXPECT_LT(view.boxes[1].bottom - view.boxes[1].top, alpha.bottom - alpha.top);  // a separator is thin
  EXPECT_EQ(view.boxes[2].left, alpha.left);
  EXPECT_EQ(view.boxes[3].top, alpha.top);
  EXPECT_GE(view.boxes[3].left, alpha.right);
  EXPECT_EQ(view.boxes[4].top, alpha.top);
  EXPECT_GE(view.boxes[4].left, view.boxes[3].right + 8);
  // The second column has no shortcut, so it is narrower than the first.
  EXPECT_LT(view.boxes[3].right - view.boxes[3].left, alpha.right - alpha.left);
  EXPECT_EQ(view.size.cx, view.boxes[4].right + 3);
  EXPECT_EQ(view.size.cy, view.boxes[2].bottom + 3);
  DestroyMenu(menu);
}

class WindowMenus : public WindowTest {};

TEST_F(WindowMenus, SetMenuReservesTheBarAndChildWindowsHaveNone) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  RECT before{};
  GetClientRect(window, &before);
  SampleBar sample;
  ASSERT_TRUE(SetMenu(window, sample.bar));
  EXPECT_EQ(GetMenu(window), sample.bar);
  RECT after{};
  GetClientRect(window, &after);
  EXPECT_EQ(after.bottom, before.bottom - GetSystemMetrics(SM_CYMENU));
  ASSERT_TRUE(SetMenu(window, nullptr));
  GetClientRect(window, &after);
  EXPECT_EQ(after.bottom, before.bottom);
  // Taking the menu off does not destroy it; a stale handle is refused.
  EXPECT_TRUE(IsMenu(sample.bar));
  HMENU gone = CreateMenu();
  DestroyMenu(gone);
  EXPECT_FALSE(SetMenu(window, gone));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));

  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, window, 0, 0, 50, 50, 7);
  EXPECT_EQ(GetMenu(child), nullptr);
  EXPECT_FALSE(SetMenu(child, sample.bar));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CHILD_WINDOW_MENU));
  EXPECT_TRUE(DrawMenuBar(window));
  EXPECT_FALSE(DrawMenuBar(reinterpret_cast<HWND>(uintptr_t{0x10})));

  // The menu a window shows is destroyed with the window.
  ASSERT_TRUE(SetMenu(window, sample.bar));
  DestroyWindow(window);
  EXPECT_FALSE(IsMenu(sample.bar));
  EXPECT_FALSE(IsMenu(sample.special));
}

}  // namespace
}  // namespace vel::platform::usertest
