#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/dib_codec.h"
#include "tests/platform/gdi/canvas.h"

namespace vel::platform::testing {
namespace {


// A 4x2 test image: top row red, green, blue, white; bottom row the same shifted by one.
const COLORREF kImage[2][4] = {{kRed, kGreen, kBlue, kWhite}, {kGreen, kBlue, kWhite, kRed}};

struct Dib {
  std::vector<uint8_t> info;
  std::vector<uint8_t> bits;
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};

// Builds the test image at any depth, with a colour table for the indexed ones.
Dib MakeImage(int bitCount, bool topDown) {
  const COLORREF table[4] = {kRed, kGreen, kBlue, kWhite};
  Dib dib;
  int colors = bitCount <= 8 ? (1 << bitCount) : 0;
  dib.info.assign(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(colors) * 4 + (bitCount == 16 ? 12 : 0), 0);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = 4;
  header.biHeight = topDown ? -2 : 2;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bitCount);
  header.biCompression = bitCount == 16 ? BI_BITFIELDS : BI_RGB;
  std::memcpy(dib.info.data(), &header, sizeof header);
  if (bitCount == 16) {
    // 5-6-5 masks.
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(dib.info.data() + sizeof header, masks, sizeof masks);
  }
  for (int i = 0; i < colors && i < 4; ++i) {
    RGBQUAD q{GetBValue(table[i]), GetGValue(table[i]), GetRValue(table[i]), 0};
    std::memcpy(dib.info.data() + sizeof header + 4 * i, &q, 4);
  }
  size_t stride = ((4 * static_cast<size_t>(bitCount) + 31) / 32) * 4;
  dib.bits.assign(stride * 2, 0);
  for (int row = 0; row < 2; ++row) {
    uint8_t* line = dib.bits.data() + stride * static_cast<size_t>(topDown ? row : 1 - row);
    for (int x = 0; x < 4; ++x) {
      COLORREF c = kImage[row][x];
      int index = 0;
      while (table[index] != c) ++index;
      switch (bitCount) {
        case 1: line[0] |= static_cast<uint8_t>((index == 3 ? 1 : 0) << (7 - x)); break;
        case 4: line[x / 2] |= static_cast<uint8_t>(index << (x % 2 == 0 ? 4 : 0)); break;
        case 8: line[x] = static_cast<uint8_t>(index); break;
        case 16: {
          uint16_t v = static_cast<uint16_t>(((GetRValue(c) >> 3) << 11) | ((GetGValue(c) >> 2) << 5) | (GetBValue(c) >> 3));
          std::memcpy(line + 2 * x, &v, 2);
          break;
        }
        case 24:
          line[3 * x] = GetBValue(c);
          line[3 * x + 1] = GetGValue(c);
          line[3 * x + 2] = GetRValue(c);
          break;
        case 32: {
          uint32_t v = PixelFromColor(c);
          std::memcpy(line + 4 * x, &v, 4);
          break;
        }
      }
    }
  }
  return dib;
}

TEST(StretchDIBits, EveryDepthAndRowOrderLandsRightSideUp) {
  for (int bitCount : {4, 8, 16, 24, 32}) {
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(::testing::Message() << bitCount << " bpp, top-down " << topDown);
      Dib dib = MakeImage(bitCount, topDown);
      Canvas canvas(8, 4);
      EXPECT_EQ(StretchDIBits(canvas.Dc(), 0, 0, 4, 2, 0, 0, 4, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY),
                2);
      for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.At(x, y), kImage[y][x]) << x << "," << y;
      }
    }
  }
}

TEST(StretchDIBits, MonochromeImagesUseTheirTwoColourTable) {
  Dib dib = MakeImage(1, false);
  Canvas canvas(4, 2);
  StretchDIBits(canvas.Dc(), 0, 0, 4, 2, 0, 0, 4, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
  // The image stores white pixels as index 1, which the two-entry table makes green.
  EXPECT_EQ(canvas.At(3, 0), kGreen);
  EXPECT_EQ(canvas.At(0, 0), kRed);
  EXPECT_EQ(canvas.At(3, 1), kRed);
}

TEST(StretchDIBits, ScalesMirrorsAndTakesSubRectanglesFromTheBottomForBottomUpImages) {
  Dib dib = MakeImage(24, false);
  Canvas canvas(8, 4);
  StretchDIBits(canvas.Dc(), 0, 0, 8, 4, 0, 0, 4, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), kRed);
  EXPECT_EQ(canvas.At(1, 1), kRed);
  EXPECT_EQ(canvas.At(7, 3), kRed);
  EXPECT_EQ(canvas.At(2, 0), kGreen);
  // A negative destination width mirrors into the columns between the two x coordinates.
  canvas.Clear(kWhite);
  StretchDIBits(canvas.Dc(), 4, 0, -4, 2, 0, 0, 4, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), kWhite);
  EXPECT_EQ(canvas.At(1, 0), kBlue);
  EXPECT_EQ(canvas.At(3, 0), kRed);
  EXPECT_EQ(canvas.At(0, 1), kRed);
  EXPECT_EQ(canvas.At(4, 0), kWhite);
  // ySrc = 0 with height 1 of a bottom-up image is the bottom row.
  canvas.Clear(kWhite);
  StretchDIBits(canvas.Dc(), 0, 0, 4, 1, 0, 0, 4, 1, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), kGreen);
  EXPECT_EQ(canvas.At(0, 1), kWhite);
}

TEST(StretchDIBits, RasterOperationsCombineWithTheDestination) {
  Dib dib = MakeImage(32, true);
  Canvas canvas(4, 2, RGB(0, 255, 255));
  StretchDIBits(canvas.Dc(), 0, 0, 4, 2, 0, 0, 4, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCAND);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));  // red & cyan
  EXPECT_EQ(canvas.At(1, 0), kGreen);
  canvas.Clear(RGB(0, 0, 255));
  StretchDIBits(canvas.Dc(), 0, 0, 4, 2, 0, 0, 4, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCPAINT);
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 255));
  canvas.Clear(kWhite);
  StretchDIBits(canvas.Dc(), 0, 0, 4, 2, 0, 0, 4, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCINVERT);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 255, 255));
  EXPECT_EQ(canvas.At(3, 0), RGB(0, 0, 0));
}

TEST(StretchDIBits, RefusesUnsupportedHeaders) {
  Dib dib = MakeImage(8, false);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.info.data());
  header->biCompression = BI_RLE8;
  Canvas canvas(4, 2);
  EXPECT_EQ(StretchDIBits(canvas.Dc(), 0, 0, 4, 2, 0, 0, 4, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY), 0);
  header->biCompression = BI_RGB;
  header->biBitCount = 7;
  EXPECT_EQ(StretchDIBits(canvas.Dc(), 0, 0, 4, 2, 0, 0, 4, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(canvas.Count(kWhite), 8);
}

std::vector<uint8_t> Packed(const Dib& dib) {
  std::vector<uint8_t> packed = dib.info;
  packed.insert(packed.end(), dib.bits.begin(), dib.bits.end());
  return packed;
}

// Packed DIBs come from resources and the clipboard: every header, table and row is read only
// from the bytes present.
TEST(DibRows, ARowReadWholeIsItsPixelsReadOneByOne) {
  // Odd widths leave half a byte or a few bits at a row's end; the top bytes of 32-bit pixels
  // are alpha and must survive.
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<uint8_t>(seed >> 16);
  };
  for (int bitCount : {1, 4, 8, 16, 24, 32}) {
    for (DWORD compression : {DWORD{BI_RGB}, DWORD{BI_BITFIELDS}}) {
      if (compression == BI_BITFIELDS && bitCount != 16 && bitCount != 32) continue;
      for (int width : {1, 3, 5, 8}) {
        for (bool topDown : {false, true}) {
          std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 12 + 256 * 4);
          BITMAPINFOHEADER header{};
          header.biSize = sizeof header;
          header.biWidth = width;
          header.biHeight = topDown ? -3 : 3;
          header.biPlanes = 1;
          header.biBitCount = static_cast<WORD>(bitCount);
          header.biCompression = compression;
          std::memcpy(info.data(), &header, sizeof header);
          const DWORD masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
          std::memcpy(info.data() + sizeof header, masks, sizeof masks);
          for (size_t i = sizeof header + 12; i < info.size(); ++i) info[i] = next();
          auto layout = ReadDibLayout(reinterpret_cast<const BITMAPINFO*>(info.data()), info.size());
          ASSERT_TRUE(layout) << bitCount;
          std::vector<uint8_t> bits(layout->ImageBytes());
          for (uint8_t& byte : bits) byte = next();
          std::vector<uint32_t> row(static_cast<size_t>(width));
          for (int y = 0; y < 3; ++y) {
            ReadDibRow(*layout, bits.data(), y, row.data());
            for (int x = 0; x < width; ++x) {
              EXPECT_EQ(row[static_cast<size_t>(x)], ReadDibPixel(*layout, bits.data(), x, y))
                  << bitCount << " bits, compression " << compression << ", width " << width << ", at " << x << "," << y;
            }
          }
        }
      }
    }
  }
}

TEST(PackedDibs, DecodeWhatTheirBytesHoldAndNothingMore) {
  std::vector<uint8_t> packed = Packed(MakeImage(24, false));
  std::unique_ptr<Surface> image = DecodePackedDib(packed.data(), packed.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 4);
  EXPECT_EQ(ColorFromPixel(image->Pixel(3, 1) & 0xFFFFFF), kRed);
  EXPECT_FALSE(DecodePackedDib(packed.data(), packed.size() - 1));
  EXPECT_FALSE(DecodePackedDib(packed.data(), sizeof(BITMAPINFOHEADER) - 1));

  // A colour table in front of deeper bits is a hint for palette displays: skipped, not drawn.
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(packed.data());
  header->biClrUsed = 2;
  packed.insert(packed.begin() + sizeof(BITMAPINFOHEADER), 8, 0x55);
  image = DecodePackedDib(packed.data(), packed.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(ColorFromPixel(image->Pixel(0, 0) & 0xFFFFFF), kRed);
  reinterpret_cast<BITMAPINFOHEADER*>(packed.data())->biClrUsed = 0xFFFFFFFF;
  EXPECT_FALSE(DecodePackedDib(packed.data(), packed.size()));

  // Bit fields: a 40-byte header is followed by its masks, a longer one holds them; a header
  // between the two has no place for them.
  std::vector<uint8_t> fields = Packed(MakeImage(16, false));
  EXPECT_TRUE(DecodePackedDib(fields.data(), fields.size()));
  reinterpret_cast<BITMAPINFOHEADER*>(fields.data())->biSize = sizeof(BITMAPINFOHEADER) + 4;
  EXPECT_FALSE(DecodePackedDib(fields.data(), fields.size()));
  reinterpret_cast<BITMAPINFOHEADER*>(fields.data())->biSize = sizeof(BITMAPINFOHEADER) + 12;
  image = DecodePackedDib(fields.data(), fields.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(ColorFromPixel(image->Pixel(1, 0) & 0xFFFFFF), kGreen);
}

TEST(SetDIBitsToDevice, DrawsBandsOfScanLines) {
  Dib dib = MakeImage(24, false);
  Canvas canvas(4, 2);
  size_t stride = 12;
  // Only the second scan from the bottom (the image's top row) is in the buffer.
  EXPECT_EQ(SetDIBitsToDevice(canvas.Dc(), 0, 0, 4, 2, 0, 0, 1, 1, dib.bits.data() + stride, dib.Info(),
                              DIB_RGB_COLORS),
            1);
  EXPECT_EQ(canvas.At(0, 0), kRed);
  EXPECT_EQ(canvas.At(0, 1), kWhite);
  EXPECT_EQ(SetDIBitsToDevice(canvas.Dc(), 0, 0, 4, 2, 0, 0, 0, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(canvas.At(0, 1), kGreen);
}

TEST(DibSections, ThirtyTwoBitSectionsShareTheirBitsWithDrawing) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  uint32_t* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  ASSERT_NE(bits, nullptr);
  HGDIOBJ old = SelectObject(dc, section);
  SetPixel(dc, 0, 0, kRed);
  // Bottom-up: the top row is the last one in memory.
  EXPECT_EQ(bits[3], 0x00FF0000u);
  bits[2] = 0x000000FF;
  EXPECT_EQ(GetPixel(dc, 2, 1), kBlue);
  DIBSECTION ds{};
  EXPECT_EQ(GetObjectA(section, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmBits, bits);
  EXPECT_EQ(ds.dsBmih.biSizeImage, 24u);
  SelectObject(dc, old);
  DeleteObject(section);
  DeleteDC(dc);
}

TEST(DibSections, IndexedSectionsAreReadFromTheirBitsWhenBlitted) {
  Dib dib = MakeImage(8, true);
  HDC memory = CreateCompatibleDC(nullptr);
  uint8_t* bits = nullptr;
  HBITMAP section = CreateDIBSection(memory, dib.Info(), DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  ASSERT_NE(bits, nullptr);
  std::memcpy(bits, dib.bits.data(), dib.bits.size());
  HGDIOBJ old = SelectObject(memory, section);
  Canvas canvas(4, 2);
  EXPECT_TRUE(BitBlt(canvas.Dc(), 0, 0, 4, 2, memory, 0, 0, SRCCOPY));
  EXPECT_EQ(canvas.At(2, 0), kBlue);
  EXPECT_EQ(canvas.At(3, 1), kRed);
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
}

TEST(DibSections, DrawingIntoIndexedAndSixteenBitSectionsReachesTheirBits) {
  for (int bitCount : {1, 4, 8, 16}) {
    SCOPED_TRACE(bitCount);
    Dib dib = MakeImage(bitCount, true);
    HDC memory = CreateCompatibleDC(nullptr);
    uint8_t* bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, dib.Info(), DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_NE(bits, nullptr);
    HGDIOBJ old = SelectObject(memory, section);
    // Green is in every table (index 1), so it survives the trip into the bits exactly.
    HBRUSH green = CreateSolidBrush(kGreen);
    RECT all{0, 0, 4, 2};
    FillRect(memory, &all, green);
    DeleteObject(green);
    EXPECT_TRUE(GdiFlush());
    Canvas canvas(4, 2);
    StretchDIBits(canvas.Dc(), 0, 0, 4, 2, 0, 0, 4, 2, bits, dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(canvas.Count(kGreen), 8);
    // What the program writes into the bits afterwards is what GDI reads next.
    std::memcpy(bits, dib.bits.data(), dib.bits.size());
    BitBlt(canvas.Dc(), 0, 0, 4, 2, memory, 0, 0, SRCCOPY);
    EXPECT_EQ(canvas.At(0, 0), kRed);
    // The 1 bpp image sets apart only white (index 1); its green pixel was stored as index 0.
    EXPECT_EQ(canvas.At(1, 0), bitCount == 1 ? kRed : kGreen);
    // Deselecting flushes too: no GdiFlush needed.
    SetPixel(memory, 3, 1, kGreen);
    SelectObject(memory, old);
    Canvas after(4, 2);
    StretchDIBits(after.Dc(), 0, 0, 4, 2, 0, 0, 4, 2, bits, dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(after.At(3, 1), kGreen);
    DeleteObject(section);
    DeleteDC(memory);
  }
}

TEST(GetDIBits, RoundTripsThroughATopDownBuffer) {
  Canvas canvas(3, 2);
  SetPixel(canvas.Dc(), 2, 1, kGreen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 0, 0, 0, 0, BI_RGB, 0, 0, 0, 0, 0};
  EXPECT_EQ(GetDIBits(canvas.Dc(), canvas.Bitmap(), 0, 2, nullptr, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(info.bmiHeader.biWidth, 3);
  EXPECT_EQ(info.bmiHeader.biSizeImage, 24u);
  info.bmiHeader.biHeight = -2;
  info.bmiHeader.biBitCount = 24;
  std::vector<uint8_t> bits(24, 0xAA);  // Rows of 9 bytes padded to 12.
  EXPECT_EQ(GetDIBits(canvas.Dc(), canvas.Bitmap(), 0, 2, bits.data(), &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(bits[12 + 6], 0);    // blue of (2, 1)
  EXPECT_EQ(bits[12 + 7], 255);  // green of (2, 1)
  EXPECT_EQ(bits[0], 255);       // white (0, 0)
}

TEST(BitBlt, MonochromeSourcesTakeTheDestinationColoursAndColourSourcesMakeMasks) {
  HDC memory = CreateCompatibleDC(nullptr);
  const BYTE rows[4] = {0xA0, 0x00, 0x50, 0x00};  // 1010 / 0101
  HBITMAP mono = CreateBitmap(4, 2, 1, 1, rows);
  HGDIOBJ old = SelectObject(memory, mono);
  Canvas canvas(4, 2);
  SetTextColor(canvas.Dc(), kRed);    // 0 bits
  SetBkColor(canvas.Dc(), kBlue);     // 1 bits
  BitBlt(canvas.Dc(), 0, 0, 4, 2, memory, 0, 0, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), kBlue);
  EXPECT_EQ(canvas.At(1, 0), kRed);
  EXPECT_EQ(canvas.At(1, 1), kBlue);

  // Colour to monochrome: the source's background colour becomes white, the rest black.
  SetBkColor(canvas.Dc(), kRed);
  BitBlt(memory, 0, 0, 4, 2, canvas.Dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(memory, 1, 0), kWhite);
  EXPECT_EQ(GetPixel(memory, 0, 0), RGB(0, 0, 0));
  SelectObject(memory, old);
  DeleteObject(mono);
  DeleteDC(memory);
}

TEST(BitBlt, PatternOperationsClippingAndOverlappingCopies) {
  Canvas canvas(10, 10);
  HBRUSH green = CreateSolidBrush(kGreen);
  HGDIOBJ old = SelectObject(canvas.Dc(), green);
  EXPECT_TRUE(PatBlt(canvas.Dc(), 0, 0, 5, 5, PATCOPY));
  EXPECT_EQ(canvas.Count(kGreen), 25);
  PatBlt(canvas.Dc(), 0, 0, 2, 2, DSTINVERT);
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 255));
  PatBlt(canvas.Dc(), 0, 0, 10, 10, WHITENESS);
  EXPECT_EQ(canvas.Count(kWhite), 100);
  EXPECT_FALSE(PatBlt(canvas.Dc(), 0, 0, 1, 1, SRCCOPY));
  // An overlapping move within one DC reads the pixels as they were before it.
  SetPixel(canvas.Dc(), 0, 0, kRed);
  SetPixel(canvas.Dc(), 1, 0, kBlue);
  BitBlt(canvas.Dc(), 1, 0, 2, 1, canvas.Dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(canvas.At(1, 0), kRed);
  EXPECT_EQ(canvas.At(2, 0), kBlue);
  // Clipping holds for blits too, and stretching doubles pixels.
  IntersectClipRect(canvas.Dc(), 0, 5, 10, 10);
  StretchBlt(canvas.Dc(), 0, 4, 4, 2, canvas.Dc(), 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 4), kWhite);
  EXPECT_EQ(canvas.At(1, 5), kRed);
  EXPECT_EQ(canvas.At(3, 5), kRed);
  SelectObject(canvas.Dc(), old);
  DeleteObject(green);
}

}  // namespace
}  // namespace vel::platform::testing
