#include "runtime/images/gif_lzw.h"

#include <algorithm>
#include <cstring>

namespace vel::images {
namespace {

// Sixteen bytes from `from` to `to`, read before any is written: the caller has slack at both.
inline void CopyShort(std::uint8_t* to, const std::uint8_t* from) {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  std::memcpy(&low, from, 8);
  std::memcpy(&high, from + 8, 8);
  std::memcpy(to, &low, 8);
  std::memcpy(to + 8, &high, 8);
}

}  // namespace

struct GifLzwDecoder::Tables {
  /// Where each code's string lies (in the output, among the roots, or among the spare
  /// strings) and how long it is.
  const std::uint8_t* at[kMaxCodes];
  std::uint16_t length[kMaxCodes];
  /// The one-byte strings of the root codes (codes above 255 are cut to a byte).
  std::uint8_t roots[kMaxCodes + kOutputSlack];
  /// Strings that were never written out whole: those built on the stand-in previous code that
  /// follows a code beyond the next free one.
  std::uint8_t spare[2 * kMaxCodes + kOutputSlack];
};

GifLzwDecoder::GifLzwDecoder(const std::uint8_t* bytes, std::size_t size, std::size_t offset, int minimumCodeSize)
    : m_bytes(bytes),
      m_size(size),
      m_at(std::min(offset, size)),
      m_minimumCodeSize(minimumCodeSize),
      // Every entry is written before it is read: the tables need no clearing.
      m_tables(new Tables) {}

bool GifLzwDecoder::Fill(unsigned width) {
  while (m_bitCount <= 56) {
    if (m_subBlockLeft == 0) {
      // A zero-length sub-block, or the end of the data, ends the code stream.
      if (m_subBlocksEnded || m_at >= m_size || m_bytes[m_at] == 0) {
        m_subBlocksEnded = true;
        break;
      }
      m_subBlockLeft = std::min<std::size_t>(m_bytes[m_at], m_size - m_at - 1);
      ++m_at;
      if (m_subBlockLeft == 0) {
        m_subBlocksEnded = true;
        break;
      }
    }
    if (m_subBlockLeft >= 8) {
      // Eight bytes at once; those beyond the ones taken are read again next time.
      std::uint64_t word = 0;
      std::memcpy(&word, m_bytes + m_at, 8);
      m_bits |= word << m_bitCount;
      std::size_t taken = (64 - m_bitCount) >> 3;
      m_at += taken;
      m_subBlockLeft -= taken;
      m_bitCount += static_cast<unsigned>(taken) * 8;
      continue;
    }
    m_bits |= static_cast<std::uint64_t>(m_bytes[m_at++]) << m_bitCount;
    m_bitCount += 8;
    --m_subBlockLeft;
  }
  return m_bitCount >= width;
}

GifLzwDecoder::~GifLzwDecoder() = default;

void GifLzwDecoder::Decode(std::uint8_t* out, std::size_t count) {
  Tables& tables = *m_tables;
  const unsigned clear = 1u << m_minimumCodeSize;
  const unsigned end = clear + 1;
  for (unsigned code = 0; code < clear; ++code) {
    tables.roots[code] = static_cast<std::uint8_t>(code);
    tables.at[code] = &tables.roots[code];
    tables.length[code] = 1;
  }
  std::size_t spareUsed = 0;

  unsigned nextFree = clear + 2;
  unsigned width = static_cast<unsigned>(m_minimumCodeSize) + 1;
  unsigned limit = 2 * clear;
  bool waitingForFirst = true;
  // The previous code's string, and the first byte of the string output last.
  const std::uint8_t* previousAt = nullptr;
  std::size_t previousLength = 0;
  std::uint8_t lastFirstByte = 0;

  // The bit buffer lives in locals while codes are read; Fill works on the members.
  std::uint64_t bits = m_bits;
  unsigned bitCount = m_bitCount;
  std::uint8_t* to = out;
  std::uint8_t* const stop = out + count;

  while (to < stop) {
    // The sub-blocks running out is as good as an end code.
    if (bitCount < width) {
      m_bits = bits;
      m_bitCount = bitCount;
      bool filled = Fill(width);
      bits = m_bits;
      bitCount = m_bitCount;
      if (!filled) break;
    }
    auto code = static_cast<unsigned>(bits & ((1u << width) - 1));
    bits >>= width;
    bitCount -= width;

    if (code == clear) {
      nextFree = clear + 2;
      width = static_cast<unsigned>(m_minimumCodeSize) + 1;
      limit = 2 * clear;
      waitingForFirst = true;
      spareUsed = 0;
      continue;
    }
    if (code == end) break;
    if (waitingForFirst) {
      // The first code after a clear is output as it stands; codes that are no single byte
      // cannot start a stream and are passed over.
      if (code > clear) continue;
      *to = tables.roots[code];
      previousAt = to;
      previousLength = 1;
      lastFirstByte = *to;
      ++to;
      waitingForFirst = false;
      continue;
    }

    const std::uint8_t* from;
    std::size_t length;
    bool unknown = code >= nextFree;
    bool beyondNextFree = code > nextFree;
    if (unknown) {
      // Not in the table yet: the previous string followed by the first byte output last.
      from = previousAt;
      length = previousLength + 1;
    } else {
      from = tables.at[code];
      length = tables.length[code];
    }
    auto room = static_cast<std::size_t>(stop - to);
    if (length <= 16) {
      CopyShort(to, from);
    } else {
      std::memmove(to, from, std::min(length - (unknown ? 1 : 0), room));
    }
    if (unknown && length - 1 < room) to[length - 1] = lastFirstByte;
    // Read from where it was copied from, not from the bytes just stored.
    std::uint8_t firstByte = from[0];

    if (nextFree < kMaxCodes) {
      // The new entry is the previous string and this string's first byte: where the previous
      // string lies just before this one, that is the output itself.
      if (previousAt + previousLength == to) {
        tables.at[nextFree] = previousAt;
      } else {
        std::uint8_t* spare = tables.spare + spareUsed;
        std::memcpy(spare, previousAt, previousLength);
        spare[previousLength] = firstByte;
        spareUsed += previousLength + 1;
        tables.at[nextFree] = spare;
      }
      tables.length[nextFree] = static_cast<std::uint16_t>(previousLength + 1);
      ++nextFree;
      if (nextFree >= limit && width < kMaxCodeWidth) {
        ++width;
        limit *= 2;
      }
    }
    lastFirstByte = firstByte;
    if (beyondNextFree) {
      // A code beyond the next free one is no string to build on: 0 takes its place.
      previousAt = tables.at[0];
      previousLength = 1;
    } else {
      previousAt = to;
      previousLength = length;
    }
    if (length >= room) {
      to = stop;
      break;
    }
    to += length;
  }
  m_bits = bits;
  m_bitCount = bitCount;
  if (to < stop) {
    m_ended = true;
    std::memset(to, 0, static_cast<std::size_t>(stop - to));
  }
}

}  // namespace vel::images
