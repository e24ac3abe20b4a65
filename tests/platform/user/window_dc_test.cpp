#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/gdi/png_codec.h"
#include "platform/gdi/window_framebuffers.h"
#include "platform/user/window_dc.h"
#include "win32.h"

// Window DCs draw into the top-level window's framebuffer, clipped to what each window shows.
// Every window of these tests paints its client area in the colour kept in its user data.

namespace vel::platform {
namespace {

LRESULT CALLBACK PaintInColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA)));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

class WindowDc : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PaintInColour;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "GdiPaintTest";
    RegisterClassA(&windowClass);
  }
  void TearDown() override {
    for (HWND window : m_windows) DestroyWindow(window);
  }

  HWND Make(DWORD style, HWND parent, int x, int y, int width, int height, COLORREF colour) {
    HWND window = CreateWindowExA(0, "GdiPaintTest", "", style, x, y, width, height, parent, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    if (parent == nullptr) m_windows.push_back(window);
    return window;
  }

  static void Pump() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

  static COLORREF At(HWND topLevel, int x, int y) {
    auto framebuffer = FindTopLevelFramebuffer(topLevel);
    return framebuffer ? ColorFromPixel(framebuffer->Pixel(x, y) & 0xFFFFFF) : CLR_INVALID;
  }

  std::vector<HWND> m_windows;
};

const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);

TEST_F(WindowDc, ChildrenAndSiblingsClipAndUpdatesRepaintOnlyWhatIsDue) {
  HWND top = Make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, nullptr, 100, 100, 100, 80, kGrey);
  Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, top, 10, 10, 40, 40, kRed);
  HWND lower = Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, top, 30, 30, 40, 40, kBlue);
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  Pump();
  EXPECT_EQ(At(top, 5, 5), kGrey);
  EXPECT_EQ(At(top, 15, 15), kRed);
  EXPECT_EQ(At(top, 45, 20), kRed);
  EXPECT_EQ(At(top, 35, 35), kRed);  // Siblings made first stay on top, as dialog controls do.
  EXPECT_EQ(At(top, 55, 55), kBlue);
  EXPECT_EQ(At(top, 75, 75), kGrey);

  // Only the invalidated corner takes the parent's new colour.
  SetWindowLongPtrA(top, GWLP_USERDATA, static_cast<LONG_PTR>(kGreen));
  RECT corner{0, 0, 10, 10};
  InvalidateRect(top, &corner, FALSE);
  Pump();
  EXPECT_EQ(At(top, 5, 5), kGreen);
  EXPECT_EQ(At(top, 20, 5), kGrey);
  EXPECT_EQ(At(top, 15, 15), kRed);

  // A snapshot of a child is its own rectangle of the framebuffer.
  std::string path = ::testing::TempDir() + "window_dc_child.png";
  ASSERT_TRUE(SnapshotWindow(lower, path));
  auto image = ReadPngFile(path);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 40);
  EXPECT_EQ(image->Height(), 40);
  EXPECT_EQ(image->Pixel(35, 35) & 0xFFFFFF, PixelFromColor(kBlue));
  EXPECT_EQ(image->Pixel(2, 2) & 0xFFFFFF, PixelFromColor(kRed));  // The window above shows.
  std::remove(path.c_str());
}

TEST_F(WindowDc, ClientAndWindowDcsStartAtTheirOwnOrigins) {
  HWND window = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 50, 50, 200, 150, kGrey);
  Pump();
  RECT screen{};
  GetWindowRect(window, &screen);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  HDC dc = GetDC(window);
  ASSERT_NE(dc, nullptr);
  SetPixel(dc, 0, 0, kRed);
  SetPixel(dc, -1, -1, kBlue);  // Outside the client area: clipped away.
  ReleaseDC(window, dc);
  EXPECT_EQ(At(window, client.x - screen.left, client.y - screen.top), kRed);
  EXPECT_NE(At(window, client.x - screen.left - 1, client.y - screen.top - 1), kBlue);
  HDC whole = GetWindowDC(window);
  SetPixel(whole, 0, 0, kGreen);
  ReleaseDC(window, whole);
  EXPECT_EQ(At(window, 0, 0), kGreen);

  // A hidden window shows nothing, so its DC draws nothing.
  ShowWindow(window, SW_HIDE);
  HDC hidden = GetDC(window);
  SetPixel(hidden, 1, 1, kBlue);
  ReleaseDC(window, hidden);
  EXPECT_NE(At(window, client.x - screen.left + 1, client.y - screen.top + 1), kBlue);
}

}  // namespace
}  // namespace vel::platform
