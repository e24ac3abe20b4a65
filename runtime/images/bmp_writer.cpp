#include "runtime/images/bmp_writer.h"

#include <cstring>

#include "runtime/images/byte_reading.h"
#include "runtime/images/image_limits.h"

namespace vel::images {
namespace {

// Written into the header as the resolution: 72 dots per inch.
constexpr std::uint32_t kPixelsPerMetre = 2835;

}  // namespace

std::optional<BmpWriter> BmpWriter::Create(int width, int height, int bitCount, unsigned tableEntries,
                                           ImageStorage::Fill fill) {
  if (!PictureSizeAllowed(width, height) || tableEntries > 256) return std::nullopt;
  BmpWriter writer;
  writer.m_width = width;
  writer.m_height = height;
  writer.m_stride = RowStride(width, bitCount);
  std::size_t tableBytes = std::size_t{tableEntries} * sizeof(RGBQUAD);
  std::size_t imageBytes = writer.m_stride * static_cast<std::size_t>(height);
  std::size_t total = kBmpHeadersSize + tableBytes + imageBytes;
  std::optional<ImageStorage> storage = ImageStorage::Allocate(total, fill);
  if (!storage) return std::nullopt;
  std::uint8_t* bytes = storage->MutableData();
  bytes[0] = 'B';
  bytes[1] = 'M';
  // Files of 4 GiB and more cannot say their size; the limits keep pictures far below that.
  WriteU32(bytes + 2, static_cast<std::uint32_t>(total));
  WriteU32(bytes + 6, 0);
  WriteU32(bytes + 10, static_cast<std::uint32_t>(kBmpHeadersSize + tableBytes));
  std::uint8_t* info = bytes + 14;
  WriteU32(info, 40);
  WriteU32(info + 4, static_cast<std::uint32_t>(width));
  WriteU32(info + 8, static_cast<std::uint32_t>(height));
  WriteU16(info + 12, 1);
  WriteU16(info + 14, static_cast<std::uint16_t>(bitCount));
  WriteU32(info + 16, BI_RGB);
  WriteU32(info + 20, static_cast<std::uint32_t>(imageBytes));
  WriteU32(info + 24, kPixelsPerMetre);
  WriteU32(info + 28, kPixelsPerMetre);
  WriteU32(info + 32, tableEntries);
  WriteU32(info + 36, 0);
  writer.m_table = reinterpret_cast<RGBQUAD*>(bytes + kBmpHeadersSize);
  writer.m_bits = bytes + kBmpHeadersSize + tableBytes;
  if (fill == ImageStorage::Fill::Caller) {
    std::size_t used = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 7) / 8;
    for (int y = 0; y < height; ++y) {
      std::memset(writer.m_bits + static_cast<std::size_t>(y) * writer.m_stride + used, 0, writer.m_stride - used);
    }
  }
  writer.m_storage = std::move(*storage);
  return writer;
}

}  // namespace vel::images
