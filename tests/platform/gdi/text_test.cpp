#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/gdi/display_metrics.h"
#include "platform/gdi/font_instance.h"
#include "platform/gdi/font_resolver.h"
#include "tests/platform/gdi/canvas.h"

namespace vel::platform::testing {
namespace {


class Text : public ::testing::Test {
 protected:
  void SetUp() override { PinFontFile(PinnedFontPath()); }
  void TearDown() override { PinFontFile(""); }

  HFONT Font(int height, int weight = FW_NORMAL, const char* face = "MS Sans Serif", bool underline = false) {
    HFONT font = CreateFontA(height, 0, 0, 0, weight, 0, underline, 0, ANSI_CHARSET, 0, 0, 0, 0, face);
    m_fonts.push_back(font);
    return font;
  }
  void TearDownFonts() {
    for (HFONT f : m_fonts) DeleteObject(f);
  }
  ~Text() override { TearDownFonts(); }

  std::vector<HFONT> m_fonts;
};

TEST_F(Text, HeightsMeanCharacterHeightWhenNegativeAndCellHeightWhenPositive) {
  Canvas canvas(10, 10);
  TEXTMETRICA em{};
  SelectObject(canvas.Dc(), Font(-20));
  ASSERT_TRUE(GetTextMetricsA(canvas.Dc(), &em));
  EXPECT_EQ(em.tmHeight, em.tmAscent + em.tmDescent);
  EXPECT_EQ(em.tmHeight - em.tmInternalLeading, 20);
  EXPECT_GT(em.tmInternalLeading, 0);
  TEXTMETRICA cell{};
  SelectObject(canvas.Dc(), Font(20));
  GetTextMetricsA(canvas.Dc(), &cell);
  EXPECT_NEAR(cell.tmHeight, 20, 1);
  EXPECT_LT(cell.tmHeight, em.tmHeight);
  EXPECT_EQ(cell.tmFirstChar, 0x1E);
  EXPECT_EQ(cell.tmLastChar, 0xFF);
  EXPECT_EQ(cell.tmCharSet, ANSI_CHARSET);
  EXPECT_TRUE(cell.tmPitchAndFamily & TMPF_FIXED_PITCH);  // Set means variable pitch.
  EXPECT_EQ(cell.tmPitchAndFamily & 0xF0, FF_SWISS);
  EXPECT_GT(cell.tmAveCharWidth, 0);
  EXPECT_GE(cell.tmMaxCharWidth, cell.tmAveCharWidth);
  char face[LF_FACESIZE];
  EXPECT_EQ(GetTextFaceA(canvas.Dc(), sizeof face, face), 13);
  EXPECT_STREQ(face, "MS Sans Serif");
  SelectObject(canvas.Dc(), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(Text, ExtentsAddUpAndMatchCharacterWidths) {
  Canvas canvas(10, 10);
  SelectObject(canvas.Dc(), Font(-11));
  SIZE whole{};
  SIZE left{};
  SIZE right{};
  GetTextExtentPoint32A(canvas.Dc(), "Hello World", 11, &whole);
  GetTextExtentPoint32A(canvas.Dc(), "Hello", 5, &left);
  GetTextExtentPoint32A(canvas.Dc(), " World", 6, &right);
  EXPECT_EQ(whole.cx, left.cx + right.cx);
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.Dc(), &tm);
  EXPECT_EQ(whole.cy, tm.tmHeight);
  int widths[256];
  ASSERT_TRUE(GetCharWidthA(canvas.Dc(), 0, 255, widths));
  auto width = [&](char c) { return widths[static_cast<unsigned char>(c)]; };
  EXPECT_EQ(width('H') + width('e') + 2 * width('l') + width('o'), left.cx);
  EXPECT_GT(width('W'), width('i'));
  EXPECT_FALSE(GetCharWidthA(canvas.Dc(), 10, 300, widths));
  // Bold text is wider; an empty string has no width but a height.
  SelectObject(canvas.Dc(), Font(-11, FW_BOLD));
  SIZE bold{};
  GetTextExtentPoint32A(canvas.Dc(), "Hello World", 11, &bold);
  EXPECT_GT(bold.cx, whole.cx);
  SIZE empty{};
  EXPECT_TRUE(GetTextExtentPoint32A(canvas.Dc(), "", 0, &empty));
  EXPECT_EQ(empty.cx, 0);
  EXPECT_GT(empty.cy, 0);
  SelectObject(canvas.Dc(), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(Text, TextOutDrawsInsideItsCellInTheTextColourAndFillsOpaqueBackgrounds) {
  Canvas canvas(100, 30);
  SelectObject(canvas.Dc(), Font(-11));
  SetTextColor(canvas.Dc(), RGB(0, 0, 255));
  SetBkMode(canvas.Dc(), TRANSPARENT);
  ASSERT_TRUE(TextOutA(canvas.Dc(), 10, 5, "Hi", 2));
  SIZE extent{};
  GetTextExtentPoint32A(canvas.Dc(), "Hi", 2, &extent);
  RECT ink = canvas.InkBounds();
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + extent.cx);
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.bottom, 5 + extent.cy);
  EXPECT_GT(canvas.Count(RGB(0, 0, 255)), 10);  // Stems are solid text colour.

  canvas.Clear(kWhite);
  SetBkMode(canvas.Dc(), OPAQUE);
  SetBkColor(canvas.Dc(), RGB(255, 255, 0));
  TextOutA(canvas.Dc(), 10, 5, "Hi", 2);
  EXPECT_EQ(canvas.At(10, 5), RGB(255, 255, 0));
  EXPECT_EQ(canvas.At(10 + extent.cx - 1, 5 + extent.cy - 1), RGB(255, 255, 0));
  EXPECT_EQ(canvas.At(10 + extent.cx, 5), kWhite);
  SelectObject(canvas.Dc(), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(Text, AlignmentMovesTheReferencePoint) {
  Canvas canvas(120, 40);
  SelectObject(canvas.Dc(), Font(-16));
  SetBkMode(canvas.Dc(), OPAQUE);
  SetBkColor(canvas.Dc(), kBlack);
  SIZE extent{};
  GetTextExtentPoint32A(canvas.Dc(), "Mm", 2, &extent);
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.Dc(), &tm);
  SetTextAlign(canvas.Dc(), TA_RIGHT | TA_BASELINE);
  TextOutA(canvas.Dc(), 100, 30, "Mm", 2);
  RECT ink = canvas.InkBounds();
  EXPECT_EQ(ink.right, 100);
  EXPECT_EQ(ink.left, 100 - extent.cx);
  EXPECT_EQ(ink.top, 30 - tm.tmAscent);
  EXPECT_EQ(ink.bottom, 30 + tm.tmDescent);
  // TA_UPDATECP draws at the current position and moves it along.
  canvas.Clear(kWhite);
  SetTextAlign(canvas.Dc(), TA_UPDATECP);
  MoveToEx(canvas.Dc(), 5, 0, nullptr);
  TextOutA(canvas.Dc(), 0, 0, "Mm", 2);
  POINT position{};
  MoveToEx(canvas.Dc(), 0, 0, &position);
  EXPECT_EQ(position.x, 5 + extent.cx);
  EXPECT_EQ(canvas.InkBounds().left, 5);
  SetTextAlign(canvas.Dc(), TA_LEFT | TA_TOP);
  SelectObject(canvas.Dc(), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(Text, ExtTextOutOpaqueAndClippedRectanglesAndSpacing) {
  Canvas canvas(100, 30);
  SelectObject(canvas.Dc(), Font(-20));
  SetBkMode(canvas.Dc(), TRANSPARENT);
  SetBkColor(canvas.Dc(), RGB(0, 255, 0));
  RECT box{0, 0, 60, 30};
  ExtTextOutA(canvas.Dc(), 2, 2, ETO_OPAQUE, &box, "", 0, nullptr);
  EXPECT_EQ(canvas.Count(RGB(0, 255, 0)), 60 * 30);
  canvas.Clear(kWhite);
  RECT clip{0, 0, 12, 30};
  ExtTextOutA(canvas.Dc(), 2, 2, ETO_CLIPPED, &clip, "WWWW", 4, nullptr);
  EXPECT_LE(canvas.InkBounds().right, 12);
  EXPECT_GT(canvas.Count(kBlack), 0);
  canvas.Clear(kWhite);
  const INT spacing[3] = {30, 30, 30};
  ExtTextOutA(canvas.Dc(), 0, 0, 0, nullptr, "iii", 3, spacing);
  EXPECT_GE(canvas.InkBounds().right, 60);
  SelectObject(canvas.Dc(), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(Text, AnsiBytesMapThroughWindows1252) {
  Canvas canvas(30, 30);
  SelectObject(canvas.Dc(), Font(-20));
  int widths[2];
  // 0x80 is the euro sign, 0x97 an em dash: both real glyphs, not the missing-glyph box.
  GetCharWidthA(canvas.Dc(), 0x97, 0x97, widths);
  GetCharWidthA(canvas.Dc(), 'M', 'M', widths + 1);
  EXPECT_GE(widths[0], widths[1]);
  SetBkMode(canvas.Dc(), TRANSPARENT);
  TextOutA(canvas.Dc(), 2, 2, "\x80", 1);
  Canvas other(30, 30);
  SelectObject(other.Dc(), Font(-20));
  SetBkMode(other.Dc(), TRANSPARENT);
  TextOutA(other.Dc(), 2, 2, "\x81", 1);  // Unassigned in 1252.
  EXPECT_NE(canvas.Count(kWhite), other.Count(kWhite));
  SelectObject(canvas.Dc(), GetStockObject(DEFAULT_GUI_FONT));
  SelectObject(other.Dc(), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(Text, RepaintingDrawsFromTheGlyphCache) {
  Canvas canvas(200, 20);
  SelectObject(canvas.Dc(), Font(-13, FW_NORMAL, "Arial"));
  TextOutA(canvas.Dc(), 0, 0, "Cache me twice", 14);
  uint64_t after = FontInstance::RasterisedCount();
  for (int i = 0; i < 3; ++i) TextOutA(canvas.Dc(), 0, 0, "Cache me twice", 14);
  SIZE extent{};
  GetTextExtentPoint32A(canvas.Dc(), "me Cache", 8, &extent);
  EXPECT_EQ(FontInstance::RasterisedCount(), after);
  // Another DC selecting an equal font shares the same glyphs.
  Canvas second(200, 20);
  SelectObject(second.Dc(), Font(-13, FW_NORMAL, "Arial"));
  TextOutA(second.Dc(), 0, 0, "Cache", 5);
  EXPECT_EQ(FontInstance::RasterisedCount(), after);
  SelectObject(canvas.Dc(), GetStockObject(DEFAULT_GUI_FONT));
  SelectObject(second.Dc(), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(Text, PointSizesFollowTheDisplayResolution) {
  Canvas canvas(10, 10);
  auto pixelsFor8Points = [&] {
    int height = -(8 * GetDeviceCaps(canvas.Dc(), LOGPIXELSY) + 36) / 72;
    HFONT font = Font(height);
    SelectObject(canvas.Dc(), font);
    TEXTMETRICA tm{};
    GetTextMetricsA(canvas.Dc(), &tm);
    SelectObject(canvas.Dc(), GetStockObject(DEFAULT_GUI_FONT));
    return tm.tmHeight - tm.tmInternalLeading;
  };
  EXPECT_EQ(pixelsFor8Points(), 11);
  SetDisplayMetrics({1024, 768, 192});
  EXPECT_EQ(pixelsFor8Points(), 21);
  SetDisplayMetrics({});
}

TEST_F(Text, FacesResolveThroughAliases) {
  PinFontFile("");
  LOGFONTA font{};
  std::strcpy(font.lfFaceName, "Arial");
  EXPECT_EQ(FamilyForFace(font), "Liberation Sans");
  std::strcpy(font.lfFaceName, "helv");
  EXPECT_EQ(FamilyForFace(font), "Liberation Sans");
  std::strcpy(font.lfFaceName, "Courier New");
  EXPECT_EQ(FamilyForFace(font), "Liberation Mono");
  font.lfFaceName[0] = '\0';
  font.lfPitchAndFamily = FIXED_PITCH;
  EXPECT_EQ(FamilyForFace(font), "Liberation Mono");
  std::strcpy(font.lfFaceName, "Arial");
  font.lfWeight = FW_BOLD;
  ResolvedFont bold = ResolveFontFile(font);
  EXPECT_NE(bold.path.find("LiberationSans-Bold"), std::string::npos) << bold.path;
  EXPECT_TRUE(bold.fileIsBold);
}

TEST_F(Text, DrawTextAlignsMeasuresAndUnderlinesPrefixes) {
  Canvas canvas(120, 60);
  HDC dc = canvas.Dc();
  SelectObject(dc, Font(-11));
  SetBkMode(dc, TRANSPARENT);
  SIZE extent{};
  GetTextExtentPoint32A(dc, "OK", 2, &extent);

  RECT calc{0, 0, 0, 0};
  int height = DrawTextA(dc, "OK", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(calc.right, extent.cx);
  EXPECT_EQ(calc.bottom, extent.cy);
  EXPECT_EQ(height, extent.cy);
  EXPECT_EQ(canvas.Count(kWhite), 120 * 60);  // Measuring draws nothing.

  RECT all{0, 0, 120, 60};
  DrawTextA(dc, "OK", -1, &all, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
  RECT ink = canvas.InkBounds();
  EXPECT_LE(ink.right, 120);
  EXPECT_GE(ink.left, 120 - extent.cx);
  EXPECT_GE(ink.top, 60 - extent.cy);
  canvas.Clear(kWhite);
  DrawTextA(dc, "OK", -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ink = canvas.InkBounds();
  EXPECT_NEAR((ink.left + ink.right) / 2, 60, 2);
  EXPECT_NEAR((ink.top + ink.bottom) / 2, 30, 3);

  // "&&" is a literal ampersand and takes the same width as "&" measured directly.
  RECT prefixed{0, 0, 0, 0};
  RECT literal{0, 0, 0, 0};
  DrawTextA(dc, "A&&B", -1, &prefixed, DT_CALCRECT | DT_SINGLELINE);
  DrawTextA(dc, "A&B", -1, &literal, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(prefixed.right, literal.right);
  // A prefix adds an underline below the baseline of that character only.
  canvas.Clear(kWhite);
  RECT line{0, 0, 120, 20};
  DrawTextA(dc, "&File", -1, &line, DT_SINGLELINE | DT_NOCLIP);
  int withPrefix = canvas.Count(kWhite);
  canvas.Clear(kWhite);
  DrawTextA(dc, "File", -1, &line, DT_SINGLELINE);
  EXPECT_LT(withPrefix, canvas.Count(kWhite));

  // Word breaking makes several lines and DT_CALCRECT reports their height.
  RECT narrow{0, 0, 40, 0};
  int wrapped = DrawTextA(dc, "one two three four", -1, &narrow, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GE(wrapped, 3 * extent.cy);
  EXPECT_LE(narrow.right, 40);
  RECT lines{0, 0, 100, 0};
  EXPECT_EQ(DrawTextA(dc, "a\r\nb\nc", -1, &lines, DT_CALCRECT), 3 * extent.cy);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace
}  // namespace vel::platform::testing
