#pragma once
// A 32-bit framebuffer: rows of 0x00RRGGBB pixels, the memory layout of a 32 bpp DIB (bytes
// blue, green, red, unused). A surface either owns its pixels or borrows them from a DIB
// section or a window's framebuffer; a negative stride describes a bottom-up DIB.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "win32.h"

namespace vel::platform {

/// Converts a COLORREF (0x00BBGGRR) to a surface pixel (0x00RRGGBB).
constexpr uint32_t PixelFromColor(COLORREF color) {
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

/// Converts a surface pixel back to a COLORREF.
constexpr COLORREF ColorFromPixel(uint32_t pixel) {
  return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}

class Surface {
 public:
  /// An owned surface, every pixel black.
  Surface(int width, int height);
  /// A surface over borrowed memory: `firstRow` is the topmost row, `stridePixels` the distance
  /// from one row to the one below it (negative for bottom-up storage).
  Surface(int width, int height, uint32_t* firstRow, ptrdiff_t stridePixels);

  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  /// Row `y` (0 = top); callers keep `y` inside the surface.
  uint32_t* Row(int y) { return m_firstRow + static_cast<ptrdiff_t>(y) * m_stride; }
  const uint32_t* Row(int y) const { return m_firstRow + static_cast<ptrdiff_t>(y) * m_stride; }
  /// The pixel at (x, y), or 0 outside the surface.
  uint32_t Pixel(int x, int y) const;
  /// Sets one pixel; ignored outside the surface.
  void SetPixel(int x, int y, uint32_t pixel);
  /// Fills the whole surface with one pixel value.
  void Clear(uint32_t pixel);
  /// The bounds as a rectangle at the origin.
  RECT Bounds() const { return RECT{0, 0, m_width, m_height}; }

 private:
  int m_width;
  int m_height;
  std::vector<uint32_t> m_owned;
  uint32_t* m_firstRow;
  ptrdiff_t m_stride;
};

}  // namespace vel::platform
