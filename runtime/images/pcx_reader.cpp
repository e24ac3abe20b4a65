#include "runtime/images/pcx_reader.h"

#include <algorithm>
#include <cstring>

#include "runtime/images/bitmap_image.h"
#include "runtime/images/bmp_writer.h"
#include "runtime/images/byte_reading.h"
#include "runtime/images/image_limits.h"

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

// The line data: run-length coded or plain, one stream across planes and lines.
class LineReader {
 public:
  LineReader(const std::uint8_t* data, std::size_t size, bool coded) : m_data(data), m_size(size), m_coded(coded) {}

  // Fills `out` with the next `count` bytes of picture data; bytes beyond the end are 0. The
  // position is kept in locals while bytes are written: writes through a byte pointer could
  // otherwise change the members, as far as the compiler knows, and it would reload them.
  void Read(std::uint8_t* out, std::size_t count) {
    // Lines without pad bytes read nothing aside, from an empty buffer with no address.
    if (count == 0) return;
    std::size_t filled = std::min(count, m_runLeft);
    std::memset(out, m_runValue, filled);
    m_runLeft -= filled;
    const std::uint8_t* at = m_data + m_at;
    const std::uint8_t* end = m_data + m_size;
    while (filled < count) {
      if (at == end) {
        std::memset(out + filled, 0, count - filled);
        break;
      }
      if (!m_coded) {
        std::size_t n = std::min(count - filled, static_cast<std::size_t>(end - at));
        std::memcpy(out + filled, at, n);
        filled += n;
        at += n;
        continue;
      }
      // Bytes that stand for themselves, as many as come in a row.
      std::size_t room = std::min(count - filled, static_cast<std::size_t>(end - at));
      const std::uint8_t* stop = at + room;
      while (at < stop && *at < 0xC0) out[filled++] = *at++;
      if (at == stop) continue;
      std::size_t run = *at++ & 0x3Fu;
      std::uint8_t value = at < end ? *at++ : 0;
      std::size_t take = std::min(run, count - filled);
      if (take == 1) {
        out[filled] = value;
      } else {
        std::memset(out + filled, value, take);
      }
      filled += take;
      m_runLeft = run - take;
      m_runValue = value;
    }
    m_at = static_cast<std::size_t>(at - m_data);
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  bool m_coded;
  std::size_t m_at = 0;
  std::size_t m_runLeft = 0;
  std::uint8_t m_runValue = 0;
};

// The bytes of one plane's line: the header's count when it holds the picture's width,
// otherwise the bytes the width needs, padded to an even count.
std::size_t LineBytes(const PcxHeader& header, const std::uint8_t* bytes) {
  std::size_t needed = (static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.bitsPerPixel) + 7) / 8;
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

// Up to 16 colours: bit planes of 1 bit, or one plane of 2- or 4-bit packed pixels; the pixel
// value takes bit k from plane k.
void DecodeFewColours(const PcxHeader& header, LineReader& reader, BmpWriter& bitmap) {
  std::vector<std::uint8_t> line(header.bytesPerLine * static_cast<std::size_t>(header.planes));
  for (int y = 0; y < header.height; ++y) {
    reader.Read(line.data(), line.size());
    std::uint8_t* row = bitmap.Row(y);
    for (int x = 0; x < header.width; ++x) {
      int value = 0;
      if (header.bitsPerPixel == 1) {
        for (int plane = 0; plane < header.planes; ++plane) {
          std::uint8_t byte = line[static_cast<std::size_t>(plane) * header.bytesPerLine + static_cast<std::size_t>(x / 8)];
          value |= ((byte >> (7 - x % 8)) & 1) << plane;
        }
      } else {
        int perByte = 8 / header.bitsPerPixel;
        std::uint8_t byte = line[static_cast<std::size_t>(x / perByte)];
        int shift = 8 - header.bitsPerPixel * (x % perByte + 1);
        value = (byte >> shift) & ((1 << header.bitsPerPixel) - 1);
      }
      std::uint8_t& target = row[x / 2];
      target = x % 2 == 0 ? static_cast<std::uint8_t>((target & 0x0F) | (value << 4))
                          : static_cast<std::uint8_t>((target & 0xF0) | value);
    }
  }
}

void DecodeManyColours(const PcxHeader& header, LineReader& reader, BmpWriter& bitmap) {
  // Each line goes straight into its row; only the bytes beyond the width are read aside.
  auto width = static_cast<std::size_t>(header.width);
  std::vector<std::uint8_t> rest(header.bytesPerLine - width);
  for (int y = 0; y < header.height; ++y) {
    reader.Read(bitmap.Row(y), width);
    reader.Read(rest.data(), rest.size());
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
  bool packed = header.planes == 1 && (header.bitsPerPixel == 2 || header.bitsPerPixel == 4 || header.bitsPerPixel == 8);
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
  // 8-bit lines fill their rows whole; 4-bit pixels are put in half a byte at a time.
  std::optional<BmpWriter> bitmap =
      BmpWriter::Create(header.width, header.height, manyColours ? 8 : 4, manyColours ? 256 : 16,
                        manyColours ? ImageStorage::Fill::Caller : ImageStorage::Fill::Zero);
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
  LineReader reader(bytes + kHeaderSize, dataEnd - kHeaderSize, header.coded);
  if (manyColours) {
    DecodeManyColours(header, reader, *bitmap);
  } else {
    DecodeFewColours(header, reader, *bitmap);
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
