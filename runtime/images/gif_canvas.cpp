#include "runtime/images/gif_canvas.h"

#include <cstring>
#include <memory>
#include <new>
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

// The run of bytes a frame's indexes are decoded into. Each thread keeps one between frames, so
// an animation does not ask the system for fresh memory at every frame; one larger than
// kKeptScratchBytes is given back after its frame.
constexpr std::size_t kKeptScratchBytes = std::size_t{8} << 20;

class FrameScratch {
 public:
  std::uint8_t* Get(std::size_t bytes) {
    if (bytes > m_size) {
      m_bytes.reset(new (std::nothrow) std::uint8_t[bytes]);
      m_size = m_bytes != nullptr ? bytes : 0;
    }
    return m_bytes.get();
  }
  void Done() {
    if (m_size <= kKeptScratchBytes) return;
    m_bytes.reset();
    m_size = 0;
  }

 private:
  std::unique_ptr<std::uint8_t[]> m_bytes;
  std::size_t m_size = 0;
};

thread_local FrameScratch t_scratch;

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
  // The indexes are decoded in the order the file stores them into one run of bytes, which the
  // decoder reads its strings back from, and then go row by row to their places.
  auto rowBytes = static_cast<std::size_t>(width);
  std::size_t count = rowBytes * static_cast<std::size_t>(height);
  std::uint8_t* indexes = t_scratch.Get(count + GifLzwDecoder::kOutputSlack);
  if (indexes == nullptr) return;
  GifLzwDecoder(bytes, size, frame.imageDataOffset, frame.minimumCodeSize).Decode(indexes, count);
  const InterlacePass* passes = frame.interlaced ? kInterlacePasses : kSinglePass;
  std::size_t passCount = frame.interlaced ? std::size(kInterlacePasses) : std::size(kSinglePass);
  const std::uint8_t* from = indexes;
  for (std::size_t pass = 0; pass < passCount; ++pass) {
    for (int row = passes[pass].start; row < height; row += passes[pass].step) {
      std::memcpy(Row(frame.top + row) + frame.left, from, rowBytes);
      from += rowBytes;
    }
  }
  t_scratch.Done();
}

}  // namespace vel::images
