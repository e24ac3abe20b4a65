#include "platform/gdi/dib_codec.h"

#include <bit>
#include <climits>
#include <cstddef>
#include <unordered_map>
#include <cstring>

#include "platform/gdi/gdi_object.h"

namespace vel::platform {
namespace {

// Extracts the field a mask selects, scaled to 8 bits.
uint32_t MaskedChannel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  int bits = std::popcount(mask);
  uint32_t field = (value & mask) >> shift;
  if (bits >= 8) return field >> (bits - 8);
  // Replicate the high bits into the low ones so full scale maps to 255.
  uint32_t result = field << (8 - bits);
  for (int filled = bits; filled < 8; filled += bits) result |= result >> bits;
  return result & 0xFF;
}

template <typename T>
T ReadLittle(const uint8_t* p) {
  T value{};
  std::memcpy(&value, p, sizeof value);
  return value;
}

}  // namespace

size_t AssumedDibInfoSize(const BITMAPINFO* info) {
  DWORD headerSize = 0;
  std::memcpy(&headerSize, info, sizeof headerSize);
  return size_t{headerSize} + 12 + 256 * sizeof(RGBQUAD);
}

std::optional<DibLayout> ReadDibLayout(const BITMAPINFO* info, size_t available, UINT usage,
                                       const PaletteObject* palette) {
  if (info == nullptr || available < sizeof(BITMAPINFOHEADER)) return std::nullopt;
  const auto* base = reinterpret_cast<const uint8_t*>(info);
  BITMAPINFOHEADER header;
  std::memcpy(&header, base, sizeof header);
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > available) return std::nullopt;
  DibLayout layout;
  if (header.biWidth <= 0 || header.biHeight == 0 || header.biWidth > kMaxDibDimension) return std::nullopt;
  // INT32_MIN has no positive counterpart; the dimension limit rules it out with the rest.
  if (header.biHeight < -kMaxDibDimension || header.biHeight > kMaxDibDimension) return std::nullopt;
  layout.width = header.biWidth;
  layout.topDown = header.biHeight < 0;
  layout.height = layout.topDown ? -header.biHeight : header.biHeight;
  layout.bitCount = header.biBitCount;
  layout.compression = header.biCompression;
  switch (layout.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      if (layout.compression != BI_RGB) return std::nullopt;
      break;
    case 16:
    case 32:
      if (layout.compression != BI_RGB && layout.compression != BI_BITFIELDS) return std::nullopt;
      break;
    default: return std::nullopt;
  }
  layout.stride = ((static_cast<size_t>(layout.width) * static_cast<size_t>(layout.bitCount) + 31) / 32) * 4;
  size_t offset = header.biSize;
  if (layout.compression == BI_BITFIELDS) {
    if (header.biSize == sizeof(BITMAPINFOHEADER)) {
      if (available < offset + 12) return std::nullopt;
      for (int i = 0; i < 3; ++i) layout.masks[i] = ReadLittle<DWORD>(base + offset + 4 * i);
      offset += 12;
    } else {
      // Longer headers carry the masks inside the header, right after its first 40 bytes; a
      // header too short to hold all three is neither layout.
      if (header.biSize < sizeof(BITMAPINFOHEADER) + 12) return std::nullopt;
      for (int i = 0; i < 3; ++i) layout.masks[i] = ReadLittle<DWORD>(base + sizeof(BITMAPINFOHEADER) + 4 * i);
    }
  } else if (layout.bitCount == 16) {
    layout.masks[0] = 0x7C00;
    layout.masks[1] = 0x03E0;
    layout.masks[2] = 0x001F;
  }
  if (layout.bitCount <= 8) {
    size_t maximum = size_t{1} << layout.bitCount;
    size_t count = header.biClrUsed != 0 && header.biClrUsed < maximum ? header.biClrUsed : maximum;
    size_t entrySize = usage == DIB_PAL_COLORS ? 2 : 4;
    if (available < offset || (available - offset) / entrySize < count) return std::nullopt;
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* entry = base + offset + i * entrySize;
      if (usage == DIB_PAL_COLORS) {
        WORD index = ReadLittle<WORD>(entry);
        uint32_t pixel = 0;
        if (palette != nullptr && index < palette->m_entries.size()) {
          const PALETTEENTRY& e = palette->m_entries[index];
          pixel = (uint32_t{e.peRed} << 16) | (uint32_t{e.peGreen} << 8) | e.peBlue;
        }
        layout.colors.push_back(pixel);
      } else {
        layout.colors.push_back((uint32_t{entry[2]} << 16) | (uint32_t{entry[1]} << 8) | entry[0]);
      }
    }
    // A short table leaves the remaining indices black rather than reading past it.
    layout.colors.resize(maximum, 0);
    offset += count * entrySize;
  }
  layout.headerBytes = offset;
  return layout;
}

uint32_t ReadDibPixel(const DibLayout& layout, const uint8_t* bits, int x, int row) {
  int storedRow = layout.topDown ? row : layout.height - 1 - row;
  const uint8_t* line = bits + static_cast<size_t>(storedRow) * layout.stride;
  switch (layout.bitCount) {
    case 1: return layout.colors[(line[x / 8] >> (7 - x % 8)) & 1];
    case 4: return layout.colors[(line[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF];
    case 8: return layout.colors[line[x]];
    case 16: {
      uint32_t value = ReadLittle<uint16_t>(line + 2 * x);
      return (MaskedChannel(value, layout.masks[0]) << 16) | (MaskedChannel(value, layout.masks[1]) << 8) |
             MaskedChannel(value, layout.masks[2]);
    }
    case 24: return (uint32_t{line[3 * x + 2]} << 16) | (uint32_t{line[3 * x + 1]} << 8) | line[3 * x];
    case 32: {
      uint32_t value = ReadLittle<uint32_t>(line + 4 * x);
      if (layout.compression != BI_BITFIELDS) return value;
      return (MaskedChannel(value, layout.masks[0]) << 16) | (MaskedChannel(value, layout.masks[1]) << 8) |
             MaskedChannel(value, layout.masks[2]);
    }
    default: return 0;
  }
}

void ReadDibRow(const DibLayout& layout, const uint8_t* bits, int row, uint32_t* out) {
  const int storedRow = layout.topDown ? row : layout.height - 1 - row;
  const uint8_t* line = bits + static_cast<size_t>(storedRow) * layout.stride;
  const int width = layout.width;
  switch (layout.bitCount) {
    case 32:
      if (layout.compression == BI_BITFIELDS) break;
      std::memcpy(out, line, static_cast<size_t>(width) * sizeof(uint32_t));
      return;
    case 24:
      for (int x = 0; x < width; ++x, line += 3) out[x] = (uint32_t{line[2]} << 16) | (uint32_t{line[1]} << 8) | line[0];
      return;
    case 8:
      for (int x = 0; x < width; ++x) out[x] = layout.colors[line[x]];
      return;
    case 4:
      for (int x = 0; x + 1 < width; x += 2) {
        out[x] = layout.colors[line[x / 2] >> 4];
        out[x + 1] = layout.colors[line[x / 2] & 0xF];
      }
      if (width % 2 != 0) out[width - 1] = layout.colors[line[width / 2] >> 4];
      return;
    default: break;
  }
  for (int x = 0; x < width; ++x) out[x] = ReadDibPixel(layout, bits, x, row);
}

std::unique_ptr<Surface> DecodeDib(const DibLayout& layout, const uint8_t* bits) {
  auto surface = std::make_unique<Surface>(layout.width, layout.height);
  for (int y = 0; y < layout.height; ++y) ReadDibRow(layout, bits, y, surface->Row(y));
  return surface;
}

std::unique_ptr<Surface> DecodePackedDib(const uint8_t* data, size_t size) {
  auto layout = ReadDibLayout(reinterpret_cast<const BITMAPINFO*>(data), size);
  if (!layout) return nullptr;
  // Deeper images may still carry a colour table (as a hint for palette displays); the bits
  // follow it.
  size_t bitsOffset = layout->headerBytes;
  if (layout->bitCount > 8) {
    DWORD hintColors = 0;
    std::memcpy(&hintColors, data + offsetof(BITMAPINFOHEADER, biClrUsed), sizeof hintColors);
    bitsOffset += size_t{hintColors} * sizeof(RGBQUAD);
  }
  if (bitsOffset > size || layout->ImageBytes() > size - bitsOffset) return nullptr;
  return DecodeDib(*layout, data + bitsOffset);
}

namespace {

// The colour-table index nearest a pixel (exact matches first, then by distance).
class NearestIndex {
 public:
  explicit NearestIndex(const std::vector<uint32_t>& colors) : m_colors(colors) {}
  uint32_t operator()(uint32_t pixel) {
    auto found = m_cache.find(pixel);
    if (found != m_cache.end()) return found->second;
    uint32_t best = 0;
    int bestDistance = INT32_MAX;
    for (size_t i = 0; i < m_colors.size(); ++i) {
      int dr = static_cast<int>((m_colors[i] >> 16) & 0xFF) - static_cast<int>((pixel >> 16) & 0xFF);
      int dg = static_cast<int>((m_colors[i] >> 8) & 0xFF) - static_cast<int>((pixel >> 8) & 0xFF);
      int db = static_cast<int>(m_colors[i] & 0xFF) - static_cast<int>(pixel & 0xFF);
      int distance = dr * dr + dg * dg + db * db;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = static_cast<uint32_t>(i);
      }
    }
    m_cache.emplace(pixel, best);
    return best;
  }

 private:
  const std::vector<uint32_t>& m_colors;
  std::unordered_map<uint32_t, uint32_t> m_cache;
};

// Packs 8-bit channels into the fields the masks select.
uint32_t PackChannels(uint32_t pixel, const DWORD masks[3]) {
  uint32_t value = 0;
  for (int i = 0; i < 3; ++i) {
    uint32_t mask = masks[i];
    if (mask == 0) continue;
    uint32_t channel = (pixel >> (16 - 8 * i)) & 0xFF;
    int bits = std::popcount(mask);
    uint32_t field = bits >= 8 ? channel << (bits - 8) : channel >> (8 - bits);
    value |= (field << std::countr_zero(mask)) & mask;
  }
  return value;
}

}  // namespace

bool EncodeDibRows(const Surface& surface, const DibLayout& layout, uint8_t* bits, int firstRow, int rowCount) {
  NearestIndex nearest(layout.colors);
  for (int i = 0; i < rowCount; ++i) {
    int row = firstRow + i;
    if (row < 0 || row >= surface.Height()) continue;
    int storedRow = layout.topDown ? i : rowCount - 1 - i;
    uint8_t* line = bits + static_cast<size_t>(storedRow) * layout.stride;
    const uint32_t* source = surface.Row(row);
    for (int x = 0; x < layout.width && x < surface.Width(); ++x) {
      uint32_t p = source[x] & 0x00FFFFFF;
      switch (layout.bitCount) {
        case 1: {
          uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
          line[x / 8] = static_cast<uint8_t>(nearest(p) ? line[x / 8] | bit : line[x / 8] & ~bit);
          break;
        }
        case 4: {
          int shift = x % 2 == 0 ? 4 : 0;
          line[x / 2] = static_cast<uint8_t>((line[x / 2] & ~(0xF << shift)) | (nearest(p) << shift));
          break;
        }
        case 8: line[x] = static_cast<uint8_t>(nearest(p)); break;
        case 16: {
          uint16_t v = static_cast<uint16_t>(PackChannels(p, layout.masks));
          std::memcpy(line + 2 * x, &v, 2);
          break;
        }
        case 24:
          line[3 * x] = static_cast<uint8_t>(p);
          line[3 * x + 1] = static_cast<uint8_t>(p >> 8);
          line[3 * x + 2] = static_cast<uint8_t>(p >> 16);
          break;
        case 32: {
          uint32_t v = layout.compression == BI_BITFIELDS ? PackChannels(p, layout.masks) : p;
          std::memcpy(line + 4 * x, &v, 4);
          break;
        }
        default: return false;
      }
    }
  }
  return true;
}

}  // namespace vel::platform
