#pragma once
// The picture of a spin box's arrow strip: two push-button faces, up above down, each with a
// triangle; a held arrow looks pressed, a disabled spin box draws grey triangles.

#include "win32.h"

namespace vel::controls {

/// Paints the strip `strip` (device coordinates of `dc`). `pressed` is +1 for the up arrow,
/// -1 for the down arrow, 0 for neither.
void PaintSpinArrows(HDC dc, const RECT& strip, int pressed, bool disabled);

/// The upper (up) or lower (down) half of a strip.
RECT SpinArrowRect(const RECT& strip, int direction);

}  // namespace vel::controls
