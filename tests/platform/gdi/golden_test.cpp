#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/font_resolver.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/support/golden.h"

// Golden images of text in the faces and sizes the program uses, rendered with one pinned
// font file.

namespace vel::platform::testing {
namespace {

std::string CompareWithGolden(Canvas& canvas, const std::string& name) {
  return vel::platform::testing::CompareWithGolden(canvas.Pixels(), name);
}

class GoldenText : public ::testing::Test {
 protected:
  void SetUp() override { PinFontFile(PinnedFontPath()); }
  void TearDown() override { PinFontFile(""); }
};

// Draws one line per (face, size, weight) the way the program's windows use them.
void DrawSamples(HDC dc, const char* face, const int pointSizes[], int count) {
  int y = 4;
  for (int i = 0; i < count; ++i) {
    for (int weight : {FW_NORMAL, FW_BOLD}) {
      int height = -(pointSizes[i] * GetDeviceCaps(dc, LOGPIXELSY) + 36) / 72;
      HFONT font = CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY,
                               DEFAULT_PITCH, face);
      HGDIOBJ old = SelectObject(dc, font);
      const char sample[] = "Search: Quick brown fox & 0123 \x80\xe9\xfc";
      TextOutA(dc, 4, y, sample, static_cast<int>(sizeof sample - 1));
      TEXTMETRICA tm{};
      GetTextMetricsA(dc, &tm);
      y += tm.tmHeight + 2;
      SelectObject(dc, old);
      DeleteObject(font);
    }
  }
}

TEST_F(GoldenText, SansSerifSmallSizes) {
  Canvas canvas(300, 110);
  SetBkMode(canvas.Dc(), TRANSPARENT);
  const int sizes[] = {8, 9, 10};
  DrawSamples(canvas.Dc(), "MS Sans Serif", sizes, 3);
  EXPECT_EQ(CompareWithGolden(canvas, "text_ms_sans_serif"), "");
}

TEST_F(GoldenText, ArialSizesOnColouredBackground) {
  Canvas canvas(300, 110, RGB(192, 192, 192));
  SetBkMode(canvas.Dc(), TRANSPARENT);
  SetTextColor(canvas.Dc(), RGB(0, 0, 128));
  const int sizes[] = {8, 9, 10};
  DrawSamples(canvas.Dc(), "Arial", sizes, 3);
  EXPECT_EQ(CompareWithGolden(canvas, "text_arial"), "");
}

TEST_F(GoldenText, DrawTextLayoutWithPrefixAndWrapping) {
  Canvas canvas(200, 90);
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  HGDIOBJ old = SelectObject(canvas.Dc(), font);
  RECT button{10, 10, 90, 33};
  DrawEdge(canvas.Dc(), &button, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  SetBkMode(canvas.Dc(), TRANSPARENT);
  DrawTextA(canvas.Dc(), "&Search", -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT body{100, 4, 196, 86};
  DrawTextA(canvas.Dc(), "Words that wrap onto the next line at spaces", -1, &body, DT_WORDBREAK | DT_RIGHT);
  SelectObject(canvas.Dc(), old);
  DeleteObject(font);
  EXPECT_EQ(CompareWithGolden(canvas, "drawtext_layout"), "");
}

}  // namespace
}  // namespace vel::platform::testing
