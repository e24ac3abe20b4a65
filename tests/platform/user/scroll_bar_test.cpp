// A window's own scroll bars: the range, page and position rules of SetScrollInfo and its
// companions, the bar showing only while the range needs scrolling, where its thumb lies, and
// the codes a click or a drag on it sends.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/scroll_bar_tracking.h"
#include "tests/platform/user/control_test_support.h"

namespace vel::platform::usertest {
namespace {

// The WM_VSCROLL requests the scrolled window received, as (code, position).
std::vector<std::pair<int, int>> g_requests;

// A window that scrolls as a list does: lines by one, pages by its page, the thumb to where it
// was dragged.
// Paints of the scrolled window while the mouse still held its bar.
int g_paintsWhileHeld = 0;

LRESULT CALLBACK ScrolledProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && GetCapture() == window) ++g_paintsWhileHeld;
  if (message != WM_VSCROLL) return DefWindowProcA(window, message, wParam, lParam);
  int code = LOWORD(wParam);
  int thumb = static_cast<short>(HIWORD(wParam));
  g_requests.emplace_back(code, thumb);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(window, SB_VERT, &info);
  int position = info.nPos;
  switch (code) {
    case SB_LINEUP: --position; break;
    case SB_LINEDOWN: ++position; break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = thumb; break;
    default: break;
  }
  SetScrollPos(window, SB_VERT, position, TRUE);
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

class ScrollBars : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    g_requests.clear();
    g_paintsWhileHeld = 0;
    WNDCLASSA scrolled{};
    scrolled.lpfnWndProc = ScrolledProcedure;
    scrolled.lpszClassName = "ScrollBarTestWindow";
    scrolled.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClassA(&scrolled);
  }
  void TearDown() override {
    ControlTest::TearDown();
    UnregisterClassA("ScrollBarTestWindow", nullptr);
  }
  // A shown borderless popup of 100 by 120 pixels at (200, 100).
  HWND Scrolled() {
    HWND window = CreateWindowExA(0, "ScrollBarTestWindow", "", WS_POPUP | WS_VISIBLE, 200, 100, 100, 120,
                                  nullptr, nullptr, nullptr, nullptr);
    Pump();
    return window;
  }
  static void SetBar(HWND window, int min, int max, UINT page, int position, UINT extra = 0) {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | extra, min, max, page, position, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    // A bar that comes or goes changes the frame, which is drawn again with the next messages.
    Pump();
  }
  static bool HasBar(HWND window) { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VSCROLL) != 0; }
  // A point `dy` pixels down a part of the bar, in screen coordinates.
  static POINT OnBar(HWND window, const RECT& part, int dy) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return POINT{frame.left + (part.left + part.right) / 2, frame.top + part.top + dy};
  }
  static VerticalScrollBar Geometry(HWND window) {
    ScrollBarState state = {};
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window, SB_VERT, &info);
    state.min = info.nMin;
    state.max = info.nMax;
    state.page = info.nPage;
    state.pos = info.nPos;
    return LayoutWindowScrollBar(ScrollBarArea(window, SB_VERT), state);
  }
};

TEST_F(ScrollBars, RangePageAndPositionAreKeptWithinEachOther) {
  HWND window = Scrolled();
  int low = -1;
  int high = -1;
  EXPECT_TRUE(GetScrollRange(window, SB_VERT, &low, &high));
  EXPECT_EQ(high - low, 100) << "a window's bar starts with the range 0 to 100";
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 9, 3, 20, 0};
  EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, TRUE), 7) << "the last page ends at the range's end";
  SCROLLINFO read{sizeof read, SIF_ALL, -1, -1, 0, -1, -1};
  ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &read));
  EXPECT_EQ(read.nMin, 0);
  EXPECT_EQ(read.nMax, 9);
  EXPECT_EQ(read.nPage, 3u);
  EXPECT_EQ(read.nPos, 7);

  EXPECT_EQ(SetScrollPos(window, SB_VERT, -5, TRUE), 7) << "answers the position before";
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 0);
  info = SCROLLINFO{sizeof info, SIF_PAGE, 0, 0, 50, 0, 0};
  SetScrollInfo(window, SB_VERT, &info, TRUE);
  GetScrollInfo(window, SB_VERT, &read);
  EXPECT_EQ(read.nPage, 10u) << "a page is never more than the whole range";

  EXPECT_TRUE(SetScrollRange(window, SB_VERT, 5, 50, TRUE));
  EXPECT_TRUE(GetScrollRange(window, SB_VERT, &low, &high));
  EXPECT_EQ(low, 5);
  EXPECT_EQ(high, 50);
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 5);

  // Bars the platform does not provide, and bad arguments, answer nothing.
  EXPECT_EQ(SetScrollInfo(window, SB_CTL, &info, TRUE), 0);
  EXPECT_EQ(SetScrollInfo(window, SB_VERT, nullptr, TRUE), 0);
  EXPECT_FALSE(GetScrollInfo(window, SB_VERT, nullptr));
  EXPECT_FALSE(GetScrollRange(window, SB_VERT, nullptr, &high));
  EXPECT_EQ(SetScrollPos(nullptr, SB_VERT, 1, TRUE), 0);
  DestroyWindow(window);
}

TEST_F(ScrollBars, TheBarShowsOnlyWhileTheRangeNeedsScrolling) {
  HWND window = Scrolled();
  RECT client{};
  SetBar(window, 0, 4, 5, 0);
  EXPECT_FALSE(HasBar(window)) << "five rows in a page of five";
  SetBar(window, 0, 5, 5, 0);
  EXPECT_TRUE(HasBar(window));
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 100 - GetSystemMetrics(SM_CXVSCROLL)) << "the bar takes its width from the client area";
  SetBar(window, 0, 2, 5, 0);
  EXPECT_FALSE(HasBar(window));
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 100);
  SetBar(window, 0, 2, 5, 0, SIF_DISABLENOSCROLL);
  EXPECT_TRUE(HasBar(window)) << "asked to stay, the bar shows disabled";
  EXPECT_TRUE(SetScrollRange(window, SB_VERT, 0, 0, TRUE));
  EXPECT_FALSE(HasBar(window)) << "an empty range hides it";
  EXPECT_TRUE(ShowScrollBar(window, SB_BOTH, TRUE));
  EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), WS_VSCROLL | WS_HSCROLL);
  // The bars meet at a square that belongs to neither.
  auto hit = [window](int x, int y) { return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(200 + x, 100 + y)); };
  int bar = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(hit(100 - bar / 2, 120 - bar - 1), HTVSCROLL);
  EXPECT_EQ(hit(100 - bar - 1, 120 - bar / 2), HTHSCROLL);
  EXPECT_EQ(hit(100 - bar / 2, 120 - bar / 2), HTBORDER);
  EXPECT_TRUE(ShowScrollBar(window, SB_BOTH, FALSE));
  EXPECT_FALSE(HasBar(window));
  DestroyWindow(window);
}

TEST(ScrollBarLayout, RangePageAndPositionPlaceTheThumb) {
  ScrollBarState state;
  state.min = 10;
  state.max = 19;
  state.page = 5;
  state.pos = 10;
  VerticalScrollBar layout = LayoutWindowScrollBar(RECT{0, 0, 16, 100}, state);
  EXPECT_EQ(layout.upArrow.bottom, 16);
  EXPECT_EQ(layout.downArrow.top, 84);
  EXPECT_EQ(layout.thumb.top, 16);
  EXPECT_EQ(layout.thumb.bottom, 16 + 68 * 5 / 10) << "the page's share of the track";
  state.pos = 15;
  layout = LayoutWindowScrollBar(RECT{0, 0, 16, 100}, state);
  EXPECT_EQ(layout.thumb.bottom, 84) << "the last position puts the thumb at the end";
  // Without a page the thumb stands for one position; a bar kept disabled shows none.
  state.page = 0;
  layout = LayoutWindowScrollBar(RECT{0, 0, 16, 100}, state);
  EXPECT_EQ(layout.thumb.bottom - layout.thumb.top, 8);
  state.keptDisabled = true;
  layout = LayoutWindowScrollBar(RECT{0, 0, 16, 100}, state);
  EXPECT_TRUE(IsRectEmpty(&layout.thumb));
  EXPECT_FALSE(layout.enabled);
}

TEST_F(ScrollBars, ArrowsAndTrackSendLineAndPageCodes) {
  HWND window = Scrolled();
  SetBar(window, 0, 99, 10, 0);
  ASSERT_TRUE(HasBar(window));
  VerticalScrollBar geometry = Geometry(window);
  Display().Click(OnBar(window, geometry.downArrow, 4));
  Pump();
  EXPECT_EQ(g_requests, (std::vector<std::pair<int, int>>{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 1);

  g_requests.clear();
  geometry = Geometry(window);
  Display().Click(OnBar(window, geometry.thumb, geometry.downArrow.top - geometry.thumb.top - 2));
  Pump();
  EXPECT_EQ(g_requests, (std::vector<std::pair<int, int>>{{SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 11);

  g_requests.clear();
  geometry = Geometry(window);
  Display().Click(OnBar(window, geometry.upArrow, 4));
  Pump();
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 10);
  DestroyWindow(window);
}

TEST_F(ScrollBars, AHeldArrowRepeatsUntilReleasedOrLeft) {
  HWND window = Scrolled();
  SetBar(window, 0, 99, 10, 0);
  VerticalScrollBar geometry = Geometry(window);
  POINT arrow = OnBar(window, geometry.downArrow, 4);
  // The first repeat waits longer than the ones after it.
  Display().MouseDown(arrow);
  ASSERT_TRUE(Display().QueueScript("wait 300; wait 100; wait 60; wait 60; up " + std::to_string(arrow.x) + " " +
                                    std::to_string(arrow.y)));
  Pump();
  std::vector<std::pair<int, int>> held{{SB_LINEDOWN, 0}, {SB_LINEDOWN, 0}, {SB_LINEDOWN, 0}, {SB_LINEDOWN, 0}};
  held.emplace_back(SB_ENDSCROLL, 0);
  EXPECT_EQ(g_requests, held);
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 4);

  // Moved off the arrow, the press stops repeating until the pointer comes back.
  g_requests.clear();
  Display().MouseDown(arrow);
  ASSERT_TRUE(Display().QueueScript("move " + std::to_string(arrow.x - 60) + " " + std::to_string(arrow.y) +
                                    "; wait 500; up " + std::to_string(arrow.x - 60) + " " + std::to_string(arrow.y)));
  Pump();
  EXPECT_EQ(g_requests, (std::vector<std::pair<int, int>>{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
  DestroyWindow(window);
}

TEST_F(ScrollBars, DraggingTheThumbTracksThenSetsThePosition) {
  HWND window = Scrolled();
  SetBar(window, 0, 99, 10, 0);
  VerticalScrollBar geometry = Geometry(window);
  POINT grab = OnBar(window, geometry.thumb, 2);
  Display().MouseDown(grab);
  // Far past the bar's end, the thumb stays at the last position.
  std::string x = std::to_string(grab.x);
  ASSERT_TRUE(Display().QueueScript("move " + x + " " + std::to_string(grab.y + 40) + "; move " + x + " " +
                                    std::to_string(grab.y + 1000) + "; up " + x + " " + std::to_string(grab.y + 1000)));
  Pump();
  ASSERT_EQ(g_requests.size(), 4u);
  EXPECT_EQ(g_requests[0].first, SB_THUMBTRACK);
  EXPECT_GT(g_requests[0].second, 0);
  EXPECT_LT(g_requests[0].second, 90);
  EXPECT_EQ(g_requests[1], std::make_pair(SB_THUMBTRACK, 90));
  EXPECT_EQ(g_requests[2], std::make_pair(SB_THUMBPOSITION, 90));
  EXPECT_EQ(g_requests[3], std::make_pair(SB_ENDSCROLL, 0));
  EXPECT_GT(g_paintsWhileHeld, 0) << "the window shows its scrolled content during the drag";
  EXPECT_EQ(GetScrollPos(window, SB_VERT), 90);
  SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
  GetScrollInfo(window, SB_VERT, &info);
  EXPECT_EQ(info.nTrackPos, 90);
  DestroyWindow(window);
}

TEST_F(ScrollBars, TheBarIsDrawnInTheClassicLook) {
  HWND window = Scrolled();
  SetBar(window, 0, 99, 10, 0);
  VerticalScrollBar geometry = Geometry(window);
  // The arrow button's raised edge, its black arrow, and the thumb's face.
  EXPECT_EQ(WindowPixel(window, geometry.upArrow.left, geometry.upArrow.top), GetSysColor(COLOR_3DLIGHT));
  int arrowX = (geometry.upArrow.left + geometry.upArrow.right) / 2;
  int arrows = 0;
  // Inside the button's edges only: its outer shadow is black too.
  for (int y = geometry.upArrow.top + 2; y < geometry.upArrow.bottom - 2; ++y)
    arrows += WindowPixel(window, arrowX, y) == GetSysColor(COLOR_BTNTEXT);
  EXPECT_EQ(arrows, 4);
  EXPECT_EQ(WindowPixel(window, arrowX, (geometry.thumb.top + geometry.thumb.bottom) / 2), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(WindowPixel(window, arrowX, geometry.thumb.bottom + 5), GetSysColor(COLOR_SCROLLBAR));
  DestroyWindow(window);
}

}  // namespace
}  // namespace vel::platform::usertest
