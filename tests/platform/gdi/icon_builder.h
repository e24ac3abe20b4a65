#pragma once
// Builds icon image data and ICO/CUR files in memory for the icon tests and fuzz seeds.

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "win32.h"

namespace vel::platform::testing {

inline void PutWord(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutDword(std::vector<uint8_t>& out, uint32_t v) {
  PutWord(out, static_cast<uint16_t>(v));
  PutWord(out, static_cast<uint16_t>(v >> 16));
}

/// A DIB icon image of `size` x `size` at `bitCount` (1, 4, 8, 24 or 32). `colorAt` gives the
/// pixel (0xAARRGGBB; for indexed depths the palette index) and `maskAt` the AND bit.
inline std::vector<uint8_t> IconDib(int size, int bitCount, const std::function<uint32_t(int, int)>& colorAt,
                                    const std::function<bool(int, int)>& maskAt,
                                    const std::vector<uint32_t>& palette = {}) {
  std::vector<uint8_t> out;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = size;
  header.biHeight = 2 * size;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bitCount);
  header.biClrUsed = static_cast<DWORD>(palette.size());
  out.resize(sizeof header);
  std::memcpy(out.data(), &header, sizeof header);
  for (uint32_t c : palette) PutDword(out, c);
  size_t stride = ((static_cast<size_t>(size) * bitCount + 31) / 32) * 4;
  for (int row = size - 1; row >= 0; --row) {
    std::vector<uint8_t> line(stride, 0);
    for (int x = 0; x < size; ++x) {
      uint32_t c = colorAt(x, row);
      switch (bitCount) {
        case 1: line[x / 8] |= static_cast<uint8_t>((c & 1) << (7 - x % 8)); break;
        case 4: line[x / 2] |= static_cast<uint8_t>((c & 0xF) << (x % 2 == 0 ? 4 : 0)); break;
        case 8: line[x] = static_cast<uint8_t>(c); break;
        case 24:
          line[3 * x] = static_cast<uint8_t>(c);
          line[3 * x + 1] = static_cast<uint8_t>(c >> 8);
          line[3 * x + 2] = static_cast<uint8_t>(c >> 16);
          break;
        case 32: std::memcpy(&line[4 * x], &c, 4); break;
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  size_t maskStride = ((static_cast<size_t>(size) + 31) / 32) * 4;
  for (int row = size - 1; row >= 0; --row) {
    std::vector<uint8_t> line(maskStride, 0);
    for (int x = 0; x < size; ++x) line[x / 8] |= static_cast<uint8_t>((maskAt(x, row) ? 1 : 0) << (7 - x % 8));
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

struct IcoImage {
  int width;
  int height;
  int bitCount;
  std::vector<uint8_t> data;
  uint16_t hotspotX = 0;
  uint16_t hotspotY = 0;
};

/// An ICO (or, with `cursor`, CUR) file holding the images in order.
inline std::vector<uint8_t> IcoFile(const std::vector<IcoImage>& images, bool cursor = false) {
  std::vector<uint8_t> out;
  PutWord(out, 0);
  PutWord(out, cursor ? 2 : 1);
  PutWord(out, static_cast<uint16_t>(images.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (const IcoImage& image : images) {
    out.push_back(static_cast<uint8_t>(image.width));
    out.push_back(static_cast<uint8_t>(image.height));
    out.push_back(0);
    out.push_back(0);
    PutWord(out, cursor ? image.hotspotX : 1);
    PutWord(out, cursor ? image.hotspotY : static_cast<uint16_t>(image.bitCount));
    PutDword(out, static_cast<uint32_t>(image.data.size()));
    PutDword(out, offset);
    offset += static_cast<uint32_t>(image.data.size());
  }
  for (const IcoImage& image : images) out.insert(out.end(), image.data.begin(), image.data.end());
  return out;
}

}  // namespace vel::platform::testing
