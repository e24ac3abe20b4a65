#pragma once
// Icons and cursors behind HICON/HCURSOR: an image plus whether it is a cursor and where its
// hot spot is. They share the handle table with GDI objects but are not GDI objects:
// DeleteObject refuses them, DestroyIcon/DestroyCursor remove them.

#include <memory>

#include "platform/gdi/gdi_object.h"
#include "platform/gdi/icon_image.h"

namespace vel::platform {

class IconObject final : public GdiObject {
 public:
  DWORD Type() const override { return 0; }
  IconImage m_image;
  bool m_isIcon = true;
  POINT m_hotspot{0, 0};
  /// Shared icons (stock ones, LoadIconA results) survive DestroyIcon.
  bool m_shared = false;
};

/// The icon or cursor behind a handle (for the display backend's cursors and window icons).
std::shared_ptr<IconObject> LookupIcon(HICON icon);

/// Registers a new icon or cursor and returns its handle.
HICON RegisterIcon(IconImage image, bool isIcon, POINT hotspot, bool shared = false);

/// Builds an icon or cursor from RT_ICON / RT_CURSOR resource data (cursor data starts with
/// the hot spot); null for bad data.
HICON IconFromResourceBits(const uint8_t* bits, size_t size, bool isIcon);

/// The stock icon or cursor for an IDI_* / IDC_* id (drawn here), or null.
HICON StockIcon(WORD id, bool isIcon);

/// Chooses the best image of an icon group resource for cx x cy and loads it through
/// `loadImage`, which returns the RT_ICON / RT_CURSOR data for an id (empty if missing).
template <typename Loader>
HICON IconFromGroup(const uint8_t* group, size_t size, int cx, int cy, Loader loadImage);

}  // namespace vel::platform

#include "platform/gdi/icon_directory.h"

namespace vel::platform {

template <typename Loader>
HICON IconFromGroup(const uint8_t* group, size_t size, int cx, int cy, Loader loadImage) {
  auto directory = ParseIconGroup(group, size);
  if (!directory) return nullptr;
  int best = BestIconEntry(*directory, cx, cy);
  if (best < 0) return nullptr;
  auto bits = loadImage(directory->entries[static_cast<size_t>(best)].id);
  if (bits.empty()) return nullptr;
  return IconFromResourceBits(bits.data(), bits.size(), directory->isIcon);
}

}  // namespace vel::platform
