// The layout of a window's client area: status bar zones, the toolbar strip, the client window
// in between, and scrolling a selected control into view.

#include "runtime/windows/client_layout.h"

#include <gtest/gtest.h>

#include "runtime/windows/event_accessors.h"
#include "runtime/windows/status_bar.h"
#include "runtime/windows/window_status_text.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

const char kLayoutWindows[] =
    "definition \"test$LAYOUT\"\n"
    "window \"STATUS\" title(\"Status\") flags(pixel) at(10, 10, 400, 150) zones(-1, 90, 70) "
    "message(\"Ready\") "
    "attributes(resizable)\n"
    "  toolbar at(0, 0, 400, 24)\n"
    "  end\n"
    "  button \"One\" at(10, 10, 80, 24) message(\"The first\")\n"
    "  button \"Far\" at(500, 300, 80, 24)\n"
    "end\n";

RECT ClientRectIn(HWND child, HWND parent) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class ClientLayout : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    UseRecordingControls();
    AddDefinitions("test$LAYOUT", kLayoutWindows);
    m_window.Open("test$LAYOUT", "STATUS");
    ASSERT_TRUE(m_window.IsOpen());
    ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
  }

  std::vector<int> ZoneWidths() {
    std::vector<int> widths;
    for (const RECT& zone : m_window.Object().statusBar->ZoneRects())
      widths.push_back(zone.right - zone.left);
    return widths;
  }
  // Moves the focus to a field and delivers the EVENT:Selected its control would post.
  void Select(std::int32_t field) {
    SelectField(field);
    m_window.Post(Number(EVENT_Selected), field);
    ASSERT_EQ(NextEvent(m_window), Number(EVENT_Selected));
  }
  void ResizeClientTo(int width, int height) {
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(m_window.Handle(), GWL_STYLE)), FALSE, 0);
    SetWindowPos(m_window.Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
  }

  ProcedureWindow m_window;
};

TEST_F(ClientLayout, StatusZonesKeepTheirWidthsAndTheFirstTakesTheRestAtAnyWindowWidth) {
  ASSERT_NE(m_window.Object().statusBar, nullptr);
  EXPECT_EQ(ZoneWidths(), (std::vector<int>{400 - 160, 90, 70}));
  ResizeClientTo(600, 150);
  EXPECT_EQ(ZoneWidths(), (std::vector<int>{600 - 160, 90, 70}));
  ResizeClientTo(100, 150);
  EXPECT_EQ(ZoneWidths(), (std::vector<int>{0, 90, 70})) << "a narrow window leaves the -1 zone nothing";

  // The bar spans the bottom of the client area at its own height.
  HWND bar = m_window.Object().statusBar->Handle();
  RECT placed = ClientRectIn(bar, m_window.Handle());
  RECT client{};
  GetClientRect(m_window.Handle(), &client);
  EXPECT_EQ(placed.bottom, client.bottom);
  EXPECT_EQ(placed.bottom - placed.top, StatusBarHeight());
  EXPECT_EQ(placed.right - placed.left, client.right);
}

TEST_F(ClientLayout, ZoneWidthsAreInTheWindowsUnit) {
  UnitMetrics metrics;
  metrics.averageCharWidth = 6;
  metrics.charHeight = 13;
  UnitConverter dialogUnits(0, metrics);
  // 90 dialog units at 6 pixels a character are 90 * 12 / 8 = 135 pixels.
  EXPECT_EQ(StatusZoneWidths({-1, 90, 70}, dialogUnits, 500), (std::vector<int>{500 - 135 - 105, 135, 105}));
  EXPECT_EQ(StatusZoneWidths({-1, 50, -1}, UnitConverter(0x300, metrics), 151),
            (std::vector<int>{51, 50, 50}));
  EXPECT_TRUE(StatusZoneWidths({}, dialogUnits, 100).empty());
}

TEST_F(ClientLayout, TheClientWindowSitsBetweenToolbarAndStatusBarAndTakesTheToolbarsHeightWhenItHides) {
  WindowObject& window = m_window.Object();
  ASSERT_NE(window.toolbar, nullptr);
  RECT toolbar = ClientRectIn(window.toolbar, m_window.Handle());
  EXPECT_EQ(toolbar.top, 0);
  EXPECT_EQ(toolbar.bottom, 24);
  EXPECT_EQ(toolbar.right, 400);
  RECT client = ClientRectIn(window.client, m_window.Handle());
  EXPECT_EQ(client.top, 24);
  EXPECT_EQ(client.bottom, 150 - StatusBarHeight());
  EXPECT_EQ(client.right, 400);

  ShowWindowToolbar(window, false);
  client = ClientRectIn(window.client, m_window.Handle());
  EXPECT_EQ(client.top, 0);
  EXPECT_EQ(client.bottom, 150 - StatusBarHeight());
  ShowWindowToolbar(window, true);
  EXPECT_EQ(ClientRectIn(window.client, m_window.Handle()).top, 24);
}

TEST_F(ClientLayout, TheFirstZoneShowsTheMessageOfTheSelectedControlOrTheWindowsDefault) {
  WindowObject& window = m_window.Object();
  EXPECT_EQ(StatusText(window, 0), "Ready");
  Select(1);
  EXPECT_EQ(StatusText(window, 0), "The first");
  Select(2);
  EXPECT_EQ(StatusText(window, 0), "Ready");
  SetStatusText(window, 2, "Page 3");
  EXPECT_EQ(StatusText(window, 2), "Page 3");
  SetStatusText(window, 7, "nowhere");
  EXPECT_EQ(StatusText(window, 7), "");
}

TEST_F(ClientLayout, ASelectedControlOutsideTheClientWindowIsScrolledIntoView) {
  WindowObject& window = m_window.Object();
  HWND far = window.ControlOfField(2)->Handle();
  HWND near = window.ControlOfField(1)->Handle();
  Select(2);
  RECT visible{};
  GetClientRect(window.client, &visible);
  RECT placed = ClientRectIn(far, window.client);
  EXPECT_EQ(placed.right, visible.right);
  EXPECT_EQ(placed.bottom, visible.bottom);
  // Everything moved with it.
  RECT moved = ClientRectIn(near, window.client);
  EXPECT_EQ(moved.left - 10, placed.left - 500);
  // A control in view stays where it is.
  Select(2);
  EXPECT_EQ(ClientRectIn(far, window.client).left, placed.left);
}

}  // namespace
}  // namespace vel::windows::testing
