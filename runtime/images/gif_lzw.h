#pragma once
// The decoder of a GIF frame's code stream: variable-length codes, least significant bit first,
// packed into sub-blocks of up to 255 bytes, expanded into palette indexes. A corrupt stream
// never stops decoding: once it ends (an end code, a zero-length sub-block, the end of the
// data) every further index is 0.
//
// Each table entry is kept as the place in the output where its string was last written: a new
// entry is the previous string and the byte that follows it there, so decoding a code is one
// copy of bytes already written, with no walk down a chain of prefixes.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vel::images {

class GifLzwDecoder {
 public:
  /// Most codes a table holds, and the widest code.
  static constexpr unsigned kMaxCodes = 4096;
  static constexpr unsigned kMaxCodeWidth = 12;
  /// Bytes the output buffer must have beyond the indexes asked for: strings are copied in
  /// whole 16-byte steps.
  static constexpr std::size_t kOutputSlack = 16;

  /// Reads the code stream from the sub-blocks starting at `offset` of `bytes` (the first one's
  /// length byte), for a frame of the given minimum code size (2 to 11).
  GifLzwDecoder(const std::uint8_t* bytes, std::size_t size, std::size_t offset, int minimumCodeSize);
  ~GifLzwDecoder();
  GifLzwDecoder(const GifLzwDecoder&) = delete;
  GifLzwDecoder& operator=(const GifLzwDecoder&) = delete;

  /// Decodes the frame's first `count` indexes into `out`, which has room for `count` +
  /// kOutputSlack bytes (what lands in the slack is of no meaning). Call once.
  void Decode(std::uint8_t* out, std::size_t count);

  /// True when the code stream ended before `count` indexes were decoded.
  bool Ended() const { return m_ended; }

 private:
  struct Tables;

  /// Tops up the bit buffer from the sub-blocks, to at least `width` bits while there are any.
  bool Fill(unsigned width);

  // The sub-blocks, read in place, and the bits taken from them but not yet used.
  const std::uint8_t* m_bytes;
  std::size_t m_size;
  std::size_t m_at;
  std::size_t m_subBlockLeft = 0;
  bool m_subBlocksEnded = false;
  std::uint64_t m_bits = 0;
  unsigned m_bitCount = 0;
  int m_minimumCodeSize;
  bool m_ended = false;
  std::unique_ptr<Tables> m_tables;
};

}  // namespace vel::images
