#include "runtime/images/color_reduction.h"

#include <vector>

#include "runtime/images/bmp_reader.h"
#include "runtime/images/bmp_writer.h"
#include "runtime/images/median_cut.h"

namespace vel::images {
namespace {

// Visits the pixels of 24 or 32-bit rows, top row first, as 0xRRGGBB; a pixel equal to the one
// before it is passed on as such (`same`), so callers need not look it up again.
template <typename Visit>
void ForEachPixel(const BmpLayout& layout, const std::uint8_t* rows, Visit visit) {
  std::size_t step = static_cast<std::size_t>(layout.bitCount / 8);
  std::uint32_t previous = 0xFFFFFFFF;
  for (int y = 0; y < layout.height; ++y) {
    int stored = layout.topDown ? y : layout.height - 1 - y;
    const std::uint8_t* p = rows + static_cast<std::size_t>(stored) * layout.stride;
    for (int x = 0; x < layout.width; ++x, p += step) {
      std::uint32_t color = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
      visit(y, x, color, color == previous);
      previous = color;
    }
  }
}

}  // namespace

std::optional<ImageStorage> ReduceTo256Colors(const std::uint8_t* bmp, std::size_t size) {
  std::optional<BmpLayout> layout = ReadBmpLayout(bmp, size);
  if (!layout || layout->needsExpansion || layout->compression != BI_RGB ||
      (layout->bitCount != 24 && layout->bitCount != 32)) {
    return std::nullopt;
  }
  const std::uint8_t* rows = bmp + layout->bitsOffset;

  // 1. The distinct colours, in order.
  DistinctColors distinct(static_cast<std::size_t>(layout->width) * static_cast<std::size_t>(layout->height));
  ForEachPixel(*layout, rows, [&](int, int, std::uint32_t color, bool same) {
    if (!same) distinct.Add(color);
  });
  distinct.Finish();
  // 2 to 6. The boxes and their colours.
  MedianCut cut(distinct.Sorted());
  cut.Run(256);
  std::vector<std::uint32_t> table = cut.ColorTable();
  std::optional<BmpWriter> writer = BmpWriter::Create(layout->width, layout->height, 8, static_cast<unsigned>(table.size()),
                                                      ImageStorage::Fill::Caller);
  if (!writer) return std::nullopt;
  for (std::size_t i = 0; i < table.size(); ++i) {
    writer->Table()[i] = RGBQUAD{static_cast<BYTE>(table[i]), static_cast<BYTE>(table[i] >> 8),
                                 static_cast<BYTE>(table[i] >> 16), 0};
  }
  // 7. Each pixel takes the index of its colour's box, which is where the tree of splits sends
  // it; a pixel equal to the one before it reuses that.
  std::vector<std::uint8_t> indexByRank = cut.IndexByRank(distinct);
  std::uint8_t index = 0;
  ForEachPixel(*layout, rows, [&](int y, int x, std::uint32_t color, bool same) {
    if (!same) index = indexByRank[distinct.Rank(color)];
    writer->Row(y)[x] = index;
  });
  return writer->Finish();
}

}  // namespace vel::images
