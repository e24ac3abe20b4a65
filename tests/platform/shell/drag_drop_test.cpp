#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "win32.h"

namespace vel::platform {
namespace {

std::vector<HDROP> g_drops;

LRESULT CALLBACK DropProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DROPFILES) {
    g_drops.push_back(reinterpret_cast<HDROP>(wParam));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class DragDropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DropProcedure;
    windowClass.lpszClassName = "VelDropTarget";
    RegisterClassA(&windowClass);
    m_window = CreateWindowExA(0, "VelDropTarget", "drops", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300,
                               nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_window, nullptr);
    m_display = CurrentHeadlessDisplay();
    ASSERT_NE(m_display, nullptr);
    g_drops.clear();
  }
  void TearDown() override { DestroyWindow(m_window); }

  /// Drops the files at a client point and returns the handle the window received (null for none).
  HDROP Drop(POINT client, const std::vector<std::string>& paths) {
    g_drops.clear();
    ClientToScreen(m_window, &client);
    m_display->DropFiles(client, paths);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    return g_drops.size() == 1 ? g_drops[0] : nullptr;
  }

  HWND m_window = nullptr;
  HeadlessDisplay* m_display = nullptr;
};

TEST_F(DragDropTest, AcceptanceIsSwitchedOnAndOff) {
  EXPECT_EQ(Drop({5, 5}, {"/tmp/a"}), nullptr);
  DragAcceptFiles(m_window, TRUE);
  EXPECT_TRUE(GetWindowLongA(m_window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  HDROP drop = Drop({5, 5}, {"/tmp/a"});
  ASSERT_NE(drop, nullptr);
  DragFinish(drop);
  DragAcceptFiles(m_window, FALSE);
  EXPECT_EQ(Drop({5, 5}, {"/tmp/a"}), nullptr);
  DragAcceptFiles(nullptr, TRUE);  // no window: nothing happens
}

TEST_F(DragDropTest, NamesAreCountedMeasuredAndCopiedWithinTheBuffer) {
  DragAcceptFiles(m_window, TRUE);
  HDROP drop = Drop({12, 34}, {"/tmp/first.txt", "/tmp/caf\xE9 2.txt"});
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
  EXPECT_EQ(DragQueryFileA(drop, 1, nullptr, 0), 15u);
  char buffer[32];
  std::memset(buffer, 'X', sizeof buffer);
  EXPECT_EQ(DragQueryFileA(drop, 1, buffer, sizeof buffer), 15u);
  EXPECT_STREQ(buffer, "/tmp/caf\xE9 2.txt");
  // A short buffer gets what fits and its terminating zero, and nothing past its end.
  std::memset(buffer, 'X', sizeof buffer);
  EXPECT_EQ(DragQueryFileA(drop, 0, buffer, 5), 4u);
  EXPECT_STREQ(buffer, "/tmp");
  EXPECT_EQ(buffer[5], 'X');
  EXPECT_EQ(DragQueryFileA(drop, 0, buffer, 0), 0u);
  EXPECT_EQ(buffer[0], '/');
  EXPECT_EQ(DragQueryFileA(drop, 2, buffer, sizeof buffer), 0u);

  POINT point{};
  EXPECT_TRUE(DragQueryPoint(drop, &point));
  EXPECT_EQ(point.x, 12);
  EXPECT_EQ(point.y, 34);
  EXPECT_FALSE(DragQueryPoint(drop, nullptr));

  // After DragFinish the handle names nothing.
  DragFinish(drop);
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 0u);
  EXPECT_FALSE(DragQueryPoint(drop, &point));
  DragFinish(drop);
}

TEST_F(DragDropTest, ADropOnTheFrameIsReportedOutsideTheClientArea) {
  DragAcceptFiles(m_window, TRUE);
  RECT frame{};
  GetWindowRect(m_window, &frame);
  POINT client{frame.left + 2, frame.top + 2};
  ScreenToClient(m_window, &client);
  HDROP drop = Drop(client, {"/tmp/a"});
  ASSERT_NE(drop, nullptr);
  POINT point{};
  EXPECT_FALSE(DragQueryPoint(drop, &point));
  EXPECT_LT(point.y, 0);
  DragFinish(drop);
}

}  // namespace
}  // namespace vel::platform
