#include "platform/user/paint_state.h"

#include <algorithm>
#include <atomic>

#include "platform/user/message_queue.h"
#include "platform/user/window_dc.h"
#include "platform/user/win32_errors.h"

namespace vel::platform {
namespace {

std::atomic<WindowDcProvider*> g_provider{nullptr};

// A region kept as a list of rectangles stays cheap by falling back to its bounding box once
// it has many pieces; painting a little more than needed is always correct.
constexpr size_t kMaxUpdateRects = 16;

RECT ClientArea(const Window& window) {
  return {0, 0, window.client.right - window.client.left, window.client.bottom - window.client.top};
}

// The parts of `from` outside `cut`, as up to four rectangles.
void Subtract(const RECT& from, const RECT& cut, std::vector<RECT>* out) {
  RECT overlap{};
  if (!IntersectRect(&overlap, &from, &cut)) {
    out->push_back(from);
    return;
  }
  if (from.top < overlap.top) out->push_back({from.left, from.top, from.right, overlap.top});
  if (overlap.bottom < from.bottom) out->push_back({from.left, overlap.bottom, from.right, from.bottom});
  if (from.left < overlap.left) out->push_back({from.left, overlap.top, overlap.left, overlap.bottom});
  if (overlap.right < from.right) out->push_back({overlap.right, overlap.top, from.right, overlap.bottom});
}

void Validate(Window& window, const RECT* rect) {
  if (rect == nullptr) {
    window.update = UpdateState{};
    return;
  }
  std::vector<RECT> remaining;
  for (const RECT& piece : window.update.rects) Subtract(piece, *rect, &remaining);
  window.update.rects = std::move(remaining);
  if (window.update.rects.empty()) window.update.erase = false;
}

HWND SearchPaint(Window& window, DWORD threadId) {
  if (!(window.style & WS_VISIBLE)) return nullptr;
  if (window.threadId == threadId && (!window.update.Empty() || window.update.frame)) return window.handle;
  for (Window* child : window.children) {
    if (HWND found = SearchPaint(*child, threadId)) return found;
  }
  return nullptr;
}

}  // namespace

void SetWindowDcProvider(WindowDcProvider* provider) { g_provider.store(provider); }
WindowDcProvider* CurrentWindowDcProvider() {
  // Without another provider installed, windows draw through gdi32's framebuffers.
  WindowDcProvider* provider = g_provider.load();
  return provider != nullptr ? provider : &GdiWindowDcs();
}

void AddToUpdate(Window& window, const RECT* rect, bool erase) {
  RECT area = ClientArea(window);
  RECT piece = area;
  if (rect != nullptr && !IntersectRect(&piece, rect, &area)) return;
  if (IsRectEmpty(&piece)) return;
  auto& rects = window.update.rects;
  bool covered = std::any_of(rects.begin(), rects.end(), [&](const RECT& existing) {
    RECT both{};
    UnionRect(&both, &existing, &piece);
    return EqualRect(&both, &existing);
  });
  if (!covered) {
    std::erase_if(rects, [&](const RECT& existing) {
      RECT both{};
      UnionRect(&both, &existing, &piece);
      return EqualRect(&both, &piece);
    });
    rects.push_back(piece);
    if (rects.size() > kMaxUpdateRects) {
      RECT bounds = rects.front();
      for (const RECT& existing : rects) UnionRect(&bounds, &bounds, &existing);
      rects = {bounds};
    }
  }
  if (erase) window.update.erase = true;
  TouchQueue(window.threadId);
}

void InvalidateWholeWindow(Window& window) {
  window.update.frame = true;
  AddToUpdate(window, nullptr, true);
  if (window.update.Empty()) TouchQueue(window.threadId);
  for (Window* child : window.children) {
    if (child->style & WS_VISIBLE) InvalidateWholeWindow(*child);
  }
}

void InvalidateParentArea(Window& child, const RECT& rectInParent) {
  Window* parent = child.parent;
  if (parent == nullptr || parent == &Desktop()) return;
  AddToUpdate(*parent, &rectInParent, true);
  for (Window* sibling : parent->children) {
    if (sibling == &child || !(sibling->style & WS_VISIBLE)) continue;
    RECT overlap{};
    if (!IntersectRect(&overlap, &sibling->rect, &rectInParent)) continue;
    OffsetRect(&overlap, -sibling->client.left, -sibling->client.top);
    AddToUpdate(*sibling, &overlap, true);
  }
}

RECT UpdateBounds(const Window& window) {
  RECT bounds{};
  for (const RECT& piece : window.update.rects) UnionRect(&bounds, &bounds, &piece);
  return bounds;
}

HWND WindowNeedingPaint(DWORD threadId, HWND filter) {
  TreeLock lock;
  if (filter != nullptr) {
    Window* window = LookupWindow(filter);
    return window != nullptr && IsShowing(*window) ? SearchPaint(*window, threadId) : nullptr;
  }
  for (Window* topLevel : Desktop().children) {
    if (HWND found = SearchPaint(*topLevel, threadId)) return found;
  }
  return nullptr;
}

}  // namespace vel::platform

using namespace vel::platform;

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
  TreeLock lock;
  if (hWnd == nullptr) {
    for (Window* topLevel : Desktop().children) InvalidateWholeWindow(*topLevel);
    return TRUE;
  }
  Window* window = LookupWindow(hWnd);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  AddToUpdate(*window, lpRect, bErase != FALSE);
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
  TreeLock lock;
  Window* window = LookupWindow(hWnd);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Validate(*window, lpRect);
  return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase) {
  bool eraseDue = false;
  RECT bounds{};
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr) return FALSE;
    bounds = UpdateBounds(*window);
    eraseDue = window->update.erase;
  }
  if (lpRect != nullptr) *lpRect = bounds;
  if (bErase && eraseDue && !IsRectEmpty(&bounds)) {
    WindowDcProvider* provider = CurrentWindowDcProvider();
    HDC dc = provider != nullptr ? provider->AcquireWindowDc(hWnd, false, &bounds) : nullptr;
    SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if (provider != nullptr) provider->ReleaseWindowDc(hWnd, dc);
    TreeLock lock;
    if (Window* window = LookupWindow(hWnd)) window->update.erase = false;
  }
  return IsRectEmpty(&bounds) ? FALSE : TRUE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
  bool due = false;
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    due = IsShowing(*window) && (!window->update.Empty() || window->update.frame);
  }
  if (due) SendMessageA(hWnd, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL WINAPI RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags) {
  // Regions belong to gdi32; a region given here counts as the whole window.
  const RECT* area = hrgnUpdate != nullptr ? nullptr : lprcUpdate;
  {
    TreeLock lock;
    Window* window = hWnd == nullptr ? &Desktop() : LookupWindow(hWnd);
    if (window == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    auto apply = [&](auto&& self, Window& target, const RECT* rect) -> void {
      if (flags & RDW_INVALIDATE) {
        AddToUpdate(target, rect, (flags & RDW_ERASE) != 0);
        if (flags & RDW_FRAME) {
          target.update.frame = true;
          TouchQueue(target.threadId);
        }
      } else if (flags & RDW_VALIDATE) {
        Validate(target, rect);
        if (flags & RDW_NOFRAME) target.update.frame = false;
        if (flags & RDW_NOERASE) target.update.erase = false;
      }
      if ((flags & RDW_ALLCHILDREN) || (window == &Desktop() && !(flags & RDW_NOCHILDREN))) {
        for (Window* child : target.children) {
          if (child->style & WS_VISIBLE) self(self, *child, nullptr);
        }
      }
    };
    if (window == &Desktop()) {
      for (Window* topLevel : Desktop().children) apply(apply, *topLevel, nullptr);
    } else {
      apply(apply, *window, area);
    }
  }
  if (flags & RDW_UPDATENOW) {
    // Painting now goes down the tree: the window, then its children when asked for.
    std::vector<HWND> windows;
    {
      TreeLock lock;
      Window* window = hWnd == nullptr ? &Desktop() : LookupWindow(hWnd);
      auto collect = [&](auto&& self, Window& target) -> void {
        if (&target != &Desktop()) windows.push_back(target.handle);
        if ((flags & RDW_ALLCHILDREN) || &target == &Desktop()) {
          for (Window* child : target.children) self(self, *child);
        }
      };
      if (window != nullptr) collect(collect, *window);
    }
    for (HWND window : windows) UpdateWindow(window);
  }
  return TRUE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  if (lpPaint == nullptr) return nullptr;
  *lpPaint = PAINTSTRUCT{};
  bool frame = false;
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    frame = window->update.frame;
    window->update.frame = false;
  }
  if (frame) SendMessageA(hWnd, WM_NCPAINT, 1, 0);
  bool erase = false;
  RECT bounds{};
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr) return nullptr;
    bounds = UpdateBounds(*window);
    erase = window->update.erase;
    window->update = UpdateState{};
  }
  WindowDcProvider* provider = CurrentWindowDcProvider();
  HDC dc = provider != nullptr ? provider->AcquireWindowDc(hWnd, false, &bounds) : nullptr;
  lpPaint->hdc = dc;
  lpPaint->rcPaint = bounds;
  lpPaint->fErase = FALSE;
  if (erase) lpPaint->fErase = SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
  if (lpPaint == nullptr) return FALSE;
  WindowDcProvider* provider = CurrentWindowDcProvider();
  if (provider != nullptr && lpPaint->hdc != nullptr) provider->ReleaseWindowDc(hWnd, lpPaint->hdc);
  return TRUE;
}

HDC WINAPI GetDC(HWND hWnd) {
  WindowDcProvider* provider = CurrentWindowDcProvider();
  return provider != nullptr ? provider->AcquireWindowDc(hWnd != nullptr ? hWnd : GetDesktopWindow(), false, nullptr)
                             : nullptr;
}

HDC WINAPI GetWindowDC(HWND hWnd) {
  WindowDcProvider* provider = CurrentWindowDcProvider();
  return provider != nullptr ? provider->AcquireWindowDc(hWnd != nullptr ? hWnd : GetDesktopWindow(), true, nullptr)
                             : nullptr;
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
  WindowDcProvider* provider = CurrentWindowDcProvider();
  if (provider == nullptr || hDC == nullptr) return 0;
  provider->ReleaseWindowDc(hWnd, hDC);
  return 1;
}
