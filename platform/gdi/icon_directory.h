#pragma once
// The directories in front of icon and cursor images: the ICO/CUR file header with its
// entries, and the RT_GROUP_ICON / RT_GROUP_CURSOR resource that lists RT_ICON / RT_CURSOR
// resources by id. Choosing the entry that best fits a requested size is shared by both.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vel::platform {

struct IconEntry {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  int hotspotX = 0;  ///< Cursors only.
  int hotspotY = 0;
  uint32_t bytes = 0;
  uint32_t offset = 0;  ///< File entries: where the image starts.
  uint16_t id = 0;      ///< Group entries: the image's resource id.
};

struct IconDirectory {
  bool isIcon = true;
  std::vector<IconEntry> entries;
};

/// Parses an ICO or CUR file held in `size` bytes; every entry's image lies inside the data.
std::optional<IconDirectory> ParseIconFile(const uint8_t* data, size_t size);
/// Parses an RT_GROUP_ICON or RT_GROUP_CURSOR resource.
std::optional<IconDirectory> ParseIconGroup(const uint8_t* data, size_t size);
/// The index of the entry that best fits cx x cy (closest size, then deepest colour), or -1.
int BestIconEntry(const IconDirectory& directory, int cx, int cy);

}  // namespace vel::platform
