// SetWindowPos and the functions built on it: moving, sizing, z-order, showing, minimising,
// maximising and restoring.

#include <algorithm>
#include <limits>
#include <memory>
#include <mutex>
#include <set>

#include "platform/display/display_backend.h"
#include "platform/user/focus.h"
#include "platform/user/nonclient.h"
#include "platform/user/paint_state.h"
#include "platform/user/win32_errors.h"
#include "platform/user/window_geometry.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

// Flags the original system also adds to WINDOWPOS.flags for WM_WINDOWPOSCHANGED: the client
// area kept its size or its place, so DefWindowProc knows whether WM_SIZE and WM_MOVE are due.
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

// A minimised top-level window is parked out of sight, as the original does.
constexpr LONG kMinimizedPosition = -32000;

void ReportToDisplay(HWND handle) {
  RECT rect{};
  bool visible = false;
  {
    TreeLock lock;
    Window* window = LookupWindow(handle);
    if (window == nullptr || !IsTopLevel(*window)) return;
    rect = window->rect;
    visible = (window->style & WS_VISIBLE) != 0;
  }
  CurrentDisplay().TopLevelChanged(handle, rect, visible);
}

}  // namespace

MINMAXINFO DefaultMinMaxInfo(HWND handle) {
  MINMAXINFO info{};
  RECT area{};
  DWORD style = 0;
  DWORD exStyle = 0;
  {
    TreeLock lock;
    Window* window = LookupWindow(handle);
    if (window != nullptr && window->parent != nullptr) {
      area = {0, 0, window->parent->client.right - window->parent->client.left,
              window->parent->client.bottom - window->parent->client.top};
      style = window->style;
      exStyle = window->exStyle;
    }
  }
  int frame = FrameThickness(style | WS_THICKFRAME, exStyle);
  info.ptMaxSize = {area.right + 2 * frame, area.bottom + 2 * frame};
  info.ptMaxPosition = {-frame, -frame};
  info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  return info;
}

RECT MaximizedRect(HWND handle) {
  MINMAXINFO info = DefaultMinMaxInfo(handle);
  SendMessageA(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return {info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
          info.ptMaxPosition.y + info.ptMaxSize.y};
}

void RecalculateClient(HWND handle) {
  RECT rect{};
  {
    TreeLock lock;
    Window* window = LookupWindow(handle);
    if (window == nullptr) return;
    rect = window->rect;
  }
  SendMessageA(handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect));
  TreeLock lock;
  if (Window* window = LookupWindow(handle)) window->client = rect;
}

void SendSizeAndMove(HWND handle) {
  RECT client{};
  DWORD style = 0;
  {
    TreeLock lock;
    Window* window = LookupWindow(handle);
    if (window == nullptr) return;
    client = window->client;
    style = window->style;
  }
  WPARAM kind = (style & WS_MINIMIZE) ? SIZE_MINIMIZED : (style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
  SendMessageA(handle, WM_SIZE, kind, MAKELPARAM(client.right - client.left, client.bottom - client.top));
  SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
}

}  // namespace vel::platform

using namespace vel::platform;

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  WINDOWPOS position{hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags};
  bool wasVisible = false;
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr || window == &Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (uFlags & SWP_NOMOVE) {
      position.x = window->rect.left;
      position.y = window->rect.top;
    }
    if (uFlags & SWP_NOSIZE) {
      position.cx = window->rect.right - window->rect.left;
      position.cy = window->rect.bottom - window->rect.top;
    }
    wasVisible = (window->style & WS_VISIBLE) != 0;
    if (wasVisible) position.flags &= ~SWP_SHOWWINDOW;
    if (!wasVisible) position.flags &= ~SWP_HIDEWINDOW;
  }
  if (!(position.flags & SWP_NOSENDCHANGING)) {
    SendMessageA(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
  }
  // Sizes are never negative, and a rectangle never reaches past the coordinate range.
  auto clampExtent = [](int origin, int extent) {
    long long end = static_cast<long long>(origin) + std::max(extent, 0);
    return static_cast<int>(std::min<long long>(end, std::numeric_limits<LONG>::max()) - origin);
  };
  position.cx = clampExtent(position.x, position.cx);
  position.cy = clampExtent(position.y, position.cy);
  RECT newRect{position.x, position.y, position.x + position.cx, position.y + position.cy};
  RECT oldRect{};
  RECT oldClient{};
  bool sized = false;
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr) return FALSE;
    oldRect = window->rect;
    oldClient = window->client;
    sized = (newRect.right - newRect.left) != (oldRect.right - oldRect.left) ||
            (newRect.bottom - newRect.top) != (oldRect.bottom - oldRect.top);
  }
  RECT newClient = oldClient;
  OffsetRect(&newClient, newRect.left - oldRect.left, newRect.top - oldRect.top);
  if (sized || (position.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS params{{newRect, oldRect, oldClient}, &position};
    SendMessageA(hWnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    newClient = params.rgrc[0];
  }
  bool shown = (position.flags & SWP_SHOWWINDOW) != 0;
  bool hidden = (position.flags & SWP_HIDEWINDOW) != 0;
  bool topLevel = false;
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr) return FALSE;
    if (!(position.flags & SWP_NOREDRAW) && !hidden && window->parent != nullptr &&
        (sized || !EqualRect(&oldRect, &newRect)) && wasVisible) {
      InvalidateParentArea(*window, oldRect);
    }
    window->rect = newRect;
    window->client = newClient;
    if ((oldClient.right - oldClient.left) == (newClient.right - newClient.left) &&
        (oldClient.bottom - oldClient.top) == (newClient.bottom - newClient.top)) {
      position.flags |= kNoClientSize;
    }
    if (oldClient.left == newClient.left && oldClient.top == newClient.top) position.flags |= kNoClientMove;
    if (!(position.flags & SWP_NOZORDER)) {
      HWND after = position.hwndInsertAfter;
      if (after == HWND_TOPMOST) window->exStyle |= WS_EX_TOPMOST;
      if (after == HWND_NOTOPMOST) window->exStyle &= ~WS_EX_TOPMOST;
      Window* sibling = nullptr;
      if (after != HWND_TOP && after != HWND_BOTTOM && after != HWND_TOPMOST && after != HWND_NOTOPMOST) {
        sibling = LookupWindow(after);
        if (sibling != nullptr && sibling->parent != window->parent) sibling = nullptr;
      }
      if (sibling != window) PlaceInZOrder(window, sibling, after == HWND_BOTTOM);
    }
    if (shown) window->style |= WS_VISIBLE;
    if (hidden) window->style &= ~WS_VISIBLE;
    topLevel = IsTopLevel(*window);
    if (!(position.flags & SWP_NOREDRAW)) {
      if (shown || ((position.flags & SWP_FRAMECHANGED) && (window->style & WS_VISIBLE))) {
        InvalidateWholeWindow(*window);
      } else if (sized && (window->style & WS_VISIBLE)) {
        UINT classStyle = window->windowClass->style;
        bool redrawAll = (classStyle & (CS_HREDRAW | CS_VREDRAW)) != 0 ||
                         (newClient.right - newClient.left) > (oldClient.right - oldClient.left) ||
                         (newClient.bottom - newClient.top) > (oldClient.bottom - oldClient.top);
        if (redrawAll) InvalidateWholeWindow(*window);
      }
      if (hidden && window->parent != nullptr) InvalidateParentArea(*window, newRect);
    }
  }
  if (topLevel && !(position.flags & SWP_NOACTIVATE) && !hidden && IsWindowVisible(hWnd)) {
    ActivateWindow(hWnd, false);
  }
  ReportToDisplay(hWnd);
  SendMessageA(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
  // A hidden top-level window hands the activation on; a hidden child keeps what it had, as on
  // the original (its keys still arrive until the focus moves).
  if (hidden && topLevel) TakeInputAwayFrom(hWnd, true);
  return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
  return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                      SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI BringWindowToTop(HWND hWnd) {
  return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  bool wasVisible = false;
  bool minimized = false;
  bool maximized = false;
  bool topLevel = false;
  RECT current{};
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr || window == &Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    wasVisible = (window->style & WS_VISIBLE) != 0;
    minimized = (window->style & WS_MINIMIZE) != 0;
    maximized = (window->style & WS_MAXIMIZE) != 0;
    topLevel = IsTopLevel(*window);
    current = window->rect;
  }
  UINT flags = SWP_NOZORDER;
  enum class Change { kNone, kMinimize, kMaximize, kRestore } change = Change::kNone;
  bool show = true;
  bool activate = topLevel;
  switch (nCmdShow) {
    case SW_HIDE:
      show = false;
      activate = false;
      break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
      activate = false;
      change = minimized ? Change::kNone : Change::kMinimize;
      break;
    case SW_SHOWMINIMIZED:
      change = minimized ? Change::kNone : Change::kMinimize;
      break;
    case SW_SHOWMAXIMIZED:
      change = maximized ? Change::kNone : Change::kMaximize;
      break;
    case SW_SHOWNOACTIVATE:
      activate = false;
      change = (minimized || maximized) ? Change::kRestore : Change::kNone;
      break;
    case SW_SHOWNA:
      activate = false;
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      change = (minimized || maximized) ? Change::kRestore : Change::kNone;
      break;
    default:
      break;
  }
  if (!show && !wasVisible) return FALSE;
  if (show != wasVisible) SendMessageA(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  if (!IsWindow(hWnd)) return wasVisible;
  if (!show) {
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return wasVisible;
  }
  RECT target = current;
  if (change == Change::kMaximize) target = MaximizedRect(hWnd);
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr) return wasVisible;
    switch (change) {
      case Change::kMinimize:
        if (!maximized) window->restoreRect = current;
        window->restoreMaximized = maximized;
        window->style = (window->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
        target = topLevel ? RECT{kMinimizedPosition, kMinimizedPosition,
                                 kMinimizedPosition + GetSystemMetrics(SM_CXMINIMIZED),
                                 kMinimizedPosition + GetSystemMetrics(SM_CYMINIMIZED)}
                          : RECT{current.left, current.top, current.left + GetSystemMetrics(SM_CXMINIMIZED),
                                 current.top + GetSystemMetrics(SM_CYMINIMIZED)};
        break;
      case Change::kMaximize:
        if (!minimized) window->restoreRect = current;
        window->style = (window->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        break;
      case Change::kRestore:
        if (minimized && window->restoreMaximized) {
          window->style = (window->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
          window->restoreMaximized = false;
          change = Change::kMaximize;
        } else {
          window->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
          target = window->restoreRect;
        }
        break;
      case Change::kNone:
        break;
    }
  }
  if (change == Change::kMaximize && minimized) target = MaximizedRect(hWnd);
  if (change != Change::kNone) {
    flags = SWP_FRAMECHANGED | (activate ? 0 : SWP_NOACTIVATE);
    if (!activate) flags |= SWP_NOZORDER;
  } else {
    flags |= SWP_NOSIZE | SWP_NOMOVE | (activate ? 0 : SWP_NOACTIVATE);
  }
  if (!wasVisible) flags |= SWP_SHOWWINDOW;
  bool leavesActivation = change == Change::kMinimize && (nCmdShow == SW_MINIMIZE || nCmdShow == SW_FORCEMINIMIZE);
  SetWindowPos(hWnd, HWND_TOP, target.left, target.top, target.right - target.left, target.bottom - target.top,
               flags | (leavesActivation ? SWP_NOACTIVATE : 0));
  if (leavesActivation && CurrentInputWindows().active == hWnd) ActivateWindow(SuccessorForActivation(hWnd), false);
  if (change == Change::kMinimize && CurrentInputWindows().active == hWnd && GetFocus() != nullptr) {
    // A minimised window keeps the activation but not the keyboard focus.
    SetFocus(nullptr);
  }
  if (minimized && change != Change::kMinimize && CurrentInputWindows().active == hWnd &&
      CurrentInputWindows().focus == nullptr) {
    // An active window that comes back from minimised takes the keyboard focus again, as it
    // would on activation.
    SetFocus(hWnd);
  }
  return wasVisible;
}

BOOL WINAPI IsIconic(HWND hWnd) {
  TreeLock lock;
  Window* window = LookupWindow(hWnd);
  return window != nullptr && (window->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL WINAPI IsZoomed(HWND hWnd) {
  TreeLock lock;
  Window* window = LookupWindow(hWnd);
  return window != nullptr && (window->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

namespace {

struct DeferredPositions {
  std::vector<WINDOWPOS> positions;
};

std::mutex g_deferMutex;
std::set<DeferredPositions*> g_deferred;

DeferredPositions* CheckDeferred(HDWP handle) {
  std::lock_guard lock(g_deferMutex);
  auto* deferred = static_cast<DeferredPositions*>(handle);
  return g_deferred.count(deferred) != 0 ? deferred : nullptr;
}

}  // namespace

HDWP WINAPI BeginDeferWindowPos(int nNumWindows) {
  if (nNumWindows < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* deferred = new DeferredPositions();
  deferred->positions.reserve(static_cast<size_t>(std::min(nNumWindows, 256)));
  std::lock_guard lock(g_deferMutex);
  g_deferred.insert(deferred);
  return deferred;
}

HDWP WINAPI DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                           UINT uFlags) {
  DeferredPositions* deferred = CheckDeferred(hWinPosInfo);
  if (deferred == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return hWinPosInfo;
  }
  // A second request for the same window replaces the parts it names.
  for (WINDOWPOS& position : deferred->positions) {
    if (position.hwnd != hWnd) continue;
    if (!(uFlags & SWP_NOMOVE)) {
      position.x = x;
      position.y = y;
      position.flags &= ~SWP_NOMOVE;
    }
    if (!(uFlags & SWP_NOSIZE)) {
      position.cx = cx;
      position.cy = cy;
      position.flags &= ~SWP_NOSIZE;
    }
    if (!(uFlags & SWP_NOZORDER)) {
      position.hwndInsertAfter = hWndInsertAfter;
      position.flags &= ~SWP_NOZORDER;
    }
    position.flags |= uFlags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED);
    if (!(uFlags & SWP_NOACTIVATE)) position.flags &= ~SWP_NOACTIVATE;
    return hWinPosInfo;
  }
  deferred->positions.push_back({hWnd, hWndInsertAfter, x, y, cx, cy, uFlags});
  return hWinPosInfo;
}

BOOL WINAPI EndDeferWindowPos(HDWP hWinPosInfo) {
  DeferredPositions* deferred = CheckDeferred(hWinPosInfo);
  if (deferred == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  {
    std::lock_guard lock(g_deferMutex);
    g_deferred.erase(deferred);
  }
  std::unique_ptr<DeferredPositions> owned(deferred);
  BOOL all = TRUE;
  for (const WINDOWPOS& position : owned->positions) {
    if (!SetWindowPos(position.hwnd, position.hwndInsertAfter, position.x, position.y, position.cx, position.cy,
                      position.flags)) {
      all = FALSE;
    }
  }
  return all;
}
