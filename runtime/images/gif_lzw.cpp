#include "runtime/images/gif_lzw.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vel::images {

GifLzwDecoder::GifLzwDecoder(const std::uint8_t* bytes, std::size_t size, std::size_t offset, int minimumCodeSize)
    : m_bytes(bytes),
      m_size(size),
      m_at(std::min(offset, size)),
      m_clear(1u << minimumCodeSize),
      m_end(m_clear + 1),
      m_tables(std::make_unique<Tables>()) {
  Reset();
}

void GifLzwDecoder::Reset() {
  m_nextFree = m_clear + 2;
  m_width = static_cast<unsigned>(std::countr_zero(m_clear)) + 1;
  m_limit = 2 * m_clear;
  m_previous = -1;
}

bool GifLzwDecoder::Refill() {
  while (m_bitCount <= 56) {
    if (m_subBlockLeft == 0) {
      // A zero-length sub-block, or none at all, ends the code stream.
      if (m_dataEnded || m_at >= m_size || m_bytes[m_at] == 0) {
        m_dataEnded = true;
        return false;
      }
      m_subBlockLeft = m_bytes[m_at++];
    }
    // Take as many bytes of this sub-block as there are and the buffer holds.
    std::size_t take = std::min({m_subBlockLeft, m_size - m_at, static_cast<std::size_t>((64 - m_bitCount) / 8)});
    if (take == 0) {
      m_dataEnded = true;
      return false;
    }
    for (std::size_t i = 0; i < take; ++i) {
      m_bits |= static_cast<std::uint64_t>(m_bytes[m_at + i]) << m_bitCount;
      m_bitCount += 8;
    }
    m_at += take;
    m_subBlockLeft -= take;
  }
  return true;
}

int GifLzwDecoder::ReadCode() {
  if (m_bitCount < m_width) {
    Refill();
    if (m_bitCount < m_width) return -1;
  }
  auto code = static_cast<int>(m_bits & ((1u << m_width) - 1));
  m_bits >>= m_width;
  m_bitCount -= m_width;
  return code;
}

bool GifLzwDecoder::DecodeString() {
  Tables& tables = *m_tables;
  for (;;) {
    int read = ReadCode();
    if (read < 0) return false;
    auto code = static_cast<unsigned>(read);
    if (code == m_clear) {
      Reset();
      continue;
    }
    if (code == m_end) return false;
    if (m_previous < 0) {
      // The first code after a clear is output as it stands; codes that are no single byte
      // cannot start a stream and are passed over.
      if (code > m_clear) continue;
      tables.stack[0] = static_cast<std::uint8_t>(code);
      m_stackTop = 1;
      m_previous = static_cast<int>(code);
      m_firstByte = static_cast<std::uint8_t>(code);
      return true;
    }
    std::size_t top = 0;
    unsigned walk = code;
    bool beyondNextFree = code > m_nextFree;
    if (code >= m_nextFree) {
      // Not in the table yet: the previous string followed by its own first byte.
      tables.stack[top++] = m_firstByte;
      walk = static_cast<unsigned>(m_previous);
    }
    while (walk > m_end && top < kMaxCodes - 1) {
      tables.stack[top++] = tables.suffix[walk];
      walk = tables.prefix[walk];
    }
    // A chain never reaches the clear or end code (no entry refers to them); a root beyond
    // the byte range only comes from a minimum code size above 8 and is cut to a byte.
    m_firstByte = static_cast<std::uint8_t>(walk);
    tables.stack[top++] = m_firstByte;
    m_stackTop = top;
    if (m_nextFree < kMaxCodes) {
      tables.prefix[m_nextFree] = static_cast<std::uint16_t>(m_previous);
      tables.suffix[m_nextFree] = m_firstByte;
      ++m_nextFree;
      if (m_nextFree >= m_limit && m_width < kMaxCodeWidth) {
        ++m_width;
        m_limit *= 2;
      }
    }
    // A code beyond the next free one is no string to build on.
    m_previous = beyondNextFree ? 0 : static_cast<int>(code);
    return true;
  }
}

void GifLzwDecoder::Read(std::uint8_t* out, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    if (m_stackTop == 0) {
      if (m_ended || !DecodeString()) {
        m_ended = true;
        std::memset(out + done, 0, count - done);
        return;
      }
    }
    std::size_t take = std::min(m_stackTop, count - done);
    const std::uint8_t* stack = m_tables->stack.data();
    for (std::size_t i = 0; i < take; ++i) out[done + i] = stack[m_stackTop - 1 - i];
    m_stackTop -= take;
    done += take;
  }
}

}  // namespace vel::images
