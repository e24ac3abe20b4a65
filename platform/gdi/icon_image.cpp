#include "platform/gdi/icon_image.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/dib_codec.h"
#include "platform/gdi/png_codec.h"

namespace vel::platform {
namespace {

std::optional<IconImage> DecodePngIcon(const uint8_t* data, size_t size) {
  std::unique_ptr<Surface> surface = DecodePng(data, size, kMaxIconDimension);
  if (!surface) return std::nullopt;
  IconImage image = BlankIconImage(surface->Width(), surface->Height());
  image.hasAlpha = true;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      size_t i = static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x);
      image.color[i] = surface->Row(y)[x];
      image.mask[i] = (image.color[i] >> 24) == 0 ? 1 : 0;
    }
  }
  return image;
}

}  // namespace

IconImage BlankIconImage(int width, int height) {
  IconImage image;
  image.width = width;
  image.height = height;
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  image.color.assign(count, 0);
  image.mask.assign(count, 1);
  return image;
}

std::optional<IconImage> DecodeIconImage(const uint8_t* data, size_t size) {
  static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (data == nullptr) return std::nullopt;
  if (size >= 8 && std::memcmp(data, kPngSignature, 8) == 0) return DecodePngIcon(data, size);
  if (size < sizeof(BITMAPINFOHEADER)) return std::nullopt;
  // The header's height covers the XOR image and the AND mask stacked; read it as the image
  // alone by halving, keeping the direction, in a copy holding the whole header, masks and
  // colour table (but never more than there is).
  BITMAPINFOHEADER info;
  std::memcpy(&info, data, sizeof info);
  std::vector<uint8_t> header(data, data + std::min(size, size_t{info.biSize} + 12 + 256 * 4));
  if (info.biHeight == 0 || info.biHeight % 2 != 0 || info.biHeight < -2 * kMaxIconDimension ||
      info.biHeight > 2 * kMaxIconDimension || info.biWidth <= 0 || info.biWidth > kMaxIconDimension) {
    return std::nullopt;
  }
  info.biHeight /= 2;
  std::memcpy(header.data(), &info, sizeof info);
  auto layout = ReadDibLayout(reinterpret_cast<const BITMAPINFO*>(header.data()), header.size());
  if (!layout || layout->headerBytes > size) return std::nullopt;
  size_t xorBytes = layout->ImageBytes();
  size_t maskStride = ((static_cast<size_t>(layout->width) + 31) / 32) * 4;
  size_t maskBytes = maskStride * static_cast<size_t>(layout->height);
  size_t available = size - layout->headerBytes;
  if (xorBytes > available) return std::nullopt;
  const uint8_t* xorBits = data + layout->headerBytes;
  bool hasMask = maskBytes <= available - xorBytes;

  IconImage image = BlankIconImage(layout->width, layout->height);
  image.bitCount = layout->bitCount;
  const size_t width = static_cast<size_t>(image.width);
  for (int y = 0; y < image.height; ++y) ReadDibRow(*layout, xorBits, y, image.color.data() + static_cast<size_t>(y) * width);
  // Only 32-bit images carry alpha; the other depths' table entries and pixels have none.
  if (layout->bitCount == 32) {
    image.hasAlpha = std::any_of(image.color.begin(), image.color.end(), [](uint32_t pixel) { return (pixel >> 24) != 0; });
  }
  if (!hasMask && !image.hasAlpha) return std::nullopt;
  for (int y = 0; y < image.height; ++y) {
    int storedRow = layout->topDown ? y : image.height - 1 - y;
    const uint8_t* maskRow = hasMask ? xorBits + xorBytes + maskStride * static_cast<size_t>(storedRow) : nullptr;
    uint8_t* mask = image.mask.data() + static_cast<size_t>(y) * width;
    const uint32_t* color = image.color.data() + static_cast<size_t>(y) * width;
    for (size_t x = 0; x < width; ++x) {
      mask[x] = maskRow != nullptr ? (maskRow[x / 8] >> (7 - x % 8)) & 1 : ((color[x] >> 24) == 0 ? 1 : 0);
    }
  }
  return image;
}

}  // namespace vel::platform
