// Golden images of what the window manager draws itself: the report preview window's status
// bar with its three zones.

#include <gtest/gtest.h>

#include "platform/gdi/font_resolver.h"
#include "runtime/windows/status_bar.h"
#include "runtime/windows/window_status_text.h"
#include "tests/runtime/windows/window_test_support.h"
#include "tests/support/golden.h"

namespace vel::windows::testing {
namespace {

class GoldenWindows : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    platform::PinFontFile(platform::testing::PinnedFontPath());
  }
  void TearDown() override {
    WindowTest::TearDown();
    platform::PinFontFile("");
  }
};

TEST_F(GoldenWindows, ThePreviewWindowsStatusBarShowsItsThreeZones) {
  AddDefinitions("skarvine$SKARV_SF", ReadSourceFile("app/skarv_sf.wdc"));
  std::int32_t variables[10] = {};
  ProcedureWindow preview;
  preview.Open("skarvine$SKARV_SF", "P9$PREVIEW:WINDOW",
               {&variables[0], &variables[1], &variables[2], &variables[3], &variables[4], &variables[5],
                &variables[6], &variables[7], &variables[8], &variables[9]});
  ASSERT_TRUE(preview.IsOpen());
  ASSERT_EQ(NextEvent(preview), Number(EVENT_OpenWindow));
  // Shown maximised as its definition asks; restored, it has the size its definition gives.
  ShowWindow(preview.Handle(), SW_RESTORE);
  SetWindowPos(preview.Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetStatusText(preview.Object(), 1, "Page 1 of 3");
  SetStatusText(preview.Object(), 2, "100%");
  EventsWhileInputIsTaken(preview);
  ASSERT_NE(preview.Object().statusBar, nullptr);
  EXPECT_EQ(
      platform::testing::CompareWindowWithGolden(preview.Object().statusBar->Handle(), "preview_status_bar"),
      "");
  preview.Close();
}

}  // namespace
}  // namespace vel::windows::testing
