#pragma once
// Icons and cursors as a desktop takes them: straight (not premultiplied) 0xAARRGGBB pixels,
// top row first, with the hot spot of a cursor. Names no SDL type, so tests can check the
// conversion without a desktop.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/icon_image.h"
#include "win32.h"

namespace vel::platform {

struct DesktopPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  /// Inside the picture; (0, 0) for icons that came without one.
  POINT hotspot{0, 0};
};

/// The picture of an icon image. An image with alpha keeps it; otherwise the AND mask decides:
/// kept pixels are opaque, masked black ones transparent, and masked coloured ones (which
/// invert the screen, something a desktop cursor cannot do) opaque black, so an inverting
/// shape such as a text beam stays visible on the light backgrounds it is mostly used on.
DesktopPicture PictureFromIconImage(const IconImage& image, POINT hotspot);

/// The picture of an icon or cursor handle; nothing when the handle names none.
std::optional<DesktopPicture> PictureOfIcon(HICON icon);

/// The stock cursor (IDC_* id) a handle is, or 0 when it is one of the program's own.
WORD StandardCursorId(HCURSOR cursor);

}  // namespace vel::platform
