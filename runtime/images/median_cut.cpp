#include "runtime/images/median_cut.h"

#include <algorithm>

namespace vel::images {
namespace {

constexpr int kShifts[3] = {16, 8, 0};  // Red, green, blue in 0xRRGGBB.

int Channel(std::uint32_t entry, int channel) { return static_cast<int>((entry >> kShifts[channel]) & 0xFF); }

bool IsGrey(std::uint32_t entry) {
  return Channel(entry, 0) == Channel(entry, 1) && Channel(entry, 1) == Channel(entry, 2);
}

}  // namespace

DistinctColors::DistinctColors(std::size_t pixels) {
  if (pixels >= kDenseFrom) m_words.resize((std::size_t{1} << 24) / 64);
}

void DistinctColors::Finish() {
  if (m_words.empty()) {
    std::sort(m_list.begin(), m_list.end());
    m_list.erase(std::unique(m_list.begin(), m_list.end()), m_list.end());
    m_count = m_list.size();
    return;
  }
  std::uint32_t count = 0;
  for (Word& word : m_words) {
    word.before = count;
    count += BitCount(word.bits);
  }
  m_count = count;
}

std::uint32_t DistinctColors::RankInList(std::uint32_t color) const {
  return static_cast<std::uint32_t>(std::lower_bound(m_list.begin(), m_list.end(), color) - m_list.begin());
}

std::vector<std::uint32_t> DistinctColors::Sorted() const {
  if (m_words.empty()) return m_list;
  std::vector<std::uint32_t> colors;
  colors.reserve(m_count);
  for (std::size_t word = 0; word < m_words.size(); ++word) {
    for (std::uint64_t bits = m_words[word].bits; bits != 0; bits &= bits - 1) {
      colors.push_back(static_cast<std::uint32_t>(word * 64 + static_cast<std::size_t>(__builtin_ctzll(bits))));
    }
  }
  return colors;
}

// Highest score first; boxes of one colour after all others; equal boxes in the order they came.
bool MedianCut::Waiting::operator<(const Waiting& other) const {
  if (single != other.single) return single;
  if (score != other.score) return score < other.score;
  return order > other.order;
}

MedianCut::MedianCut(const std::vector<std::uint32_t>& colors) : m_entries(colors) {
  if (m_entries.empty()) m_entries.push_back(0);
  m_scratch.resize(m_entries.size());
  auto count = static_cast<std::uint32_t>(m_entries.size());
  // 2. Greys apart from the other colours when there are both.
  auto greysEnd = std::stable_partition(m_entries.begin(), m_entries.end(), IsGrey);
  auto greys = static_cast<std::uint32_t>(greysEnd - m_entries.begin());
  m_greySplit = greys > 0 && greys < count;
  if (m_greySplit) {
    AddBox(0, count);
    int grey = AddBox(0, greys);
    int other = AddBox(greys, count, m_boxes[0].sum, m_boxes[0].squares);
    for (int c = 0; c < 3; ++c) {
      m_boxes[static_cast<std::size_t>(other)].sum[c] -= m_boxes[static_cast<std::size_t>(grey)].sum[c];
      m_boxes[static_cast<std::size_t>(other)].squares[c] -= m_boxes[static_cast<std::size_t>(grey)].squares[c];
    }
    Score(m_boxes[static_cast<std::size_t>(other)]);
    m_boxes[0].children[0] = grey;
    m_boxes[0].children[1] = other;
    m_unsplit = 2;
    Wait(grey);
    Wait(other);
  } else {
    AddBox(0, count);
    m_unsplit = 1;
    Wait(0);
  }
}

int MedianCut::AddBox(std::uint32_t begin, std::uint32_t end) {
  std::uint64_t sum[3] = {0, 0, 0};
  std::uint64_t squares[3] = {0, 0, 0};
  for (std::uint32_t i = begin; i < end; ++i) {
    for (int c = 0; c < 3; ++c) {
      auto v = static_cast<std::uint64_t>(Channel(m_entries[i], c));
      sum[c] += v;
      squares[c] += v * v;
    }
  }
  return AddBox(begin, end, sum, squares);
}

std::uint32_t MedianCut::Partition(std::uint32_t begin, std::uint32_t end, int channel, int value, std::uint64_t sum[3],
                                   std::uint64_t squares[3]) {
  // Without branches on the colours: each colour is written to both sides, and only the side
  // it belongs to moves on. The first side is written in place (it never overtakes the
  // reading), the second into the scratch space and then after the first.
  std::uint32_t* entries = m_entries.data();
  std::uint32_t* aside = m_scratch.data();
  std::uint32_t low = begin;
  std::uint32_t high = 0;
  unsigned shift = static_cast<unsigned>(kShifts[channel]);
  std::uint64_t r = 0, g = 0, b = 0, rr = 0, gg = 0, bb = 0;
  for (std::uint32_t i = begin; i < end; ++i) {
    std::uint32_t color = entries[i];
    std::uint32_t isLow = ((color >> shift) & 0xFF) <= static_cast<std::uint32_t>(value) ? 1u : 0u;
    entries[low] = color;
    aside[high] = color;
    low += isLow;
    high += 1 - isLow;
    std::uint64_t keep = 0 - static_cast<std::uint64_t>(isLow);
    std::uint64_t red = (color >> 16) & 0xFF;
    std::uint64_t green = (color >> 8) & 0xFF;
    std::uint64_t blue = color & 0xFF;
    r += red & keep;
    g += green & keep;
    b += blue & keep;
    rr += (red * red) & keep;
    gg += (green * green) & keep;
    bb += (blue * blue) & keep;
  }
  std::copy(aside, aside + high, entries + low);
  sum[0] = r;
  sum[1] = g;
  sum[2] = b;
  squares[0] = rr;
  squares[1] = gg;
  squares[2] = bb;
  return low;
}

int MedianCut::AddBox(std::uint32_t begin, std::uint32_t end, const std::uint64_t sum[3],
                      const std::uint64_t squares[3]) {
  Box box;
  box.begin = begin;
  box.end = end;
  for (int c = 0; c < 3; ++c) {
    box.sum[c] = sum[c];
    box.squares[c] = squares[c];
  }
  Score(box);
  m_boxes.push_back(box);
  return static_cast<int>(m_boxes.size() - 1);
}

// 3. The box's means and the score of each channel; it splits along red unless green or blue
// scores strictly higher.
void MedianCut::Score(Box& box) const {
  std::uint64_t n = box.Count();
  unsigned shift = static_cast<unsigned>(3 / n);
  for (int c = 0; c < 3; ++c) {
    box.mean[c] = static_cast<int>(box.sum[c] / n);
    // Every colour of a box is distinct, so n is at most 2^24 and sum^2 fits in 64 bits.
    std::uint64_t score = (box.squares[c] - box.sum[c] * box.sum[c] / n) << shift;
    if (c == 0 || score > box.score) {
      box.channel = c;
      box.score = score;
    }
  }
}

void MedianCut::Wait(int index) {
  const Box& box = m_boxes[static_cast<std::size_t>(index)];
  m_waiting.push(Waiting{box.score, box.Count() == 1, m_nextOrder++, index});
}

// 5. Colours at most the mean go first, the others second; if that leaves a side empty, the
// first half of the colours go first. The second box's sums are the first's taken from its
// parent's.
void MedianCut::Split(int index) {
  Box parent = m_boxes[static_cast<std::size_t>(index)];
  std::uint64_t lowSum[3];
  std::uint64_t lowSquares[3];
  std::uint32_t cut = Partition(parent.begin, parent.end, parent.channel, parent.mean[parent.channel], lowSum, lowSquares);
  bool byPosition = cut == parent.begin || cut == parent.end;
  int low = 0;
  if (byPosition) {
    cut = parent.begin + parent.Count() / 2;
    low = AddBox(parent.begin, cut);
  } else {
    low = AddBox(parent.begin, cut, lowSum, lowSquares);
  }
  std::uint64_t sum[3];
  std::uint64_t squares[3];
  for (int c = 0; c < 3; ++c) {
    sum[c] = parent.sum[c] - m_boxes[static_cast<std::size_t>(low)].sum[c];
    squares[c] = parent.squares[c] - m_boxes[static_cast<std::size_t>(low)].squares[c];
  }
  int high = AddBox(cut, parent.end, sum, squares);
  m_boxes[static_cast<std::size_t>(index)].children[0] = low;
  m_boxes[static_cast<std::size_t>(index)].children[1] = high;
  m_boxes[static_cast<std::size_t>(index)].splitByPosition = byPosition;
  Wait(low);
  Wait(high);
  ++m_unsplit;
}

void MedianCut::Run(std::size_t wanted) {
  while (m_unsplit < wanted && !m_waiting.empty()) {
    Waiting next = m_waiting.top();
    if (next.single) break;
    m_waiting.pop();
    Split(next.box);
  }
  // 6. Number the unsplit boxes in the order of the tree.
  m_tableSize = 0;
  std::vector<int> pending{0};
  while (!pending.empty()) {
    int index = pending.back();
    pending.pop_back();
    Box& box = m_boxes[static_cast<std::size_t>(index)];
    if (box.children[0] < 0) {
      box.tableIndex = m_tableSize++;
      continue;
    }
    pending.push_back(box.children[1]);
    pending.push_back(box.children[0]);
  }
}

std::vector<std::uint32_t> MedianCut::ColorTable() const {
  std::vector<std::uint32_t> table(static_cast<std::size_t>(m_tableSize));
  for (const Box& box : m_boxes) {
    if (box.tableIndex < 0) continue;
    table[static_cast<std::size_t>(box.tableIndex)] =
        (static_cast<std::uint32_t>(box.mean[0]) << 16) | (static_cast<std::uint32_t>(box.mean[1]) << 8) |
        static_cast<std::uint32_t>(box.mean[2]);
  }
  return table;
}

std::uint8_t MedianCut::IndexOf(std::uint32_t color) const {
  int index = 0;
  if (m_greySplit) index = m_boxes[0].children[IsGrey(color) ? 0 : 1];
  for (;;) {
    const Box& box = m_boxes[static_cast<std::size_t>(index)];
    if (box.children[0] < 0) return static_cast<std::uint8_t>(box.tableIndex);
    index = box.children[Channel(color, box.channel) > box.mean[box.channel] ? 1 : 0];
  }
}

std::vector<std::uint8_t> MedianCut::IndexByRank(const DistinctColors& colors) const {
  std::vector<std::uint8_t> indexes(m_entries.size());
  for (const Box& box : m_boxes) {
    if (box.tableIndex < 0) continue;
    for (std::uint32_t i = box.begin; i < box.end; ++i) {
      indexes[colors.Rank(m_entries[i])] = static_cast<std::uint8_t>(box.tableIndex);
    }
  }
  // Below a split by position the boxes do not follow the tree's comparisons: ask the tree.
  for (const Box& box : m_boxes) {
    if (!box.splitByPosition) continue;
    for (std::uint32_t i = box.begin; i < box.end; ++i) indexes[colors.Rank(m_entries[i])] = IndexOf(m_entries[i]);
  }
  return indexes;
}

}  // namespace vel::images
