#include <gtest/gtest.h>

#include "tests/platform/gdi/canvas.h"

// The test binary carries tests/data/resources/gdi_tests.rc: an icon with 16 and 32 pixel
// images (green square; red square inside a transparent border), a cursor with its hot spot at
// (3, 5), and a 2x2 bitmap (red row over blue row).

namespace vel::platform::testing {
namespace {

TEST(ResourceIcons, TheGroupChoosesTheStandardSizeAndLoadsAreShared) {
  HINSTANCE program = GetModuleHandleA(nullptr);
  HICON icon = LoadIconA(program, "TwoSizes");  // Names are matched without case.
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(program, "TWOSIZES"), icon);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_EQ(LoadIconA(program, "TWOSIZES"), icon);
  Canvas canvas(32, 32, RGB(128, 128, 128));
  DrawIcon(canvas.Dc(), 0, 0, icon);
  EXPECT_EQ(canvas.At(16, 16), kRed);  // The 32-pixel image, not the 16 stretched.
  EXPECT_EQ(canvas.At(1, 1), RGB(128, 128, 128));
  HICON byNumber = LoadIconA(program, MAKEINTRESOURCEA(5));
  EXPECT_NE(byNumber, nullptr);
  EXPECT_NE(byNumber, icon);
  EXPECT_EQ(LoadIconA(program, "MISSING"), nullptr);
  EXPECT_EQ(LoadIconA(program, "CORNER"), nullptr);  // A cursor is not an icon.
}

TEST(ResourceIcons, CursorsKeepTheirHotSpot) {
  HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), "CORNER");
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 5u);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
}

TEST(ResourceBitmaps, LoadBitmapReadsTheDibRightSideUp) {
  HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), "TINY");
  ASSERT_NE(bitmap, nullptr);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, bitmap);
  EXPECT_EQ(GetPixel(memory, 1, 0), kRed);
  EXPECT_EQ(GetPixel(memory, 0, 1), kBlue);
  SelectObject(memory, old);
  DeleteDC(memory);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_EQ(LoadBitmapA(GetModuleHandleA(nullptr), "NOPE"), nullptr);
}

}  // namespace
}  // namespace vel::platform::testing
