#pragma once
// What the standard controls share when they draw: asking the parent for colours, the font a
// control uses, and text that looks disabled.

#include <string>

#include "win32.h"

namespace vel::platform {

/// Sets the colours a control draws with when its parent does not choose (text, background
/// colour) on the DC and returns the matching system brush; this is the default answer to the
/// WM_CTLCOLOR* messages.
HBRUSH DefaultControlColors(HDC dc, UINT ctlColorMessage);

/// Sends `ctlColorMessage` (WM_CTLCOLORBTN, WM_CTLCOLORSTATIC...) to the control's parent,
/// which may set the DC's text and background colours, and returns the brush it answers, or
/// the default brush (and colours) when it answers none or something that is not a brush.
HBRUSH ControlColors(HWND control, HDC dc, UINT ctlColorMessage);

/// The font a control draws with: the one WM_SETFONT gave, else the system's GUI font.
HFONT FontOrDefault(HFONT font);

/// An icon's size from its bitmaps (the large-icon metrics when it cannot be read).
SIZE IconSize(HICON icon);

/// The window's text.
std::string ControlText(HWND control);

/// DrawTextA in the DC's text colour, or embossed (a highlight copy one pixel down and right
/// under a shadow copy) when the control is disabled. Draws with a transparent background.
void DrawControlText(HDC dc, const std::string& text, RECT rect, UINT format, bool enabled);

/// The messages a standard control answers the same way whatever its kind: WM_SETTEXT and
/// WM_ENABLE (which redraw it), WM_SETFONT and WM_GETFONT (the font kept at `fontOffset` of
/// the extra bytes) and WM_ERASEBKGND (the control erases as it paints). Returns true with
/// `result` set when it handled the message.
bool HandleCommonControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, int fontOffset,
                                LRESULT* result);

/// Paints a control through a WM_PAINT: with the DC in wParam when one is given, else
/// between BeginPaint and EndPaint.
template <typename Paint>
void PaintControl(HWND control, WPARAM givenDc, Paint paint) {
  if (givenDc != 0) {
    paint(reinterpret_cast<HDC>(givenDc));
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(control, &ps);
  if (dc != nullptr) paint(dc);
  EndPaint(control, &ps);
}

}  // namespace vel::platform
