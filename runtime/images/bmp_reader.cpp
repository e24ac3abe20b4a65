#include "runtime/images/bmp_reader.h"

#include <algorithm>
#include <cstring>

#include "runtime/images/bmp_rle.h"
#include "runtime/images/byte_reading.h"
#include "runtime/images/image_limits.h"

namespace vel::images {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;
// The largest information header known (version 5); larger ones are not bitmaps we know.
constexpr std::size_t kLargestHeaderSize = 124;

bool DepthAndCompressionKnown(int bitCount, DWORD compression) {
  switch (compression) {
    case BI_RGB: return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
    case BI_RLE8: return bitCount == 8;
    case BI_RLE4: return bitCount == 4;
    case BI_BITFIELDS: return bitCount == 16 || bitCount == 32;
    default: return false;
  }
}

// The header fields both header forms give.
struct Header {
  std::size_t size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  int bitCount = 0;
  DWORD compression = BI_RGB;
  std::int32_t xPixelsPerMetre = 0;
  std::int32_t yPixelsPerMetre = 0;
  std::uint32_t usedColors = 0;
  std::uint32_t importantColors = 0;
};

std::optional<Header> ReadHeader(const std::uint8_t* bytes, std::size_t size) {
  Header header;
  header.size = ReadU32(bytes + kFileHeaderSize);
  const std::uint8_t* h = bytes + kFileHeaderSize;
  if (header.size == kCoreHeaderSize) {
    header.width = ReadU16(h + 4);
    header.height = ReadU16(h + 6);
    header.bitCount = ReadU16(h + 10);
    return header;
  }
  if (header.size < kInfoHeaderSize || header.size > kLargestHeaderSize || header.size > size - kFileHeaderSize) {
    return std::nullopt;
  }
  header.width = ReadI32(h + 4);
  header.height = ReadI32(h + 8);
  header.bitCount = ReadU16(h + 14);
  header.compression = ReadU32(h + 16);
  header.xPixelsPerMetre = ReadI32(h + 24);
  header.yPixelsPerMetre = ReadI32(h + 28);
  header.usedColors = ReadU32(h + 32);
  header.importantColors = ReadU32(h + 36);
  return header;
}

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) { WriteU32(out.data() + at, value); }

}  // namespace

std::optional<BmpLayout> ReadBmpLayout(const std::uint8_t* bytes, std::size_t size) {
  if (bytes == nullptr || size < kMinBitmapFileSize || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  std::optional<Header> header = ReadHeader(bytes, size);
  if (!header || !DepthAndCompressionKnown(header->bitCount, header->compression)) return std::nullopt;
  bool core = header->size == kCoreHeaderSize;
  if (core && header->bitCount != 1 && header->bitCount != 4 && header->bitCount != 8 && header->bitCount != 24) {
    return std::nullopt;
  }
  BmpLayout layout;
  layout.topDown = header->height < 0;
  std::int64_t height = layout.topDown ? -header->height : header->height;
  if (!PictureSizeAllowed(header->width, height)) return std::nullopt;
  bool coded = header->compression == BI_RLE8 || header->compression == BI_RLE4;
  // Coded rows are always stored bottom-up.
  if (coded && layout.topDown) return std::nullopt;
  layout.width = static_cast<int>(header->width);
  layout.height = static_cast<int>(height);
  layout.bitCount = header->bitCount;
  layout.compression = header->compression;
  layout.stride = RowStride(layout.width, layout.bitCount);

  // The masks of BI_BITFIELDS sit right after a 40-byte header, or inside a longer one: either
  // way at the same place in the file.
  std::size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
  std::size_t tableAt = kFileHeaderSize + header->size;
  if (header->compression == BI_BITFIELDS) {
    if (size < masksAt + 12) return std::nullopt;
    tableAt = std::max(tableAt, masksAt + 12);
  }
  std::size_t entrySize = core ? 3 : 4;
  std::size_t maximum = layout.bitCount <= 8 ? std::size_t{1} << layout.bitCount : 0;
  std::size_t wanted = header->usedColors != 0 && header->usedColors < maximum ? header->usedColors : maximum;
  std::uint32_t fileOffset = ReadU32(bytes + 10);
  bool offsetUsable = fileOffset >= tableAt && fileOffset < size;
  // Without a usable offset the rows follow the colour table (or the colours the header says
  // it uses, for true colour).
  std::size_t tableBytes = (layout.bitCount <= 8 ? wanted : std::min<std::size_t>(header->usedColors, 256)) * entrySize;
  layout.bitsOffset = offsetUsable ? fileOffset : tableAt + tableBytes;
  if (layout.bitsOffset >= size) return std::nullopt;
  std::size_t tableEnd = std::min(layout.bitsOffset, size);
  std::size_t present = tableEnd > tableAt ? (tableEnd - tableAt) / entrySize : 0;
  layout.tableEntries = static_cast<unsigned>(std::min(wanted, present));
  layout.usedColors = header->usedColors;
  layout.importantColors = header->importantColors;

  std::size_t available = size - layout.bitsOffset;
  if (coded) {
    layout.needsExpansion = true;
  } else {
    // The last row may lack its padding, which some writers leave out; anything shorter is a
    // file cut short.
    std::size_t lastRow = (static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.bitCount) + 7) / 8;
    std::size_t needed = layout.stride * static_cast<std::size_t>(layout.height - 1) + lastRow;
    if (available < needed) return std::nullopt;
    layout.needsExpansion = available < layout.ImageBytes();
  }

  bool bitfields = header->compression == BI_BITFIELDS;
  layout.info.assign(kInfoHeaderSize + (bitfields ? 12 : 0) + maximum * 4, 0);
  PutU32(layout.info, 0, kInfoHeaderSize);
  PutU32(layout.info, 4, static_cast<std::uint32_t>(layout.width));
  PutU32(layout.info, 8, static_cast<std::uint32_t>(layout.topDown ? -layout.height : layout.height));
  WriteU16(layout.info.data() + 12, 1);
  WriteU16(layout.info.data() + 14, static_cast<std::uint16_t>(layout.bitCount));
  PutU32(layout.info, 16, bitfields ? BI_BITFIELDS : BI_RGB);
  PutU32(layout.info, 20, static_cast<std::uint32_t>(layout.ImageBytes()));
  PutU32(layout.info, 24, static_cast<std::uint32_t>(header->xPixelsPerMetre));
  PutU32(layout.info, 28, static_cast<std::uint32_t>(header->yPixelsPerMetre));
  PutU32(layout.info, 32, static_cast<std::uint32_t>(maximum));
  std::size_t at = kInfoHeaderSize;
  if (bitfields) {
    std::memcpy(layout.info.data() + at, bytes + masksAt, 12);
    at += 12;
  }
  for (unsigned i = 0; i < layout.tableEntries; ++i) {
    const std::uint8_t* entry = bytes + tableAt + i * entrySize;
    std::uint8_t* out = layout.info.data() + at + i * 4;
    out[0] = entry[0];
    out[1] = entry[1];
    out[2] = entry[2];
  }
  return layout;
}

std::optional<ImageStorage> ExpandBmp(const std::uint8_t* bytes, std::size_t size, BmpLayout& layout) {
  std::size_t rowsAt = kFileHeaderSize + layout.info.size();
  // RLE8 decoding writes every byte of the rows; the other expansions leave some to be clear.
  bool everyByteWritten = layout.compression == BI_RLE8;
  std::optional<ImageStorage> storage = ImageStorage::Allocate(
      rowsAt + layout.ImageBytes(), everyByteWritten ? ImageStorage::Fill::Caller : ImageStorage::Fill::Zero);
  if (!storage) return std::nullopt;
  std::uint8_t* out = storage->MutableData();
  out[0] = 'B';
  out[1] = 'M';
  WriteU32(out + 2, static_cast<std::uint32_t>(storage->Size()));
  WriteU32(out + 6, 0);
  WriteU32(out + 10, static_cast<std::uint32_t>(rowsAt));
  std::memcpy(out + kFileHeaderSize, layout.info.data(), layout.info.size());
  std::uint8_t* rows = out + rowsAt;
  const std::uint8_t* data = bytes + layout.bitsOffset;
  std::size_t available = size - layout.bitsOffset;
  if (layout.compression == BI_RLE8 || layout.compression == BI_RLE4) {
    DecodeBmpRle(data, available, layout.compression == BI_RLE4, layout.width, layout.height, layout.stride, rows);
    layout.compression = BI_RGB;
  } else {
    std::memcpy(rows, data, std::min(available, layout.ImageBytes()));
  }
  layout.bitsOffset = rowsAt;
  layout.needsExpansion = false;
  return storage;
}

}  // namespace vel::images
