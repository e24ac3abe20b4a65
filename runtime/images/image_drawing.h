#pragma once
// Drawing an image into a control's rectangle as the image's display mode asks.

#include "runtime/images/image.h"
#include "win32.h"

namespace vel::images {

/// Plain: the picture is stretched over the rectangle. Centred: drawn at its natural size in
/// the middle of the rectangle. Tiled: repeated at its natural size from the rectangle's
/// top-left corner. Nothing is drawn outside the rectangle.
void DrawInRectangle(Image& image, HDC dc, const RECT& rectangle);

}  // namespace vel::images
