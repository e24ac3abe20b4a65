// Opening windows from compiled definitions: the program's search window, the window class and
// client window, the styles, and the errors that end the program.

#include <gtest/gtest.h>

#include "platform/user/message_box_script.h"
#include "runtime/windows/client_window.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object_close.h"
#include "runtime/windows/window_object_open.h"
#include "runtime/windows/window_object_procedure.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

const char kSmallWindow[] =
    "definition \"test$SMALL\"\n"
    "window \"W\" title(\"Small\") at(0, 0, 100, 40) attributes(double)\n"
    "end\n";

class WindowOpen : public WindowTest {};

TEST_F(WindowOpen, TheSearchWindowOpensFromItsDefinitionAndClosesThroughCloseWindow) {
  AddDefinitions("skarvine$SKARV001", ReadSourceFile("app/skarv001.wdc"));
  char searchText[20] = {};
  char author[20] = {};
  char format[20] = {};
  short hits = 0;
  char andOr[20] = {};
  ProcedureWindow window;
  window.Open("skarvine$SKARV001", "P1$WINNAME", {searchText, author, format, &hits, andOr});
  ASSERT_TRUE(window.IsOpen());
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));

  char className[64] = {};
  GetClassNameA(window.Handle(), className, sizeof className);
  EXPECT_EQ(std::string(className),
            WindowClassNameFor(GetModuleHandleA(nullptr), window.Object().classNumber));
  DWORD style = static_cast<DWORD>(GetWindowLongA(window.Handle(), GWL_STYLE));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX) << "the window has an icon";
  EXPECT_FALSE(style & WS_BORDER) << "no border and no title";

  // The client window covers the whole client area of a window without toolbar or status bar.
  HWND client = window.Object().client;
  ASSERT_NE(client, nullptr);
  GetClassNameA(client, className, sizeof className);
  EXPECT_STREQ(className, kClientClassName);
  RECT outer{};
  RECT inner{};
  GetClientRect(window.Handle(), &outer);
  GetClientRect(client, &inner);
  EXPECT_EQ(inner.right, outer.right);
  EXPECT_EQ(inner.bottom, outer.bottom);
  EXPECT_GT(outer.right, 0);

  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(NextEvent(window), Number(EVENT_CloseWindow));
  EXPECT_EQ(NextEvent(window), -1);
  std::string closedClass = window.Object().className;
  window.Close();
  WNDCLASSA unregistered{};
  EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), closedClass.c_str(), &unregistered))
      << "the window's class goes with it";
}

TEST_F(WindowOpen, StylesFollowTheFrameAndBoxAttributes) {
  EXPECT_EQ(WindowStyleFor(0x0000, false, false, false), static_cast<DWORD>(WS_CLIPCHILDREN | WS_BORDER));
  EXPECT_EQ(WindowStyleFor(0x0020, false, false, false),
            static_cast<DWORD>(WS_CLIPCHILDREN | WS_THICKFRAME | WS_CAPTION));
  EXPECT_EQ(WindowStyleFor(0x0040, false, false, false), static_cast<DWORD>(WS_CLIPCHILDREN | WS_BORDER | 0x80));
  EXPECT_EQ(WindowStyleFor(0x0040, false, false, true), static_cast<DWORD>(WS_CLIPCHILDREN | WS_BORDER))
      << "a window with a menu gets no modal frame";
  EXPECT_EQ(WindowStyleFor(0x0040 | 0x0800, false, false, false),
            static_cast<DWORD>(WS_CLIPCHILDREN | WS_BORDER | WS_MAXIMIZEBOX | WS_SYSMENU));
  EXPECT_EQ(WindowStyleFor(0x0060, true, true, false),
            static_cast<DWORD>(WS_CLIPCHILDREN | WS_CAPTION | WS_MINIMIZEBOX | WS_SYSMENU));
  EXPECT_TRUE(WindowStyleFor(0x8000 | 0x4000, false, false, false) & WS_MINIMIZE);
  EXPECT_FALSE(WindowStyleFor(0x8000 | 0x4000, false, false, false) & WS_MAXIMIZE);
  EXPECT_EQ(WindowClassNameFor(reinterpret_cast<HINSTANCE>(0x400000), 7), "VelWin4194304Class7");
}

TEST_F(WindowOpen, ClosingTheInnerWindowMakesTheOpenerCurrentAgain) {
  AddDefinitions("test$SMALL", kSmallWindow);
  ProcedureWindow outer;
  outer.Open("test$SMALL", "W");
  ASSERT_EQ(NextEvent(outer), Number(EVENT_OpenWindow));
  {
    ProcedureWindow inner;
    inner.Open("test$SMALL", "W");
    ASSERT_EQ(NextEvent(inner), Number(EVENT_OpenWindow));
    EXPECT_NE(inner.Object().className, outer.Object().className) << "each window has its own class";
    EXPECT_EQ(TargetWindow(), &inner.Object());
    inner.Close();
  }
  EXPECT_EQ(TargetWindow(), &outer.Object());
  outer.Post(Number(EVENT_Notify));
  EXPECT_EQ(NextEvent(outer), Number(EVENT_Notify));
  outer.Close();
}

TEST_F(WindowOpen, SetTargetWindowPicksAWindowAndZeroRestoresTheCurrentOne) {
  AddDefinitions("test$SMALL", kSmallWindow);
  ProcedureWindow first;
  first.Open("test$SMALL", "W");
  ProcedureWindow second;
  second.Open("test$SMALL", "W");
  EXPECT_EQ(TargetWindow(), &second.Object());
  SetTargetWindow(&first.Object());
  EXPECT_EQ(TargetWindow(), &first.Object());
  SetTargetWindow(nullptr, 0);
  EXPECT_EQ(TargetWindow(), &second.Object());
  SetTargetWindow(nullptr, 1);
  EXPECT_EQ(TargetWindow(), &second.Object()) << "thread 1's current window";
  second.Close();
  first.Close();
}

TEST_F(WindowOpen, EndingTheSessionWhileAWindowIsOpenIsRefusedWithABox) {
  AddDefinitions("test$SMALL", kSmallWindow);
  ProcedureWindow window;
  window.Open("test$SMALL", "W");
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  platform::ClearMessageBoxLog();
  EXPECT_EQ(SendMessageA(window.Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
  std::vector<platform::MessageBoxRecord> boxes = platform::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kSessionEndText);
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL));
  EXPECT_EQ(boxes[0].caption, "runtime_windows_tests");
  EXPECT_TRUE(window.IsOpen()) << "the session goes on and so does the window";
  window.Close();
}

using WindowOpenDeathTest = WindowOpen;

TEST_F(WindowOpenDeathTest, WindowErrorsShowTheRuntimeErrorBoxAndEndTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  AddDefinitions("test$SMALL", kSmallWindow);
  EXPECT_EXIT(
      {
        ProcedureWindow window;
        window.Accept();
      },
      ::testing::ExitedWithCode(2), "ACCEPT loop requires a window");
  EXPECT_EXIT(
      {
        ProcedureWindow window;
        window.Open("test$SMALL", "W");
        window.Open("test$SMALL", "W");
      },
      ::testing::ExitedWithCode(2), "Window is already open");
  EXPECT_EXIT(
      {
        ProcedureWindow window;
        window.Close();
      },
      ::testing::ExitedWithCode(2), "Window is not open");
  EXPECT_EXIT(
      {
        ProcedureWindow window;
        window.Open("test$SMALL", "NOSUCHWINDOW");
      },
      ::testing::ExitedWithCode(2), "Internal error 02");
}

}  // namespace
}  // namespace vel::windows::testing
