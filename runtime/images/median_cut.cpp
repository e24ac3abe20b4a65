#include "runtime/images/median_cut.h"

#include <algorithm>
#include <cstring>

#include "runtime/images/color_lanes.h"

namespace vel::images {
namespace {

constexpr int kShifts[3] = {16, 8, 0};  // Red, green, blue in 0xRRGGBB.

int Channel(std::uint32_t entry, int channel) { return static_cast<int>((entry >> kShifts[channel]) & 0xFF); }

// Notes in each word how many colours come before it; answers how many there are.
VEL_COUNTS_BITS std::uint32_t CountBefore(DistinctColorWord* words, std::size_t count) {
  std::uint32_t colors = 0;
  for (std::size_t i = 0; i < count; ++i) {
    words[i].before = colors;
    colors += BitCount(words[i].Bits());
  }
  return colors;
}

VEL_COUNTS_BITS void RanksInWords(const DistinctColorWord* words, std::uint32_t* colors, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const DistinctColorWord& word = words[colors[i] >> 6];
    colors[i] = word.before + BitCount(word.Bits() & ((std::uint64_t{1} << (colors[i] & 63)) - 1));
  }
}

// Gives the colours of one box their table index, at their ranks.
VEL_COUNTS_BITS void SetIndexes(const DistinctColors& colors, const std::uint32_t* entries,
                                std::uint32_t count, std::uint8_t index, std::uint8_t* indexes) {
  for (std::uint32_t i = 0; i < count; ++i) indexes[colors.Rank(entries[i])] = index;
}

bool IsGrey(std::uint32_t entry) {
  return Channel(entry, 0) == Channel(entry, 1) && Channel(entry, 1) == Channel(entry, 2);
}

}  // namespace

void DistinctColors::Reset(std::size_t pixels) {
  m_list.clear();
  m_count = 0;
  if (pixels >= kDenseFrom) {
    m_words.assign((std::size_t{1} << 24) / 64, Word{});
  } else {
    m_words.clear();
  }
}

void DistinctColors::Add(const std::uint32_t* colors, std::size_t count) {
  if (m_words.empty()) {
    m_list.insert(m_list.end(), colors, colors + count);
    return;
  }
  Word* words = m_words.data();
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t color = colors[i];
    words[color >> 6].bits[(color >> 5) & 1] |= std::uint32_t{1} << (color & 31);
  }
}

void DistinctColors::Ranks(std::uint32_t* colors, std::size_t count) const {
  if (m_words.empty()) {
    for (std::size_t i = 0; i < count; ++i) colors[i] = RankInList(colors[i]);
    return;
  }
  RanksInWords(m_words.data(), colors, count);
}

void DistinctColors::Finish() {
  if (m_words.empty()) {
    std::sort(m_list.begin(), m_list.end());
    m_list.erase(std::unique(m_list.begin(), m_list.end()), m_list.end());
    m_count = m_list.size();
    return;
  }
  m_count = CountBefore(m_words.data(), m_words.size());
}

std::uint32_t DistinctColors::RankInList(std::uint32_t color) const {
  return static_cast<std::uint32_t>(std::lower_bound(m_list.begin(), m_list.end(), color) - m_list.begin());
}

std::vector<std::uint32_t> DistinctColors::Sorted() const {
  std::vector<std::uint32_t> colors;
  Sorted(colors);
  return colors;
}

void DistinctColors::Sorted(std::vector<std::uint32_t>& colors) const {
  if (m_words.empty()) {
    colors = m_list;
    return;
  }
  colors.resize(m_count + kListSlack);
  ListColors(m_words.data(), m_words.size(), colors.data());
  colors.resize(m_count);
}

// Highest score first; boxes of one colour after all others; equal boxes in the order they came.
bool MedianCut::Waiting::operator<(const Waiting& other) const {
  if (single != other.single) return single;
  if (score != other.score) return score < other.score;
  return order > other.order;
}

MedianCut::MedianCut(std::vector<std::uint32_t> colors, std::vector<std::uint32_t> spare)
    : m_entries{std::move(colors), std::move(spare)} {
  if (m_entries[0].empty()) m_entries[0].push_back(0);
  auto count = static_cast<std::uint32_t>(m_entries[0].size());
  m_entries[1].resize(count);
  // 2. Greys apart from the other colours when there are both. The box of all the colours is
  // in the second copy either way.
  std::uint32_t greys = DivideGreysFirst(m_entries[0].data(), m_entries[1].data(), count);
  m_greySplit = greys > 0 && greys < count;
  if (m_greySplit) {
    AddBox(1, 0, count);
    int grey = AddBox(1, 0, greys);
    std::uint64_t sum[3];
    std::uint64_t squares[3];
    for (int c = 0; c < 3; ++c) {
      sum[c] = m_boxes[0].sum[c] - m_boxes[static_cast<std::size_t>(grey)].sum[c];
      squares[c] = m_boxes[0].squares[c] - m_boxes[static_cast<std::size_t>(grey)].squares[c];
    }
    int other = AddBox(1, greys, count, sum, squares);
    m_boxes[0].children[0] = grey;
    m_boxes[0].children[1] = other;
    m_unsplit = 2;
    Wait(grey);
    Wait(other);
  } else {
    AddBox(1, 0, count);
    m_unsplit = 1;
    Wait(0);
  }
}

int MedianCut::AddBox(int copy, std::uint32_t begin, std::uint32_t end) {
  std::uint64_t sum[3];
  std::uint64_t squares[3];
  AddUpChannels(m_entries[copy].data() + begin, end - begin, sum, squares);
  return AddBox(copy, begin, end, sum, squares);
}

std::uint32_t MedianCut::Partition(const Box& box, std::uint64_t sum[3], std::uint64_t squares[3]) {
  auto shift = static_cast<unsigned>(kShifts[box.channel]);
  auto limit = static_cast<std::uint32_t>(box.mean[box.channel]);
  std::uint32_t* to = m_entries[1 - box.copy].data() + box.begin;
  std::uint32_t low = DivideByChannel(m_entries[box.copy].data() + box.begin, to, box.Count(), shift, limit);
  // Only the smaller side is added up: the other side's sums are the rest of the box's.
  if (low <= box.Count() - low) {
    AddUpChannels(to, low, sum, squares);
  } else {
    AddUpChannels(to + low, box.Count() - low, sum, squares);
    for (int c = 0; c < 3; ++c) {
      sum[c] = box.sum[c] - sum[c];
      squares[c] = box.squares[c] - squares[c];
    }
  }
  return box.begin + low;
}

int MedianCut::AddBox(int copy, std::uint32_t begin, std::uint32_t end, const std::uint64_t sum[3],
                      const std::uint64_t squares[3]) {
  Box box;
  box.copy = copy;
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
  int copy = 1 - parent.copy;
  std::uint64_t lowSum[3];
  std::uint64_t lowSquares[3];
  std::uint32_t cut = Partition(parent, lowSum, lowSquares);
  bool byPosition = cut == parent.begin || cut == parent.end;
  int low = 0;
  if (byPosition) {
    // The first half in ascending order: the partitions before did not keep the order.
    std::sort(m_entries[copy].begin() + parent.begin, m_entries[copy].begin() + parent.end);
    cut = parent.begin + parent.Count() / 2;
    low = AddBox(copy, parent.begin, cut);
  } else {
    low = AddBox(copy, parent.begin, cut, lowSum, lowSquares);
  }
  std::uint64_t sum[3];
  std::uint64_t squares[3];
  for (int c = 0; c < 3; ++c) {
    sum[c] = parent.sum[c] - m_boxes[static_cast<std::size_t>(low)].sum[c];
    squares[c] = parent.squares[c] - m_boxes[static_cast<std::size_t>(low)].squares[c];
  }
  int high = AddBox(copy, cut, parent.end, sum, squares);
  bool below = parent.belowPositionSplit || byPosition;
  m_boxes[static_cast<std::size_t>(low)].belowPositionSplit = below;
  m_boxes[static_cast<std::size_t>(high)].belowPositionSplit = below;
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
    table[static_cast<std::size_t>(box.tableIndex)] = (static_cast<std::uint32_t>(box.mean[0]) << 16) |
                                                      (static_cast<std::uint32_t>(box.mean[1]) << 8) |
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

void MedianCut::IndexByRank(const DistinctColors& colors, std::vector<std::uint8_t>& indexes) const {
  indexes.resize(m_entries[0].size());
  for (const Box& box : m_boxes) {
    if (box.tableIndex < 0) continue;
    const std::uint32_t* entries = m_entries[box.copy].data() + box.begin;
    if (!box.belowPositionSplit) {
      SetIndexes(colors, entries, box.Count(), static_cast<std::uint8_t>(box.tableIndex), indexes.data());
      continue;
    }
    // Below a split by position the boxes do not follow the tree's comparisons: ask the tree.
    for (std::uint32_t i = 0; i < box.Count(); ++i) indexes[colors.Rank(entries[i])] = IndexOf(entries[i]);
  }
}

std::vector<std::uint8_t> MedianCut::IndexByRank(const DistinctColors& colors) const {
  std::vector<std::uint8_t> indexes;
  IndexByRank(colors, indexes);
  return indexes;
}

}  // namespace vel::images
