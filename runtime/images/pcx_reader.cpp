#include "runtime/images/pcx_reader.h"

#include <algorithm>
#include <cstring>

#include "runtime/images/bitmap_image.h"
#include "runtime/images/bmp_writer.h"
#include "runtime/images/byte_reading.h"
#include "runtime/images/image_limits.h"
#include "runtime/images/pcx_lines.h"

namespace vel::images {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::uint8_t kManufacturer = 0x0A;
constexpr std::size_t kHeaderPaletteOffset = 16;
// The 256-colour palette: a marker byte and 256 red, green, blue triples ending the file.
constexpr std::uint8_t kPaletteMarker = 12;
constexpr std::size_t kEndPaletteSize = 1 + 768;

const char kNotPcx[] = "Not a PCX file";
const char kTooManyColours[] = "Upto 256 colours supported";
const char kCannotReachPalette[] = "Cannot handle V3 pallettes";
const char kMissingMarker[] = "Missing pallette marker";
const char kShortPalette[] = "Unable to read pallette";

struct PcxHeader {
  int version = 0;
  bool coded = false;
  int bitsPerPixel = 0;
  int planes = 0;
  int width = 0;
  int height = 0;
  std::size_t bytesPerLine = 0;  ///< Of one plane.
};

// The bytes of one plane's line: the header's count when it holds the picture's width,
// otherwise the bytes the width needs, padded to an even count.
std::size_t LineBytes(const PcxHeader& header, const std::uint8_t* bytes) {
  std::size_t needed =
      (static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.bitsPerPixel) + 7) / 8;
  std::size_t stated = ReadU16(bytes + 66);
  if (stated >= needed) return stated;
  return needed + (needed % 2);
}

void CopyHeaderPalette(const std::uint8_t* bytes, RGBQUAD* table, bool twoColours) {
  for (int i = 0; i < 16; ++i) {
    const std::uint8_t* rgb = bytes + kHeaderPaletteOffset + 3 * i;
    table[i] = RGBQUAD{rgb[2], rgb[1], rgb[0], 0};
  }
  // Writers of two-colour pictures often leave the header palette empty (both colours the
  // same), meaning black and white; a palette that tells two colours apart is kept.
  bool same = std::memcmp(&table[0], &table[1], sizeof(RGBQUAD)) == 0;
  if (twoColours && same) {
    table[0] = RGBQUAD{0, 0, 0, 0};
    table[1] = RGBQUAD{255, 255, 255, 0};
  }
}

// Up to 16 colours, four bits a pixel in the bitmap: bit planes of 1 bit, where the pixel value
// takes bit k from plane k, or one plane of 2- or 4-bit packed pixels.
class FewColourRows {
 public:
  FewColourRows() {
    for (unsigned byte = 0; byte < 256; ++byte) {
      // Eight 1-bit pixels, leftmost in the top half of the first byte.
      for (unsigned pixel = 0; pixel < 8; ++pixel) {
        std::uint32_t bit = (byte >> (7 - pixel)) & 1;
        m_onePlane[byte] |= bit << (8 * (pixel / 2) + (pixel % 2 == 0 ? 4 : 0));
      }
      // Four 2-bit pixels.
      for (unsigned pixel = 0; pixel < 4; ++pixel) {
        std::uint32_t value = (byte >> (6 - 2 * pixel)) & 3;
        m_twoBits[byte] |= static_cast<std::uint16_t>(value << (8 * (pixel / 2) + (pixel % 2 == 0 ? 4 : 0)));
      }
    }
  }

  void Convert(const PcxHeader& header, const std::uint8_t* line, std::uint8_t* row) const {
    auto width = static_cast<std::size_t>(header.width);
    std::size_t rowBytes = (width + 1) / 2;
    if (header.bitsPerPixel == 4) {
      std::memcpy(row, line, rowBytes);
    } else if (header.bitsPerPixel == 2) {
      for (std::size_t i = 0; i < rowBytes / 2; ++i) WriteU16(row + 2 * i, m_twoBits[line[i]]);
      if (rowBytes % 2 != 0) row[rowBytes - 1] = static_cast<std::uint8_t>(m_twoBits[line[rowBytes / 2]]);
    } else {
      for (std::size_t i = 0; i < rowBytes / 4; ++i) WriteU32(row + 4 * i, EightPixels(header, line, i));
      if (rowBytes % 4 != 0) {
        std::uint32_t last = EightPixels(header, line, rowBytes / 4);
        for (std::size_t k = 0; k < rowBytes % 4; ++k)
          row[rowBytes / 4 * 4 + k] = static_cast<std::uint8_t>(last >> (8 * k));
      }
    }
    // The bits of an odd width's last byte beyond the picture are padding.
    if (width % 2 != 0) row[rowBytes - 1] &= 0xF0;
  }

 private:
  // Pixels 8i to 8i + 7 from the planes' byte i, as four bytes of the row (the first lowest).
  std::uint32_t EightPixels(const PcxHeader& header, const std::uint8_t* line, std::size_t i) const {
    std::uint32_t pixels = 0;
    for (int plane = 0; plane < header.planes; ++plane) {
      pixels |= m_onePlane[line[static_cast<std::size_t>(plane) * header.bytesPerLine + i]] << plane;
    }
    return pixels;
  }

  std::uint32_t m_onePlane[256] = {};
  std::uint16_t m_twoBits[256] = {};
};

void DecodeFewColours(const PcxHeader& header, PcxLineDecoder& lines, BmpWriter& bitmap) {
  static const FewColourRows rows;
  for (int y = 0; y < header.height; ++y) rows.Convert(header, lines.NextLine(), bitmap.Row(y));
}

void DecodeManyColours(const PcxHeader& header, PcxLineDecoder& lines, BmpWriter& bitmap) {
  for (int y = 0; y < header.height; ++y) {
    std::memcpy(bitmap.Row(y), lines.NextLine(), static_cast<std::size_t>(header.width));
  }
}

}  // namespace

PcxResult DecodePcx(const std::uint8_t* bytes, std::size_t size) {
  PcxResult result;
  if (bytes == nullptr || size < kHeaderSize || bytes[0] != kManufacturer) {
    result.refusal = kNotPcx;
    return result;
  }
  PcxHeader header;
  header.version = bytes[1];
  if (header.version != 0 && header.version != 2 && header.version != 5) {
    result.refusal = kNotPcx;
    return result;
  }
  header.coded = bytes[2] != 0;
  header.bitsPerPixel = bytes[3];
  header.planes = bytes[65];
  int bits = header.bitsPerPixel * header.planes;
  if (bits > 8) {
    result.refusal = kTooManyColours;
    return result;
  }
  bool manyColours = bits > 4;
  // The layouts a line can have: up to four 1-bit planes, or one plane of packed 2, 4 or
  // 8-bit pixels (8-bit for more than 16 colours).
  bool planar = header.bitsPerPixel == 1 && header.planes >= 1 && !manyColours;
  bool packed = header.planes == 1 &&
                (header.bitsPerPixel == 2 || header.bitsPerPixel == 4 || header.bitsPerPixel == 8);
  if (!planar && !packed) {
    result.refusal = kNotPcx;
    return result;
  }
  header.width = ReadU16(bytes + 8) - ReadU16(bytes + 4) + 1;
  header.height = ReadU16(bytes + 10) - ReadU16(bytes + 6) + 1;
  if (!PictureSizeAllowed(header.width, header.height)) {
    result.refusal = kNotPcx;
    return result;
  }
  header.bytesPerLine = LineBytes(header, bytes);

  std::size_t dataEnd = size;
  const std::uint8_t* endPalette = nullptr;
  if (manyColours) {
    if (size < kEndPaletteSize) {
      result.refusal = kCannotReachPalette;
      return result;
    }
    endPalette = bytes + size - kEndPaletteSize;
    if (endPalette[0] != kPaletteMarker) {
      result.refusal = kMissingMarker;
      return result;
    }
    // A palette that overlaps the header is not a palette of its own.
    if (size < kHeaderSize + kEndPaletteSize) {
      result.refusal = kShortPalette;
      return result;
    }
    dataEnd = size - kEndPaletteSize;
  }
  // Every line fills its row whole.
  std::optional<BmpWriter> bitmap = BmpWriter::Create(header.width, header.height, manyColours ? 8 : 4,
                                                      manyColours ? 256 : 16, ImageStorage::Fill::Caller);
  if (!bitmap) {
    result.refusal = kNotPcx;
    return result;
  }
  if (manyColours) {
    for (int i = 0; i < 256; ++i) {
      const std::uint8_t* rgb = endPalette + 1 + 3 * i;
      bitmap->Table()[i] = RGBQUAD{rgb[2], rgb[1], rgb[0], 0};
    }
  } else {
    CopyHeaderPalette(bytes, bitmap->Table(), bits == 1);
  }
  PcxLineDecoder lines(bytes + kHeaderSize, dataEnd - kHeaderSize, header.coded,
                       header.bytesPerLine * static_cast<std::size_t>(header.planes));
  if (manyColours) {
    DecodeManyColours(header, lines, *bitmap);
  } else {
    DecodeFewColours(header, lines, *bitmap);
  }
  result.bitmap = bitmap->Finish();
  return result;
}

std::unique_ptr<Image> CreatePcxFromData(const ImageOwner&, const std::uint8_t* bytes, std::size_t size,
                                         unsigned flags) {
  PcxResult decoded = DecodePcx(bytes, size);
  if (!decoded.bitmap) return nullptr;
  return BitmapImage::FromStorage(std::move(*decoded.bitmap), flags, ".pcx");
}

}  // namespace vel::images
