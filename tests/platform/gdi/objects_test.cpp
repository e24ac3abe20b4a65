#include <gtest/gtest.h>

#include "platform/gdi/display_metrics.h"
#include "tests/platform/gdi/canvas.h"

namespace vel::platform::testing {
namespace {

TEST(Objects, SelectReturnsThePreviousObjectAndStockObjectsSurviveDeletion) {
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(1, 2, 3));
  HGDIOBJ previous = SelectObject(dc, pen);
  EXPECT_EQ(previous, GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(SelectObject(dc, previous), pen);
  LOGPEN logPen{};
  EXPECT_EQ(GetObjectA(pen, sizeof logPen, &logPen), static_cast<int>(sizeof logPen));
  EXPECT_EQ(logPen.lopnWidth.x, 2);
  EXPECT_EQ(logPen.lopnColor, RGB(1, 2, 3));
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(pen));  // A stale handle is refused, not followed.
  EXPECT_EQ(SelectObject(dc, pen), nullptr);
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(GetStockObject(99), nullptr);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  EXPECT_FALSE(DeleteObject(dc));  // DCs go through DeleteDC.
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
}

TEST(Objects, ADeletedBrushStaysUsableWhileSelected) {
  Canvas canvas(4, 4);
  HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
  SelectObject(canvas.Dc(), brush);
  EXPECT_TRUE(DeleteObject(brush));
  SelectObject(canvas.Dc(), GetStockObject(NULL_PEN));
  Rectangle(canvas.Dc(), 0, 0, 5, 5);
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 255, 0));
  SelectObject(canvas.Dc(), GetStockObject(WHITE_BRUSH));
}

TEST(Bitmaps, ABitmapLivesInOneDcAtATimeAndCannotBeDeletedThere) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  // A fresh memory DC holds a 1x1 monochrome bitmap, so what it makes is monochrome too.
  HBITMAP mono = CreateCompatibleBitmap(first, 8, 8);
  BITMAP info{};
  ASSERT_EQ(GetObjectA(mono, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmBitsPixel, 1);
  EXPECT_EQ(info.bmWidthBytes, 2);
  HGDIOBJ stock = SelectObject(first, mono);
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(SelectObject(second, mono), nullptr);
  EXPECT_FALSE(DeleteObject(mono));
  SelectObject(first, stock);
  EXPECT_NE(SelectObject(second, mono), nullptr);
  // Once it holds a colour bitmap the DC makes colour bitmaps.
  Canvas canvas(2, 2);
  HBITMAP colour = CreateCompatibleBitmap(canvas.Dc(), 3, 5);
  GetObjectA(colour, sizeof info, &info);
  EXPECT_EQ(info.bmBitsPixel, 32);
  EXPECT_EQ(info.bmHeight, 5);
  EXPECT_EQ(CreateCompatibleBitmap(canvas.Dc(), 0, 5), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(canvas.Dc(), 100000, 100000), nullptr);
  DeleteDC(second);
  EXPECT_TRUE(DeleteObject(mono));
  DeleteDC(first);
  DeleteObject(colour);
}

TEST(Objects, SaveAndRestoreBringBackAttributesObjectsAndPosition) {
  Canvas canvas(4, 4);
  HDC dc = canvas.Dc();
  SetTextColor(dc, RGB(1, 1, 1));
  int level = SaveDC(dc);
  EXPECT_EQ(level, 1);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
  SelectObject(dc, pen);
  SetTextColor(dc, RGB(2, 2, 2));
  SetBkMode(dc, TRANSPARENT);
  MoveToEx(dc, 3, 3, nullptr);
  EXPECT_EQ(SaveDC(dc), 2);
  SetTextColor(dc, RGB(3, 3, 3));
  EXPECT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
  EXPECT_TRUE(RestoreDC(dc, level));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_FALSE(RestoreDC(dc, 1));  // Nothing saved any more.
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(DeviceCaps, ResolutionComesFromTheDisplayWith96WhenUnknown) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
  EXPECT_TRUE(GetDeviceCaps(dc, RASTERCAPS) & RC_STRETCHDIB);
  EXPECT_FALSE(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE);
  SetDisplayMetrics({1920, 1080, 144});
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 144);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1920);
  SetDisplayMetrics({1920, 1080, 0});
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  SetDisplayMetrics({});
  DeleteDC(dc);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 0);
}

TEST(Palettes, IndexColoursResolveThroughTheSelectedPalette) {
  Canvas canvas(4, 4);
  LOGPALETTE* logical = static_cast<LOGPALETTE*>(operator new(sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY)));
  logical->palVersion = 0x300;
  logical->palNumEntries = 3;
  logical->palPalEntry[0] = {10, 20, 30, 0};
  logical->palPalEntry[1] = {200, 0, 0, 0};
  logical->palPalEntry[2] = {0, 0, 250, 0};
  HPALETTE palette = CreatePalette(logical);
  operator delete(logical);
  ASSERT_NE(palette, nullptr);
  HPALETTE old = SelectPalette(canvas.Dc(), palette, FALSE);
  EXPECT_NE(old, nullptr);
  EXPECT_EQ(RealizePalette(canvas.Dc()), 0u);
  const COLORREF paletteIndex2 = 0x01000002;
  SetPixel(canvas.Dc(), 1, 1, paletteIndex2);
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 250));
  EXPECT_EQ(GetNearestColor(canvas.Dc(), RGB(12, 34, 56)), RGB(12, 34, 56));
  EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(190, 10, 10)), 1u);
  PALETTEENTRY entries[4]{};
  EXPECT_EQ(GetPaletteEntries(palette, 1, 4, entries), 2u);
  EXPECT_EQ(entries[1].peBlue, 250);
  SelectPalette(canvas.Dc(), old, FALSE);
  EXPECT_TRUE(DeleteObject(palette));
}

}  // namespace
}  // namespace vel::platform::testing

namespace vel::platform::testing {
namespace {

TEST(SystemBitmaps, ComboArrowIsACentredDownwardTriangleOnTheButtonFace) {
  HBITMAP arrow = LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_COMBO));
  ASSERT_NE(arrow, nullptr);
  BITMAP info{};
  GetObjectA(arrow, sizeof info, &info);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, arrow);
  // Widest row on top, one pixel at the tip, symmetric about the centre.
  int previous = info.bmWidth + 1;
  int rows = 0;
  for (int y = 0; y < info.bmHeight; ++y) {
    int count = 0;
    for (int x = 0; x < info.bmWidth; ++x) {
      COLORREF c = GetPixel(memory, x, y);
      if (c == RGB(0, 0, 0)) {
        ++count;
        EXPECT_EQ(GetPixel(memory, info.bmWidth - 1 - x, y), RGB(0, 0, 0));
      } else {
        EXPECT_EQ(c, GetSysColor(COLOR_BTNFACE));
      }
    }
    if (count == 0) continue;
    EXPECT_LT(count, previous);
    previous = count;
    ++rows;
  }
  EXPECT_EQ(previous, 1);
  EXPECT_EQ(rows, 4);
  SelectObject(memory, old);
  DeleteDC(memory);
  EXPECT_TRUE(DeleteObject(arrow));
  EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
}

}  // namespace
}  // namespace vel::platform::testing
