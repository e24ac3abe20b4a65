#include "platform/user/window_lifetime.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/display/display_backend.h"
#include "platform/gdi/window_framebuffers.h"
#include "platform/user/focus.h"
#include "platform/user/message_queue.h"
#include "platform/user/nonclient.h"
#include "platform/user/win32_errors.h"
#include "platform/user/window_geometry.h"
#include "platform/user/window_icons.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

// Where the next top-level window with a default position goes: a cascade.
std::atomic<int> g_cascade{0};

void NotifyParents(HWND child, UINT event) {
  // WM_PARENTNOTIFY goes up the chain of parents until a window that is not a child or that
  // asked not to tell its parent.
  HWND current = child;
  for (;;) {
    HWND parent = nullptr;
    LONG_PTR id = 0;
    {
      TreeLock lock;
      Window* window = LookupWindow(current);
      if (window == nullptr || !(window->style & WS_CHILD) || (window->exStyle & WS_EX_NOPARENTNOTIFY)) return;
      if (window->parent == nullptr || window->parent == &Desktop()) return;
      parent = window->parent->handle;
      id = LookupWindow(child)->id;
    }
    SendMessageA(parent, WM_PARENTNOTIFY, MAKEWPARAM(event, id), reinterpret_cast<LPARAM>(child));
    current = parent;
  }
}

// The next child of `handle` that `pick` accepts, or null.
template <typename Pick>
HWND NextChild(HWND handle, Pick pick) {
  TreeLock lock;
  Window* window = LookupWindow(handle);
  if (window == nullptr) return nullptr;
  for (Window* candidate : window->children) {
    if (pick(*candidate)) return candidate->handle;
  }
  return nullptr;
}

// WM_DESTROY goes to the window first and then down through all of its descendants, parents
// before their children, before any of them hears WM_NCDESTROY.
void SendDestroyDown(HWND handle) {
  SendMessageA(handle, WM_DESTROY, 0, 0);
  while (HWND child = NextChild(handle, [](Window& candidate) {
           if (candidate.destroying) return false;
           candidate.destroying = true;
           return true;
         })) {
    TakeInputAwayFrom(child, false);
    SendDestroyDown(child);
  }
}

// WM_NCDESTROY then comes back up, children before their parent, and each window leaves the
// tree after its own.
void SendNcDestroyUp(HWND handle) {
  std::vector<HWND> done;
  while (HWND child = NextChild(handle, [&done](Window& candidate) {
           return candidate.destroying && std::find(done.begin(), done.end(), candidate.handle) == done.end();
         })) {
    done.push_back(child);
    SendNcDestroyUp(child);
  }
  SendMessageA(handle, WM_NCDESTROY, 0, 0);
  DWORD threadId = 0;
  bool topLevel = false;
  {
    TreeLock lock;
    Window* window = LookupWindow(handle);
    if (window == nullptr) return;
    threadId = window->threadId;
    topLevel = IsTopLevel(*window);
    // Children a WM_DESTROY or WM_NCDESTROY handler created meanwhile go without messages.
    RemoveSubtree(window);
  }
  ForgetWindowMessages(handle, threadId);
  if (topLevel) {
    CurrentDisplay().TopLevelDestroyed(handle);
    DropTopLevelFramebuffer(handle);
  }
}

void DestroyTree(HWND handle) {
  SendDestroyDown(handle);
  SendNcDestroyUp(handle);
}

RECT DefaultTopLevelRect(int x, int y, int width, int height) {
  SIZE screen = CurrentDisplay().ScreenSize();
  if (x == CW_USEDEFAULT) {
    int step = (g_cascade++ % 8) * 26;
    x = 20 + step;
    y = 20 + step;
  }
  if (width == CW_USEDEFAULT) {
    width = screen.cx * 3 / 4;
    height = screen.cy * 3 / 4;
  }
  return {x, y, x + width, y + height};
}

}  // namespace

void DiscardWindowsOfThread(DWORD threadId) {
  std::vector<HWND> windows;
  {
    TreeLock lock;
    windows = WindowsOfThread(threadId);
    for (HWND handle : windows) {
      if (Window* window = LookupWindow(handle)) RemoveSubtree(window);
    }
  }
  for (HWND handle : windows) {
    CurrentDisplay().TopLevelDestroyed(handle);
    DropTopLevelFramebuffer(handle);
  }
}

}  // namespace vel::platform

using namespace vel::platform;

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
  EnsureWindowManager();
  auto windowClass = FindWindowClass(lpClassName);
  if (windowClass == nullptr) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if (hWndParent == HWND_MESSAGE) hWndParent = nullptr;
  auto window = std::make_unique<Window>();
  bool child = (dwStyle & WS_CHILD) != 0;
  {
    TreeLock lock;
    Window* parent = LookupWindow(hWndParent);
    if (child && (parent == nullptr || parent == &Desktop())) {
      SetLastError(ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
    if (hWndParent != nullptr && parent == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    window->parent = child ? parent : &Desktop();
    // The owner of a top-level window is always a top-level window.
    window->owner = !child && parent != nullptr && parent != &Desktop() ? TopLevelOf(parent) : nullptr;
  }
  if (!child && !(dwStyle & WS_POPUP)) dwStyle |= WS_CLIPSIBLINGS | WS_CAPTION;
  if (!child) dwStyle |= WS_CLIPSIBLINGS;
  DWORD requestedShow = dwStyle & (WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  window->windowClass = windowClass;
  window->threadId = CurrentThreadId();
  window->style = dwStyle & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  window->exStyle = dwExStyle;
  window->procedure = windowClass->procedure;
  window->instance = hInstance;
  window->id = reinterpret_cast<LONG_PTR>(hMenu);
  window->extra.assign(static_cast<size_t>(windowClass->windowExtraBytes), 0);
  RECT rect{};
  if (child || (dwStyle & WS_POPUP)) {
    int x = X == CW_USEDEFAULT ? 0 : X;
    int y = X == CW_USEDEFAULT ? 0 : Y;
    int width = nWidth == CW_USEDEFAULT ? 0 : nWidth;
    int height = nWidth == CW_USEDEFAULT ? 0 : nHeight;
    rect = {x, y, x + width, y + height};
  } else {
    rect = DefaultTopLevelRect(X, Y, nWidth, nHeight);
  }
  window->rect = rect;
  window->client = rect;
  window->restoreRect = rect;

  HWND handle = nullptr;
  {
    TreeLock lock;
    windowClass->windowCount++;
    Window* record = AddWindow(std::move(window));
    if (child) PlaceInZOrder(record, nullptr, true);
    handle = record->handle;
  }
  CurrentQueue();
  if (!child) {
    CurrentDisplay().TopLevelCreated(handle);
    ReportDesktopIcon(handle);
  }

  // Sizes a window may take come first, before the window has seen WM_NCCREATE.
  if (!child || (dwStyle & WS_THICKFRAME)) {
    MINMAXINFO limits = DefaultMinMaxInfo(handle);
    SendMessageA(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    TreeLock lock;
    if (Window* record = LookupWindow(handle)) {
      LONG width = std::clamp(record->rect.right - record->rect.left, LONG{0}, limits.ptMaxTrackSize.x);
      LONG height = std::clamp(record->rect.bottom - record->rect.top, LONG{0}, limits.ptMaxTrackSize.y);
      record->rect.right = record->rect.left + width;
      record->rect.bottom = record->rect.top + height;
      record->client = record->rect;
      record->restoreRect = record->rect;
    }
  }

  CREATESTRUCTA create{lpParam, hInstance, hMenu, hWndParent, static_cast<int>(rect.bottom - rect.top),
                       static_cast<int>(rect.right - rect.left), static_cast<int>(rect.top),
                       static_cast<int>(rect.left), static_cast<LONG>(dwStyle), lpWindowName,
                       lpClassName, dwExStyle};
  if (!SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    DestroyWindow(handle);
    return nullptr;
  }
  RecalculateClient(handle);
  if (SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  if (!IsWindow(handle)) return nullptr;
  SendSizeAndMove(handle);
  if (child) NotifyParents(handle, WM_CREATE);
  if (!IsWindow(handle)) return nullptr;

  if (requestedShow & WS_MINIMIZE) {
    ShowWindow(handle, (requestedShow & WS_VISIBLE) ? SW_SHOWMINIMIZED : SW_MINIMIZE);
    if (!(requestedShow & WS_VISIBLE)) ShowWindow(handle, SW_HIDE);
  } else if (requestedShow & WS_MAXIMIZE) {
    ShowWindow(handle, SW_SHOWMAXIMIZED);
    if (!(requestedShow & WS_VISIBLE)) ShowWindow(handle, SW_HIDE);
  } else if (requestedShow & WS_VISIBLE) {
    ShowWindow(handle, SW_SHOW);
  }
  return IsWindow(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  bool child = false;
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr || window == &Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (window->threadId != CurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (window->destroying) return TRUE;
    window->destroying = true;
    child = (window->style & WS_CHILD) != 0;
  }
  if (child) NotifyParents(hWnd, WM_DESTROY);
  // Windows it owns go first.
  for (;;) {
    HWND owned = nullptr;
    {
      TreeLock lock;
      for (Window* candidate : Desktop().children) {
        if (candidate->owner != nullptr && candidate->owner->handle == hWnd && !candidate->destroying) {
          owned = candidate->handle;
          break;
        }
      }
    }
    if (owned == nullptr) break;
    DestroyWindow(owned);
  }
  if (IsWindowVisible(hWnd)) {
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  TakeInputAwayFrom(hWnd, true);
  DestroyTree(hWnd);
  return TRUE;
}
