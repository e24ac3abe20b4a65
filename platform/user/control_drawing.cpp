#include "platform/user/control_drawing.h"

#include <vector>

namespace vel::platform {

HBRUSH DefaultControlColors(HDC dc, UINT ctlColorMessage) {
  switch (ctlColorMessage) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return GetSysColorBrush(COLOR_WINDOW);
    case WM_CTLCOLORSCROLLBAR:
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return GetSysColorBrush(COLOR_SCROLLBAR);
    case WM_CTLCOLORBTN:
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return GetSysColorBrush(COLOR_BTNFACE);
    default:
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return GetSysColorBrush(COLOR_BTNFACE);
  }
}

HBRUSH ControlColors(HWND control, HDC dc, UINT ctlColorMessage) {
  // The defaults go on the DC first so that a parent which sets only one colour keeps the
  // other from the scheme.
  HBRUSH fallback = DefaultControlColors(dc, ctlColorMessage);
  HWND parent = GetParent(control);
  if (parent == nullptr) return fallback;
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  // A parent that answers with something other than a brush (TRUE, a stale handle) gets the
  // default look rather than a fill in whatever that value happens to name.
  if (brush == nullptr || GetObjectType(brush) != OBJ_BRUSH) return fallback;
  return brush;
}

HFONT FontOrDefault(HFONT font) {
  return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE IconSize(HICON icon) {
  SIZE size{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return size;
  BITMAP bits{};
  // A monochrome icon keeps its AND and XOR masks stacked in one bitmap of twice the height.
  if (GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bits, &bits) > 0) {
    size = {bits.bmWidth, info.hbmColor != nullptr ? bits.bmHeight : bits.bmHeight / 2};
  }
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  return size;
}

std::string ControlText(HWND control) {
  int length = GetWindowTextLengthA(control);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  int copied = GetWindowTextA(control, buffer.data(), length + 1);
  return std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

void DrawControlText(HDC dc, const std::string& text, RECT rect, UINT format, bool enabled) {
  if (text.empty()) return;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  if (enabled) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  } else {
    COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    RECT shifted = rect;
    OffsetRect(&shifted, 1, 1);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shifted, format);
    SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    SetTextColor(dc, oldColor);
  }
  SetBkMode(dc, oldMode);
}

bool HandleCommonControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, int fontOffset,
                                LRESULT* result) {
  switch (message) {
    case WM_SETTEXT:
      *result = DefWindowProcA(control, message, wParam, lParam);
      InvalidateRect(control, nullptr, TRUE);
      return true;
    case WM_ENABLE:
      *result = 0;
      InvalidateRect(control, nullptr, TRUE);
      return true;
    case WM_SETFONT:
      SetWindowLongPtrA(control, fontOffset, static_cast<LONG_PTR>(wParam));
      if (lParam) InvalidateRect(control, nullptr, TRUE);
      *result = 0;
      return true;
    case WM_GETFONT: *result = GetWindowLongPtrA(control, fontOffset); return true;
    case WM_ERASEBKGND: *result = 1; return true;
    default: return false;
  }
}

}  // namespace vel::platform
