#include "platform/display/sdl/desktop_pictures.h"

#include <algorithm>

#include "platform/gdi/icon_object.h"

namespace vel::platform {

DesktopPicture PictureFromIconImage(const IconImage& image, POINT hotspot) {
  DesktopPicture picture;
  picture.width = std::max(image.width, 0);
  picture.height = std::max(image.height, 0);
  const size_t count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
  if (image.color.size() < count || image.mask.size() < count) {
    // An image whose planes do not cover it shows as nothing rather than reading past them.
    picture.width = 0;
    picture.height = 0;
    return picture;
  }
  picture.pixels.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t color = image.color[i];
    if (image.hasAlpha) {
      picture.pixels[i] = color;
    } else if (image.mask[i] == 0) {
      picture.pixels[i] = 0xFF000000u | (color & 0x00FFFFFFu);
    } else {
      picture.pixels[i] = (color & 0x00FFFFFFu) == 0 ? 0u : 0xFF000000u;
    }
  }
  if (picture.width > 0 && picture.height > 0) {
    picture.hotspot = POINT{std::clamp<LONG>(hotspot.x, 0, picture.width - 1),
                            std::clamp<LONG>(hotspot.y, 0, picture.height - 1)};
  }
  return picture;
}

std::optional<DesktopPicture> PictureOfIcon(HICON icon) {
  std::shared_ptr<IconObject> object = LookupIcon(icon);
  if (!object) return std::nullopt;
  return PictureFromIconImage(object->m_image, object->m_isIcon ? POINT{0, 0} : object->m_hotspot);
}

WORD StandardCursorId(HCURSOR cursor) {
  static constexpr WORD kIds[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                                  32644, 32645, 32646, 32648, 32649, 32650};
  if (cursor == nullptr) return 0;
  // The stock cursors are made once and shared, so their handles never change.
  for (WORD id : kIds) {
    if (LoadCursorA(nullptr, MAKEINTRESOURCEA(id)) == cursor) return id;
  }
  return 0;
}

}  // namespace vel::platform
