#include "runtime/images/image_drawing.h"

namespace vel::images {

void DrawInRectangle(Image& image, HDC dc, const RECT& rectangle) {
  int width = rectangle.right - rectangle.left;
  int height = rectangle.bottom - rectangle.top;
  if (width <= 0 || height <= 0 || image.SizeOnly()) return;
  SIZE natural = image.NaturalSize();
  if (image.Mode() == DisplayMode::Plain) {
    image.Draw(dc, rectangle.left, rectangle.top, width, height);
    return;
  }
  if (natural.cx <= 0 || natural.cy <= 0) return;
  int saved = SaveDC(dc);
  IntersectClipRect(dc, rectangle.left, rectangle.top, rectangle.right, rectangle.bottom);
  if (image.Mode() == DisplayMode::Centred) {
    image.Draw(dc, rectangle.left + (width - natural.cx) / 2, rectangle.top + (height - natural.cy) / 2, natural.cx,
               natural.cy);
  } else {
    for (int y = rectangle.top; y < rectangle.bottom; y += natural.cy) {
      for (int x = rectangle.left; x < rectangle.right; x += natural.cx) image.Draw(dc, x, y, natural.cx, natural.cy);
    }
  }
  RestoreDC(dc, saved);
}

}  // namespace vel::images
