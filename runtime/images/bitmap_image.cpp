#include "runtime/images/bitmap_image.h"

#include <cstring>
#include <utility>

#include "runtime/images/color_reduction.h"
#include "runtime/images/dib_clipboard.h"
#include "runtime/images/grey_levels.h"
#include "runtime/images/shared_palette.h"

namespace vel::images {
namespace {

constexpr std::size_t kInfoHeaderSize = 40;

std::size_t TableOffset(const BmpLayout& layout) {
  return kInfoHeaderSize + (layout.compression == BI_BITFIELDS ? 12 : 0);
}

}  // namespace

BitmapImage::BitmapImage(BmpLayout layout, unsigned flags, const char* kindTag)
    : Image(kindTag, flags), m_layout(std::move(layout)) {
  SetNaturalSize(SIZE{m_layout.width, m_layout.height});
}

std::unique_ptr<BitmapImage> BitmapImage::FromFileBytes(const std::uint8_t* bytes, std::size_t size, unsigned flags) {
  std::optional<BmpLayout> layout = ReadBmpLayout(bytes, size);
  if (!layout) return nullptr;
  std::unique_ptr<BitmapImage> image(new BitmapImage(std::move(*layout), flags, ".bmp"));
  image->SetByteSize(size);
  if (image->SizeOnly()) return image;
  if (image->m_layout.needsExpansion) {
    std::optional<ImageStorage> expanded = ExpandBmp(bytes, size, image->m_layout);
    if (!expanded) return nullptr;
    image->AdoptStorage(std::move(*expanded));
  } else {
    image->AdoptStorage(ImageStorage::Borrowed(bytes, size));
  }
  return image;
}

std::unique_ptr<BitmapImage> BitmapImage::FromStorage(ImageStorage storage, unsigned flags, const char* kindTag) {
  std::optional<BmpLayout> layout = ReadBmpLayout(storage.Data(), storage.Size());
  if (!layout || layout->needsExpansion) return nullptr;
  std::unique_ptr<BitmapImage> image(new BitmapImage(std::move(*layout), flags, kindTag));
  image->SetByteSize(storage.Size());
  if (!image->SizeOnly()) image->AdoptStorage(std::move(storage));
  return image;
}

std::unique_ptr<BitmapImage> BitmapImage::SizeOnlyBitmap(SIZE size, int bitCount, unsigned flags, const char* kindTag) {
  BmpLayout layout;
  layout.width = size.cx;
  layout.height = size.cy;
  layout.bitCount = bitCount;
  return std::unique_ptr<BitmapImage>(new BitmapImage(std::move(layout), flags | image_flags::kSizeOnly, kindTag));
}

const std::uint8_t* BitmapImage::Rows() const {
  if (Storage().Empty()) return nullptr;
  return Storage().Data() + m_layout.bitsOffset;
}

void BitmapImage::Draw(HDC dc, int x, int y, int width, int height) {
  const std::uint8_t* rows = Rows();
  if (rows == nullptr || SizeOnly()) return;
  int saved = SaveDC(dc);
  // The picture brings its own colours: the default palette keeps a palette the DC has
  // selected from changing them.
  SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, x, y, width, height, 0, 0, m_layout.width, m_layout.height, rows, DrawingInfo(), DIB_RGB_COLORS,
                SRCCOPY);
  RestoreDC(dc, saved);
}

void BitmapImage::CopyToClipboard(HWND owner) {
  const std::uint8_t* rows = Rows();
  if (rows == nullptr || SizeOnly()) return;
  // The clipboard gets a packed DIB: the header and table the picture is drawn with, then the
  // rows, so that it is complete whatever gaps or header form the file had.
  const std::vector<std::uint8_t>& info = m_layout.info;
  PlaceDibOnClipboard(owner, info.size() + m_layout.ImageBytes(), [&](std::uint8_t* out) {
    std::memcpy(out, info.data(), info.size());
    if (m_savedTable) std::memcpy(out + TableOffset(m_layout), m_savedTable->data(), m_savedTable->size());
    std::memcpy(out + info.size(), rows, m_layout.ImageBytes());
  });
}

void BitmapImage::SetPalette(SharedPalette& palette) {
  if (SizeOnly() || Storage().Empty()) return;
  if (m_layout.bitCount == 24) {
    // A true-colour picture shares a palette through its 256-colour reduction, which then
    // replaces its bytes.
    std::optional<ImageStorage> reduced = ReduceTo256Colors(Storage().Data(), Storage().Size());
    if (!reduced) return;
    std::optional<BmpLayout> layout = ReadBmpLayout(reduced->Data(), reduced->Size());
    if (!layout) return;
    m_layout = std::move(*layout);
    m_savedTable.reset();
    AdoptStorage(std::move(*reduced));
  }
  if (m_layout.bitCount > 8) return;
  const auto* table = reinterpret_cast<const RGBQUAD*>(m_layout.info.data() + TableOffset(m_layout));
  palette.AddColors(table, PaletteColorCount());
}

void BitmapImage::MakeGreyedColorTable() {
  if (m_layout.bitCount > 8 || m_savedTable) return;
  std::uint8_t* table = m_layout.info.data() + TableOffset(m_layout);
  std::size_t bytes = std::size_t{ColorTableSize()} * 4;
  m_savedTable.emplace(table, table + bytes);
  for (std::size_t i = 0; i < bytes; i += 4) {
    std::uint8_t grey = GreyLevel(table[i + 2], table[i + 1], table[i]);
    table[i] = table[i + 1] = table[i + 2] = grey;
  }
}

void BitmapImage::RestoreColorTable() {
  if (!m_savedTable) return;
  std::memcpy(m_layout.info.data() + TableOffset(m_layout), m_savedTable->data(), m_savedTable->size());
  m_savedTable.reset();
}

unsigned BitmapImage::PaletteColorCount() const {
  unsigned table = ColorTableSize();
  std::uint32_t count = m_layout.importantColors != 0 ? m_layout.importantColors : m_layout.usedColors;
  return count != 0 && count < table ? count : table;
}

}  // namespace vel::images
