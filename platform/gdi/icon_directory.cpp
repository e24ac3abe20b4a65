#include "platform/gdi/icon_directory.h"

#include <cstdlib>
#include <cstring>

namespace vel::platform {
namespace {

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Dword(const uint8_t* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (uint32_t{p[3]} << 24); }

// The shared 6-byte header: reserved 0, type 1 (icon) or 2 (cursor), entry count.
std::optional<IconDirectory> ReadHeader(const uint8_t* data, size_t size, size_t entrySize, uint16_t& count) {
  if (data == nullptr || size < 6 || Word(data) != 0) return std::nullopt;
  uint16_t type = Word(data + 2);
  if (type != 1 && type != 2) return std::nullopt;
  count = Word(data + 4);
  if (count == 0 || (size - 6) / entrySize < count) return std::nullopt;
  IconDirectory directory;
  directory.isIcon = type == 1;
  return directory;
}

}  // namespace

std::optional<IconDirectory> ParseIconFile(const uint8_t* data, size_t size) {
  uint16_t count = 0;
  auto directory = ReadHeader(data, size, 16, count);
  if (!directory) return std::nullopt;
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t* e = data + 6 + 16 * static_cast<size_t>(i);
    IconEntry entry;
    entry.width = e[0] == 0 ? 256 : e[0];
    entry.height = e[1] == 0 ? 256 : e[1];
    if (directory->isIcon) {
      entry.bitCount = Word(e + 6);
    } else {
      entry.hotspotX = Word(e + 4);
      entry.hotspotY = Word(e + 6);
    }
    entry.bytes = Dword(e + 8);
    entry.offset = Dword(e + 12);
    // An entry that points outside the file is a lie about the file, not a missing image.
    if (entry.offset > size || entry.bytes > size - entry.offset || entry.bytes == 0) return std::nullopt;
    directory->entries.push_back(entry);
  }
  return directory;
}

std::optional<IconDirectory> ParseIconGroup(const uint8_t* data, size_t size) {
  uint16_t count = 0;
  auto directory = ReadHeader(data, size, 14, count);
  if (!directory) return std::nullopt;
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t* e = data + 6 + 14 * static_cast<size_t>(i);
    IconEntry entry;
    if (directory->isIcon) {
      entry.width = e[0] == 0 ? 256 : e[0];
      entry.height = e[1] == 0 ? 256 : e[1];
    } else {
      // Cursor groups store words, and the height of the stacked XOR and AND images.
      entry.width = Word(e);
      entry.height = Word(e + 2) / 2;
    }
    entry.bitCount = Word(e + 6);
    entry.bytes = Dword(e + 8);
    entry.id = Word(e + 12);
    directory->entries.push_back(entry);
  }
  return directory;
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
