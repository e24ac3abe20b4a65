#pragma once
// The bitmap image: a picture held in the BMP layout. BMP files are bitmaps as they stand; the
// JPEG and PCX kinds and the 256-colour reduction make bitmaps of what they decode.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/images/bmp_reader.h"
#include "runtime/images/image.h"

namespace vel::images {

class BitmapImage final : public Image {
 public:
  /// A bitmap of the BMP file in `bytes`, or nothing when they are not one. The image borrows
  /// the bytes (NeedsStorage) unless it had to expand them into storage of its own.
  static std::unique_ptr<BitmapImage> FromFileBytes(const std::uint8_t* bytes, std::size_t size, unsigned flags);
  /// A bitmap whose storage already holds a BMP file (made by a decoder); `kindTag` names the
  /// kind the picture came from. Nothing when the bytes are not a bitmap.
  static std::unique_ptr<BitmapImage> FromStorage(ImageStorage storage, unsigned flags, const char* kindTag);

  /// A size-only bitmap that knows its size and depth but keeps no picture.
  static std::unique_ptr<BitmapImage> SizeOnlyBitmap(SIZE size, int bitCount, unsigned flags, const char* kindTag);

  void Draw(HDC dc, int x, int y, int width, int height) override;
  void CopyToClipboard(HWND owner) override;
  void SetPalette(SharedPalette& palette) override;
  void MakeGreyedColorTable() override;
  void RestoreColorTable() override;

  int BitCount() const { return m_layout.bitCount; }
  /// Entries of the colour table (0 for true colour).
  unsigned ColorTableSize() const { return m_layout.bitCount <= 8 ? 1u << m_layout.bitCount : 0; }
  /// The information the picture is drawn with: header, masks and the colour table.
  const BITMAPINFO* DrawingInfo() const { return reinterpret_cast<const BITMAPINFO*>(m_layout.info.data()); }
  /// The rows, bottom-up unless the header's height is negative; null for a size-only image.
  const std::uint8_t* Rows() const;
  const BmpLayout& Layout() const { return m_layout; }

 private:
  BitmapImage(BmpLayout layout, unsigned flags, const char* kindTag);

  /// The colours of the table that a shared palette takes: the header's important colours, or
  /// its used colours, or the whole table.
  unsigned PaletteColorCount() const;

  BmpLayout m_layout;
  /// The table as it was before MakeGreyedColorTable.
  std::optional<std::vector<std::uint8_t>> m_savedTable;
};

}  // namespace vel::images
