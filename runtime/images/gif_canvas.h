#pragma once
// The canvas a GIF image shows: an 8-bit device-independent bitmap in one moveable global
// memory block (a 40-byte information header, a 256-entry colour table and the rows, bottom-up
// and padded to 4 bytes), into which frames are decoded one at a time, each over what the
// frames before it left.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "runtime/images/gif_blocks.h"
#include "runtime/images/image_storage.h"
#include "win32.h"

namespace vel::images {

class GifCanvas {
 public:
  static constexpr unsigned kTableEntries = 256;

  /// A black canvas of the given size; nothing when the size is not allowed or memory is short.
  static std::optional<GifCanvas> Create(int width, int height);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  std::size_t Stride() const { return m_stride; }
  /// The header and colour table to draw with.
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(m_storage.Data()); }
  BITMAPINFOHEADER& Header() { return *reinterpret_cast<BITMAPINFOHEADER*>(m_storage.MutableData()); }
  RGBQUAD* Table() { return reinterpret_cast<RGBQUAD*>(m_storage.MutableData() + sizeof(BITMAPINFOHEADER)); }
  const RGBQUAD* Table() const { return reinterpret_cast<const RGBQUAD*>(m_storage.Data() + sizeof(BITMAPINFOHEADER)); }
  /// The rows, bottom row first.
  const std::uint8_t* Bits() const { return m_storage.Data() + kBitsOffset; }
  /// Row `y` counted from the top.
  std::uint8_t* Row(int y) {
    return m_storage.MutableData() + kBitsOffset + static_cast<std::size_t>(m_height - 1 - y) * m_stride;
  }
  /// The whole block: header, table and rows (a packed DIB).
  const ImageStorage& Storage() const { return m_storage; }

  /// Decodes one frame (an image descriptor block of `file`, whose bytes are `bytes`) into the
  /// canvas: its colour table (local, else global) becomes the canvas's, and its indexes are
  /// stored over the frame's rectangle, the transparent one included.
  void DecodeFrame(const std::uint8_t* bytes, std::size_t size, const GifFile& file, const GifBlock& frame);

 private:
  static constexpr std::size_t kBitsOffset = sizeof(BITMAPINFOHEADER) + 4 * kTableEntries;

  GifCanvas() = default;
  void LoadColorTable(const std::uint8_t* triples, unsigned entries);

  ImageStorage m_storage;
  int m_width = 0;
  int m_height = 0;
  std::size_t m_stride = 0;
};

}  // namespace vel::images
