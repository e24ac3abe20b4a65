#include <gtest/gtest.h>

#include "platform/gdi/font_resolver.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/support/golden.h"

// DrawFrameControl: the faces every state of check boxes, radio buttons and caption buttons
// can take, side by side in one golden image, and the properties the drawing must keep.

namespace vel::platform::testing {
namespace {

TEST(GoldenFrameControls, EveryFaceInEveryState) {
  Canvas canvas(8 + 9 * 20, 8 + 3 * 20, RGB(192, 192, 192));
  const UINT kStates[] = {0,
                          DFCS_CHECKED,
                          DFCS_PUSHED,
                          DFCS_INACTIVE,
                          DFCS_CHECKED | DFCS_INACTIVE,
                          DFCS_CHECKED | DFCS_BUTTON3STATE,
                          DFCS_FLAT,
                          DFCS_FLAT | DFCS_CHECKED,
                          DFCS_MONO | DFCS_CHECKED};
  for (int i = 0; i < 9; ++i) {
    RECT check{4 + i * 20, 4, 4 + i * 20 + 13, 17};
    DrawFrameControl(canvas.Dc(), &check, DFC_BUTTON, DFCS_BUTTONCHECK | kStates[i]);
    RECT radio{4 + i * 20, 24, 4 + i * 20 + 12, 36};
    DrawFrameControl(canvas.Dc(), &radio, DFC_BUTTON, DFCS_BUTTONRADIO | kStates[i]);
  }
  const UINT kCaption[] = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE};
  for (int i = 0; i < 4; ++i) {
    RECT normal{4 + i * 40, 44, 20 + i * 40, 58};
    DrawFrameControl(canvas.Dc(), &normal, DFC_CAPTION, kCaption[i]);
    RECT pushed{22 + i * 40, 44, 38 + i * 40, 58};
    DrawFrameControl(canvas.Dc(), &pushed, DFC_CAPTION,
                     kCaption[i] | ((i % 2) ? DFCS_INACTIVE : DFCS_PUSHED));
  }
  EXPECT_EQ(CompareWithGolden(canvas.Pixels(), "frame_controls"), "");
}

TEST(FrameControls, MarksFollowTheStateAndUnknownKindsAreRefused) {
  Canvas canvas(40, 20, RGB(192, 192, 192));
  RECT box{0, 0, 13, 13};
  DrawFrameControl(canvas.Dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK);
  // The well of an unchecked box is the window colour and holds no mark.
  EXPECT_EQ(GetPixel(canvas.Dc(), 6, 6), GetSysColor(COLOR_WINDOW));
  DrawFrameControl(canvas.Dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  EXPECT_EQ(GetPixel(canvas.Dc(), 6, 7), GetSysColor(COLOR_WINDOWTEXT));
  // A third state greys both the well and the mark.
  DrawFrameControl(canvas.Dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE);
  EXPECT_EQ(GetPixel(canvas.Dc(), 6, 7), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(GetPixel(canvas.Dc(), 9, 9), GetSysColor(COLOR_3DFACE));
  // A radio button's dot sits in the middle of its well.
  RECT radio{20, 0, 32, 12};
  DrawFrameControl(canvas.Dc(), &radio, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
  EXPECT_EQ(GetPixel(canvas.Dc(), 25, 5), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(GetPixel(canvas.Dc(), 20, 0), RGB(192, 192, 192));
  EXPECT_FALSE(DrawFrameControl(canvas.Dc(), &box, DFC_SCROLL, 0));
  EXPECT_FALSE(DrawFrameControl(canvas.Dc(), &box, DFC_CAPTION, DFCS_CAPTIONHELP));
  EXPECT_FALSE(DrawFrameControl(canvas.Dc(), nullptr, DFC_BUTTON, 0));
  EXPECT_FALSE(DrawFrameControl(nullptr, &box, DFC_BUTTON, 0));
}

}  // namespace
}  // namespace vel::platform::testing
