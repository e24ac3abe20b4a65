#pragma once
// What the image fuzz targets share: small picture limits, so that no run allocates much or
// takes long, and a canvas to draw whatever an image target makes.

#include <cstdint>
#include <memory>

#include "platform/gdi/device_context.h"
#include "runtime/images/image.h"
#include "runtime/images/image_limits.h"
#include "win32.h"

namespace vel::fuzzing {

/// A 64 x 64 canvas, made once; pictures are drawn onto it (stretched or not).
inline HDC FuzzCanvas() {
  static HDC dc = [] {
    // 64 x 64 pixels: a picture's header and coding are what is under test, and every pixel
    // more is drawn three times and reduced once, which at the colour reduction's dense-table
    // size held the image targets to a few hundred runs a second. The dense table is left to
    // the colour reduction's own tests.
    vel::images::SetDecodedPixelLimit(1u << 12);
    auto surface = std::make_shared<vel::platform::Surface>(64, 64);
    return vel::platform::CreateSurfaceDC(surface, POINT{0, 0}, vel::platform::Region(RECT{0, 0, 64, 64}));
  }();
  return dc;
}

/// Draws an image at its natural size (clipped) and stretched small, as controls do.
inline void DrawEveryWay(vel::images::Image* image) {
  if (image == nullptr) return;
  HDC dc = FuzzCanvas();
  SIZE size = image->NaturalSize();
  image->Draw(dc, 0, 0, size.cx, size.cy);
  image->Draw(dc, 3, 5, 17, 9);
  image->MakeGreyedColorTable();
  image->Draw(dc, 1, 1, 40, 40);
  image->RestoreColorTable();
}

}  // namespace vel::fuzzing
