#pragma once
// Reading a file in the BMP layout held in memory: the headers (the 12-byte core header and
// the 40-byte header with its later extensions), the colour table or colour masks, and where
// the rows are. Every offset and size is checked against the bytes there are. Run-length coded
// rows (RLE8, RLE4) and rows that lack their last padding are expanded into a new, plain BMP.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/images/image_storage.h"
#include "win32.h"

namespace vel::images {

/// Fewest bytes a bitmap file may have.
constexpr std::size_t kMinBitmapFileSize = 59;

struct BmpLayout {
  int width = 0;
  int height = 0;  ///< Positive; see `topDown`.
  bool topDown = false;
  int bitCount = 0;
  DWORD compression = BI_RGB;  ///< As stored: BI_RGB, BI_BITFIELDS, BI_RLE8 or BI_RLE4.
  std::size_t bitsOffset = 0;  ///< Where the rows (or the coded data) start in the file.
  std::size_t stride = 0;      ///< Bytes per uncompressed row.
  /// The information to draw with: a 40-byte header, the three masks for BI_BITFIELDS, and a
  /// colour table of every entry the bit depth can index (missing ones black).
  std::vector<std::uint8_t> info;
  /// Colours the file's table gives (0 for true colour).
  unsigned tableEntries = 0;
  /// The header's counts of used and of important colours (0 when it does not say).
  std::uint32_t usedColors = 0;
  std::uint32_t importantColors = 0;
  /// True when the rows must be expanded before drawing (coded or cut short).
  bool needsExpansion = false;

  std::size_t ImageBytes() const { return stride * static_cast<std::size_t>(height); }
};

/// Reads the layout of a BMP file; nothing when it is not a bitmap this runtime draws
/// (fewer than kMinBitmapFileSize bytes, no "BM", a header, depth or compression it does not
/// know, a size beyond the limits, or rows missing).
std::optional<BmpLayout> ReadBmpLayout(const std::uint8_t* bytes, std::size_t size);

/// Writes a plain BMP (BI_RGB rows, or BI_BITFIELDS with its masks) with the picture of
/// `bytes`, decoding run-length coded rows; pixels the coding skips are colour 0. Updates
/// `layout` to describe the new file. Nothing when memory is short.
std::optional<ImageStorage> ExpandBmp(const std::uint8_t* bytes, std::size_t size, BmpLayout& layout);

}  // namespace vel::images
