// A change of the system colours while windows are open: the runtime's brushes of system
// colours are made again and the controls repaint in the new colours.

#include <gtest/gtest.h>

#include "runtime/images/brush_cache.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "tests/runtime/controls/control_test_support.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

COLORREF BrushColor(HBRUSH brush) {
  LOGBRUSH logical{};
  if (GetObjectA(brush, sizeof logical, &logical) != sizeof logical) return CLR_INVALID;
  return logical.lbColor;
}

class SystemColourChange : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    services::ImageSupportService(services::kInitialiseCall);
    m_original = GetSysColor(COLOR_BTNFACE);
  }
  void TearDown() override {
    SetFace(m_original);
    services::ImageSupportService(services::kTerminateCall);
    ControlTest::TearDown();
  }
  static bool SetFace(COLORREF colour) {
    INT index = COLOR_BTNFACE;
    return SetSysColors(1, &index, &colour) != FALSE;
  }
  // One pixel of a control's window once what is waiting to be painted has been (0xRRGGBB):
  // nothing is invalidated here, so a window that was not told to repaint keeps its pixels.
  std::uint32_t PaintedPixel(std::int32_t field, int x, int y) {
    RedrawWindow(m_window.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    auto pixels = platform::testing::CaptureWindowPixels(Control(m_window, field)->Handle());
    return pixels ? pixels->Pixel(x, y) & 0x00FFFFFF : 0xFFFFFFFF;
  }

  ProcedureWindow m_window;
  COLORREF m_original = 0;
};

TEST_F(SystemColourChange, BrushesOfSystemColoursAndOpenControlsFollowTheNewColours) {
  Open(m_window, R"(window "W" at(0, 0, 120, 60) flags(pixel) attributes(control-look)
  prompt "Name:" at(5, 5, 60, 16)
end
)");
  ASSERT_TRUE(m_window.IsOpen());
  PendingEvents(m_window);
  images::ColorValue face = images::SystemColorValue(COLOR_BTNFACE);
  ASSERT_EQ(BrushColor(images::RuntimeBrushes().Current(face)), m_original);
  std::uint32_t before = PaintedPixel(1, 58, 2);

  COLORREF changed = RGB(10, 120, 30);
  ASSERT_TRUE(SetFace(changed));
  PendingEvents(m_window);
  EXPECT_EQ(BrushColor(images::RuntimeBrushes().Current(face)), changed);
  EXPECT_EQ(images::RuntimeBrushes().References(face), 1) << "the cache keeps its reference";
  EXPECT_EQ(PaintedPixel(1, 58, 2), 0x0A781Eu) << "the prompt repainted on the new face (was " << std::hex << before << ")";

  ASSERT_TRUE(SetFace(m_original));
  PendingEvents(m_window);
  EXPECT_EQ(BrushColor(images::RuntimeBrushes().Current(face)), m_original);
  EXPECT_EQ(PaintedPixel(1, 58, 2), before);
}

}  // namespace
}  // namespace vel::controls::testing
