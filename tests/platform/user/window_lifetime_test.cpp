#include <gtest/gtest.h>

#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

using ::testing::ElementsAre;

class WindowLifetime : public WindowTest {};

TEST_F(WindowLifetime, HiddenTopLevelWindowIsCreatedInTheDocumentedOrder) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(window, nullptr);
  EXPECT_THAT(MessageLog::NamesFor(window),
              ElementsAre("WM_GETMINMAXINFO", "WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_SIZE", "WM_MOVE"));
  // WM_SIZE carries the client size and WM_MOVE the client origin: a sizing frame of 4 and a
  // caption of 19 around a 300x200 window at (100,100).
  auto size = MessageLog::Find(window, WM_SIZE);
  ASSERT_EQ(size.size(), 1u);
  EXPECT_EQ(size[0].wParam, static_cast<WPARAM>(SIZE_RESTORED));
  EXPECT_EQ(LOWORD(size[0].lParam), 292);
  EXPECT_EQ(HIWORD(size[0].lParam), 173);
  auto move = MessageLog::Find(window, WM_MOVE);
  EXPECT_EQ(LOWORD(move[0].lParam), 104);
  EXPECT_EQ(HIWORD(move[0].lParam), 123);
  EXPECT_FALSE(IsWindowVisible(window));
  char text[16];
  EXPECT_EQ(GetWindowTextA(window, text, sizeof(text)), 3);
  EXPECT_STREQ(text, "log");
}

TEST_F(WindowLifetime, VisibleTopLevelWindowIsShownActivatedAndFocused) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(window, nullptr);
  // The caption asks for the window's icon (WM_GETICON) whenever it is drawn.
  EXPECT_THAT(MessageLog::NamesFor(window, {WM_GETMINMAXINFO, WM_NCCALCSIZE, WM_SETCURSOR, WM_NCHITTEST, WM_GETICON}),
              ElementsAre("WM_NCCREATE", "WM_CREATE", "WM_SIZE", "WM_MOVE", "WM_SHOWWINDOW", "WM_WINDOWPOSCHANGING",
                          "WM_ACTIVATEAPP", "WM_NCACTIVATE", "WM_ACTIVATE", "WM_SETFOCUS", "WM_WINDOWPOSCHANGED"));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetActiveWindow(), window);
  EXPECT_EQ(GetFocus(), window);
}

TEST_F(WindowLifetime, ChildCreationNotifiesTheParentAndKeepsCreationOrderAsZOrder) {
  HWND parent = MakeWindow(WS_OVERLAPPEDWINDOW);
  HWND first = MakeWindow(WS_CHILD | WS_VISIBLE, parent, 10, 10, 50, 20, 101);
  HWND second = MakeWindow(WS_CHILD | WS_VISIBLE, parent, 10, 40, 50, 20, 102);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_THAT(MessageLog::NamesFor(first, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SHOWWINDOW}),
              ElementsAre("WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_SIZE", "WM_MOVE"));
  auto notes = MessageLog::Find(parent, WM_PARENTNOTIFY);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].wParam, MAKEWPARAM(WM_CREATE, 101));
  EXPECT_EQ(reinterpret_cast<HWND>(notes[0].lParam), first);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_EQ(GetParent(first), parent);
  EXPECT_EQ(GetDlgCtrlID(second), 102);
  EXPECT_EQ(GetDlgItem(parent, 102), second);
}

TEST_F(WindowLifetime, CreationFailsCleanlyWhenTheWindowRefuses) {
  OverrideAnswer(WM_CREATE, -1);
  HWND refused = MakeWindow(WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(refused, nullptr);
  auto entries = MessageLog::Entries();
  ASSERT_FALSE(entries.empty());
  HWND handle = entries.front().window;
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(MessageLog::NamesFor(handle).back(), "WM_NCDESTROY");

  MessageLog::Clear();
  OverrideAnswer(WM_CREATE, 0);
  OverrideAnswer(WM_NCCREATE, FALSE);
  EXPECT_EQ(MakeWindow(WS_OVERLAPPEDWINDOW), nullptr);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateWindowExA(0, kLogClass, "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowLifetime, DestroyGoesDownWithWmDestroyAndUpWithWmNcDestroy) {
  HWND parent = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, parent, 0, 0, 50, 50, 7);
  HWND grandchild = MakeWindow(WS_CHILD | WS_VISIBLE, child, 0, 0, 10, 10, 8);
  HWND sibling = MakeWindow(WS_CHILD | WS_VISIBLE, parent, 60, 0, 50, 50, 9);
  SetFocus(grandchild);
  MessageLog::Clear();
  ASSERT_TRUE(DestroyWindow(parent));
  // Every window of the tree hears WM_DESTROY, parents first, before any hears WM_NCDESTROY,
  // which comes back up children first (the order a reference implementation shows).
  EXPECT_THAT(MessageLog::Tagged(
                  {{parent, "parent"}, {child, "child"}, {grandchild, "grandchild"}, {sibling, "sibling"}},
                  {WM_DESTROY, WM_NCDESTROY, WM_KILLFOCUS}),
              ElementsAre("WM_KILLFOCUS@grandchild", "WM_DESTROY@parent", "WM_DESTROY@child",
                          "WM_DESTROY@grandchild", "WM_DESTROY@sibling", "WM_NCDESTROY@grandchild",
                          "WM_NCDESTROY@child", "WM_NCDESTROY@sibling", "WM_NCDESTROY@parent"));
  EXPECT_FALSE(IsWindow(sibling));
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_FALSE(DestroyWindow(parent));
}

TEST_F(WindowLifetime, DestroyingAChildTellsItsParentFirst) {
  HWND parent = MakeWindow(WS_OVERLAPPEDWINDOW);
  HWND child = MakeWindow(WS_CHILD, parent, 0, 0, 50, 50, 5);
  HWND quiet = MakeWindow(WS_CHILD, parent, 0, 0, 50, 50, 6, nullptr, WS_EX_NOPARENTNOTIFY);
  MessageLog::Clear();
  DestroyWindow(child);
  DestroyWindow(quiet);
  EXPECT_THAT(MessageLog::Tagged({{parent, "parent"}, {child, "child"}}, {WM_PARENTNOTIFY, WM_DESTROY}),
              ElementsAre("WM_PARENTNOTIFY@parent", "WM_DESTROY@child", "WM_DESTROY@?"));
  EXPECT_EQ(MessageLog::Find(parent, WM_PARENTNOTIFY)[0].wParam, MAKEWPARAM(WM_DESTROY, 5));
}

TEST_F(WindowLifetime, ActivationGoesBackToTheOwnerWhenAnOwnedWindowCloses) {
  HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND popup = MakeWindow(WS_POPUP | WS_CAPTION | WS_VISIBLE, owner, 150, 150, 100, 100);
  EXPECT_EQ(GetActiveWindow(), popup);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
  EXPECT_EQ(GetParent(popup), owner);
  MessageLog::Clear();
  SendMessageA(popup, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_EQ(GetFocus(), owner);
  auto activate = MessageLog::Find(owner, WM_ACTIVATE);
  ASSERT_EQ(activate.size(), 1u);
  EXPECT_EQ(LOWORD(activate[0].wParam), WA_ACTIVE);
}

TEST_F(WindowLifetime, DestroyingTheOwnerTakesOwnedWindowsFirst) {
  HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW);
  HWND popup = MakeWindow(WS_POPUP, owner, 0, 0, 10, 10);
  MessageLog::Clear();
  DestroyWindow(owner);
  EXPECT_THAT(MessageLog::Tagged({{owner, "owner"}, {popup, "popup"}}, {WM_DESTROY}),
              ElementsAre("WM_DESTROY@popup", "WM_DESTROY@owner"));
}

}  // namespace
}  // namespace vel::platform::usertest
