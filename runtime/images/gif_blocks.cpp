#include "runtime/images/gif_blocks.h"

#include <algorithm>
#include <cstring>

#include "runtime/images/byte_reading.h"
#include "runtime/images/image_limits.h"

namespace vel::images {
namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::size_t kImageDescriptorSize = 10;
constexpr char kLoopingIdentifier[] = "NETSCAPE2.0";
constexpr std::size_t kIdentifierSize = 11;

unsigned TableEntries(std::uint8_t packed) { return 2u << (packed & 7u); }

// Reads the file front to back; every read says whether the bytes were there.
class GifCursor {
 public:
  GifCursor(const std::uint8_t* bytes, std::size_t size) : m_bytes(bytes), m_size(size) {}

  std::size_t Position() const { return m_at; }
  bool Has(std::size_t count) const { return count <= m_size - m_at; }
  const std::uint8_t* Here() const { return m_bytes + m_at; }
  bool Skip(std::size_t count) {
    if (!Has(count)) return false;
    m_at += count;
    return true;
  }
  bool Byte(std::uint8_t& value) {
    if (!Has(1)) return false;
    value = m_bytes[m_at++];
    return true;
  }
  /// Skips sub-blocks up to and including the zero-length one that ends them.
  bool SkipSubBlocks() {
    for (;;) {
      std::uint8_t length = 0;
      if (!Byte(length)) return false;
      if (length == 0) return true;
      if (!Skip(length)) return false;
    }
  }

 private:
  const std::uint8_t* m_bytes;
  std::size_t m_size;
  std::size_t m_at = 0;
};

// The fields of a graphic control extension come from its first sub-block; a block too short
// to hold them has no delay and no transparency.
bool ReadGraphicControl(GifCursor& cursor, GifBlock& block) {
  std::uint8_t length = 0;
  if (!cursor.Byte(length)) return false;
  if (length >= 4 && cursor.Has(length)) {
    const std::uint8_t* fields = cursor.Here();
    block.delay = ReadU16(fields + 1);
    if ((fields[0] & 0x01) != 0) block.transparentIndex = fields[3];
  }
  if (length == 0) return true;
  return cursor.Skip(length) && cursor.SkipSubBlocks();
}

// An application extension is the looping block when its identifier is "NETSCAPE2.0"; the loop
// count is in a 3-byte sub-block that starts with 1.
bool ReadApplication(GifCursor& cursor, GifBlock& block) {
  std::uint8_t length = 0;
  if (!cursor.Byte(length)) return false;
  if (length == 0) return true;
  if (!cursor.Has(length)) return false;
  bool looping = length == kIdentifierSize && std::memcmp(cursor.Here(), kLoopingIdentifier, kIdentifierSize) == 0;
  cursor.Skip(length);
  if (looping) block.kind = GifBlockKind::Looping;
  for (;;) {
    if (!cursor.Byte(length)) return false;
    if (length == 0) return true;
    if (!cursor.Has(length)) return false;
    if (looping && length == 3 && cursor.Here()[0] == 1) {
      block.loopingPresent = true;
      block.loopCount = ReadU16(cursor.Here() + 1);
    }
    cursor.Skip(length);
  }
}

bool ReadExtension(GifCursor& cursor, GifBlock& block) {
  std::uint8_t label = 0;
  if (!cursor.Byte(label)) return false;
  if (label == kGraphicControlLabel) {
    block.kind = GifBlockKind::GraphicControl;
    return ReadGraphicControl(cursor, block);
  }
  block.kind = GifBlockKind::OtherExtension;
  if (label == kApplicationLabel) return ReadApplication(cursor, block);
  return cursor.SkipSubBlocks();
}

bool ReadImageDescriptor(GifCursor& cursor, GifBlock& block) {
  block.kind = GifBlockKind::ImageDescriptor;
  if (!cursor.Has(kImageDescriptorSize - 1)) return false;
  const std::uint8_t* fields = cursor.Here();
  block.left = ReadU16(fields);
  block.top = ReadU16(fields + 2);
  block.right = block.left + ReadU16(fields + 4);
  block.bottom = block.top + ReadU16(fields + 6);
  std::uint8_t packed = fields[8];
  block.interlaced = (packed & 0x40) != 0;
  cursor.Skip(kImageDescriptorSize - 1);
  if ((packed & 0x80) != 0) {
    block.localTableEntries = TableEntries(packed);
    block.localTableOffset = cursor.Position();
    if (!cursor.Skip(3 * std::size_t{block.localTableEntries})) return false;
  }
  std::uint8_t codeSize = 0;
  if (!cursor.Byte(codeSize) || codeSize < 2 || codeSize >= 12) return false;
  block.minimumCodeSize = codeSize;
  block.imageDataOffset = cursor.Position();
  return cursor.SkipSubBlocks();
}

}  // namespace

bool LooksLikeGif(const std::uint8_t* bytes, std::size_t size) {
  return bytes != nullptr && size > kGifHeaderSize && std::memcmp(bytes, "GIF", 3) == 0;
}

std::optional<GifFile> ParseGif(const std::uint8_t* bytes, std::size_t size) {
  if (!LooksLikeGif(bytes, size)) return std::nullopt;
  GifFile file;
  GifCursor cursor(bytes, size);
  cursor.Skip(kGifHeaderSize);
  std::uint8_t screenPacked = bytes[10];
  if ((screenPacked & 0x80) != 0) {
    file.globalTableEntries = TableEntries(screenPacked);
    file.globalTableOffset = kGifHeaderSize;
    if (!cursor.Skip(3 * std::size_t{file.globalTableEntries})) return std::nullopt;
  }
  for (;;) {
    std::uint8_t introducer = 0;
    if (!cursor.Byte(introducer)) return std::nullopt;
    if (introducer == kTrailer) break;
    GifBlock block;
    block.offset = cursor.Position() - 1;
    bool read = false;
    if (introducer == kExtensionIntroducer) {
      read = ReadExtension(cursor, block);
    } else if (introducer == kImageSeparator) {
      read = ReadImageDescriptor(cursor, block);
    }
    if (!read) return std::nullopt;
    block.length = cursor.Position() - block.offset;
    if (block.kind == GifBlockKind::ImageDescriptor) {
      file.canvasWidth = std::max(file.canvasWidth, block.right);
      file.canvasHeight = std::max(file.canvasHeight, block.bottom);
    }
    file.blocks.push_back(block);
  }
  if (file.blocks.empty() || !PictureSizeAllowed(file.canvasWidth, file.canvasHeight)) return std::nullopt;
  return file;
}

}  // namespace vel::images
