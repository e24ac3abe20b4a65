// The default answers to window messages.

#include <algorithm>
#include <cstring>

#include "platform/display/display_backend.h"
#include "platform/user/control_drawing.h"
#include "platform/user/cursor_state.h"
#include "platform/user/focus.h"
#include "platform/user/menu_default_handling.h"
#include "platform/user/move_size_tracking.h"
#include "platform/user/nonclient.h"
#include "platform/user/nonclient_paint.h"
#include "platform/user/paint_state.h"
#include "platform/user/scroll_bar_tracking.h"
#include "platform/user/window_icons.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

HWND ParentIfChild(HWND handle) {
  TreeLock lock;
  Window* window = LookupWindow(handle);
  if (window == nullptr || !(window->style & WS_CHILD) || window->parent == nullptr) return nullptr;
  return window->parent->handle;
}

LRESULT SetText(HWND handle, LPCSTR text) {
  bool topLevel = false;
  std::string copy = text != nullptr ? text : "";
  {
    TreeLock lock;
    Window* window = LookupWindow(handle);
    if (window == nullptr) return FALSE;
    window->text = copy;
    topLevel = IsTopLevel(*window);
    if (HasCaption(window->style) && (window->style & WS_VISIBLE)) window->update.frame = true;
  }
  if (topLevel) CurrentDisplay().TopLevelTitleChanged(handle, copy);
  return TRUE;
}

LRESULT GetText(HWND handle, WPARAM size, LPSTR buffer) {
  if (buffer == nullptr || size == 0) return 0;
  TreeLock lock;
  Window* window = LookupWindow(handle);
  if (window == nullptr) {
    buffer[0] = '\0';
    return 0;
  }
  size_t length = std::min(window->text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, window->text.data(), length);
  buffer[length] = '\0';
  return static_cast<LRESULT>(length);
}

LRESULT NcCalcSize(HWND handle, WPARAM calcValidRects, LPARAM lParam) {
  DWORD style = 0;
  DWORD exStyle = 0;
  bool menu = false;
  {
    TreeLock lock;
    Window* window = LookupWindow(handle);
    if (window == nullptr) return 0;
    style = window->style;
    exStyle = window->exStyle;
    menu = !(style & WS_CHILD) && window->id != 0;
  }
  RECT* rect = calcValidRects ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
  if (rect != nullptr) *rect = ClientFromWindowRect(*rect, style, exStyle, menu);
  return 0;
}

LRESULT NcHitTest(HWND handle, LPARAM lParam) {
  TreeLock lock;
  Window* window = LookupWindow(handle);
  if (window == nullptr) return HTNOWHERE;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return HitTest(point, ScreenRect(*window), ScreenClientRect(*window), window->style, window->exStyle);
}

LRESULT SetCursorDefault(HWND handle, WPARAM wParam, LPARAM lParam) {
  // A parent decides first; if it says it set the cursor, that is the end of it.
  if (HWND parent = ParentIfChild(handle)) {
    if (SendMessageA(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
  }
  if (reinterpret_cast<HWND>(wParam) != handle) return FALSE;
  WORD hit = LOWORD(lParam);
  if (hit == HTCLIENT) {
    HCURSOR cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(handle, GCLP_HCURSOR));
    if (cursor != nullptr) SetCursor(cursor);
    return cursor != nullptr ? TRUE : FALSE;
  }
  if (LPCSTR sizing = SizingCursorFor(handle, hit)) {
    SetCursor(LoadCursorA(nullptr, sizing));
    return TRUE;
  }
  SetCursor(StandardArrowCursor());
  return FALSE;
}

LRESULT SysCommand(HWND handle, WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_CLOSE: SendMessageA(handle, WM_CLOSE, 0, 0); return 0;
    case SC_MINIMIZE: ShowWindow(handle, SW_MINIMIZE); return 0;
    case SC_MAXIMIZE: ShowWindow(handle, SW_MAXIMIZE); return 0;
    case SC_RESTORE: ShowWindow(handle, SW_RESTORE); return 0;
    case SC_MOVE:
    case SC_SIZE: TrackMoveSize(handle, command); return 0;
    default: return 0;
  }
}

LRESULT NcButtonDown(HWND handle, WPARAM hit, LPARAM screenPoint, bool doubleClick) {
  // A second press on a scroll bar is one more press.
  if (hit == HTVSCROLL || hit == HTHSCROLL) {
    TrackScrollBar(handle, hit == HTVSCROLL ? SB_VERT : SB_HORZ,
                   POINT{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)});
    return 0;
  }
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(handle, GWL_STYLE));
  switch (hit) {
    // A caption button acts when it is released over itself; a greyed one does nothing.
    case HTCLOSE:
      if (!(GetClassLongPtrA(handle, GCL_STYLE) & CS_NOCLOSE)) TrackCaptionButton(handle, hit);
      return 0;
    case HTMINBUTTON:
      if (style & WS_MINIMIZEBOX) TrackCaptionButton(handle, hit);
      return 0;
    case HTMAXBUTTON:
      if (style & WS_MAXIMIZEBOX) TrackCaptionButton(handle, hit);
      return 0;
    case HTCAPTION:
      if (doubleClick) {
        if (style & WS_MAXIMIZEBOX) {
          SendMessageA(handle, WM_SYSCOMMAND, (IsZoomed(handle) || IsIconic(handle)) ? SC_RESTORE : SC_MAXIMIZE, 0);
        }
        return 0;
      }
      [[fallthrough]];
    default:
      // A press on the caption moves the window, on a sizing border sizes it.
      if (WPARAM command = doubleClick ? 0 : MoveSizeCommandFor(handle, hit)) {
        POINT point{};
        GetCursorPos(&point);
        SendMessageA(handle, WM_SYSCOMMAND, command, MAKELPARAM(point.x, point.y));
      }
      return 0;
  }
}

}  // namespace
}  // namespace vel::platform

using namespace vel::platform;

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (LRESULT answer = 0; MenuDefaultHandling(hWnd, Msg, wParam, lParam, &answer)) return answer;
  switch (Msg) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
        SetText(hWnd, create->lpszName);
      }
      return TRUE;
    }
    case WM_NCCALCSIZE: return NcCalcSize(hWnd, wParam, lParam);
    case WM_NCHITTEST: return NcHitTest(hWnd, lParam);
    case WM_NCACTIVATE: return NcActivate(hWnd, wParam, lParam);
    case WM_SETTEXT: {
      LRESULT result = SetText(hWnd, reinterpret_cast<LPCSTR>(lParam));
      RedrawCaption(hWnd);
      return result;
    }
    case WM_GETTEXT: return GetText(hWnd, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH: {
      TreeLock lock;
      Window* window = LookupWindow(hWnd);
      return window != nullptr ? static_cast<LRESULT>(window->text.size()) : 0;
    }
    case WM_CLOSE: DestroyWindow(hWnd); return 0;
    case WM_SYSCOMMAND: return SysCommand(hWnd, wParam);
    case WM_NCLBUTTONDOWN: return NcButtonDown(hWnd, wParam, lParam, false);
    case WM_NCLBUTTONDBLCLK: return NcButtonDown(hWnd, wParam, lParam, true);
    case WM_SETCURSOR: return SetCursorDefault(hWnd, wParam, lParam);
    case WM_MOUSEACTIVATE: {
      if (HWND parent = ParentIfChild(hWnd)) {
        if (LRESULT answer = SendMessageA(parent, WM_MOUSEACTIVATE, wParam, lParam)) return answer;
      }
      return MA_ACTIVATE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hWnd);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
      if (position == nullptr) return 0;
      RECT client{};
      DWORD style = 0;
      {
        TreeLock lock;
        Window* window = LookupWindow(hWnd);
        if (window == nullptr) return 0;
        client = window->client;
        style = window->style;
      }
      if (!(position->flags & kNoClientMove)) SendMessageA(hWnd, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
      if (!(position->flags & kNoClientSize)) {
        WPARAM kind = (style & WS_MINIMIZE) ? SIZE_MINIMIZED : (style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessageA(hWnd, WM_SIZE, kind, MAKELPARAM(client.right - client.left, client.bottom - client.top));
      }
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hWnd, &paint);
      EndPaint(hWnd, &paint);
      return 0;
    }
    case WM_NCPAINT: PaintNonClient(hWnd); return 0;
    case WM_ERASEBKGND: {
      HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(hWnd, GCLP_HBRBACKGROUND));
      WindowDcProvider* provider = CurrentWindowDcProvider();
      if (brush == nullptr || provider == nullptr || wParam == 0) return 0;
      RECT client{};
      GetClientRect(hWnd, &client);
      provider->FillBackground(reinterpret_cast<HDC>(wParam), client, brush);
      return 1;
    }
    case WM_SYSKEYDOWN:
      // Alt+F4 closes the window through the system command, as the system menu would.
      if (wParam == VK_F4 && (lParam & (1 << 29))) {
        HWND target = hWnd;
        {
          TreeLock lock;
          if (Window* window = LookupWindow(hWnd)) target = TopLevelOf(window)->handle;
        }
        PostMessageA(target, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hWnd) ReleaseCapture();
      return 0;
    case WM_CONTEXTMENU:
      if (HWND parent = ParentIfChild(hWnd)) SendMessageA(parent, WM_CONTEXTMENU, wParam, lParam);
      return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      // A wheel turn nobody scrolled with goes up the chain of parents.
      if (HWND parent = ParentIfChild(hWnd)) return SendMessageA(parent, Msg, wParam, lParam);
      return 0;
    case WM_SETICON: return SetOwnIcon(hWnd, wParam, reinterpret_cast<HICON>(lParam));
    case WM_GETICON: return OwnIcon(hWnd, wParam);
    case WM_QUERYENDSESSION: return TRUE;
    case WM_GETMINMAXINFO:
    case WM_SHOWWINDOW:
    case WM_GETDLGCODE:
    default:
      if (Msg >= WM_CTLCOLORMSGBOX && Msg <= WM_CTLCOLORSTATIC) {
        return reinterpret_cast<LRESULT>(DefaultControlColors(reinterpret_cast<HDC>(wParam), Msg));
      }
      return 0;
  }
}
