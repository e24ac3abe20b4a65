#include "runtime/images/metafile_image.h"

#include "runtime/images/byte_reading.h"
#include "runtime/windows/unit_conversion.h"

namespace vel::images {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
// The metafile header that follows the placeable one gives the whole size, in 16-bit words, at
// this offset.
constexpr std::size_t kSizeFieldOffset = 6;

}  // namespace

MetafileImage::MetafileImage(HMETAFILE metafile, RECT bounds, unsigned flags)
    : Image(".wmf", flags), m_metafile(metafile), m_bounds(bounds) {}

MetafileImage::~MetafileImage() {
  if (m_metafile != nullptr) DeleteMetaFile(m_metafile);
}

void MetafileImage::Draw(HDC dc, int x, int y, int width, int height) {
  if (m_metafile == nullptr || SizeOnly()) return;
  int saved = SaveDC(dc);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, m_bounds.left, m_bounds.top, nullptr);
  SetWindowExtEx(dc, m_bounds.right - m_bounds.left, m_bounds.bottom - m_bounds.top, nullptr);
  SetViewportOrgEx(dc, x, y, nullptr);
  SetViewportExtEx(dc, width, height, nullptr);
  IntersectClipRect(dc, m_bounds.left, m_bounds.top, m_bounds.right, m_bounds.bottom);
  PlayMetaFile(dc, m_metafile);
  RestoreDC(dc, saved);
}

std::unique_ptr<Image> CreateMetafileFromData(const ImageOwner& owner, const std::uint8_t* bytes, std::size_t size,
                                              unsigned flags) {
  if (bytes == nullptr || size <= kPlaceableHeaderSize || ReadU32(bytes) != kPlaceableKey) return nullptr;
  // The header fields are read as unsigned 16-bit numbers.
  RECT bounds{ReadU16(bytes + 6), ReadU16(bytes + 8), ReadU16(bytes + 10), ReadU16(bytes + 12)};
  int unitsPerInch = ReadU16(bytes + 14);
  // A box without width or height, or no units per inch, gives no size to map the picture to.
  if (unitsPerInch == 0 || bounds.right <= bounds.left || bounds.bottom <= bounds.top) return nullptr;
  const std::uint8_t* records = bytes + kPlaceableHeaderSize;
  std::size_t available = size - kPlaceableHeaderSize;
  if (available < kSizeFieldOffset + 4) return nullptr;
  std::uint64_t recordBytes = std::uint64_t{ReadU32(records + kSizeFieldOffset)} * 2;
  // The size the header claims must be there: never read past the bytes given.
  if (recordBytes > available) return nullptr;
  POINT ppi = OwnerPixelsPerInch(owner);
  SIZE natural{windows::RoundedMulDiv(bounds.right - bounds.left, ppi.x, unitsPerInch),
               windows::RoundedMulDiv(bounds.bottom - bounds.top, ppi.y, unitsPerInch)};
  HMETAFILE metafile = nullptr;
  if ((flags & image_flags::kSizeOnly) == 0) {
    metafile = SetMetaFileBitsEx(static_cast<UINT>(recordBytes), records);
    if (metafile == nullptr) return nullptr;
  }
  auto image = std::make_unique<MetafileImage>(metafile, bounds, flags);
  image->SetNaturalSize(natural);
  return image;
}

}  // namespace vel::images
