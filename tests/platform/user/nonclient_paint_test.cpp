#include <gtest/gtest.h>

#include <algorithm>

#include "platform/user/nonclient.h"
#include "tests/platform/user/control_test_support.h"

// The default frame drawing and caption buttons: what is drawn agrees with the hit test,
// activation changes the caption, and caption buttons act only when released over themselves.

namespace vel::platform::usertest {
namespace {

class NonClient : public ControlTest {
 protected:
  // A shown 300 by 200 host at (100, 100) with its frame laid out in window coordinates.
  HWND ShownFrame(DWORD style, const char* title, NonClientLayout* layout) {
    HWND window = MakeHost(style | WS_VISIBLE, 100, 100, 300, 200, title);
    Pump();
    *layout = LayoutNonClient(RECT{0, 0, 300, 200}, style, 0, false);
    return window;
  }
  // A point `dx`, `dy` inside a part of the frame, in screen coordinates.
  static POINT OnScreen(const RECT& part, int dx, int dy) {
    return {100 + part.left + dx, 100 + part.top + dy};
  }

  int SystemCommands(WPARAM command) {
    int count = 0;
    for (WPARAM seen : Host().systemCommands) count += seen == command ? 1 : 0;
    return count;
  }
};

TEST_F(NonClient, ActivationAndNewTextRedrawTheCaption) {
  HWND window = MakeHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, "");
  Pump();
  // Inside the caption, right of the icon, where no text is.
  POINT inCaption{150, 12};
  EXPECT_EQ(WindowPixel(window, inCaption.x, inCaption.y), GetSysColor(COLOR_ACTIVECAPTION));
  SendMessageA(window, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(WindowPixel(window, inCaption.x, inCaption.y), GetSysColor(COLOR_INACTIVECAPTION));
  SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
  EXPECT_EQ(WindowPixel(window, inCaption.x, inCaption.y), GetSysColor(COLOR_ACTIVECAPTION));
  // Activating another window makes this one's caption inactive.
  HWND other = MakeHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 200, 100, "Other");
  Pump();
  EXPECT_EQ(GetActiveWindow(), other);
  EXPECT_EQ(WindowPixel(window, inCaption.x, inCaption.y), GetSysColor(COLOR_INACTIVECAPTION));
  // New text shows at once, in the caption text colour.
  SetWindowTextA(window, "WWWWWWWWWWWWWWWWWWWWWWWWWW");
  int textPixels = 0;
  for (int x = 24; x < 200; ++x) {
    for (int y = 5; y < 20; ++y)
      textPixels += WindowPixel(window, x, y) == GetSysColor(COLOR_INACTIVECAPTIONTEXT);
  }
  EXPECT_GT(textPixels, 50);
}

TEST_F(NonClient, CaptionButtonsAreDrawnWhereTheHitTestFindsThem) {
  NonClientLayout layout;
  HWND window = ShownFrame(WS_OVERLAPPEDWINDOW, "Buttons", &layout);
  struct Expected {
    RECT button;
    LRESULT hit;
  };
  for (const Expected& expected :
       {Expected{layout.closeButton, HTCLOSE}, Expected{layout.maximizeButton, HTMAXBUTTON},
        Expected{layout.minimizeButton, HTMINBUTTON}}) {
    const RECT& b = expected.button;
    // Each button is a raised face: light top-left corner, black bottom-right corner.
    EXPECT_EQ(WindowPixel(window, b.left, b.top), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(WindowPixel(window, b.right - 1, b.bottom - 1), GetSysColor(COLOR_3DDKSHADOW));
    POINT centre = OnScreen(b, (b.right - b.left) / 2, (b.bottom - b.top) / 2);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)), expected.hit);
  }
  // Just left of the minimise button is caption again.
  POINT beside = OnScreen(layout.minimizeButton, -1, 5);
  EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(beside.x, beside.y)), HTCAPTION);
}

TEST_F(NonClient, ACaptionButtonActsOnlyWhenReleasedOverItself) {
  NonClientLayout layout;
  HWND window = ShownFrame(WS_OVERLAPPEDWINDOW, "Close me", &layout);
  POINT close = OnScreen(layout.closeButton, 8, 5);
  POINT minimize = OnScreen(layout.minimizeButton, 8, 5);
  // Pressed on close, released on minimise: nothing.
  Display().MouseDown(close);
  Display().MoveMouse(minimize);
  Display().MouseUp(minimize);
  Pump();
  EXPECT_TRUE(Host().systemCommands.empty());
  EXPECT_EQ(GetCapture(), nullptr);
  // Leaving and coming back before the release still closes.
  Display().AdvanceClock(1000);
  Display().MouseDown(close);
  Display().MoveMouse({close.x - 100, close.y + 100});
  Display().MoveMouse(close);
  Display().MouseUp(close);
  Pump();
  EXPECT_EQ(SystemCommands(SC_CLOSE), 1);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(NonClient, ACaptionButtonShowsPressedOnlyWhileHeldWithThePointerOnIt) {
  NonClientLayout local;
  HWND window = ShownFrame(WS_OVERLAPPEDWINDOW, "Pressed", &local);
  POINT onMax = OnScreen(local.maximizeButton, 8, 5);
  Host().probing = true;
  Host().probe = {local.maximizeButton.left, local.maximizeButton.top};
  Display().MouseDown(onMax);
  Display().MoveMouse({onMax.x + 1, onMax.y});
  Display().MoveMouse({onMax.x - 100, onMax.y + 100});
  Display().MouseUp({onMax.x - 100, onMax.y + 100});
  Pump();
  Host().probing = false;
  // Hit tests: the press itself (raised), the move on the button (sunken), the move away
  // (still sunken when asked) and the release.
  ASSERT_GE(Host().probed.size(), 3u);
  EXPECT_EQ(Host().probed.front(), GetSysColor(COLOR_3DLIGHT));
  EXPECT_NE(std::find(Host().probed.begin(), Host().probed.end(), GetSysColor(COLOR_3DSHADOW)),
            Host().probed.end());
  EXPECT_EQ(WindowPixel(window, local.maximizeButton.left, local.maximizeButton.top),
            GetSysColor(COLOR_3DLIGHT));
  EXPECT_TRUE(Host().systemCommands.empty());
  EXPECT_FALSE(IsZoomed(window));
}

TEST_F(NonClient, GreyedCaptionButtonsDoNothing) {
  NonClientLayout layout;
  HWND window = ShownFrame(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, "No maximise", &layout);
  Display().Click(OnScreen(layout.maximizeButton, 8, 5));
  Pump();
  EXPECT_TRUE(Host().systemCommands.empty());
  EXPECT_FALSE(IsZoomed(window));
  // The greyed glyph is embossed: the highlight copy shows.
  int highlight = 0;
  const RECT& b = layout.maximizeButton;
  for (int x = b.left + 2; x < b.right - 2; ++x) {
    for (int y = b.top + 2; y < b.bottom - 2; ++y) {
      highlight += WindowPixel(window, x, y) == GetSysColor(COLOR_3DHILIGHT);
    }
  }
  EXPECT_GT(highlight, 5);
}

TEST_F(NonClient, EdgesLieInsideTheCaptionAndKeepTheClientSize) {
  DWORD style = WS_OVERLAPPEDWINDOW;
  RECT window{0, 0, 300, 200};
  NonClientLayout plain = LayoutNonClient(window, style, 0, false);
  NonClientLayout edged = LayoutNonClient(window, style, WS_EX_CLIENTEDGE, true);
  EXPECT_TRUE(EqualRect(&plain.caption, &edged.caption));
  EXPECT_EQ(edged.menuBar.top, plain.caption.bottom);
  EXPECT_EQ(edged.client.top, edged.menuBar.bottom + 2);
  EXPECT_EQ(edged.client.left, plain.client.left + 2);
  RECT adjusted = edged.client;
  AdjustWindowRectEx(&adjusted, style, TRUE, WS_EX_CLIENTEDGE);
  EXPECT_TRUE(EqualRect(&adjusted, &window));
  // A window smaller than its frame keeps an empty client area, never a negative one.
  NonClientLayout tiny = LayoutNonClient(RECT{0, 0, 10, 10}, style, WS_EX_CLIENTEDGE, true);
  EXPECT_GE(tiny.client.right, tiny.client.left);
  EXPECT_GE(tiny.client.bottom, tiny.client.top);
}

}  // namespace
}  // namespace vel::platform::usertest
