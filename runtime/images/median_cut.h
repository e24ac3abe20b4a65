#pragma once
// The median cut behind the 256-colour reduction, on the sorted distinct colours (0xRRGGBB) of
// a picture. Boxes of colours are split until there are as many unsplit boxes as colours
// wanted; the splits form a tree that every colour is mapped through.

#include <cstddef>
#include <cstdint>
#include <queue>
#include <utility>
#include <vector>

#include "runtime/images/bit_count.h"

namespace vel::images {

/// The bits of 64 colours and how many colours are present before them, side by side so that a
/// rank costs one memory access; in 32-bit halves, so that a word takes 12 bytes, not 16.
struct DistinctColorWord {
  std::uint32_t bits[2] = {0, 0};
  std::uint32_t before = 0;
  std::uint64_t Bits() const { return bits[0] | (std::uint64_t{bits[1]} << 32); }
};

/// The distinct colours of a picture and each present colour's rank in ascending order. A
/// picture of many pixels keeps one bit per 24-bit colour (3 MB with the running counts, a rank in
/// one memory access); a small one keeps a sorted list, so that reducing an icon-sized picture does not
/// walk sixteen million colours.
class DistinctColors {
 public:
  /// `pixels`: how many pixels will be added at most (it chooses the representation).
  explicit DistinctColors(std::size_t pixels = kDenseFrom) { Reset(pixels); }
  /// Forgets the colours, to be used again for a picture of `pixels` pixels; the memory stays.
  void Reset(std::size_t pixels);
  void Add(std::uint32_t color) {
    if (m_words.empty()) {
      m_list.push_back(color);
    } else {
      m_words[color >> 6].bits[(color >> 5) & 1] |= std::uint32_t{1} << (color & 31);
    }
  }
  /// The same for `count` colours at once.
  void Add(const std::uint32_t* colors, std::size_t count);
  /// Counts the colours; Rank and Sorted need it first.
  void Finish();
  std::size_t Count() const { return m_count; }
  /// The position of a present colour among all present colours in ascending order.
  std::uint32_t Rank(std::uint32_t color) const {
    if (m_words.empty()) return RankInList(color);
    const Word& word = m_words[color >> 6];
    return word.before + BitCount(word.Bits() & ((std::uint64_t{1} << (color & 63)) - 1));
  }
  /// Replaces `count` present colours by their ranks.
  void Ranks(std::uint32_t* colors, std::size_t count) const;
  std::vector<std::uint32_t> Sorted() const;
  /// The same into `colors`, whose memory is used again.
  void Sorted(std::vector<std::uint32_t>& colors) const;
  /// Bytes of memory held.
  std::size_t MemoryBytes() const {
    return m_words.capacity() * sizeof(Word) + m_list.capacity() * sizeof(std::uint32_t);
  }

  /// Pictures of at least this many pixels use the bits.
  static constexpr std::size_t kDenseFrom = std::size_t{1} << 15;

 private:
  using Word = DistinctColorWord;

  std::uint32_t RankInList(std::uint32_t color) const;

  std::vector<Word> m_words;
  /// The colours of a small picture: as added, then sorted without repeats by Finish.
  std::vector<std::uint32_t> m_list;
  std::size_t m_count = 0;
};

class MedianCut {
 public:
  /// `colors`: distinct 0xRRGGBB values, at least one; their order does not matter. `spare`:
  /// memory to use again for the second copy of the colours that splits move them into.
  explicit MedianCut(std::vector<std::uint32_t> colors, std::vector<std::uint32_t> spare = {});

  /// Splits boxes until `wanted` are unsplit or no box holds more than one colour.
  void Run(std::size_t wanted);

  /// One entry (0xRRGGBB) per unsplit box, in the order of the tree (first boxes first).
  std::vector<std::uint32_t> ColorTable() const;
  /// The table index of any colour, found by walking the tree of splits.
  std::uint8_t IndexOf(std::uint32_t color) const;
  /// The table index of each colour by its rank among `colors` (the colours the cut was made
  /// of). The same as IndexOf for each, read off the boxes the colours ended in.
  std::vector<std::uint8_t> IndexByRank(const DistinctColors& colors) const;
  /// The same into `indexes`, whose memory is used again.
  void IndexByRank(const DistinctColors& colors, std::vector<std::uint8_t>& indexes) const;
  /// Hands back the memory of the two copies of the colours, leaving the cut empty.
  std::vector<std::uint32_t> TakeColors() { return std::move(m_entries[0]); }
  std::vector<std::uint32_t> TakeSpare() { return std::move(m_entries[1]); }

 private:
  struct Box {
    std::uint32_t begin = 0;  ///< The box's colours: m_entries[copy][begin, end).
    std::uint32_t end = 0;
    int copy = 0;
    std::uint64_t sum[3] = {0, 0, 0};  ///< Per channel: red, green, blue.
    std::uint64_t squares[3] = {0, 0, 0};
    int mean[3] = {0, 0, 0};
    int channel = 0;          ///< The channel a split divides along.
    std::uint64_t score = 0;  ///< That channel's score.
    int children[2] = {-1, -1};
    int tableIndex = -1;
    /// Split by position because the mean left a side empty; the tree then sends colours
    /// by value, not by the box they were put in.
    bool splitByPosition = false;
    /// Some box above this one was split by position.
    bool belowPositionSplit = false;

    std::uint32_t Count() const { return end - begin; }
  };

  struct Waiting {
    std::uint64_t score;
    bool single;
    std::uint32_t order;
    int box;
    bool operator<(const Waiting& other) const;
  };

  /// A box of the colours m_entries[copy][begin, end), its sums counted (or given, when known).
  int AddBox(int copy, std::uint32_t begin, std::uint32_t end);
  int AddBox(int copy, std::uint32_t begin, std::uint32_t end, const std::uint64_t sum[3],
             const std::uint64_t squares[3]);
  /// Copies the colours of `box` into the other copy, those at most its mean along its split
  /// channel first, and adds up the channels of the first ones; answers where the others start.
  std::uint32_t Partition(const Box& box, std::uint64_t sum[3], std::uint64_t squares[3]);
  void Score(Box& box) const;
  void Wait(int box);
  void Split(int box);

  /// The colours, twice: a split reads its box's range in one copy and writes the two new boxes
  /// into the same range of the other, so that no colour waits for the one moved before it.
  std::vector<std::uint32_t> m_entries[2];
  std::vector<Box> m_boxes;
  /// When the colours hold greys and others, box 0 is split into greys (box 1) and others
  /// (box 2) before anything else.
  bool m_greySplit = false;
  std::size_t m_unsplit = 0;
  int m_tableSize = 0;
  std::priority_queue<Waiting> m_waiting;
  std::uint32_t m_nextOrder = 0;
};

}  // namespace vel::images
