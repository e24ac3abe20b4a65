#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/gdi/canvas.h"
#include "tests/platform/gdi/metafile_builder.h"

namespace vel::platform::testing {
namespace {


int Lo(COLORREF c) { return static_cast<int>(c & 0xFFFF); }
int Hi(COLORREF c) { return static_cast<int>(c >> 16); }

HMETAFILE Make(const std::vector<uint8_t>& bytes) {
  return SetMetaFileBitsEx(static_cast<UINT>(bytes.size()), bytes.data());
}

TEST(Metafiles, ObjectsPrimitivesAndMappingPlayIntoTheDc) {
  MetafileBuilder wmf;
  wmf.Record(0x0103, {MM_ANISOTROPIC})
      .Record(0x020C, {200, 200})           // SetWindowExt(200, 200)
      .Record(0x02FC, {BS_SOLID, Lo(kRed), Hi(kRed), 0})  // CreateBrushIndirect -> slot 0
      .Record(0x02FA, {PS_NULL, 0, 0, 0, 0})              // CreatePenIndirect -> slot 1
      .Record(0x012D, {0})
      .Record(0x012D, {1})
      .Record(0x041B, {100, 100, 0, 0})     // Rectangle(0, 0, 100, 100)
      .Record(0x02FC, {BS_SOLID, Lo(kBlue), Hi(kBlue), 0})  // slot 2
      .Record(0x012D, {2})
      .Record(0x01F0, {0})                  // DeleteObject(slot 0)
      .Record(0x0418, {200, 200, 100, 100});  // Ellipse(100, 100, 200, 200)
  HMETAFILE metafile = Make(wmf.Build());
  ASSERT_NE(metafile, nullptr);
  Canvas canvas(40, 40);
  SetMapMode(canvas.Dc(), MM_ANISOTROPIC);
  SetViewportExtEx(canvas.Dc(), 40, 40, nullptr);
  EXPECT_TRUE(PlayMetaFile(canvas.Dc(), metafile));
  // The 100x100 logical square is the top-left quarter (null pen: one pixel short).
  EXPECT_EQ(canvas.At(0, 0), kRed);
  EXPECT_EQ(canvas.At(18, 18), kRed);
  EXPECT_EQ(canvas.At(30, 30), kBlue);
  EXPECT_EQ(canvas.At(21, 21), kWhite);
  // Playback leaves the DC as it found it: mapping, pen and brush.
  EXPECT_EQ(GetMapMode(canvas.Dc()), MM_ANISOTROPIC);
  EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  SIZE window{};
  GetWindowExtEx(canvas.Dc(), &window);
  EXPECT_EQ(window.cx, 1);
  EXPECT_TRUE(DeleteMetaFile(metafile));
  EXPECT_FALSE(DeleteMetaFile(metafile));
}

TEST(Metafiles, ClippingSaveRestoreLinesAndPolygons) {
  MetafileBuilder wmf;
  wmf.Record(0x001E, {})                     // SaveDC
      .Record(0x0416, {10, 10, 0, 0})        // IntersectClipRect(0, 0, 10, 10)
      .Record(0x061D, {Lo(BLACKNESS), Hi(BLACKNESS), 20, 20, 0, 0})  // PatBlt(0, 0, 20, 20)
      .Record(0x0127, {-1})                  // RestoreDC(-1)
      .Record(0x0214, {15, 12})              // MoveTo(12, 15)
      .Record(0x0213, {15, 18})              // LineTo(18, 15)
      .Record(0x0324, {3, 12, 0, 19, 0, 19, 7});  // Polygon (12,0) (19,0) (19,7)
  HMETAFILE metafile = Make(wmf.Build(true));  // With a placeable header in front.
  ASSERT_NE(metafile, nullptr);
  Canvas canvas(20, 20);
  PlayMetaFile(canvas.Dc(), metafile);
  EXPECT_EQ(canvas.Count(RGB(0, 0, 0), RECT{0, 0, 10, 10}), 100);
  EXPECT_EQ(canvas.At(10, 10), kWhite);
  EXPECT_EQ(canvas.At(12, 15), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(18, 15), kWhite);
  EXPECT_EQ(canvas.At(19, 1), RGB(0, 0, 0));  // Polygon outline,
  EXPECT_EQ(canvas.At(17, 1), kWhite);        // white interior.
  DeleteMetaFile(metafile);
}

TEST(Metafiles, TextAndFontRecords) {
  std::vector<uint8_t> font(18 + LF_FACESIZE, 0);
  int16_t height = -16;
  std::memcpy(font.data(), &height, 2);
  int16_t weight = FW_BOLD;
  std::memcpy(font.data() + 8, &weight, 2);
  std::strcpy(reinterpret_cast<char*>(font.data()) + 18, "Arial");
  MetafileBuilder wmf;
  wmf.RawRecord(0x02FB, font)
      .Record(0x012D, {0})
      .Record(0x0102, {TRANSPARENT})
      .Record(0x0209, {Lo(kBlue), Hi(kBlue)})
      .Record(0x0521, {2, 'H' | ('i' << 8), 2, 2});  // TextOut(2, 2, "Hi")
  HMETAFILE metafile = Make(wmf.Build());
  ASSERT_NE(metafile, nullptr);
  Canvas canvas(40, 24);
  PlayMetaFile(canvas.Dc(), metafile);
  EXPECT_GT(canvas.Count(kBlue), 10);
  RECT ink = canvas.InkBounds();
  EXPECT_GE(ink.left, 2);
  EXPECT_GE(ink.top, 2);
  DeleteMetaFile(metafile);
}

TEST(Metafiles, DibRecordsDrawTheirBitmaps) {
  // A 2x2 bottom-up 24 bpp DIB: top row red, bottom row blue.
  std::vector<uint8_t> dib(sizeof(BITMAPINFOHEADER) + 16, 0);
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::memcpy(dib.data(), &header, sizeof header);
  uint8_t* bits = dib.data() + sizeof header;
  const uint8_t bottom[6] = {255, 0, 0, 255, 0, 0};
  const uint8_t top[6] = {0, 0, 255, 0, 0, 255};
  std::memcpy(bits, bottom, 6);
  std::memcpy(bits + 8, top, 6);
  std::vector<uint8_t> stretch;
  auto put = [&](int v) {
    stretch.push_back(static_cast<uint8_t>(v));
    stretch.push_back(static_cast<uint8_t>(v >> 8));
  };
  // StretchDIB: rop, usage, srcH, srcW, ySrc, xSrc, destH, destW, yDest, xDest, DIB.
  for (int v : {Lo(SRCCOPY), Hi(SRCCOPY), DIB_RGB_COLORS, 2, 2, 0, 0, 8, 8, 4, 4}) put(v);
  stretch.insert(stretch.end(), dib.begin(), dib.end());
  MetafileBuilder wmf;
  wmf.RawRecord(0x0F43, stretch);
  HMETAFILE metafile = Make(wmf.Build());
  ASSERT_NE(metafile, nullptr);
  Canvas canvas(16, 16);
  PlayMetaFile(canvas.Dc(), metafile);
  EXPECT_EQ(canvas.At(4, 4), kRed);
  EXPECT_EQ(canvas.At(11, 7), kRed);
  EXPECT_EQ(canvas.At(11, 8), kBlue);
  EXPECT_EQ(canvas.At(12, 12), kWhite);
  DeleteMetaFile(metafile);

  // The same record with its bitmap cut short is skipped, not read past.
  std::vector<uint8_t> cut(stretch.begin(), stretch.end() - 8);
  MetafileBuilder truncated;
  truncated.RawRecord(0x0F43, cut);
  HMETAFILE shortOne = Make(truncated.Build());
  ASSERT_NE(shortOne, nullptr);
  canvas.Clear(kWhite);
  EXPECT_TRUE(PlayMetaFile(canvas.Dc(), shortOne));
  EXPECT_EQ(canvas.Count(kWhite), 256);
  DeleteMetaFile(shortOne);
}

TEST(Metafiles, LyingSizesAreRefusedAndUnknownRecordsSkipped) {
  MetafileBuilder wmf;
  wmf.Record(0x0626, {1, 2, 3})  // An escape: skipped.
      .Record(0x7777, {})        // Unknown: skipped.
      .Record(0x041B, {5, 5, 0, 0});
  std::vector<uint8_t> good = wmf.Build();
  HMETAFILE metafile = Make(good);
  ASSERT_NE(metafile, nullptr);
  Canvas canvas(8, 8);
  PlayMetaFile(canvas.Dc(), metafile);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
  std::vector<uint8_t> copy(GetMetaFileBitsEx(metafile, 0, nullptr));
  EXPECT_EQ(GetMetaFileBitsEx(metafile, static_cast<UINT>(copy.size()), copy.data()), good.size());
  EXPECT_EQ(copy, good);
  DeleteMetaFile(metafile);

  auto lie = [&](size_t offset, uint8_t value) {
    std::vector<uint8_t> bad = good;
    bad[offset] = value;
    return Make(bad);
  };
  EXPECT_EQ(lie(18, 0xFF), nullptr);  // First record claims to run past the end.
  EXPECT_EQ(lie(18, 2), nullptr);     // A record shorter than its own header.
  EXPECT_EQ(lie(6, 0xFF), nullptr);   // Header size beyond the data.
  EXPECT_EQ(lie(0, 7), nullptr);      // Not a metafile type.
  EXPECT_EQ(Make(std::vector<uint8_t>(good.begin(), good.end() - 6)), nullptr);  // No end record.
  EXPECT_EQ(SetMetaFileBitsEx(4, good.data()), nullptr);
}

}  // namespace
}  // namespace vel::platform::testing
