#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "platform/gdi/icon_directory.h"
#include "platform/gdi/icon_object.h"
#include "platform/gdi/png_codec.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/platform/gdi/icon_builder.h"

namespace vel::platform::testing {
namespace {

const COLORREF kGrey = RGB(128, 128, 128);

// An image whose left half is opaque and right half transparent.
bool LeftHalfOpaqueMask(int x, int) { return x >= 8; }

std::vector<uint32_t> Palette256(int index, uint32_t color) {
  std::vector<uint32_t> palette(256, 0);
  palette[static_cast<size_t>(index)] = color;
  return palette;
}

HICON IconFromDib(const std::vector<uint8_t>& dib) {
  return CreateIconFromResourceEx(const_cast<uint8_t*>(dib.data()), static_cast<DWORD>(dib.size()), TRUE,
                                  0x00030000, 0, 0, 0);
}

TEST(Icons, EveryDepthDrawsItsColoursThroughTheMask) {
  struct Case {
    int bitCount;
    std::vector<uint32_t> palette;
    uint32_t value;
    COLORREF expected;
  };
  const Case cases[] = {
      {1, {0x000000, 0xFF0000}, 1, RGB(255, 0, 0)},
      {4, {0, 0, 0, 0x00FF00}, 3, RGB(0, 255, 0)},
      {8, Palette256(200, 0x0000FF), 200, RGB(0, 0, 255)},
      {24, {}, 0x123456, RGB(0x12, 0x34, 0x56)},
      {32, {}, 0x00654321, RGB(0x65, 0x43, 0x21)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bitCount);
    // Transparent pixels carry colour zero, so the screen shows through unchanged.
    auto dib = IconDib(16, c.bitCount, [&](int x, int) { return x < 8 ? c.value : 0u; }, LeftHalfOpaqueMask, c.palette);
    HICON icon = IconFromDib(dib);
    ASSERT_NE(icon, nullptr);
    Canvas canvas(20, 20, kGrey);
    EXPECT_TRUE(DrawIconEx(canvas.Dc(), 2, 2, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(2, 2), c.expected);
    EXPECT_EQ(canvas.At(9, 17), c.expected);
    EXPECT_EQ(canvas.At(10, 2), kGrey);
    EXPECT_EQ(canvas.At(18, 2), kGrey);  // Outside the icon.
    EXPECT_TRUE(DestroyIcon(icon));
  }
}

TEST(Icons, MaskedWhitePixelsInvertTheScreenAndAlphaBlends) {
  // Monochrome cursors draw "inverted" where mask and colour are both set.
  auto dib = IconDib(16, 1, [](int, int) { return 1u; }, [](int, int) { return true; }, {0x000000, 0xFFFFFF});
  HICON invert = IconFromDib(dib);
  Canvas canvas(16, 16, RGB(0, 255, 255));
  DrawIconEx(canvas.Dc(), 0, 0, invert, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(3, 3), RGB(255, 0, 0));
  DestroyIcon(invert);

  auto alpha = IconDib(16, 32, [](int x, int) { return x < 8 ? 0xFF0000FFu : 0x800000FFu; }, [](int, int) { return false; });
  HICON blended = IconFromDib(alpha);
  canvas.Clear(RGB(255, 255, 255));
  DrawIconEx(canvas.Dc(), 0, 0, blended, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(12, 0), RGB(127, 127, 255));
  // Stretching to 32 doubles every pixel; DI_MASK alone only punches the mask.
  canvas.Clear(RGB(255, 255, 255));
  DrawIconEx(canvas.Dc(), 0, 0, blended, 32, 32, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(15, 15), RGB(0, 0, 255));
  DestroyIcon(blended);
}

TEST(Icons, PngEntriesDecodeWithTheirAlpha) {
  Surface pixels(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) pixels.SetPixel(x, y, y < 4 ? 0xFF00FF00u : 0x00000000u);
  }
  std::vector<uint8_t> png = EncodePng(pixels, true);
  auto file = IcoFile({{8, 8, 32, png}});
  auto directory = ParseIconFile(file.data(), file.size());
  ASSERT_TRUE(directory);
  const IconEntry& entry = directory->entries[0];
  HICON icon = IconFromResourceBits(file.data() + entry.offset, entry.bytes, true);
  ASSERT_NE(icon, nullptr);
  Canvas canvas(8, 8, kGrey);
  DrawIconEx(canvas.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(1, 6), kGrey);
  DestroyIcon(icon);
}

TEST(IconFiles, DirectoriesAreCheckedAndTheBestSizeIsChosen) {
  auto small = IconDib(16, 4, [](int, int) { return 1u; }, [](int, int) { return false; }, std::vector<uint32_t>(16, 0));
  auto big4 = IconDib(32, 4, [](int, int) { return 1u; }, [](int, int) { return false; }, std::vector<uint32_t>(16, 0));
  auto big24 = IconDib(32, 24, [](int, int) { return 0xFFu; }, [](int, int) { return false; });
  auto file = IcoFile({{16, 16, 4, small}, {32, 32, 4, big4}, {32, 32, 24, big24}});
  auto directory = ParseIconFile(file.data(), file.size());
  ASSERT_TRUE(directory);
  EXPECT_EQ(directory->entries.size(), 3u);
  EXPECT_EQ(BestIconEntry(*directory, 32, 32), 2);
  EXPECT_EQ(BestIconEntry(*directory, 16, 16), 0);
  EXPECT_EQ(BestIconEntry(*directory, 26, 26), 2);  // Shrinking 32 beats growing 16.

  // Entries pointing past the end, zero counts and wrong types are refused.
  auto lying = file;
  lying[6 + 16 + 15] = 0x7F;  // High byte of the second entry's offset.
  EXPECT_FALSE(ParseIconFile(lying.data(), lying.size()));
  EXPECT_FALSE(ParseIconFile(file.data(), 20));
  auto wrongType = file;
  wrongType[2] = 3;
  EXPECT_FALSE(ParseIconFile(wrongType.data(), wrongType.size()));
  // A truncated image decodes to nothing rather than reading beyond its bytes.
  EXPECT_EQ(IconFromResourceBits(big24.data(), big24.size() / 2, true), nullptr);
  auto absurd = big24;
  BITMAPINFOHEADER header;
  std::memcpy(&header, absurd.data(), sizeof header);
  header.biWidth = 0x40000000;
  std::memcpy(absurd.data(), &header, sizeof header);
  EXPECT_EQ(IconFromResourceBits(absurd.data(), absurd.size(), true), nullptr);
}

// Images whose headers claim more than the bytes hold decode to nothing, and longer header
// versions (which carry the bit-field masks inside) decode as the short one does.
TEST(IconFiles, HeadersAreReadOnlyFromTheBytesPresent) {
  // A 42-byte header asking for bit fields in a 46-byte image: the masks of a longer header
  // would lie past the end.
  const std::vector<uint8_t> maskPastEnd = {
      0x2a, 0x00, 0x00, 0x00, 0x2a, 0x00, 0x00, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff,
      0xff, 0xaf, 0x10, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0xfe, 0x03, 0x01, 0x40, 0x00, 0x00, 0xff,
      0xff, 0xff, 0xff, 0x2f, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x35, 0x00, 0xbf};
  // Copied to a buffer of its own size, so that AddressSanitizer sees any read past it.
  auto exact = std::make_unique<uint8_t[]>(maskPastEnd.size());
  std::memcpy(exact.get(), maskPastEnd.data(), maskPastEnd.size());
  EXPECT_EQ(IconFromResourceBits(exact.get(), maskPastEnd.size(), true), nullptr);

  // The same kind of image, 16 bits per pixel in 5-6-5 fields, with a 52-byte header.
  std::vector<uint8_t> fields(sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER) + 12, 2, 4, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0};
  std::memcpy(fields.data(), &header, sizeof header);
  for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) PutDword(fields, mask);
  for (int pixel = 0; pixel < 4; ++pixel) PutWord(fields, 0x07E0);  // Two rows of two green pixels.
  for (int row = 0; row < 2; ++row) PutDword(fields, 0);             // Mask rows: all opaque.
  HICON green = IconFromResourceBits(fields.data(), fields.size(), true);
  ASSERT_NE(green, nullptr);
  Canvas canvas(2, 2, kGrey);
  DrawIconEx(canvas.Dc(), 0, 0, green, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 255, 0));
  DestroyIcon(green);
  // Cut inside the masks, the same header is refused.
  fields.resize(sizeof(BITMAPINFOHEADER) + 8);
  EXPECT_EQ(IconFromResourceBits(fields.data(), fields.size(), true), nullptr);

  // A 124-byte header in front of a full 256-colour table still finds its whole table.
  auto indexed = IconDib(16, 8, [](int, int) { return 255u; }, [](int, int) { return false; }, Palette256(255, 0x0000FF));
  BITMAPINFOHEADER longer;
  std::memcpy(&longer, indexed.data(), sizeof longer);
  longer.biSize = 124;
  std::memcpy(indexed.data(), &longer, sizeof longer);
  indexed.insert(indexed.begin() + sizeof longer, 124 - sizeof longer, 0);
  HICON blue = IconFromResourceBits(indexed.data(), indexed.size(), true);
  ASSERT_NE(blue, nullptr);
  DrawIconEx(canvas.Dc(), 0, 0, blue, 2, 2, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 255));
  DestroyIcon(blue);
}

TEST(IconFiles, GroupResourcesPickAnIdAndLoadThatImage) {
  std::vector<uint8_t> group;
  PutWord(group, 0);
  PutWord(group, 1);
  PutWord(group, 2);
  for (auto [size, id] : {std::pair{16, 7}, std::pair{32, 9}}) {
    group.insert(group.end(), {static_cast<uint8_t>(size), static_cast<uint8_t>(size), 0, 0});
    PutWord(group, 1);
    PutWord(group, 8);
    PutDword(group, 100);
    PutWord(group, static_cast<uint16_t>(id));
  }
  EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, 32, 32, 0), 9);
  EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, 16, 16, 0), 7);
  EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), FALSE, 16, 16, 0), 0);  // Not a cursor group.
  auto image = IconDib(32, 8, [](int, int) { return 0u; }, [](int, int) { return false; }, {0x00FF00});
  int asked = 0;
  HICON icon = IconFromGroup(group.data(), group.size(), 32, 32, [&](uint16_t id) {
    asked = id;
    return image;
  });
  EXPECT_EQ(asked, 9);
  ASSERT_NE(icon, nullptr);
  DestroyIcon(icon);
}

TEST(Cursors, ResourceDataCarriesTheHotSpot) {
  auto dib = IconDib(32, 1, [](int, int) { return 0u; }, [](int, int) { return true; }, {0, 0xFFFFFF});
  std::vector<uint8_t> resource;
  PutWord(resource, 5);
  PutWord(resource, 7);
  resource.insert(resource.end(), dib.begin(), dib.end());
  HCURSOR cursor = CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000, 0,
                                            0, 0);
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 7u);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  EXPECT_TRUE(DestroyCursor(cursor));
  EXPECT_FALSE(DestroyCursor(cursor));
}

TEST(Icons, IndirectCreationRoundTripsThroughGetIconInfo) {
  auto dib = IconDib(16, 24, [](int x, int) { return x < 8 ? 0xFF0000u : 0u; }, LeftHalfOpaqueMask);
  HICON original = IconFromDib(dib);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(original, &info));
  EXPECT_TRUE(info.fIcon);
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmBitsPixel, 1);
  HICON rebuilt = CreateIconIndirect(&info);
  HICON copy = CopyIcon(rebuilt);
  DestroyIcon(rebuilt);
  Canvas canvas(16, 16, kGrey);
  DrawIcon(canvas.Dc(), 0, 0, copy);  // Default size 32: pixels double.
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
  canvas.Clear(kGrey);
  DrawIconEx(canvas.Dc(), 0, 0, copy, 16, 16, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(canvas.At(12, 0), kGrey);
  EXPECT_FALSE(DeleteObject(copy));  // Icons are not GDI objects.
  DestroyIcon(copy);
  DestroyIcon(original);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
}

TEST(StockIcons, EveryStandardIdIsDrawnSharedAndHasSensibleHotSpots) {
  for (LPCSTR id : {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK, IDI_WINLOGO}) {
    HICON icon = LoadIconA(nullptr, id);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, id), icon);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_EQ(LoadIconA(nullptr, id), icon);  // Shared icons outlive DestroyIcon.
    Canvas canvas(32, 32, kGrey);
    DrawIcon(canvas.Dc(), 0, 0, icon);
    EXPECT_GT(canvas.Count(kGrey), 0);      // Some of it is transparent,
    EXPECT_LT(canvas.Count(kGrey), 32 * 32);  // and some of it is drawn.
  }
  for (LPCSTR id : {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_UPARROW, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,
                    IDC_SIZENS, IDC_SIZEALL, IDC_NO, IDC_HAND, IDC_APPSTARTING}) {
    EXPECT_NE(LoadCursorA(nullptr, id), nullptr);
  }
  ICONINFO arrow{};
  GetIconInfo(LoadCursorA(nullptr, IDC_ARROW), &arrow);
  EXPECT_EQ(arrow.xHotspot, 0u);
  ICONINFO cross{};
  GetIconInfo(LoadCursorA(nullptr, IDC_CROSS), &cross);
  EXPECT_EQ(cross.xHotspot, 16u);
  for (HBITMAP b : {arrow.hbmMask, arrow.hbmColor, cross.hbmMask, cross.hbmColor}) DeleteObject(b);
  EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(32600)), nullptr);
}

TEST(ExtractIcon, ReadsIconFilesAndAnswersOneForOtherFiles) {
  auto image = IconDib(32, 24, [](int, int) { return 0xFFu; }, [](int, int) { return false; });
  auto file = IcoFile({{32, 32, 24, image}});
  std::string path = ::testing::TempDir() + "extract_test.ico";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  HICON icon = ExtractIconA(nullptr, path.c_str(), 0);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(ExtractIconA(nullptr, path.c_str(), static_cast<UINT>(-1)), reinterpret_cast<HICON>(1));
  EXPECT_EQ(ExtractIconA(nullptr, path.c_str(), 1), nullptr);
  DestroyIcon(icon);
  std::string text = ::testing::TempDir() + "extract_test.txt";
  std::ofstream(text) << "not an icon";
  EXPECT_EQ(ExtractIconA(nullptr, text.c_str(), 0), reinterpret_cast<HICON>(1));
  EXPECT_EQ(ExtractIconA(nullptr, "/nonexistent/file.ico", 0), nullptr);
  std::remove(path.c_str());
  std::remove(text.c_str());
}

}  // namespace
}  // namespace vel::platform::testing
