// The image control: the picture its definition names, sized and drawn by its display mode,
// named again through its text, and a name that opens nothing.

#include "runtime/controls/image_control.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/windows/event_codes.h"
#include "tests/runtime/controls/control_test_support.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

std::string Picture(const char* file) { return std::string(VEL_SOURCE_DIR) + "/tests/data/images/" + file; }

class ImageControls : public ControlTest {
 protected:
  ImageControl* Image(std::int32_t field) { return dynamic_cast<ImageControl*>(Control(m_window, field)); }

  /// Paints the window now and reads one pixel of a control's window (0xRRGGBB).
  std::uint32_t PixelOf(std::int32_t field, int x, int y) {
    RedrawWindow(m_window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    auto pixels = platform::testing::CaptureWindowPixels(Control(m_window, field)->Handle());
    if (!pixels) {
      ADD_FAILURE() << "the window has not been drawn";
      return 0;
    }
    return pixels->Pixel(x, y) & 0x00FFFFFF;
  }

  ProcedureWindow m_window;
};

TEST_F(ImageControls, APictureTakesItsNaturalSizeUnlessTheDefinitionGivesOne) {
  Open(m_window, R"(window "W" at(0, 0, 300, 200) flags(pixel)
  image ")" + Picture("rose.bmp") + R"(" at(5, 5, default, default)
  image ")" + Picture("rose.bmp") + R"(" at(100, 5, 40, 30)
  image "NOSUCH.BMP" at(5, 80, default, default)
end
)");
  ASSERT_TRUE(m_window.IsOpen());
  ASSERT_NE(Image(1)->Picture(), nullptr);
  RECT natural = PlaceOf(Image(1)->Handle());
  EXPECT_EQ(natural.right - natural.left, 70);
  EXPECT_EQ(natural.bottom - natural.top, 46);
  RECT given = PlaceOf(Image(2)->Handle());
  EXPECT_EQ(given.right - given.left, 40);
  EXPECT_EQ(given.bottom - given.top, 30);
  // A name that opens no picture makes a control of no size that draws nothing.
  EXPECT_EQ(Image(3)->Picture(), nullptr);
  RECT none = PlaceOf(Image(3)->Handle());
  EXPECT_EQ(none.right - none.left, 0);
  EXPECT_EQ(TextOf(Image(1)->Handle()), Picture("rose.bmp")) << "the window's text is the picture's name";
}

TEST_F(ImageControls, ANewNameOpensItsPictureAndTheDefaultSizeFollows) {
  Open(m_window, R"(window "W" at(0, 0, 300, 200) flags(pixel)
  image ")" + Picture("rose.bmp") + R"(" at(5, 5, default, default)
end
)");
  ImageControl* image = Image(1);
  image->SetText(Picture("plasma.bmp"));
  ASSERT_NE(image->Picture(), nullptr);
  EXPECT_EQ(PlaceOf(image->Handle()).right - PlaceOf(image->Handle()).left, 96);
  EXPECT_EQ(TextOf(image->Handle()), Picture("plasma.bmp"));
  image->SetText("GONE.PCX");
  EXPECT_EQ(image->Picture(), nullptr);
  EXPECT_EQ(PlaceOf(image->Handle()).right - PlaceOf(image->Handle()).left, 0);
  image->SetText("");
  EXPECT_EQ(image->Picture(), nullptr);
}

TEST_F(ImageControls, ADisabledImageIsDrawnInGreysAndComesBackInColour) {
  Open(m_window, R"(window "W" at(0, 0, 300, 200) flags(pixel)
  image ")" + Picture("bmp8.bmp") + R"(" at(5, 5, default, default)
end
)");
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
  // Find a pixel that is plainly coloured, then compare it disabled and enabled again.
  int x = -1, y = -1;
  std::uint32_t colour = 0;
  for (int row = 0; row < 23 && x < 0; ++row) {
    for (int column = 0; column < 37; ++column) {
      colour = PixelOf(1, column, row);
      int r = colour >> 16, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
      if (std::abs(r - g) > 40 || std::abs(g - b) > 40) {
        x = column;
        y = row;
        break;
      }
    }
  }
  ASSERT_GE(x, 0) << "the test picture has colours";
  EnableWindow(Image(1)->Handle(), FALSE);
  std::uint32_t grey = PixelOf(1, x, y);
  EXPECT_EQ(grey >> 16, (grey >> 8) & 0xFF);
  EXPECT_EQ((grey >> 8) & 0xFF, grey & 0xFF);
  EnableWindow(Image(1)->Handle(), TRUE);
  EXPECT_EQ(PixelOf(1, x, y), colour);
}

TEST_F(ImageControls, StretchedCentredTiledTransparentMissingAndOnTheWindowsColour) {
  Open(m_window, R"(window "W" at(0, 0, 330, 120) flags(pixel) attributes(no-border) colours(0xE0E0E0, default, default)
  image ")" + Picture("bmp8.bmp") + R"(" at(5, 5, 100, 50)
  image ")" + Picture("bmp8.bmp") + R"(" at(115, 5, 100, 50) colours(0x00C0FF, default, default) extra(1)
  image ")" + Picture("bmp8.bmp") + R"(" at(225, 5, 100, 50) extra(2)
  image ")" + Picture("bmp8.bmp") + R"(" at(5, 65, 20, 50) attributes(transparent) extra(1)
  image "NOSUCH.BMP" at(115, 65, 100, 50) colours(0x008000, default, default)
  image ")" + Picture("bmp8.bmp") + R"(" at(225, 65, 100, 50) extra(1)
end
)");
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
  RedrawWindow(m_window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(platform::testing::CompareWindowWithGolden(m_window.Object().client, "control_images"), "");
}

}  // namespace
}  // namespace vel::controls::testing
