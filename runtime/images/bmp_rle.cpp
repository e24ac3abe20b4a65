#include "runtime/images/bmp_rle.h"

#include <algorithm>
#include <cstring>

namespace vel::images {
namespace {

// The escape codes that follow a zero count.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

// Where the decoded pixels go. The position only ever moves forward, so for RLE8 everything
// between the last pixel written and the next is cleared on the way, and the rows need not be
// cleared first; RLE4 writes half bytes into rows that are clear already.
class RleTarget {
 public:
  RleTarget(bool fourBit, int width, int height, std::size_t stride, std::uint8_t* rows)
      : m_fourBit(fourBit), m_width(width), m_height(height), m_stride(stride), m_rows(rows) {}

  bool Done() const { return m_y >= m_height; }

  // A run of `count` pixels of one byte: RLE8 repeats it, RLE4 alternates its two nibbles.
  void Run(int count, std::uint8_t value) {
    int n = std::min(count, m_width - m_x);
    if (n <= 0) return;
    if (!m_fourBit) {
      std::uint8_t* out = Reach(n);
      // Short runs, the common case, are written as one word when the rows have room for it;
      // the bytes beyond the run are written again or cleared before anything reads them.
      if (n <= 8 && Room(out) >= 8) {
        std::uint64_t repeated = value * 0x0101010101010101ull;
        std::memcpy(out, &repeated, 8);
      } else {
        std::memset(out, value, static_cast<std::size_t>(n));
      }
    } else {
      for (int i = 0; i < n; ++i) PutNibble(m_x + i, i % 2 == 0 ? value >> 4 : value & 0x0F);
    }
    m_x += n;
  }

  // `count` pixels given one by one (two to a byte in RLE4); `available` bytes can be read
  // from `data`.
  void Literal(const std::uint8_t* data, std::size_t available, int count) {
    int n = std::min(count, m_width - m_x);
    if (n <= 0) return;
    if (!m_fourBit) {
      std::uint8_t* out = Reach(n);
      if (n <= 8 && Room(out) >= 8 && available >= 8) {
        std::memcpy(out, data, 8);
      } else {
        std::memcpy(out, data, static_cast<std::size_t>(n));
      }
    } else {
      for (int i = 0; i < n; ++i) PutNibble(m_x + i, i % 2 == 0 ? data[i / 2] >> 4 : data[i / 2] & 0x0F);
    }
    m_x += n;
  }

  // RLE8 codes that stay inside the line, decoded while the data and the rows have kSlack bytes
  // to spare after each code; answers where it stopped, at the first code it leaves to the
  // careful path (escapes, runs cut at the edge, the last codes of the data). A run or literal of
  // up to kSlack pixels is written as kSlack bytes, chosen without a branch on which of the two
  // it is: in a photograph they alternate at random. The bytes past the code are written again
  // or cleared before anything reads them.
  std::size_t Rle8Codes(const std::uint8_t* data, std::size_t size, std::size_t at) {
    constexpr std::size_t kSlack = 16;
    using Bytes = std::uint8_t __attribute__((vector_size(kSlack)));
    std::size_t total = m_stride * static_cast<std::size_t>(m_height);
    if (m_fourBit || Done() || size < 2 + kSlack || total < kSlack) return at;
    const std::size_t lastAt = size - 2 - kSlack;
    std::uint8_t* out = Reach(0);
    const std::uint8_t* safeEnd = m_rows + (total - kSlack);
    unsigned room = static_cast<unsigned>(m_width - m_x);
    while (at <= lastAt && out <= safeEnd) {
      unsigned count = data[at];
      unsigned value = data[at + 1];
      bool literal = count == 0;
      unsigned n = literal ? value : count;
      if ((literal & (value < 3)) | (n > room)) break;
      if (n <= kSlack) {
        Bytes given;
        std::memcpy(&given, data + at + 2, kSlack);
        Bytes mask = Bytes{} - static_cast<std::uint8_t>(literal);
        Bytes bytes = (given & mask) | ((Bytes{} + static_cast<std::uint8_t>(value)) & ~mask);
        std::memcpy(out, &bytes, kSlack);
        // A literal's bytes are padded to a whole number of 16-bit words.
        at += 2 + (((n + 1) & ~1u) & (0u - static_cast<unsigned>(literal)));
      } else if (!literal) {
        std::memset(out, static_cast<int>(value), n);
        at += 2;
      } else {
        if (size - at - 2 < n) break;
        std::memcpy(out, data + at + 2, n);
        at = std::min(at + 2 + ((n + 1) & ~1u), size);
      }
      out += n;
      room -= n;
    }
    m_x = m_width - static_cast<int>(room);
    m_written = static_cast<std::size_t>(out - m_rows);
    return at;
  }

  void NextLine() {
    m_x = 0;
    ++m_y;
  }

  void Move(int dx, int dy) {
    m_x = std::min(m_x + dx, m_width);
    m_y += dy;
  }

  // Clears what no pixel reached (RLE8).
  void Finish() {
    if (m_fourBit) return;
    std::size_t total = m_stride * static_cast<std::size_t>(m_height);
    std::memset(m_rows + m_written, 0, total - m_written);
  }

 private:
  std::uint8_t* Line() { return m_rows + static_cast<std::size_t>(m_y) * m_stride; }

  // The place of the next `n` bytes of RLE8 pixels, after clearing the bytes skipped to get
  // there.
  std::uint8_t* Reach(int n) {
    std::size_t at = static_cast<std::size_t>(m_y) * m_stride + static_cast<std::size_t>(m_x);
    if (at > m_written) std::memset(m_rows + m_written, 0, at - m_written);
    m_written = at + static_cast<std::size_t>(n);
    return m_rows + at;
  }

  // Bytes of the rows from `out` to their end.
  std::size_t Room(const std::uint8_t* out) const {
    return m_stride * static_cast<std::size_t>(m_height) - static_cast<std::size_t>(out - m_rows);
  }

  void PutNibble(int x, int value) {
    std::uint8_t& byte = Line()[x / 2];
    byte = x % 2 == 0 ? static_cast<std::uint8_t>((byte & 0x0F) | (value << 4))
                      : static_cast<std::uint8_t>((byte & 0xF0) | value);
  }

  bool m_fourBit;
  int m_width;
  int m_height;
  std::size_t m_stride;
  std::uint8_t* m_rows;
  std::size_t m_written = 0;  // RLE8: every byte before this one has its final value.
  int m_x = 0;
  int m_y = 0;
};

}  // namespace

void DecodeBmpRle(const std::uint8_t* data, std::size_t size, bool fourBit, int width, int height,
                  std::size_t stride, std::uint8_t* rows) {
  RleTarget target(fourBit, width, height, stride, rows);
  std::size_t at = 0;
  while (true) {
    at = target.Rle8Codes(data, size, at);
    if (at + 2 > size || target.Done()) break;
    std::uint8_t count = data[at];
    std::uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      target.Run(count, value);
      continue;
    }
    if (value == kEndOfLine) {
      target.NextLine();
    } else if (value == kEndOfBitmap) {
      break;
    } else if (value == kDelta) {
      if (at + 2 > size) break;
      target.Move(data[at], data[at + 1]);
      at += 2;
    } else {
      // A literal run of `value` pixels, padded to a whole number of 16-bit words.
      std::size_t bytes = fourBit ? (value + 1u) / 2 : value;
      std::size_t padded = (bytes + 1) & ~std::size_t{1};
      std::size_t present = std::min(bytes, size - at);
      int pixels = fourBit ? static_cast<int>(std::min<std::size_t>(value, present * 2)) : static_cast<int>(present);
      target.Literal(data + at, size - at, pixels);
      at += std::min(padded, size - at);
    }
  }
  target.Finish();
}

}  // namespace vel::images
