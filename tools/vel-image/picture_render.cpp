#include "tools/vel-image/picture_render.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/images/bitmap_image.h"
#include "runtime/images/color_reduction.h"
#include "runtime/images/image_limits.h"

namespace vel::tools {
namespace {

// A 32-bit top-down DIB section selected into a memory DC, filled with one colour.
class Backdrop {
 public:
  Backdrop(int width, int height, std::uint32_t fill) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
    if (m_bitmap != nullptr) {
      m_old = SelectObject(m_dc, m_bitmap);
      std::fill(m_bits, m_bits + static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    }
  }
  ~Backdrop() {
    if (m_bitmap != nullptr) {
      SelectObject(m_dc, m_old);
      DeleteObject(m_bitmap);
    }
    DeleteDC(m_dc);
  }
  Backdrop(const Backdrop&) = delete;
  Backdrop& operator=(const Backdrop&) = delete;

  bool Ready() const { return m_bitmap != nullptr; }
  HDC Dc() const { return m_dc; }
  std::uint32_t Pixel(std::size_t index) const { return m_bits[index] & 0xFFFFFF; }

 private:
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  std::uint32_t* m_bits = nullptr;
};

int Channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// From the same pixel over black and over white: how much the background shows through, and
// the colour that was laid over it.
std::uint32_t Unblend(std::uint32_t overBlack, std::uint32_t overWhite) {
  int showing = 0;
  for (int shift : {0, 8, 16}) showing = std::max(showing, Channel(overWhite, shift) - Channel(overBlack, shift));
  int alpha = 255 - showing;
  if (alpha <= 0) return 0;
  std::uint32_t color = 0;
  for (int shift : {0, 8, 16}) {
    int value = std::min(255, (Channel(overBlack, shift) * 255 + alpha / 2) / alpha);
    color |= static_cast<std::uint32_t>(value) << shift;
  }
  return (static_cast<std::uint32_t>(alpha) << 24) | color;
}

}  // namespace

std::unique_ptr<platform::Surface> RenderPicture(images::Image& image) {
  SIZE size = image.NaturalSize();
  if (!images::PictureSizeAllowed(size.cx, size.cy)) return nullptr;
  Backdrop black(size.cx, size.cy, 0x000000);
  Backdrop white(size.cx, size.cy, 0xFFFFFF);
  if (!black.Ready() || !white.Ready()) return nullptr;
  image.Draw(black.Dc(), 0, 0, size.cx, size.cy);
  image.Draw(white.Dc(), 0, 0, size.cx, size.cy);
  auto picture = std::make_unique<platform::Surface>(size.cx, size.cy);
  for (int y = 0; y < size.cy; ++y) {
    for (int x = 0; x < size.cx; ++x) {
      std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(size.cx) + static_cast<std::size_t>(x);
      picture->SetPixel(x, y, Unblend(black.Pixel(index), white.Pixel(index)));
    }
  }
  return picture;
}

std::unique_ptr<platform::Surface> ReduceRendered(const platform::Surface& picture) {
  // The picture as a 24-bit BMP file for the reduction.
  int width = picture.Width();
  int height = picture.Height();
  std::size_t stride = images::RowStride(width, 24);
  std::vector<std::uint8_t> bmp(54 + stride * static_cast<std::size_t>(height), 0);
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(bmp.size()), 0, 0, 54};
  BITMAPINFOHEADER info{40, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::memcpy(bmp.data(), &file, 14);
  std::memcpy(bmp.data() + 14, &info, 40);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bmp.data() + 54 + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      std::uint32_t p = picture.Pixel(x, y);
      row[3 * x] = static_cast<std::uint8_t>(p);
      row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
    }
  }
  std::optional<images::ImageStorage> reduced = images::ReduceTo256Colors(bmp.data(), bmp.size());
  if (!reduced) return nullptr;
  std::unique_ptr<images::BitmapImage> image = images::BitmapImage::FromStorage(std::move(*reduced), 0, ".bmp");
  if (image == nullptr) return nullptr;
  std::unique_ptr<platform::Surface> drawn = RenderPicture(*image);
  if (drawn == nullptr) return nullptr;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      drawn->SetPixel(x, y, (picture.Pixel(x, y) & 0xFF000000u) | (drawn->Pixel(x, y) & 0xFFFFFF));
    }
  }
  return drawn;
}

bool HasTransparency(const platform::Surface& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      if ((picture.Pixel(x, y) >> 24) != 0xFF) return true;
    }
  }
  return false;
}

}  // namespace vel::tools
