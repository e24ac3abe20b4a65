#pragma once
// A memory DC with a 32 bpp bitmap selected, for tests that draw and then read pixels back.

#include <algorithm>
#include <string>

#include "platform/gdi/device_context.h"
#include "tests/support/golden.h"
#include "win32.h"

namespace vel::platform::testing {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kGreen = RGB(0, 255, 0);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);

class Canvas {
 public:
  Canvas(int width, int height, COLORREF background = RGB(255, 255, 255)) : m_width(width), m_height(height) {
    m_dc = CreateCompatibleDC(nullptr);
    HDC screen = CreateCompatibleDC(nullptr);
    // A bitmap made from a fresh memory DC would be monochrome; a DIB section is always colour.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    m_bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
    DeleteDC(screen);
    m_old = SelectObject(m_dc, m_bitmap);
    Clear(background);
  }
  ~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return m_dc; }
  HBITMAP Bitmap() const { return m_bitmap; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  void Clear(COLORREF color) {
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = PixelFromColor(color);
  }
  /// The colour at (x, y) in device pixels (top-left origin).
  COLORREF At(int x, int y) const { return ColorFromPixel(m_bits[y * m_width + x] & 0xFFFFFF); }
  /// How many pixels in the rectangle have exactly this colour.
  int Count(COLORREF color, RECT area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) count += At(x, y) == color ? 1 : 0;
    }
    return count;
  }
  int Count(COLORREF color) const { return Count(color, RECT{0, 0, m_width, m_height}); }
  /// The bounding box of every pixel that differs from `background` ({0,0,0,0} if none).
  RECT InkBounds(COLORREF background = RGB(255, 255, 255)) const {
    RECT box{m_width, m_height, 0, 0};
    for (int y = 0; y < m_height; ++y) {
      for (int x = 0; x < m_width; ++x) {
        if (At(x, y) == background) continue;
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
    }
    if (box.right == 0) return RECT{0, 0, 0, 0};
    return box;
  }
  /// The surface behind the canvas (for PNG output).
  Surface& Pixels() { return LookupDc(m_dc)->Target(); }

 private:
  int m_width;
  int m_height;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  uint32_t* m_bits = nullptr;
};

}  // namespace vel::platform::testing
