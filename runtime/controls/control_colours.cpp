#include "runtime/controls/control_colours.h"

#include "runtime/controls/windowed_control.h"

namespace vel::controls {

LRESULT AnswerColourQuery(WindowedControl& control, HDC dc, bool& passOn) {
  if (const FontObject* font = control.Font()) SetTextColor(dc, ColourOfValue(font->TextColour()));
  if (control.HasAttribute(kAttrTransparent)) {
    passOn = false;
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  SetBkMode(dc, OPAQUE);
  HBRUSH brush = control.BackgroundBrush();
  if (brush == nullptr) return 0;
  passOn = false;
  LOGBRUSH description{};
  if (GetObjectA(brush, sizeof description, &description) != 0) SetBkColor(dc, description.lbColor);
  return reinterpret_cast<LRESULT>(brush);
}

}  // namespace vel::controls
