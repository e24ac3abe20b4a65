#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/gdi/png_codec.h"
#include "tests/platform/user/message_log.h"

// The picture of the whole screen that tests and input scripts take: visible windows in their
// stacking order, on black.

namespace vel::platform::usertest {
namespace {

class ScreenPicture : public WindowTest {
 protected:
  static void FillClient(HWND window, COLORREF colour) {
    HDC dc = GetDC(window);
    RECT client{};
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
  }
  static uint32_t Rgb(const Surface& picture, POINT screenPoint) {
    return picture.Pixel(screenPoint.x, screenPoint.y) & 0xFFFFFF;
  }
  static POINT ClientCentre(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(window, &centre);
    return centre;
  }
};

TEST_F(ScreenPicture, ShowsVisibleWindowsTopmostLastOnBlack) {
  HWND below = MakeShownWindow(WS_POPUP);
  HWND above = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 250, 150, 100, 100);
  HWND hidden = MakeWindow(WS_POPUP, nullptr, 500, 100, 50, 50);
  Pump();
  FillClient(below, RGB(255, 0, 0));
  FillClient(above, RGB(0, 0, 255));
  FillClient(hidden, RGB(0, 255, 0));
  const std::string path = "screen_picture_test_" + std::to_string(getpid()) + ".png";
  ASSERT_TRUE(Display().WriteScreenPicture(path));
  std::unique_ptr<Surface> picture = ReadPngFile(path);
  unlink(path.c_str());
  ASSERT_NE(picture, nullptr);
  SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  EXPECT_EQ(picture->Width(), screen.cx);
  EXPECT_EQ(picture->Height(), screen.cy);
  EXPECT_EQ(Rgb(*picture, {110, 110}), 0xFF0000u);
  EXPECT_EQ(Rgb(*picture, ClientCentre(above)), 0x0000FFu);
  EXPECT_EQ(Rgb(*picture, {520, 120}), 0x000000u);
  EXPECT_EQ(Rgb(*picture, {5, 5}), 0x000000u);
  // A script step names the file; without one it is refused.
  std::string error;
  EXPECT_FALSE(Display().QueueScript("snapshot", &error));
  EXPECT_NE(error.find("file name"), std::string::npos) << error;
}

}  // namespace
}  // namespace vel::platform::usertest
