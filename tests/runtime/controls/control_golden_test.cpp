// Golden images of the graphic controls: boxes with square and round corners, filled, framed
// and transparent, drawn on the headless display with the pinned font.

#include <gtest/gtest.h>

#include "runtime/windows/event_codes.h"
#include "tests/runtime/controls/control_test_support.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

class GoldenControls : public ControlTest {
 protected:
  // Opens the window, lets the first ACCEPT step show it, paints it and compares its client
  // window with the golden.
  void ExpectGolden(const std::string& declarations, const std::string& golden) {
    ProcedureWindow window;
    Open(window, declarations);
    ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
    RedrawWindow(window.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(platform::testing::CompareWindowWithGolden(window.Object().client, golden), "");
  }
};

TEST_F(GoldenControls, BoxesSquareAndRoundFilledFramedAndTransparent) {
  ExpectGolden(
      R"(window "W" at(0, 0, 220, 90) flags(pixel) attributes(no-border) colours(0xE0E0E0, default, default)
  box at(10, 10, 60, 30)
  box at(80, 10, 60, 30) colours(0x00C0FF, 0x800000, default) extra(3)
  box at(150, 10, 60, 30) attributes(round) colours(0xFFFFFF, 0x008000, default) extra(2)
  box at(10, 50, 60, 30) attributes(round)
  box at(80, 50, 60, 30) attributes(round + transparent) colours(0x0000FF, 0xFF0000, default) extra(4)
  box at(150, 50, 60, 30) colours(0x80000002, 0x80000008, default) extra(1)
end
)",
      "control_boxes");
}

}  // namespace
}  // namespace vel::controls::testing
