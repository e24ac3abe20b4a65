#pragma once
// Device-independent bitmaps: reading a BITMAPINFO (1, 4, 8, 16, 24 and 32 bits per pixel,
// colour tables, bit-field masks, bottom-up or top-down rows) and converting its rows to and
// from surface pixels. Every read is checked against the number of bytes the caller has, so
// the same code serves the Win32 calls and the parsers of outside files.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/surface.h"
#include "win32.h"

namespace vel::platform {

class PaletteObject;

struct DibLayout {
  int width = 0;
  int height = 0;  ///< Always positive; see `topDown`.
  int bitCount = 0;
  bool topDown = false;
  size_t stride = 0;  ///< Bytes per row, padded to 4.
  DWORD compression = BI_RGB;
  DWORD masks[3] = {0, 0, 0};
  /// The colour table as surface pixels (for 8 bits or fewer).
  std::vector<uint32_t> colors;
  /// Bytes the header, masks and colour table take at the start of the BITMAPINFO.
  size_t headerBytes = 0;
  /// The number of bytes of pixel data (stride * height).
  size_t ImageBytes() const { return stride * static_cast<size_t>(height); }
};

/// Largest width or height accepted, which bounds every allocation that follows a header.
constexpr int kMaxDibDimension = 16384;

/// How many bytes a caller's BITMAPINFO may take when the caller gives no size: a header,
/// masks and a full colour table. Reads the header size without assuming alignment.
size_t AssumedDibInfoSize(const BITMAPINFO* info);

/// Reads a BITMAPINFO of at most `available` bytes; DIB_PAL_COLORS tables index `palette`.
/// Returns nothing for unsupported or inconsistent headers (including RLE compression).
std::optional<DibLayout> ReadDibLayout(const BITMAPINFO* info, size_t available, UINT usage = DIB_RGB_COLORS,
                                       const PaletteObject* palette = nullptr);

/// The pixel at (x, row) where row 0 is the top row of the image; `bits` must hold the image.
/// 32 bpp pixels keep their top byte (icons use it as alpha).
uint32_t ReadDibPixel(const DibLayout& layout, const uint8_t* bits, int x, int row);

/// The row `row` (0 = top) as `layout.width` pixels into `out`, as ReadDibPixel gives them, a
/// whole row at a time for the common depths.
void ReadDibRow(const DibLayout& layout, const uint8_t* bits, int row, uint32_t* out);

/// Decodes a whole image into a new surface (top row first).
std::unique_ptr<Surface> DecodeDib(const DibLayout& layout, const uint8_t* bits);

/// Decodes a packed DIB of `size` bytes (a BITMAPINFO and then its bits, as RT_BITMAP resources
/// and CF_DIB clipboard data hold it); nothing when the header is unsupported or the bits are
/// cut short.
std::unique_ptr<Surface> DecodePackedDib(const uint8_t* data, size_t size);

/// Writes `rowCount` surface rows from `firstRow` into DIB bits of any supported depth (rows in
/// the layout's order; indexed depths take the nearest colour of the table).
bool EncodeDibRows(const Surface& surface, const DibLayout& layout, uint8_t* bits, int firstRow, int rowCount);

}  // namespace vel::platform
