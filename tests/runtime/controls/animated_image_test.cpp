// An animated GIF on an image control: the control registers as the picture's viewer, and on the
// headless clock each frame's delay later the picture asks the control to repaint, which then
// shows the next frame as giflib decodes it.

#include <gtest/gtest.h>

#include <string>

#include "platform/display/headless/headless_display.h"
#include "platform/gdi/png_codec.h"
#include "runtime/controls/image_control.h"
#include "runtime/images/gif_image.h"
#include "runtime/windows/event_codes.h"
#include "tests/runtime/controls/control_test_support.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

std::string GifPath(const std::string& file) {
  return std::string(VEL_SOURCE_DIR) + "/tests/data/images/gif/" + file;
}

class AnimatedImages : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    platform::CurrentHeadlessDisplay()->Clock().SetManual(true);
  }
  void TearDown() override {
    platform::CurrentHeadlessDisplay()->Clock().SetManual(false);
    ControlTest::TearDown();
  }

  // Moves the clock on and lets the window handle what came of it, painting included.
  void Wait(std::uint64_t milliseconds) {
    platform::CurrentHeadlessDisplay()->AdvanceClock(milliseconds);
    PendingEvents(m_window);
    UpdateWindow(Control(m_window, 1)->Handle());
  }

  // How many of the control's pixels differ from giflib's canvas after frame `frame`.
  int DifferencesFromFrame(int frame) {
    auto reference = platform::ReadPngFile(GifPath("loop_forever.gif." + std::to_string(frame) + ".png"));
    auto shown = platform::testing::CaptureWindowPixels(Control(m_window, 1)->Handle());
    if (reference == nullptr || shown == nullptr) return -1;
    int differences = 0;
    for (int y = 0; y < reference->Height(); ++y) {
      for (int x = 0; x < reference->Width(); ++x) {
        differences += (shown->Pixel(x, y) & 0xFFFFFF) != (reference->Pixel(x, y) & 0xFFFFFF) ? 1 : 0;
      }
    }
    return differences;
  }

  ProcedureWindow m_window;
};

TEST_F(AnimatedImages, EachFrameAppearsOnTheControlAfterThePreviousFramesDelay) {
  Open(m_window, R"(window "W" at(0, 0, 100, 60) flags(pixel)
  image ")" + GifPath("loop_forever.gif") + R"(" at(5, 5, default, default)
end
)");
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
  auto* image = dynamic_cast<ImageControl*>(Control(m_window, 1));
  ASSERT_NE(image, nullptr);
  auto* gif = dynamic_cast<images::GifImage*>(image->Picture());
  ASSERT_NE(gif, nullptr);
  EXPECT_EQ(gif->ViewerCount(), 1u);
  EXPECT_TRUE(gif->Animating());
  Wait(0);
  EXPECT_EQ(DifferencesFromFrame(0), 0);
  // Delays of 10, 20 and 5 hundredths, then round again.
  Wait(99);
  EXPECT_EQ(DifferencesFromFrame(0), 0);
  Wait(1);
  EXPECT_EQ(DifferencesFromFrame(1), 0);
  Wait(200);
  EXPECT_EQ(DifferencesFromFrame(2), 0);
  Wait(49);
  EXPECT_EQ(DifferencesFromFrame(2), 0);
  Wait(1);
  EXPECT_EQ(DifferencesFromFrame(0), 0);
  // A new picture name: the control is no longer the old picture's viewer.
  image->SetText("");
  EXPECT_EQ(image->Picture(), nullptr);
}

}  // namespace
}  // namespace vel::controls::testing
