#include "runtime/images/gif_canvas.h"

#include <cstring>
#include <utility>

#include "runtime/images/gif_lzw.h"
#include "runtime/images/image_limits.h"

namespace vel::images {
namespace {

constexpr LONG kPixelsPerMetre = 3000;

struct InterlacePass {
  int start;
  int step;
};
constexpr InterlacePass kInterlacePasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
constexpr InterlacePass kSinglePass[] = {{0, 1}};

}  // namespace

std::optional<GifCanvas> GifCanvas::Create(int width, int height) {
  if (!PictureSizeAllowed(width, height)) return std::nullopt;
  GifCanvas canvas;
  canvas.m_width = width;
  canvas.m_height = height;
  canvas.m_stride = RowStride(width, 8);
  std::optional<ImageStorage> storage = ImageStorage::Allocate(kBitsOffset + canvas.m_stride * static_cast<std::size_t>(height));
  if (!storage) return std::nullopt;
  canvas.m_storage = std::move(*storage);
  BITMAPINFOHEADER& header = canvas.Header();
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 8;
  header.biCompression = BI_RGB;
  header.biSizeImage = 0;
  header.biXPelsPerMeter = kPixelsPerMetre;
  header.biYPelsPerMeter = kPixelsPerMetre;
  return canvas;
}

void GifCanvas::LoadColorTable(const std::uint8_t* triples, unsigned entries) {
  RGBQUAD* table = Table();
  for (unsigned i = 0; i < entries; ++i) {
    table[i] = RGBQUAD{triples[3 * i + 2], triples[3 * i + 1], triples[3 * i], 0};
  }
  std::memset(table + entries, 0, sizeof(RGBQUAD) * (kTableEntries - entries));
  Header().biClrUsed = entries;
  Header().biClrImportant = entries;
}

void GifCanvas::DecodeFrame(const std::uint8_t* bytes, std::size_t size, const GifFile& file, const GifBlock& frame) {
  // The parse checked that the tables lie within the bytes.
  if (frame.localTableEntries != 0) {
    LoadColorTable(bytes + frame.localTableOffset, frame.localTableEntries);
  } else {
    LoadColorTable(bytes + file.globalTableOffset, file.globalTableEntries);
  }
  int width = frame.Width();
  int height = frame.Height();
  if (width <= 0 || height <= 0) return;
  GifLzwDecoder decoder(bytes, size, frame.imageDataOffset, frame.minimumCodeSize);
  const InterlacePass* passes = frame.interlaced ? kInterlacePasses : kSinglePass;
  std::size_t passCount = frame.interlaced ? std::size(kInterlacePasses) : std::size(kSinglePass);
  for (std::size_t pass = 0; pass < passCount; ++pass) {
    for (int row = passes[pass].start; row < height; row += passes[pass].step) {
      decoder.Read(Row(frame.top + row) + frame.left, static_cast<std::size_t>(width));
    }
  }
}

}  // namespace vel::images
