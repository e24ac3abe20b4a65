// The unit conversion of opened windows measures the window's font on the screen, as dialog
// units are measured on the platform; the font file is pinned, so the sizes are exact.

#include "runtime/windows/window_font_metrics.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/gdi/font_resolver.h"
#include "tests/runtime/windows/window_test_support.h"
#include "tests/support/golden.h"

namespace vel::windows::testing {
namespace {

const char kFontWindows[] =
    "definition \"test$FONTS\"\n"
    "window \"ARIAL8\" title(\"Arial\") at(0, 0, 100, 40) font(\"Arial\", 8, default, 400)\n"
    "end\n"
    "window \"ARIAL12\" title(\"Arial\") at(0, 0, 100, 40) font(\"Arial\", 12, default, 700)\n"
    "end\n"
    "window \"SYSTEM\" title(\"System\") at(0, 0, 100, 40)\n"
    "end\n"
    "window \"PIXELS\" title(\"Pixels\") at(0, 0, 100, 40) flags(pixel) font(\"Arial\", 12, default, 700)\n"
    "end\n";

class WindowFontMetrics : public WindowTest {
 protected:
  void SetUp() override {
    platform::PinFontFile(platform::testing::PinnedFontPath());
    WindowTest::SetUp();
    AddDefinitions("test$FONTS", kFontWindows);
  }
  void TearDown() override {
    WindowTest::TearDown();
    platform::PinFontFile("");
  }

  // The client size of a window opened from `label`, and the metrics it measured.
  std::pair<SIZE, UnitMetrics> Measure(const char* label) {
    ProcedureWindow window;
    window.Open("test$FONTS", label);
    RECT client{};
    GetClientRect(window.Handle(), &client);
    UnitMetrics metrics = window.Object().metrics;
    window.Close();
    return {SIZE{client.right, client.bottom}, metrics};
  }
};

TEST_F(WindowFontMetrics, DialogUnitsFollowTheWindowFont) {
  // at(0, 0, 100, 40): 100 dialog units are 100 * 2 * average width / 8 pixels, 40 are
  // 40 * cell height / 8.
  auto [arial8, small] = Measure("ARIAL8");
  EXPECT_EQ(small.averageCharWidth, 6);
  EXPECT_EQ(small.charHeight, 12);
  EXPECT_EQ(small.dotsPerInchY, 96);
  EXPECT_EQ(arial8.cx, 150);
  EXPECT_EQ(arial8.cy, 60);

  auto [arial12, large] = Measure("ARIAL12");
  EXPECT_EQ(large.averageCharWidth, 10);
  EXPECT_EQ(large.charHeight, 17);
  EXPECT_EQ(arial12.cx, 250);
  EXPECT_EQ(arial12.cy, 85);

  auto [system, plain] = Measure("SYSTEM");
  EXPECT_EQ(plain.averageCharWidth, 8) << "a window without a font measures the system font";
  EXPECT_EQ(plain.charHeight, 16);
  EXPECT_EQ(system.cx, 200);
  EXPECT_EQ(system.cy, 80);

  auto [pixels, unused] = Measure("PIXELS");
  EXPECT_EQ(pixels.cx, 100) << "a window in pixels does not scale with its font";
  EXPECT_EQ(pixels.cy, 40);
}

TEST(LogicalFontFor, PointsWeightAndStyleOfAFontRecord) {
  FontRecord record;
  record.face = "Arial";
  record.points = 8;
  record.style = 700 | kFontItalic | kFontUnderline;
  LOGFONTA font = LogicalFontFor(record, 120);
  EXPECT_STREQ(font.lfFaceName, "Arial");
  EXPECT_EQ(font.lfHeight, -13);  // 8 points at 120 dots per inch: 13.3 pixels
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_TRUE(font.lfItalic);
  EXPECT_TRUE(font.lfUnderline);
  EXPECT_FALSE(font.lfStrikeOut);

  FontRecord bare;
  bare.face.reset();
  font = LogicalFontFor(bare, 96);
  EXPECT_STREQ(font.lfFaceName, "System");
  EXPECT_EQ(font.lfHeight, 0) << "no size given: the face's own";
  EXPECT_EQ(font.lfWeight, FW_NORMAL) << "a style not given is a normal weight";

  FontRecord longFace;
  longFace.face = std::string(60, 'x');
  font = LogicalFontFor(longFace, 96);
  EXPECT_EQ(std::string(font.lfFaceName).size(), static_cast<std::size_t>(LF_FACESIZE - 1));
}

}  // namespace
}  // namespace vel::windows::testing
