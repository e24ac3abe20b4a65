#include <gtest/gtest.h>

#include "tests/platform/gdi/canvas.h"

namespace vel::platform::testing {
namespace {


TEST(Rectangles, FillFrameAndRectangleStopBeforeTheRightAndBottomEdges) {
  Canvas canvas(40, 40);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT r{5, 5, 15, 10};
  EXPECT_TRUE(FillRect(canvas.Dc(), &r, red));
  EXPECT_EQ(canvas.Count(kRed), 50);
  EXPECT_EQ(canvas.At(14, 9), kRed);
  EXPECT_EQ(canvas.At(15, 9), kWhite);
  EXPECT_EQ(canvas.At(14, 10), kWhite);

  canvas.Clear(kWhite);
  RECT frame{5, 5, 15, 15};
  FrameRect(canvas.Dc(), &frame, red);
  EXPECT_EQ(canvas.Count(kRed), 36);
  EXPECT_EQ(canvas.At(10, 10), kWhite);

  canvas.Clear(kWhite);
  HGDIOBJ oldBrush = SelectObject(canvas.Dc(), red);
  Rectangle(canvas.Dc(), 0, 0, 10, 10);
  EXPECT_EQ(canvas.At(0, 0), kBlack);
  EXPECT_EQ(canvas.At(9, 9), kBlack);
  EXPECT_EQ(canvas.At(10, 10), kWhite);
  EXPECT_EQ(canvas.Count(kRed), 64);
  // With the null pen only the interior is filled, one pixel short on the right and bottom.
  canvas.Clear(kWhite);
  HGDIOBJ oldPen = SelectObject(canvas.Dc(), GetStockObject(NULL_PEN));
  Rectangle(canvas.Dc(), 0, 0, 10, 10);
  EXPECT_EQ(canvas.Count(kRed), 81);
  SelectObject(canvas.Dc(), oldPen);
  SelectObject(canvas.Dc(), oldBrush);
  DeleteObject(red);
}

TEST(Lines, LineToLeavesOutTheEndPointAndMovesTheCurrentPosition) {
  Canvas canvas(30, 30);
  MoveToEx(canvas.Dc(), 2, 2, nullptr);
  LineTo(canvas.Dc(), 12, 2);
  EXPECT_EQ(canvas.Count(kBlack), 10);
  EXPECT_EQ(canvas.At(12, 2), kWhite);
  LineTo(canvas.Dc(), 12, 12);
  EXPECT_EQ(canvas.At(12, 2), kBlack);
  EXPECT_EQ(canvas.At(12, 11), kBlack);
  EXPECT_EQ(canvas.At(12, 12), kWhite);
  POINT previous{};
  MoveToEx(canvas.Dc(), 0, 0, &previous);
  EXPECT_EQ(previous.x, 12);
  EXPECT_EQ(previous.y, 12);

  canvas.Clear(kWhite);
  POINT diagonal[] = {{0, 0}, {10, 10}};
  Polyline(canvas.Dc(), diagonal, 2);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(canvas.At(i, i), kBlack) << i;
}

TEST(Lines, DashedPensLeaveGapsAndOpaqueModeFillsThem) {
  Canvas canvas(60, 4);
  HPEN dash = CreatePen(PS_DASH, 1, kBlue);
  HGDIOBJ old = SelectObject(canvas.Dc(), dash);
  SetBkMode(canvas.Dc(), TRANSPARENT);
  MoveToEx(canvas.Dc(), 0, 1, nullptr);
  LineTo(canvas.Dc(), 48, 1);
  EXPECT_EQ(canvas.Count(kBlue), 36);  // Two dashes of 18.
  SetBkMode(canvas.Dc(), OPAQUE);
  SetBkColor(canvas.Dc(), kRed);
  MoveToEx(canvas.Dc(), 0, 2, nullptr);
  LineTo(canvas.Dc(), 48, 2);
  EXPECT_EQ(canvas.Count(kRed), 12);
  SelectObject(canvas.Dc(), old);
  DeleteObject(dash);
}

TEST(Shapes, EllipseAndRoundRectStayInsideTheirBoxAndAreSymmetric) {
  Canvas canvas(40, 40);
  HBRUSH blue = CreateSolidBrush(kBlue);
  HGDIOBJ old = SelectObject(canvas.Dc(), blue);
  Ellipse(canvas.Dc(), 5, 5, 25, 21);
  RECT ink = canvas.InkBounds();
  EXPECT_EQ(ink.left, 5);
  EXPECT_EQ(ink.top, 5);
  EXPECT_EQ(ink.right, 25);
  EXPECT_EQ(ink.bottom, 21);
  EXPECT_EQ(canvas.At(5, 5), kWhite);  // Corners are outside the curve.
  EXPECT_EQ(canvas.At(15, 13), kBlue);
  for (int y = 5; y < 21; ++y) {
    for (int x = 5; x < 25; ++x) EXPECT_EQ(canvas.At(x, y), canvas.At(29 - x, y)) << x << "," << y;
  }
  canvas.Clear(kWhite);
  RoundRect(canvas.Dc(), 0, 0, 30, 20, 10, 10);
  EXPECT_EQ(canvas.At(0, 0), kWhite);
  EXPECT_EQ(canvas.At(15, 0), kBlack);
  EXPECT_EQ(canvas.At(0, 10), kBlack);
  EXPECT_EQ(canvas.At(15, 10), kBlue);
  SelectObject(canvas.Dc(), old);
  DeleteObject(blue);
}

TEST(Shapes, PolygonFillModesDifferOnlyInsideOverlaps) {
  // A square drawn twice in the same direction: ALTERNATE leaves the overlap empty.
  POINT twice[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}, {2, 2}, {12, 2}, {12, 12}, {2, 12}};
  Canvas canvas(20, 20);
  HGDIOBJ oldPen = SelectObject(canvas.Dc(), GetStockObject(NULL_PEN));
  HGDIOBJ oldBrush = SelectObject(canvas.Dc(), GetStockObject(BLACK_BRUSH));
  SetPolyFillMode(canvas.Dc(), ALTERNATE);
  Polygon(canvas.Dc(), twice, 8);
  EXPECT_EQ(canvas.At(7, 7), kWhite);
  SetPolyFillMode(canvas.Dc(), WINDING);
  Polygon(canvas.Dc(), twice, 8);
  EXPECT_EQ(canvas.At(7, 7), kBlack);
  EXPECT_EQ(canvas.Count(kBlack), 100);
  SelectObject(canvas.Dc(), oldPen);
  SelectObject(canvas.Dc(), oldBrush);
}

TEST(MixModes, XorAndInvertDrawingUndoItself) {
  Canvas canvas(20, 20);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT r{0, 0, 20, 20};
  FillRect(canvas.Dc(), &r, red);
  RECT focus{2, 2, 12, 9};
  DrawFocusRect(canvas.Dc(), &focus);
  EXPECT_EQ(canvas.At(2, 2), RGB(0, 255, 255));
  EXPECT_EQ(canvas.At(3, 2), kRed);
  DrawFocusRect(canvas.Dc(), &focus);
  EXPECT_EQ(canvas.Count(kRed), 400);
  InvertRect(canvas.Dc(), &focus);
  EXPECT_EQ(canvas.Count(RGB(0, 255, 255)), 70);
  InvertRect(canvas.Dc(), &focus);
  SetROP2(canvas.Dc(), R2_XORPEN);
  HPEN white = CreatePen(PS_SOLID, 1, kWhite);
  HGDIOBJ old = SelectObject(canvas.Dc(), white);
  MoveToEx(canvas.Dc(), 0, 5, nullptr);
  LineTo(canvas.Dc(), 20, 5);
  EXPECT_EQ(canvas.At(10, 5), RGB(0, 255, 255));
  MoveToEx(canvas.Dc(), 0, 5, nullptr);
  LineTo(canvas.Dc(), 20, 5);
  EXPECT_EQ(canvas.Count(kRed), 400);
  SelectObject(canvas.Dc(), old);
  DeleteObject(white);
  DeleteObject(red);
}

TEST(Edges, RaisedAndSunkenEdgesUseTheClassicColoursAndAdjust) {
  Canvas canvas(20, 20);
  RECT r{0, 0, 10, 10};
  DrawEdge(canvas.Dc(), &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(canvas.At(9, 9), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(canvas.At(9, 0), GetSysColor(COLOR_3DDKSHADOW));  // Bottom-right owns the corner.
  EXPECT_EQ(canvas.At(1, 1), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(canvas.At(8, 8), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(canvas.At(5, 5), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.bottom, 8);
  RECT sunken{10, 10, 20, 20};
  DrawEdge(canvas.Dc(), &sunken, EDGE_SUNKEN, BF_RECT);
  EXPECT_EQ(canvas.At(10, 10), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(canvas.At(19, 19), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(canvas.At(11, 11), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(canvas.At(15, 15), kWhite);
  // Colour indexes plus one stand in for brushes, and system brushes survive DeleteObject.
  RECT all{0, 0, 20, 20};
  FillRect(canvas.Dc(), &all, reinterpret_cast<HBRUSH>(COLOR_WINDOWTEXT + 1));
  EXPECT_EQ(canvas.Count(kBlack), 400);
  EXPECT_TRUE(DeleteObject(GetSysColorBrush(COLOR_BTNFACE)));
  EXPECT_EQ(GetObjectType(GetSysColorBrush(COLOR_BTNFACE)), static_cast<DWORD>(OBJ_BRUSH));
}

TEST(Clipping, ClipRectanglesAndRegionsLimitEveryPrimitive) {
  Canvas canvas(30, 30);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT all{0, 0, 30, 30};
  EXPECT_EQ(IntersectClipRect(canvas.Dc(), 5, 5, 15, 15), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(canvas.Dc(), 8, 8, 10, 10), COMPLEXREGION);
  FillRect(canvas.Dc(), &all, red);
  EXPECT_EQ(canvas.Count(kRed), 96);
  EXPECT_EQ(canvas.At(9, 9), kWhite);
  RECT box{};
  EXPECT_EQ(GetClipBox(canvas.Dc(), &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.right, 15);
  MoveToEx(canvas.Dc(), 0, 20, nullptr);
  LineTo(canvas.Dc(), 30, 20);
  EXPECT_EQ(canvas.Count(kBlack), 0);

  // SaveDC keeps the clip; a new region replaces it; NULL removes it.
  int saved = SaveDC(canvas.Dc());
  HRGN region = CreateRectRgn(20, 20, 25, 25);
  SelectClipRgn(canvas.Dc(), region);
  OffsetRgn(region, -20, -20);  // The DC holds its own copy.
  canvas.Clear(kWhite);
  FillRect(canvas.Dc(), &all, red);
  EXPECT_EQ(canvas.Count(kRed), 25);
  EXPECT_EQ(canvas.At(20, 20), kRed);
  RestoreDC(canvas.Dc(), saved);
  canvas.Clear(kWhite);
  FillRect(canvas.Dc(), &all, red);
  EXPECT_EQ(canvas.Count(kRed), 96);
  SelectClipRgn(canvas.Dc(), nullptr);
  FillRect(canvas.Dc(), &all, red);
  EXPECT_EQ(canvas.Count(kRed), 900);
  DeleteObject(region);
  DeleteObject(red);
}

TEST(Mapping, AnisotropicScalingAndOriginsMoveDrawingAndConvertPoints) {
  Canvas canvas(60, 60);
  HBRUSH blue = CreateSolidBrush(kBlue);
  EXPECT_EQ(SetMapMode(canvas.Dc(), MM_ANISOTROPIC), MM_TEXT);
  SetWindowExtEx(canvas.Dc(), 100, 100, nullptr);
  SetViewportExtEx(canvas.Dc(), 50, 25, nullptr);
  SetWindowOrgEx(canvas.Dc(), 10, 10, nullptr);
  SetViewportOrgEx(canvas.Dc(), 5, 5, nullptr);
  RECT r{10, 10, 30, 50};  // Logical: 20 x 40 from the window origin.
  FillRect(canvas.Dc(), &r, blue);
  EXPECT_EQ(canvas.InkBounds().left, 5);
  EXPECT_EQ(canvas.InkBounds().top, 5);
  EXPECT_EQ(canvas.InkBounds().right, 15);
  EXPECT_EQ(canvas.InkBounds().bottom, 15);
  POINT p{110, 210};
  LPtoDP(canvas.Dc(), &p, 1);
  EXPECT_EQ(p.x, 55);
  EXPECT_EQ(p.y, 55);
  DPtoLP(canvas.Dc(), &p, 1);
  EXPECT_EQ(p.x, 110);
  EXPECT_EQ(p.y, 210);
  // A negative viewport extent flips the y axis.
  SetViewportExtEx(canvas.Dc(), 50, -25, nullptr);
  SetViewportOrgEx(canvas.Dc(), 0, 50, nullptr);
  SetWindowOrgEx(canvas.Dc(), 0, 0, nullptr);
  POINT up{0, 40};
  LPtoDP(canvas.Dc(), &up, 1);
  EXPECT_EQ(up.y, 40);
  // Back in MM_TEXT the extents are 1:1 again and ignored.
  SetMapMode(canvas.Dc(), MM_TEXT);
  SetViewportOrgEx(canvas.Dc(), 0, 0, nullptr);
  EXPECT_TRUE(SetWindowExtEx(canvas.Dc(), 7, 7, nullptr));
  SIZE extent{};
  GetWindowExtEx(canvas.Dc(), &extent);
  EXPECT_EQ(extent.cx, 1);
  DeleteObject(blue);
}

TEST(Mapping, IsotropicKeepsUnitsSquare) {
  Canvas canvas(10, 10);
  SetMapMode(canvas.Dc(), MM_ISOTROPIC);
  SetWindowExtEx(canvas.Dc(), 100, 100, nullptr);
  SetViewportExtEx(canvas.Dc(), 200, 50, nullptr);
  SIZE viewport{};
  GetViewportExtEx(canvas.Dc(), &viewport);
  EXPECT_EQ(viewport.cx, 50);
  EXPECT_EQ(viewport.cy, 50);
}

TEST(Brushes, HatchesFollowTheBackgroundModeAndPatternsTile) {
  Canvas canvas(16, 16);
  HBRUSH hatch = CreateHatchBrush(HS_CROSS, kBlue);
  SetBkColor(canvas.Dc(), kRed);
  RECT r{0, 0, 16, 16};
  FillRect(canvas.Dc(), &r, hatch);
  EXPECT_EQ(canvas.Count(kBlue), 60);
  EXPECT_EQ(canvas.Count(kRed), 196);
  canvas.Clear(kWhite);
  SetBkMode(canvas.Dc(), TRANSPARENT);
  FillRect(canvas.Dc(), &r, hatch);
  EXPECT_EQ(canvas.Count(kWhite), 196);

  // A 2x2 monochrome pattern takes the text and background colours.
  const BYTE checker[4] = {0x40, 0x00, 0x80, 0x00};  // Rows 01 and 10, padded to 16 bits.
  HBITMAP bits = CreateBitmap(2, 2, 1, 1, checker);
  HBRUSH pattern = CreatePatternBrush(bits);
  DeleteObject(bits);  // The brush keeps its own copy.
  SetTextColor(canvas.Dc(), kBlack);
  SetBkColor(canvas.Dc(), kWhite);
  FillRect(canvas.Dc(), &r, pattern);
  EXPECT_EQ(canvas.Count(kBlack), 128);
  EXPECT_NE(canvas.At(0, 0), canvas.At(1, 0));
  EXPECT_EQ(canvas.At(0, 0), canvas.At(1, 1));
  DeleteObject(pattern);
  DeleteObject(hatch);
}

}  // namespace
}  // namespace vel::platform::testing
