#include "runtime/images/color_reduction.h"

#include <utility>
#include <vector>

#include "runtime/images/bmp_reader.h"
#include "runtime/images/bmp_writer.h"
#include "runtime/images/color_lanes.h"
#include "runtime/images/median_cut.h"

namespace vel::images {
namespace {

// The pixels of row `y` (top row first) of 24 or 32-bit rows as 0xRRGGBB.
void RowColors(const BmpLayout& layout, const std::uint8_t* rows, int y, std::uint32_t* colors) {
  int stored = layout.topDown ? y : layout.height - 1 - y;
  PixelColors(rows + static_cast<std::size_t>(stored) * layout.stride, static_cast<std::size_t>(layout.width),
              static_cast<std::size_t>(layout.bitCount / 8), colors);
}

// 7 and 8. The reduced bitmap: each pixel takes the index of its colour's box, which is where
// the tree of splits sends it. Every pixel is looked up, even one that repeats the one before it
// (the answer is the same): a branch on that would be mispredicted often in a photograph. A
// row's ranks are found first and their indexes after, so that the lookups of many pixels wait
// for memory together rather than each after the one before.
std::optional<ImageStorage> MapPixels(const BmpLayout& layout, const std::uint8_t* rows,
                                      const std::vector<std::uint32_t>& table, const DistinctColors& distinct,
                                      const std::vector<std::uint8_t>& indexByRank, std::vector<std::uint32_t>& row) {
  std::optional<BmpWriter> writer = BmpWriter::Create(
      layout.width, layout.height, 8, static_cast<unsigned>(table.size()), ImageStorage::Fill::Caller);
  if (!writer) return std::nullopt;
  for (std::size_t i = 0; i < table.size(); ++i) {
    writer->Table()[i] = RGBQUAD{static_cast<BYTE>(table[i]), static_cast<BYTE>(table[i] >> 8),
                                 static_cast<BYTE>(table[i] >> 16), 0};
  }
  const std::uint8_t* indexes = indexByRank.data();
  std::uint32_t* ranks = row.data();
  std::size_t width = row.size();
  for (int y = 0; y < layout.height; ++y) {
    RowColors(layout, rows, y, ranks);
    distinct.Ranks(ranks, width);
    std::uint8_t* out = writer->Row(y);
    for (std::size_t x = 0; x < width; ++x) out[x] = indexes[ranks[x]];
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
  std::vector<std::uint32_t> row;

  std::size_t MemoryBytes() const {
    return distinct.MemoryBytes() + (colors.capacity() + spare.capacity() + row.capacity()) * sizeof(std::uint32_t) +
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
  work.row.resize(static_cast<std::size_t>(layout->width));
  for (int y = 0; y < layout->height; ++y) {
    RowColors(*layout, rows, y, work.row.data());
    distinct.Add(work.row.data(), work.row.size());
  }
  distinct.Finish();
  // 2 to 6. The boxes and their colours.
  distinct.Sorted(work.colors);
  MedianCut cut(std::move(work.colors), std::move(work.spare));
  cut.Run(256);
  std::vector<std::uint32_t> table = cut.ColorTable();
  cut.IndexByRank(distinct, work.indexByRank);
  work.colors = cut.TakeColors();
  work.spare = cut.TakeSpare();
  std::optional<ImageStorage> reduced = MapPixels(*layout, rows, table, distinct, work.indexByRank, work.row);
  if (work.MemoryBytes() > kKeptWorkspaceBytes) work = Workspace{};
  return reduced;
}

}  // namespace vel::images
