// Writes the generated part of the fuzz seed corpora: valid files of each binary format, made
// with the tests' own builders and encoders, so that fuzzing starts from inputs that reach deep
// into the readers instead of from nothing. Text seeds are kept as hand-written files.
//
//   write_fuzz_seeds SOURCE_DIR      (writes into SOURCE_DIR/fuzz/corpus/<target>/)
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <png.h>

#include "platform/gdi/png_codec.h"
#include "tests/platform/gdi/icon_builder.h"
#include "tests/platform/gdi/metafile_builder.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace {

using namespace vel::platform;
using namespace vel::platform::testing;
using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

fs::path g_source;

void Write(const std::string& target, const std::string& name, const Bytes& bytes) {
  fs::path folder = g_source / "fuzz" / "corpus" / target;
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadSource(const std::string& relative) {
  std::ifstream in(g_source / relative, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "write_fuzz_seeds: cannot read %s\n", relative.c_str());
    std::exit(1);
  }
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The brush style of a DIB pattern record (BS_DIBPATTERN), which the platform header lacks.
constexpr int kDibPatternStyle = 5;

int Lo(uint32_t v) { return static_cast<int>(v & 0xFFFF); }
int Hi(uint32_t v) { return static_cast<int>(v >> 16); }

// A packed DIB (header, masks or colour table, bits) of a small striped image.
Bytes PackedDib(int width, int height, int bitCount, bool topDown, DWORD compression = BI_RGB,
                DWORD headerSize = sizeof(BITMAPINFOHEADER)) {
  Bytes out(headerSize, 0);
  BITMAPINFOHEADER header{headerSize, width, topDown ? -height : height, 1, static_cast<WORD>(bitCount),
                          compression, 0, 0, 0, 0, 0};
  std::memcpy(out.data(), &header, sizeof header);
  if (compression == BI_BITFIELDS) {
    const uint32_t masks[3] = {bitCount == 16 ? 0xF800u : 0xFF0000u, bitCount == 16 ? 0x07E0u : 0x00FF00u,
                               bitCount == 16 ? 0x001Fu : 0x0000FFu};
    if (headerSize == sizeof(BITMAPINFOHEADER)) {
      for (uint32_t mask : masks) PutDword(out, mask);
    } else {
      std::memcpy(out.data() + sizeof header, masks, sizeof masks);
    }
  }
  if (bitCount <= 8) {
    for (int i = 0; i < (1 << bitCount); ++i) PutDword(out, static_cast<uint32_t>(i * 0x010307) & 0xFFFFFF);
  }
  size_t stride = ((static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 31) / 32) * 4;
  for (int row = 0; row < height; ++row) {
    for (size_t i = 0; i < stride; ++i) out.push_back(static_cast<uint8_t>(row * 37 + i * 11));
  }
  return out;
}

void WriteIconSeeds() {
  const std::string target = "ico_fuzz";
  auto checker = [](int x, int y) { return static_cast<uint32_t>((x + y) % 2); };
  auto ring = [](int x, int y) { return x == 0 || y == 0 || x == 15 || y == 15; };
  std::vector<uint32_t> palette16(16);
  for (size_t i = 0; i < palette16.size(); ++i) palette16[i] = static_cast<uint32_t>(i) * 0x101010;
  std::vector<uint32_t> palette256(256);
  for (size_t i = 0; i < palette256.size(); ++i) palette256[i] = static_cast<uint32_t>(i) * 0x010101;
  const Bytes mono = IconDib(16, 1, checker, ring, {0x000000, 0xFFFFFF});
  const Bytes four = IconDib(16, 4, [](int x, int) { return static_cast<uint32_t>(x); }, ring, palette16);
  const Bytes eight = IconDib(16, 8, [](int x, int y) { return static_cast<uint32_t>(x * 16 + y); }, ring, palette256);
  const Bytes deep = IconDib(16, 24, [](int x, int y) { return static_cast<uint32_t>(x * 0x100F + y); }, ring);
  const Bytes alpha = IconDib(32, 32, [](int x, int y) { return static_cast<uint32_t>((x * 8) << 24 | y); },
                              [](int, int) { return false; });
  Write(target, "image-1bpp", mono);
  Write(target, "image-4bpp", four);
  Write(target, "image-8bpp", eight);
  Write(target, "image-24bpp", deep);
  Write(target, "image-32bpp-alpha", alpha);

  Surface pixels(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) pixels.SetPixel(x, y, y < 4 ? 0xFF00FF00u : 0x40000000u);
  }
  const Bytes png = EncodePng(pixels, true);
  Write(target, "image-png", png);

  Bytes cursor;
  PutWord(cursor, 3);
  PutWord(cursor, 5);
  cursor.insert(cursor.end(), mono.begin(), mono.end());
  Write(target, "cursor-resource", cursor);
  Write(target, "file-three-depths.ico", IcoFile({{16, 16, 4, four}, {16, 16, 24, deep}, {32, 32, 32, alpha}}));
  Write(target, "file-png.ico", IcoFile({{8, 8, 32, png}}));
  Write(target, "file.cur", IcoFile({{16, 16, 1, mono, 3, 5}}, true));

  Bytes group;
  PutWord(group, 0);
  PutWord(group, 1);
  PutWord(group, 2);
  for (auto [side, id] : {std::pair{16, 1}, std::pair{32, 2}}) {
    group.insert(group.end(), {static_cast<uint8_t>(side), static_cast<uint8_t>(side), 0, 0});
    PutWord(group, 1);
    PutWord(group, 32);
    PutDword(group, 1000);
    PutWord(group, static_cast<uint16_t>(id));
  }
  Write(target, "group-icon", group);

  for (const char* file : {"tests/data/resources/two_sizes.ico", "tests/data/resources/corner.cur",
                           "tests/tools/data/get.ico", "tests/tools/data/cancel.ico", "tests/tools/data/arrow.cur"}) {
    Write(target, fs::path(file).filename().string(), ReadSource(file));
  }
}

// The DIB target reads the last byte as the colour table's kind (even: RGB, odd: palette
// indexes) and the rest as a packed DIB.
void WriteDib(const std::string& name, Bytes dib, bool paletteIndexes = false) {
  dib.push_back(paletteIndexes ? 1 : 0);
  Write("dib_fuzz", name, dib);
}

void WriteDibSeeds() {
  for (int bitCount : {1, 4, 8, 24, 32}) {
    WriteDib("bottom-up-" + std::to_string(bitCount) + "bpp", PackedDib(5, 3, bitCount, false));
  }
  WriteDib("top-down-8bpp", PackedDib(6, 4, 8, true));
  WriteDib("fields-16bpp", PackedDib(3, 3, 16, false, BI_BITFIELDS));
  WriteDib("fields-32bpp-long-header", PackedDib(3, 2, 32, true, BI_BITFIELDS, 108));
  WriteDib("rgb-16bpp", PackedDib(4, 2, 16, false));

  // Palette indexes: a 4 bpp image whose table holds 16 two-byte indexes.
  Bytes indexed(sizeof(BITMAPINFOHEADER), 0);
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 4, 2, 1, 4, BI_RGB, 0, 0, 0, 0, 0};
  std::memcpy(indexed.data(), &header, sizeof header);
  for (int i = 0; i < 16; ++i) PutWord(indexed, static_cast<uint16_t>(i));
  for (int i = 0; i < 8; ++i) indexed.push_back(static_cast<uint8_t>(i * 0x13));
  WriteDib("palette-indexes-4bpp", indexed, true);

  // A deep image with a colour table kept as a hint in front of its bits.
  Bytes hinted = PackedDib(2, 2, 24, false);
  header = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, BI_RGB, 0, 0, 0, 2, 0};
  std::memcpy(hinted.data(), &header, sizeof header);
  hinted.insert(hinted.begin() + sizeof header, {1, 2, 3, 0, 4, 5, 6, 0});
  WriteDib("hint-table-24bpp", hinted);

  // Bitmap files without their 14-byte file header are packed DIBs.
  for (const char* file : {"tests/data/resources/tiny.bmp", "tests/tools/data/logo.bmp"}) {
    Bytes bmp = ReadSource(file);
    WriteDib(fs::path(file).stem().string(), Bytes(bmp.begin() + 14, bmp.end()));
  }
}

void WriteMetafileSeeds() {
  const std::string target = "wmf_fuzz";
  MetafileBuilder shapes(6);
  shapes.Record(0x0103, {MM_ANISOTROPIC})
      .Record(0x020C, {100, 100})
      .Record(0x020B, {0, 0})
      .Record(0x020E, {64, 64})
      .Record(0x020D, {0, 0})
      .Record(0x0201, {Lo(0xFFFFFF), Hi(0xFFFFFF)})
      .Record(0x0102, {OPAQUE})
      .Record(0x0104, {R2_XORPEN})
      .Record(0x0106, {WINDING})
      .Record(0x02FC, {BS_SOLID, Lo(0x0000FF), Hi(0x0000FF), 0})
      .Record(0x02FC, {BS_HATCHED, Lo(0x00FF00), Hi(0x00FF00), HS_CROSS})
      .Record(0x02FA, {PS_DASH, 1, 0, Lo(0xFF0000), Hi(0xFF0000)})
      .Record(0x012D, {0})
      .Record(0x012D, {2})
      .Record(0x041B, {50, 50, 10, 10})
      .Record(0x012D, {1})
      .Record(0x0418, {90, 90, 40, 40})
      .Record(0x061C, {8, 8, 30, 80, 5, 60})
      .Record(0x0214, {0, 0})
      .Record(0x0213, {99, 99})
      .Record(0x0324, {3, 10, 10, 50, 90, 90, 10})
      .Record(0x0325, {4, 0, 0, 20, 0, 20, 20, 0, 20})
      .Record(0x0538, {2, 3, 3, 0, 0, 10, 0, 0, 10, 50, 50, 60, 50, 50, 60})
      .Record(0x041F, {Lo(0x123456), Hi(0x123456), 5, 5})
      .Record(0x061D, {Lo(PATINVERT), Hi(PATINVERT), 20, 20, 70, 70})
      .Record(0x01F0, {1});
  Write(target, "shapes.wmf", shapes.Build(true));

  MetafileBuilder clipping(4);
  clipping.Record(0x001E, {})
      .Record(0x0416, {30, 30, 2, 2})
      .Record(0x0415, {12, 12, 8, 8})
      .Record(0x06FF, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
      .Record(0x012C, {0})
      .Record(0x061D, {Lo(BLACKNESS), Hi(BLACKNESS), 40, 40, 0, 0})
      .Record(0x0127, {-1})
      .Record(0x020F, {3, 3})
      .Record(0x0211, {-2, 4})
      .Record(0x0107, {COLORONCOLOR});
  Write(target, "clipping.wmf", clipping.Build());

  // Text: a font record with its face name, TextOut and ExtTextOut with a rectangle and spacing.
  MetafileBuilder text(2);
  Bytes font;
  for (int v : {-14, 0, 0, 0, 700}) PutWord(font, static_cast<uint16_t>(v));
  font.insert(font.end(), {1, 0, 0, ANSI_CHARSET, 0, 0, 0, 0});
  for (char c : std::string("Arial")) font.push_back(static_cast<uint8_t>(c));
  font.push_back(0);
  Bytes textOut;
  PutWord(textOut, 5);
  for (char c : std::string("Hello")) textOut.push_back(static_cast<uint8_t>(c));
  textOut.push_back(0);
  PutWord(textOut, 20);
  PutWord(textOut, 4);
  Bytes extText;
  for (int v : {40, 4, 3, ETO_OPAQUE | ETO_CLIPPED, 0, 30, 60, 50}) PutWord(extText, static_cast<uint16_t>(v));
  extText.insert(extText.end(), {'a', 'b', 'c', 0});
  for (int v : {7, 8, 9}) PutWord(extText, static_cast<uint16_t>(v));
  text.RawRecord(0x02FB, font).Record(0x012D, {0}).Record(0x0209, {Lo(0x0000FF), Hi(0x0000FF)})
      .Record(0x012E, {TA_BASELINE}).RawRecord(0x0521, textOut).RawRecord(0x0A32, extText);
  Write(target, "text.wmf", text.Build());

  // Palettes and every DIB record.
  const Bytes dib8 = PackedDib(4, 4, 8, false);
  const Bytes dib24 = PackedDib(3, 2, 24, true);
  auto withFixed = [](std::initializer_list<int> words, const Bytes& dib) {
    Bytes out;
    for (int w : words) PutWord(out, static_cast<uint16_t>(w));
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
  };
  Bytes palette;
  PutWord(palette, 0x300);
  PutWord(palette, 3);
  for (uint32_t entry : {0x000000FFu, 0x0000FF00u, 0x00FF0000u}) PutDword(palette, entry);
  MetafileBuilder dibs(3);
  dibs.RawRecord(0x00F7, palette)
      .Record(0x0234, {0})
      .Record(0x0035, {})
      .RawRecord(0x0142, withFixed({kDibPatternStyle, DIB_RGB_COLORS}, dib8))
      .Record(0x012D, {1})
      .Record(0x041B, {20, 20, 0, 0})
      .RawRecord(0x0940, withFixed({Lo(SRCCOPY), Hi(SRCCOPY), 0, 0, 2, 3, 30, 30}, dib24))
      .RawRecord(0x0B41, withFixed({Lo(SRCAND), Hi(SRCAND), 2, 3, 0, 0, 8, 9, 40, 10}, dib24))
      .RawRecord(0x0F43, withFixed({Lo(SRCCOPY), Hi(SRCCOPY), DIB_RGB_COLORS, 4, 4, 0, 0, 16, 16, 2, 40}, dib8))
      .RawRecord(0x0D33, withFixed({DIB_RGB_COLORS, 2, 0, 0, 0, 2, 3, 50, 50}, dib24))
      .Record(0x0940, {Lo(PATCOPY), Hi(PATCOPY), 0, 10, 10, 5, 5, 0, 0});
  Write(target, "dibs.wmf", dibs.Build());
}

// A PNG in a format EncodePng does not write, through libpng itself.
Bytes PngOfKind(int colorType, int bitDepth, int interlace) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  Bytes out;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t length) {
        auto* target = static_cast<Bytes*>(png_get_io_ptr(p));
        target->insert(target->end(), data, data + length);
      },
      nullptr);
  const int side = 5;
  png_set_IHDR(png, info, side, side, bitDepth, colorType, interlace, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    png_color colors[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    png_set_PLTE(png, info, colors, 4);
    png_byte alphas[2] = {0, 128};
    png_set_tRNS(png, info, alphas, 2, nullptr);
  }
  png_write_info(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  std::vector<uint8_t> row(rowBytes);
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < side; ++y) {
      for (size_t i = 0; i < rowBytes; ++i) {
        // Palette images may only use the four colours they have.
        row[i] = colorType == PNG_COLOR_TYPE_PALETTE ? static_cast<uint8_t>(((y + i) % 4) << 4 | i % 4)
                                                     : static_cast<uint8_t>(y * 41 + i * 7);
      }
      png_write_row(png, row.data());
    }
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

void WritePngSeeds() {
  Surface pixels(6, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) pixels.SetPixel(x, y, static_cast<uint32_t>(x * 40) << 24 | static_cast<uint32_t>(y * 0x3F00));
  }
  Write("png_fuzz", "rgb", EncodePng(pixels, false));
  Write("png_fuzz", "rgba", EncodePng(pixels, true));
  Write("png_fuzz", "gray-8", PngOfKind(PNG_COLOR_TYPE_GRAY, 8, PNG_INTERLACE_NONE));
  Write("png_fuzz", "gray-1", PngOfKind(PNG_COLOR_TYPE_GRAY, 1, PNG_INTERLACE_NONE));
  Write("png_fuzz", "gray-alpha-16", PngOfKind(PNG_COLOR_TYPE_GRAY_ALPHA, 16, PNG_INTERLACE_NONE));
  Write("png_fuzz", "palette-4-transparent", PngOfKind(PNG_COLOR_TYPE_PALETTE, 4, PNG_INTERLACE_NONE));
  Write("png_fuzz", "rgb-16", PngOfKind(PNG_COLOR_TYPE_RGB, 16, PNG_INTERLACE_NONE));
  Write("png_fuzz", "interlaced", PngOfKind(PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_ADAM7));
}

void WriteWindowDefinitionSeeds() {
  for (const char* file : {"app/skarv001.wdc", "app/skarv_sf.wdc", "tests/runtime/windows/data/lookup.wdc",
                           "tests/runtime/windows/data/foreign.wdc"}) {
    Bytes text = ReadSource(file);
    std::string_view declarations(reinterpret_cast<const char*>(text.data()), text.size());
    Write("window_definition_fuzz", fs::path(file).stem().string() + ".vz",
          vel::tools::WriteDefinitionResource(vel::tools::ParseDeclarations(declarations)));
  }
}

// The picture target reads its first byte as the picture's length, then the picture, then the
// value.
void WritePictureSeeds() {
  const std::pair<const char*, const char*> cases[] = {
      {"@N10.2", "-1234.567"}, {"@N-12`2~ kr~", "98765.4"}, {"@N_8.3B", "0"},     {"@N$10.2", "12.5"},
      {"@D1", "76543"},        {"@D17", "2001/02/03"},     {"@D6.", "1 Feb 99"}, {"@D18", "36558"},
      {"@T1", "4500001"},      {"@T4", "13:45:07"},        {"@T8", "1:02 PM"},   {"@S20", "text to fit"},
      {"@P(###) ###-####P", "5551234567"},                 {"@K###-@@@K", "12ABC"},
      {"@E12.2", "-1.5e-7"},   {"@N3", "99999"},
  };
  int number = 0;
  for (const auto& [picture, value] : cases) {
    Bytes seed{static_cast<uint8_t>(std::strlen(picture))};
    seed.insert(seed.end(), picture, picture + std::strlen(picture));
    seed.insert(seed.end(), value, value + std::strlen(value));
    Write("picture_fuzz", "picture-" + std::to_string(++number), seed);
  }
}

// Text formats the project already holds examples of.
void WriteCopiedSeeds() {
  const std::pair<const char*, std::vector<const char*>> copies[] = {
      {"resource_script_fuzz",
       {"app/skarvine.rc", "runtime/services/error_messages.rc", "tests/tools/data/program.rc",
        "tests/tools/data/extra.rc", "tests/tools/data/resource.h", "tests/runtime/windows/data/own.rc",
        "tests/data/resources/gdi_tests.rc"}},
      {"declaration_text_fuzz",
       {"app/skarv001.wdc", "app/skarv_sf.wdc", "tests/runtime/windows/data/lookup.wdc",
        "tests/runtime/windows/data/foreign.wdc"}},
  };
  for (const auto& [target, files] : copies) {
    for (const char* file : files) Write(target, fs::path(file).filename().string(), ReadSource(file));
  }
  // The resource compiler's target reads the bytes after a zero byte as every file the script
  // names.
  const std::pair<const char*, const char*> withFiles[] = {
      {"APP ICON \"app.ico\"\n", "tests/data/resources/two_sizes.ico"},
      {"CORNER CURSOR \"corner.cur\"\n", "tests/data/resources/corner.cur"},
      {"LOGO BITMAP \"logo.bmp\"\n", "tests/tools/data/logo.bmp"},
  };
  for (const auto& [script, file] : withFiles) {
    Bytes seed(script, script + std::strlen(script));
    seed.push_back(0);
    Bytes contents = ReadSource(file);
    seed.insert(seed.end(), contents.begin(), contents.end());
    Write("resource_script_fuzz", "with-" + fs::path(file).filename().string(), seed);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_fuzz_seeds SOURCE_DIR\n");
    return 2;
  }
  g_source = argv[1];
  WriteIconSeeds();
  WriteDibSeeds();
  WriteMetafileSeeds();
  WritePngSeeds();
  WriteWindowDefinitionSeeds();
  WritePictureSeeds();
  WriteCopiedSeeds();
  return 0;
}
