#pragma once
// The blocks of a GIF file, parsed once when a GIF image is made: image descriptors (the frames),
// graphic control extensions (delay and transparency), the looping application extension and
// every other extension. Each block records where it lies in the file's bytes; nothing is read
// from the file without checking first that the byte is there.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vel::images {

enum class GifBlockKind : std::uint8_t { ImageDescriptor, GraphicControl, Looping, OtherExtension };

struct GifBlock {
  GifBlockKind kind = GifBlockKind::OtherExtension;
  std::size_t offset = 0;  ///< Of the block's first byte (its introducer) in the file.
  std::size_t length = 0;  ///< Up to and including the zero-length sub-block that ends it.

  // Image descriptor: where the frame lies on the canvas and how its pixels are stored.
  int left = 0;
  int top = 0;
  int right = 0;   ///< left + width
  int bottom = 0;  ///< top + height
  bool interlaced = false;
  unsigned localTableEntries = 0;  ///< 0 when the frame uses the global colour table.
  std::size_t localTableOffset = 0;
  int minimumCodeSize = 0;
  std::size_t imageDataOffset = 0;  ///< Of the first sub-block's length byte.

  // Graphic control extension.
  unsigned delay = 0;  ///< Hundredths of a second.
  int transparentIndex = -1;

  // The looping application extension ("NETSCAPE2.0"); the count changes as it is played.
  bool loopingPresent = false;
  unsigned loopCount = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct GifFile {
  std::vector<GifBlock> blocks;
  /// The canvas: the largest right and bottom edges of the image descriptors.
  int canvasWidth = 0;
  int canvasHeight = 0;
  unsigned globalTableEntries = 0;  ///< 0 when the file has no global colour table.
  std::size_t globalTableOffset = 0;
};

/// Bytes of the header and logical screen descriptor.
constexpr std::size_t kGifHeaderSize = 13;

/// True for data this kind takes: more than 13 bytes beginning with "GIF".
bool LooksLikeGif(const std::uint8_t* bytes, std::size_t size);

/// Parses the blocks of a GIF file. Nothing when the file is invalid: an unknown block
/// introducer, an LZW minimum code size outside 2 to 11, data that ends before the trailer, no
/// block at all, or a canvas outside the picture limits (image_limits.h).
std::optional<GifFile> ParseGif(const std::uint8_t* bytes, std::size_t size);

}  // namespace vel::images
