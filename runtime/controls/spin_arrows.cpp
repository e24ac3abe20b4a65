#include "runtime/controls/spin_arrows.h"

#include <algorithm>

namespace vel::controls {

RECT SpinArrowRect(const RECT& strip, int direction) {
  RECT half = strip;
  const LONG middle = strip.top + (strip.bottom - strip.top) / 2;
  if (direction > 0) {
    half.bottom = middle;
  } else {
    half.top = middle;
  }
  return half;
}

namespace {

void PaintArrow(HDC dc, RECT face, int direction, bool pressed, bool disabled) {
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const int shift = pressed ? 1 : 0;
  const int width = face.right - face.left;
  const int height = face.bottom - face.top;
  // A triangle half as wide as the face, at most as tall as half its width.
  const int half = std::max(1, std::min(width / 4, height / 3));
  const int centreX = face.left + width / 2 + shift;
  const int centreY = face.top + height / 2 + shift;
  const int tip = direction > 0 ? centreY - half / 2 : centreY + half / 2;
  const int base = direction > 0 ? tip + half : tip - half;
  POINT corners[3] = {{centreX, tip}, {centreX - half, base}, {centreX + half, base}};
  const COLORREF colour = GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Polygon(dc, corners, 3);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

}  // namespace

void PaintSpinArrows(HDC dc, const RECT& strip, int pressed, bool disabled) {
  PaintArrow(dc, SpinArrowRect(strip, 1), 1, pressed > 0, disabled);
  PaintArrow(dc, SpinArrowRect(strip, -1), -1, pressed < 0, disabled);
}

}  // namespace vel::controls
