#include "platform/user/move_size_tracking.h"

#include <algorithm>

#include "platform/user/nonclient_paint.h"
#include "platform/user/window_geometry.h"

namespace vel::platform {
namespace {

constexpr WPARAM kHitBits = 0x000F;

bool Resizable(HWND window) {
  LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  return (style & WS_THICKFRAME) && !(style & (WS_MAXIMIZE | WS_MINIMIZE));
}

/// The window's rectangle in the coordinates SetWindowPos takes (its parent's client area).
RECT RectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  if (HWND parent = GetParent(window); parent != nullptr && (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

/// Moves the dragged edges of `start` by the pointer's travel, keeping the size within the
/// window's tracking limits by holding the opposite edges.
RECT SizedRect(const RECT& start, int edge, POINT travel, const MINMAXINFO& limits) {
  RECT rect = start;
  bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
  bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
  bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
  bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
  auto clamp = [](LONG size, LONG minimum, LONG maximum) { return std::max(minimum, std::min(size, maximum)); };
  if (left || right) {
    LONG width = (start.right - start.left) + (right ? travel.x : -travel.x);
    width = clamp(width, limits.ptMinTrackSize.x, std::max(limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x));
    if (left) rect.left = start.right - width;
    else rect.right = start.left + width;
  }
  if (top || bottom) {
    LONG height = (start.bottom - start.top) + (bottom ? travel.y : -travel.y);
    height = clamp(height, limits.ptMinTrackSize.y, std::max(limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y));
    if (top) rect.top = start.bottom - height;
    else rect.bottom = start.top + height;
  }
  return rect;
}

void Place(HWND window, const RECT& rect, bool sizing) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (sizing ? 0 : SWP_NOSIZE);
  SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, flags);
}

}  // namespace

WPARAM MoveSizeCommandFor(HWND window, WPARAM hit) {
  if (hit == HTCAPTION) {
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_MAXIMIZE) ? 0 : (SC_MOVE | HTCAPTION);
  }
  if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT && Resizable(window)) return SC_SIZE | (hit - HTLEFT + WMSZ_LEFT);
  return 0;
}

LPCSTR SizingCursorFor(HWND window, WORD hit) {
  if (hit < HTLEFT || hit > HTBOTTOMRIGHT || !Resizable(window)) return nullptr;
  switch (hit) {
    case HTLEFT:
    case HTRIGHT: return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    default: return IDC_SIZENESW;
  }
}

void TrackMoveSize(HWND window, WPARAM command) {
  const bool sizing = (command & 0xFFF0) == SC_SIZE;
  const int edge = static_cast<int>(command & kHitBits);
  if (edge == 0 || (sizing && (edge > WMSZ_BOTTOMRIGHT || !Resizable(window)))) return;
  if (!sizing && edge != HTCAPTION) return;
  if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) return;

  const RECT start = RectInParent(window);
  POINT anchor{};
  GetCursorPos(&anchor);
  MINMAXINFO limits = DefaultMinMaxInfo(window);
  SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
  SetCapture(window);
  RECT shown = start;
  for (;;) {
    if (!IsWindow(window) || GetCapture() != window) break;
    MSG msg{};
    bool got = PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE) ||
               PeekMessageA(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK, PM_REMOVE) ||
               PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE);
    if (!got) {
      // The button may have come up where no message reports it (outside every window).
      if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) break;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_MOUSE | QS_KEY | QS_SENDMESSAGE);
      continue;
    }
    if (msg.message == WM_KEYDOWN) {
      if (msg.wParam == VK_ESCAPE) {
        // Esc puts the window back where the drag found it.
        Place(window, start, sizing);
        break;
      }
      if (msg.wParam == VK_RETURN) break;
      continue;
    }
    const bool released = msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP;
    // The release point is where the window ends up, even if moves on the way were missed.
    if (!released && msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) continue;
    POINT point = ScreenPointOf(msg);
    POINT travel{point.x - anchor.x, point.y - anchor.y};
    RECT wanted = start;
    if (sizing) {
      wanted = SizedRect(start, edge, travel, limits);
    } else {
      OffsetRect(&wanted, travel.x, travel.y);
    }
    if (!EqualRect(&wanted, &shown)) {
      // The window may still adjust the rectangle it is about to get.
      if (sizing) SendMessageA(window, WM_SIZING, static_cast<WPARAM>(edge), reinterpret_cast<LPARAM>(&wanted));
      else SendMessageA(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&wanted));
      if (IsWindow(window)) Place(window, wanted, sizing);
      shown = wanted;
    }
    if (released) break;
  }
  if (IsWindow(window) && GetCapture() == window) ReleaseCapture();
  if (IsWindow(window)) SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace vel::platform
