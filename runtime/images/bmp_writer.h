#pragma once
// Writing a picture in the BMP layout (file header, 40-byte information header, colour table,
// rows bottom-up and padded to 4 bytes) into a new global memory block: what the JPEG and PCX
// kinds, the expansion of run-length coded bitmaps and the 256-colour reduction produce.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "runtime/images/image_storage.h"
#include "win32.h"

namespace vel::images {

class BmpWriter {
 public:
  /// A BMP of the given size and depth with a table of `tableEntries` colours, all zero; with
  /// Fill::Caller only the headers and each row's padding are set, for callers that write every
  /// pixel and table entry. Nothing when the size is not allowed (image_limits.h) or memory is
  /// short.
  static std::optional<BmpWriter> Create(int width, int height, int bitCount, unsigned tableEntries,
                                         ImageStorage::Fill fill = ImageStorage::Fill::Zero);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  std::size_t Stride() const { return m_stride; }
  /// The colour table (blue, green, red, 0 per entry).
  RGBQUAD* Table() { return m_table; }
  /// Row `y` counted from the top of the picture.
  std::uint8_t* Row(int y) { return m_bits + static_cast<std::size_t>(m_height - 1 - y) * m_stride; }
  /// Hands over the finished bytes.
  ImageStorage Finish() { return std::move(m_storage); }

 private:
  BmpWriter() = default;

  ImageStorage m_storage;
  RGBQUAD* m_table = nullptr;
  std::uint8_t* m_bits = nullptr;
  std::size_t m_stride = 0;
  int m_width = 0;
  int m_height = 0;
};

/// Bytes of the file header and the information header of a BMP this writer makes.
constexpr std::size_t kBmpHeadersSize = 14 + 40;

}  // namespace vel::images
