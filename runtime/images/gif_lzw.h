#pragma once
// The decoder of a GIF frame's code stream: variable-length codes, least significant bit first,
// packed into sub-blocks of up to 255 bytes, expanded into palette indexes. A corrupt stream
// never stops decoding: once it ends (an end code, a zero-length sub-block, the end of the
// data) every further index is 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace vel::images {

class GifLzwDecoder {
 public:
  /// Most codes a table holds, and the widest code.
  static constexpr unsigned kMaxCodes = 4096;
  static constexpr unsigned kMaxCodeWidth = 12;

  /// Decodes the sub-blocks starting at `offset` of `bytes` (the first one's length byte) with
  /// the frame's minimum code size (2 to 11).
  GifLzwDecoder(const std::uint8_t* bytes, std::size_t size, std::size_t offset, int minimumCodeSize);

  /// Writes the next `count` indexes.
  void Read(std::uint8_t* out, std::size_t count);
  /// The next index.
  std::uint8_t Next() {
    std::uint8_t index = 0;
    Read(&index, 1);
    return index;
  }

  /// True once the code stream has ended.
  bool Ended() const { return m_ended; }

 private:
  /// Expands the next code into `m_stack` (its bytes last first); false when the stream ended.
  bool DecodeString();
  /// The next code, or -1 when the sub-blocks ran out.
  int ReadCode();
  bool Refill();
  void Reset();

  // The code stream.
  const std::uint8_t* m_bytes;
  std::size_t m_size;
  std::size_t m_at;
  std::size_t m_subBlockLeft = 0;
  std::uint64_t m_bits = 0;
  unsigned m_bitCount = 0;
  bool m_dataEnded = false;

  // The string table.
  unsigned m_clear;
  unsigned m_end;
  unsigned m_nextFree = 0;
  unsigned m_width = 0;
  unsigned m_limit = 0;
  int m_previous = -1;  ///< -1 while waiting for the first code after a clear.
  std::uint8_t m_firstByte = 0;
  bool m_ended = false;

  struct Tables {
    std::array<std::uint16_t, kMaxCodes> prefix;
    std::array<std::uint8_t, kMaxCodes> suffix;
    std::array<std::uint8_t, kMaxCodes> stack;
  };
  std::unique_ptr<Tables> m_tables;
  /// Bytes of the current string not yet handed out: m_tables->stack[0 .. m_stackTop).
  std::size_t m_stackTop = 0;
};

}  // namespace vel::images
