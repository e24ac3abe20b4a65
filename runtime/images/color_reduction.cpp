#include "runtime/images/color_reduction.h"

#include <utility>
#include <vector>

#include "runtime/images/bit_count.h"
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

// 7 and 8. The reduced bitmap: each pixel takes the index of its colour's box, which is where
// the tree of splits sends it.
VEL_COUNTS_BITS std::optional<ImageStorage> MapPixels(const BmpLayout& layout, const std::uint8_t* rows,
                                                      const std::vector<std::uint32_t>& table,
                                                      const DistinctColors& distinct,
                                                      const std::vector<std::uint8_t>& indexByRank) {
  std::optional<BmpWriter> writer = BmpWriter::Create(
      layout.width, layout.height, 8, static_cast<unsigned>(table.size()), ImageStorage::Fill::Caller);
  if (!writer) return std::nullopt;
  for (std::size_t i = 0; i < table.size(); ++i) {
    writer->Table()[i] = RGBQUAD{static_cast<BYTE>(table[i]), static_cast<BYTE>(table[i] >> 8),
                                 static_cast<BYTE>(table[i] >> 16), 0};
  }
  // The walk of ForEachPixel, written out so that the rank's bit count is built for the
  // processor with this function (VEL_COUNTS_BITS does not reach into a separate function).
  // A row's ranks are found first and their indexes after, so that the lookups of many pixels
  // wait for memory together rather than each after the one before. Every pixel is looked up,
  // even one that repeats the one before it (the answer is the same): a branch on that would be
  // mispredicted often in a photograph and throw the waiting lookups away.
  std::size_t step = static_cast<std::size_t>(layout.bitCount / 8);
  std::vector<std::uint32_t> ranks(static_cast<std::size_t>(layout.width));
  for (int y = 0; y < layout.height; ++y) {
    int stored = layout.topDown ? y : layout.height - 1 - y;
    const std::uint8_t* p = rows + static_cast<std::size_t>(stored) * layout.stride;
    for (std::size_t x = 0; x < ranks.size(); ++x, p += step) {
      ranks[x] = distinct.Rank((std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0]);
    }
    std::uint8_t* out = writer->Row(y);
    for (std::size_t x = 0; x < ranks.size(); ++x) out[x] = indexByRank[ranks[x]];
  }
  return writer->Finish();
}

// What a reduction works in, kept by each thread for its next one: a photograph's distinct
// colours take some 10 MB, and memory the program has not touched before costs a page fault for
// every 4 KB, which made up more than half of the time a photograph took. Memory beyond
// kKeptWorkspaceBytes is given back after the reduction.
constexpr std::size_t kKeptWorkspaceBytes = std::size_t{16} << 20;

struct Workspace {
  DistinctColors distinct{0};
  std::vector<std::uint32_t> colors;
  std::vector<std::uint32_t> spare;
  std::vector<std::uint8_t> indexByRank;

  std::size_t MemoryBytes() const {
    return distinct.MemoryBytes() + (colors.capacity() + spare.capacity()) * sizeof(std::uint32_t) +
           indexByRank.capacity();
  }
};

thread_local Workspace t_workspace;

}  // namespace

std::optional<ImageStorage> ReduceTo256Colors(const std::uint8_t* bmp, std::size_t size) {
  std::optional<BmpLayout> layout = ReadBmpLayout(bmp, size);
  if (!layout || layout->needsExpansion || layout->compression != BI_RGB ||
      (layout->bitCount != 24 && layout->bitCount != 32)) {
    return std::nullopt;
  }
  const std::uint8_t* rows = bmp + layout->bitsOffset;

  // 1. The distinct colours, in order.
  Workspace& work = t_workspace;
  DistinctColors& distinct = work.distinct;
  distinct.Reset(static_cast<std::size_t>(layout->width) * static_cast<std::size_t>(layout->height));
  ForEachPixel(*layout, rows, [&](int, int, std::uint32_t color, bool same) {
    if (!same) distinct.Add(color);
  });
  distinct.Finish();
  // 2 to 6. The boxes and their colours.
  distinct.Sorted(work.colors);
  MedianCut cut(std::move(work.colors), std::move(work.spare));
  cut.Run(256);
  std::vector<std::uint32_t> table = cut.ColorTable();
  cut.IndexByRank(distinct, work.indexByRank);
  work.colors = cut.TakeColors();
  work.spare = cut.TakeSpare();
  std::optional<ImageStorage> reduced = MapPixels(*layout, rows, table, distinct, work.indexByRank);
  if (work.MemoryBytes() > kKeptWorkspaceBytes) work = Workspace{};
  return reduced;
}

}  // namespace vel::images
