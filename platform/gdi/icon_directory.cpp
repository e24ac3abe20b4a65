#include "platform/gdi/icon_directory.h"

#include <cstdlib>
#include <cstring>

namespace vel::platform {
namespace {

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Dword(const uint8_t* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (uint32_t{p[3]} << 24); }

// The shared layout: a 6-byte header (reserved 0, type 1 for icons or 2 for cursors, entry
// count) and then `count` entries of `entrySize` bytes, each read by `read`.
template <typename ReadEntry>
std::optional<IconDirectory> ParseDirectory(const uint8_t* data, size_t size, size_t entrySize, ReadEntry read) {
  if (data == nullptr || size < 6 || Word(data) != 0) return std::nullopt;
  uint16_t type = Word(data + 2);
  if (type != 1 && type != 2) return std::nullopt;
  uint16_t count = Word(data + 4);
  if (count == 0 || (size - 6) / entrySize < count) return std::nullopt;
  IconDirectory directory;
  directory.isIcon = type == 1;
  for (uint16_t i = 0; i < count; ++i) {
    IconEntry entry;
    if (!read(data + 6 + entrySize * static_cast<size_t>(i), directory.isIcon, entry)) return std::nullopt;
    directory.entries.push_back(entry);
  }
  return directory;
}

// A side stored in a byte, where 0 means 256.
int ByteSide(uint8_t value) { return value == 0 ? 256 : value; }

}  // namespace

std::optional<IconDirectory> ParseIconFile(const uint8_t* data, size_t size) {
  return ParseDirectory(data, size, 16, [size](const uint8_t* e, bool isIcon, IconEntry& entry) {
    entry.width = ByteSide(e[0]);
    entry.height = ByteSide(e[1]);
    if (isIcon) {
      entry.bitCount = Word(e + 6);
    } else {
      entry.hotspotX = Word(e + 4);
      entry.hotspotY = Word(e + 6);
    }
    entry.bytes = Dword(e + 8);
    entry.offset = Dword(e + 12);
    // An entry that points outside the file is a lie about the file, not a missing image.
    return entry.offset <= size && entry.bytes <= size - entry.offset && entry.bytes != 0;
  });
}

std::optional<IconDirectory> ParseIconGroup(const uint8_t* data, size_t size) {
  return ParseDirectory(data, size, 14, [](const uint8_t* e, bool isIcon, IconEntry& entry) {
    if (isIcon) {
      entry.width = ByteSide(e[0]);
      entry.height = ByteSide(e[1]);
    } else {
      // Cursor groups store words, and the height of the stacked XOR and AND images.
      entry.width = Word(e);
      entry.height = Word(e + 2) / 2;
    }
    entry.bitCount = Word(e + 6);
    entry.bytes = Dword(e + 8);
    entry.id = Word(e + 12);
    return true;
  });
}

int BestIconEntry(const IconDirectory& directory, int cx, int cy) {
  int best = -1;
  long bestDistance = 0;
  int bestBits = 0;
  for (size_t i = 0; i < directory.entries.size(); ++i) {
    const IconEntry& e = directory.entries[i];
    // Shrinking a larger image looks better than growing a smaller one, so smaller images
    // count as further away.
    long dx = e.width >= cx ? e.width - cx : 2L * (cx - e.width);
    long dy = e.height >= cy ? e.height - cy : 2L * (cy - e.height);
    long distance = dx + dy;
    int bits = e.bitCount == 0 ? 32 : e.bitCount;
    if (best < 0 || distance < bestDistance || (distance == bestDistance && bits > bestBits)) {
      best = static_cast<int>(i);
      bestDistance = distance;
      bestBits = bits;
    }
  }
  return best;
}

}  // namespace vel::platform
