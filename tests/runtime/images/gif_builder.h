#pragma once
// GIF files built byte by byte for the tests: a header and logical screen, an optional global
// colour table, frames (stored with a plain coding that any decoder reads, or as hand-written
// codes), graphic control and looping blocks, other extensions and the trailer.

#include <cstdint>
#include <string>
#include <vector>

namespace vel::images::testing {

/// Packs codes of the given widths, least significant bit first, into bytes.
class CodePacker {
 public:
  void Put(unsigned code, unsigned width);
  std::vector<std::uint8_t> Finish();

 private:
  std::vector<std::uint8_t> m_bytes;
  std::uint32_t m_bits = 0;
  unsigned m_count = 0;
};

class GifBuilder {
 public:
  /// "GIF89a", the logical screen and, when `globalTable` is not empty, the global colour table
  /// (0xRRGGBB entries; padded with black to a power of two).
  GifBuilder(int screenWidth, int screenHeight, const std::vector<std::uint32_t>& globalTable = {});

  struct Frame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    std::vector<std::uint32_t> localTable;
    int minimumCodeSize = 8;
    /// Indexes, row by row from the top as the picture shows them (the builder stores them in
    /// interlaced order when asked).
    std::vector<std::uint8_t> indexes;
  };
  GifBuilder& Image(const Frame& frame);
  /// An image descriptor whose code stream is exactly `data` (already packed, cut into
  /// sub-blocks here).
  GifBuilder& ImageWithData(const Frame& frame, const std::vector<std::uint8_t>& data);
  GifBuilder& GraphicControl(unsigned delay, int transparentIndex = -1);
  GifBuilder& Looping(unsigned loopCount);
  GifBuilder& Comment(const std::string& text);
  /// Any bytes, as they stand.
  GifBuilder& Raw(const std::vector<std::uint8_t>& bytes);
  /// The file with its trailer.
  std::vector<std::uint8_t> Finish() const;
  /// The file so far, without a trailer.
  const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

 private:
  void SubBlocks(const std::vector<std::uint8_t>& data);
  void Table(const std::vector<std::uint32_t>& table);

  std::vector<std::uint8_t> m_bytes;
};

/// A frame of one index, at (left, top), with a minimum code size of 2.
GifBuilder::Frame SolidFrame(int left, int top, int width, int height, std::uint8_t index = 1);

/// Codes a frame's indexes without compression: every index is its own code, with clear codes
/// often enough that the code width never grows.
std::vector<std::uint8_t> PlainCodes(const std::vector<std::uint8_t>& indexes, int minimumCodeSize);

/// Bits per entry of a table of `entries` colours (at least 1), as the GIF packed fields hold it.
unsigned TableSizeBits(std::size_t entries);

}  // namespace vel::images::testing
