// The "Static" class: text (left, centred or right, word-wrapped; one line for SS_SIMPLE and
// SS_LEFTNOWORDWRAP), an "&" marking the underlined hot key unless SS_NOPREFIX, icons
// (SS_ICON, STM_SETICON), and the filled, framed and etched rectangles. Colours come from the
// parent through WM_CTLCOLORSTATIC; disabled text is embossed.

#include "platform/user/control_drawing.h"
#include "platform/user/standard_controls.h"

namespace vel::platform {
namespace {

DWORD StaticStyle(HWND control) { return static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE)); }
HICON StaticIcon(HWND control) {
  return reinterpret_cast<HICON>(GetWindowLongPtrA(control, kStaticIconOffset));
}

UINT TextFormat(DWORD style) {
  UINT format = DT_EXPANDTABS;
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: return format | DT_CENTER | DT_WORDBREAK;
    case SS_RIGHT: return format | DT_RIGHT | DT_WORDBREAK;
    case SS_SIMPLE: return format | DT_SINGLELINE;
    case SS_LEFTNOWORDWRAP: return format;
    default: return format | DT_WORDBREAK;
  }
}

// The filled and framed kinds, in the colours their names promise.
bool PaintRectangleKind(HDC dc, DWORD type, RECT client) {
  switch (type) {
    case SS_BLACKRECT: FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME)); return true;
    case SS_GRAYRECT: FillRect(dc, &client, GetSysColorBrush(COLOR_BACKGROUND)); return true;
    case SS_WHITERECT: FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW)); return true;
    case SS_BLACKFRAME: FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME)); return true;
    case SS_GRAYFRAME: FrameRect(dc, &client, GetSysColorBrush(COLOR_BACKGROUND)); return true;
    case SS_WHITEFRAME: FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOW)); return true;
    case SS_ETCHEDFRAME: DrawEdge(dc, &client, EDGE_ETCHED, BF_RECT); return true;
    case SS_ETCHEDHORZ: DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP); return true;
    case SS_ETCHEDVERT: DrawEdge(dc, &client, EDGE_ETCHED, BF_LEFT); return true;
    default: return false;
  }
}

void PaintStatic(HWND control, HDC dc) {
  DWORD style = StaticStyle(control);
  DWORD type = style & SS_TYPEMASK;
  RECT client{};
  GetClientRect(control, &client);
  if (PaintRectangleKind(dc, type, client)) return;
  if (type == SS_OWNERDRAW || type == SS_USERITEM) return;
  int saved = SaveDC(dc);
  SelectObject(dc, FontOrDefault(reinterpret_cast<HFONT>(GetWindowLongPtrA(control, kStaticFontOffset))));
  HBRUSH background = ControlColors(control, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &client, background);
  if (style & SS_SUNKEN) DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  if (type == SS_ICON) {
    if (HICON icon = StaticIcon(control)) {
      int x = client.left;
      int y = client.top;
      if (style & SS_CENTERIMAGE) {
        SIZE size = IconSize(icon);
        x = (client.left + client.right - size.cx) / 2;
        y = (client.top + client.bottom - size.cy) / 2;
      }
      DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
    }
  } else {
    DrawControlText(dc, ControlText(control), client, TextFormat(style), IsWindowEnabled(control) != FALSE);
  }
  RestoreDC(dc, saved);
}

// STM_SETICON: the control takes the icon's size unless it centres the image.
LRESULT SetIcon(HWND control, HICON icon) {
  auto previous = SetWindowLongPtrA(control, kStaticIconOffset, reinterpret_cast<LONG_PTR>(icon));
  if (icon != nullptr && !(StaticStyle(control) & SS_CENTERIMAGE)) {
    SIZE size = IconSize(icon);
    SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(control, nullptr, TRUE);
  return previous;
}

}  // namespace

LRESULT CALLBACK StaticProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_CREATE: {
      // An icon control's text names the icon resource of the creating module.
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if ((StaticStyle(hWnd) & SS_TYPEMASK) == SS_ICON && create != nullptr && create->lpszName != nullptr &&
          (IS_INTRESOURCE(create->lpszName) || create->lpszName[0] != '\0')) {
        if (HICON icon = LoadIconA(create->hInstance, create->lpszName)) SetIcon(hWnd, icon);
      }
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST:
      if (!(StaticStyle(hWnd) & SS_NOTIFY)) return HTTRANSPARENT;
      return DefWindowProcA(hWnd, Msg, wParam, lParam);
    case WM_LBUTTONDOWN:
      if (StaticStyle(hWnd) & SS_NOTIFY) {
        if (HWND parent = GetParent(hWnd)) {
          SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hWnd), STN_CLICKED),
                       reinterpret_cast<LPARAM>(hWnd));
        }
      }
      return 0;
    case STM_SETICON: return SetIcon(hWnd, reinterpret_cast<HICON>(wParam));
    case STM_GETICON: return reinterpret_cast<LRESULT>(StaticIcon(hWnd));
    case WM_PAINT: PaintControl(hWnd, wParam, [hWnd](HDC dc) { PaintStatic(hWnd, dc); }); return 0;
    default: {
      LRESULT result = 0;
      if (HandleCommonControlMessage(hWnd, Msg, wParam, lParam, kStaticFontOffset, &result)) return result;
      return DefWindowProcA(hWnd, Msg, wParam, lParam);
    }
  }
}

}  // namespace vel::platform
