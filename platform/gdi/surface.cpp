#include "platform/gdi/surface.h"

#include <algorithm>

namespace vel::platform {

Surface::Surface(int width, int height)
    : m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_owned(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), 0u),
      m_firstRow(m_owned.data()),
      m_stride(m_width) {}

Surface::Surface(int width, int height, uint32_t* firstRow, ptrdiff_t stridePixels)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_firstRow(firstRow), m_stride(stridePixels) {}

uint32_t Surface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  return Row(y)[x];
}

void Surface::SetPixel(int x, int y, uint32_t pixel) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  Row(y)[x] = pixel;
}

void Surface::Clear(uint32_t pixel) {
  for (int y = 0; y < m_height; ++y) std::fill_n(Row(y), m_width, pixel);
}

}  // namespace vel::platform
