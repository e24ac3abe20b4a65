#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/gdi/font_resolver.h"
#include "platform/user/menu_bar.h"
#include "tests/platform/user/menu_test_window.h"
#include "tests/support/golden.h"

// Golden images of the menu bar in its three looks and of an open popup, rendered with one
// pinned font file.

namespace vel::platform::usertest {
namespace {

using vel::platform::testing::CaptureWindowPixels;
using vel::platform::testing::CompareWithGolden;


// The bar strip of a window as it shows now.
std::unique_ptr<Surface> CaptureBar(HWND window) {
  std::unique_ptr<Surface> pixels = CaptureWindowPixels(window);
  if (pixels == nullptr) return nullptr;
  RECT strip = MenuBarStrip(window);
  RECT outer{};
  GetWindowRect(window, &outer);
  OffsetRect(&strip, -outer.left, -outer.top);
  auto bar = std::make_unique<Surface>(strip.right - strip.left, strip.bottom - strip.top);
  for (int y = 0; y < bar->Height(); ++y) {
    for (int x = 0; x < bar->Width(); ++x) bar->SetPixel(x, y, pixels->Pixel(strip.left + x, strip.top + y));
  }
  return bar;
}

class GoldenMenus : public MenuWindowTest {
 protected:
  void SetUp() override {
    PinFontFile(testing::PinnedFontPath());
    MenuWindowTest::SetUp();
    // A greyed bar item, and a popup with a checked item and a shortcut on top of the others.
    InsertMenuA(m_bar, 301, MF_BYCOMMAND | MF_STRING | MF_GRAYED, 501, "&Tools");
    InsertMenuA(m_file, 0, MF_BYPOSITION | MF_STRING | MF_CHECKED, 103, "&Save\tCtrl+S");
    DrawMenuBar(m_window);
    Pump();
    MessageLog::Clear();
  }
  void TearDown() override {
    MenuWindowTest::TearDown();
    PinFontFile("");
  }
};

TEST_F(GoldenMenus, MenuBarAtRestSelectedAndOpen) {
  std::vector<std::unique_ptr<Surface>> looks;
  looks.push_back(CaptureBar(m_window));
  std::unique_ptr<Surface> popup;
  OnMessage([&](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MENUSELECT) return;
    bool barItem = reinterpret_cast<HMENU>(lParam) == m_bar;
    if (barItem && LOWORD(wParam) == 1) looks.push_back(CaptureBar(m_window));  // Edit, raised
    if (!barItem && LOWORD(wParam) == 103) looks.push_back(CaptureBar(m_window));  // File open, sunken
    if (!barItem && LOWORD(wParam) == 2) popup = CaptureWindowPixels(FindWindowA("#32768", nullptr));
  });
  for (BYTE key : {VK_MENU, VK_RIGHT, VK_LEFT, VK_DOWN, VK_DOWN, VK_DOWN, VK_ESCAPE, VK_ESCAPE}) Display().PressKey(key);
  Pump();
  ASSERT_EQ(looks.size(), 3u);
  for (const auto& look : looks) ASSERT_NE(look, nullptr);
  Surface strips(looks[0]->Width(), 3 * looks[0]->Height());
  for (size_t index = 0; index < looks.size(); ++index) {
    int top = static_cast<int>(index) * looks[0]->Height();
    for (int y = 0; y < looks[index]->Height(); ++y) {
      for (int x = 0; x < looks[index]->Width(); ++x) strips.SetPixel(x, top + y, looks[index]->Pixel(x, y));
    }
  }
  EXPECT_EQ(CompareWithGolden(strips, "menu_bar"), "");
  // The popup: a checked item with its shortcut, the submenu item selected, a separator and a
  // greyed item.
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(CompareWithGolden(*popup, "menu_popup"), "");
}

}  // namespace
}  // namespace vel::platform::usertest
