// Where windows open when their definitions leave it open, and which windows a modal window
// disables and gives back.

#include <gtest/gtest.h>

#include "runtime/windows/default_placement.h"
#include "runtime/windows/status_bar.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

const char kPlacedWindows[] =
    "definition \"test$PLACED\"\n"
    "window \"NOWHERE\" title(\"No place\") flags(pixel)\n"
    "  button \"One\" at(20, 10, 100, 30)\n"
    "  button \"Two\" at(20, 50, 200, 30)\n"
    "end\n"
    "window \"EMPTY\" title(\"Empty\")\n"
    "end\n"
    "window \"SIZED\" title(\"Sized\") flags(pixel) at(default, default, 180, 60)\n"
    "end\n"
    "window \"MAIN\" title(\"Main\") flags(pixel) at(10, 10, 400, 300)\n"
    "end\n"
    "window \"MODAL\" title(\"Modal\") flags(pixel) at(50, 50, 200, 100) attributes(modal + double)\n"
    "end\n";

class WindowPlacement : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    AddDefinitions("test$PLACED", kPlacedWindows);
  }
  static RECT ClientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
  }
  static RECT OuterRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
  }
};

TEST_F(WindowPlacement, AWindowWithoutPositionOrSizeFitsItsControlsAwayFromTheCorner) {
  ProcedureWindow window;
  window.Open("test$PLACED", "NOWHERE");
  ASSERT_TRUE(window.IsOpen());
  RECT client = ClientRect(window.Handle());
  // The controls reach x 220 and y 80; the smallest offsets (20, 10) are kept on the far side.
  EXPECT_EQ(client.right, 240);
  EXPECT_EQ(client.bottom, 90);
  RECT outer = OuterRect(window.Handle());
  EXPECT_GT(outer.left, 0);
  EXPECT_GT(outer.top, 0);

  ProcedureWindow empty;
  empty.Open("test$PLACED", "EMPTY");
  RECT emptyClient = ClientRect(empty.Handle());
  EXPECT_GE(emptyClient.right, 160) << "an empty window still gets a usable size";
  EXPECT_GE(emptyClient.bottom, 60);
  empty.Close();
  window.Close();
}

TEST_F(WindowPlacement, AWindowWithASizeButNoPositionIsCentredOverItsOpener) {
  ProcedureWindow main;
  main.Open("test$PLACED", "MAIN");
  ProcedureWindow sized;
  sized.Open("test$PLACED", "SIZED");
  RECT client = ClientRect(sized.Handle());
  EXPECT_EQ(client.right, 180);
  EXPECT_EQ(client.bottom, 60);
  RECT opener = OuterRect(main.Handle());
  RECT outer = OuterRect(sized.Handle());
  EXPECT_EQ((outer.left + outer.right) / 2, (opener.left + opener.right) / 2);
  EXPECT_EQ((outer.top + outer.bottom) / 2, (opener.top + opener.bottom) / 2);
  sized.Close();
  main.Close();
}

TEST_F(WindowPlacement, WindowsWithoutAnOpenerCascadeAndStayOnTheScreen) {
  POINT first = DefaultWindowPosition(SIZE{100, 100}, nullptr);
  POINT second = DefaultWindowPosition(SIZE{100, 100}, nullptr);
  EXPECT_TRUE(second.x != first.x && second.y != first.y) << "each goes a step down and right of the last";
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  for (int i = 0; i < 10; ++i) {
    POINT at = DefaultWindowPosition(SIZE{width - 10, height - 10}, nullptr);
    EXPECT_GE(at.x, 0);
    EXPECT_LE(at.x, 10);
    EXPECT_LE(at.y, 10);
  }
  POINT huge = DefaultWindowPosition(SIZE{width * 2, height * 2}, nullptr);
  EXPECT_EQ(huge.x, 0);
  EXPECT_EQ(huge.y, 0);
}

TEST_F(WindowPlacement, ClosingANestedModalWindowLeavesTheOuterModalWindowsWindowsDisabled) {
  ProcedureWindow main;
  main.Open("test$PLACED", "MAIN");
  ASSERT_EQ(NextEvent(main), Number(EVENT_OpenWindow));
  ProcedureWindow outer;
  outer.Open("test$PLACED", "MODAL");
  ASSERT_EQ(NextEvent(outer), Number(EVENT_OpenWindow));
  EXPECT_FALSE(IsWindowEnabled(main.Handle()));
  {
    ProcedureWindow inner;
    inner.Open("test$PLACED", "MODAL");
    ASSERT_EQ(NextEvent(inner), Number(EVENT_OpenWindow));
    EXPECT_FALSE(IsWindowEnabled(outer.Handle()));
    EXPECT_FALSE(IsWindowEnabled(main.Handle()));
    inner.Close();
  }
  EXPECT_TRUE(IsWindowEnabled(outer.Handle())) << "the inner window gives back what it disabled";
  EXPECT_FALSE(IsWindowEnabled(main.Handle())) << "the outer modal window still holds the main window";
  outer.Close();
  EXPECT_TRUE(IsWindowEnabled(main.Handle()));
  main.Close();
}

}  // namespace
}  // namespace vel::windows::testing
