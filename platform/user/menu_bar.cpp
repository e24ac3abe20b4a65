#include "platform/user/menu_bar.h"

#include <mutex>

#include "platform/user/menu_drawing.h"
#include "platform/user/nonclient.h"
#include "platform/user/win32_errors.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

// Space on each side of a bar item's text, and the gap a separator leaves.
constexpr int kBarItemPadding = 6;
constexpr int kBarSeparatorWidth = 6;

struct Highlight {
  HWND window = nullptr;
  int item = -1;
  bool open = false;
};

std::mutex g_highlightMutex;
Highlight g_highlight;

Highlight CurrentHighlight() {
  std::lock_guard lock(g_highlightMutex);
  return g_highlight;
}

HMENU BarMenuOf(const Window& window) {
  if ((window.style & WS_CHILD) || (window.style & WS_MINIMIZE) || window.id == 0) return nullptr;
  return reinterpret_cast<HMENU>(window.id);
}

int ItemWidth(const MenuItem& item) {
  if (item.IsSeparator()) return kBarSeparatorWidth;
  return MeasureMenuText(MenuLabel(item.text)).cx + 2 * kBarItemPadding;
}

}  // namespace

RECT MenuBarStrip(HWND handle) {
  TreeLock lock;
  Window* window = LookupWindow(handle);
  if (window == nullptr || BarMenuOf(*window) == nullptr) return RECT{};
  // The frame painter and the hit test use the same layout, so the items land where they show.
  RECT outer = ScreenRect(*window);
  RECT strip = LayoutNonClient(outer, window->style, window->exStyle, true).menuBar;
  if (strip.right <= strip.left || strip.bottom <= strip.top) return RECT{};
  return strip;
}

std::vector<RECT> LayoutMenuBar(const std::vector<MenuItem>& items, const RECT& strip) {
  std::vector<RECT> boxes;
  boxes.reserve(items.size());
  int x = strip.left;
  for (size_t index = 0; index < items.size(); ++index) {
    if (items[index].flags & MF_RIGHTJUSTIFY) {
      // This item and all after it go to the right end, unless that would overlap the others.
      int rest = 0;
      for (size_t later = index; later < items.size(); ++later) rest += ItemWidth(items[later]);
      x = std::max(x, static_cast<int>(strip.right) - rest);
      for (size_t later = index; later < items.size(); ++later) {
        int width = ItemWidth(items[later]);
        boxes.push_back(RECT{x, strip.top, x + width, strip.bottom});
        x += width;
      }
      break;
    }
    int width = ItemWidth(items[index]);
    boxes.push_back(RECT{x, strip.top, x + width, strip.bottom});
    x += width;
  }
  return boxes;
}

int MenuBarItemAt(HWND window, POINT screenPoint) {
  RECT strip = MenuBarStrip(window);
  if (!PtInRect(&strip, screenPoint)) return -1;
  std::vector<MenuItem> items = CopyMenuItems(GetMenu(window));
  std::vector<RECT> boxes = LayoutMenuBar(items, strip);
  for (size_t index = 0; index < boxes.size(); ++index) {
    RECT visible{};
    if (!items[index].IsSeparator() && IntersectRect(&visible, &boxes[index], &strip) && PtInRect(&visible, screenPoint)) {
      return static_cast<int>(index);
    }
  }
  return -1;
}

void PaintMenuBar(HWND window, HDC windowDc, const RECT& strip) {
  if (windowDc == nullptr || IsRectEmpty(&strip)) return;
  FillRect(windowDc, &strip, GetSysColorBrush(COLOR_MENU));
  std::vector<MenuItem> items = CopyMenuItems(GetMenu(window));
  std::vector<RECT> boxes = LayoutMenuBar(items, strip);
  Highlight highlight = CurrentHighlight();
  int saved = SaveDC(windowDc);
  IntersectClipRect(windowDc, strip.left, strip.top, strip.right, strip.bottom);
  for (size_t index = 0; index < items.size(); ++index) {
    const MenuItem& item = items[index];
    if (item.IsSeparator()) continue;
    RECT box = boxes[index];
    bool selected = highlight.window == window && highlight.item == static_cast<int>(index);
    RECT text = box;
    if (selected) {
      DrawEdge(windowDc, &box, highlight.open ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
      if (highlight.open) OffsetRect(&text, 1, 1);
    }
    DrawMenuText(windowDc, MenuLabel(item.text), text, DT_CENTER, GetSysColor(COLOR_MENUTEXT), !item.IsEnabled(),
                 true);
  }
  RestoreDC(windowDc, saved);
}

void RepaintMenuBar(HWND window) {
  RECT strip = MenuBarStrip(window);
  if (IsRectEmpty(&strip) || !IsWindowVisible(window)) return;
  RECT outer{};
  GetWindowRect(window, &outer);
  OffsetRect(&strip, -outer.left, -outer.top);
  HDC dc = GetWindowDC(window);
  if (dc == nullptr) return;
  PaintMenuBar(window, dc, strip);
  ReleaseDC(window, dc);
}

void SetMenuBarHighlight(HWND window, int item, bool open) {
  Highlight before;
  {
    std::lock_guard lock(g_highlightMutex);
    before = g_highlight;
    g_highlight = Highlight{window, item, open};
  }
  if (before.window != nullptr && before.window != window) RepaintMenuBar(before.window);
  if (window != nullptr && (before.window != window || before.item != item || before.open != open)) {
    RepaintMenuBar(window);
  }
}

}  // namespace vel::platform

using namespace vel::platform;

HMENU WINAPI GetMenu(HWND hWnd) {
  TreeLock lock;
  Window* window = LookupWindow(hWnd);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (window->style & WS_CHILD) return nullptr;
  return reinterpret_cast<HMENU>(window->id);
}

BOOL WINAPI SetMenu(HWND hWnd, HMENU hMenu) {
  {
    MenuLock menuLock;
    if (hMenu != nullptr && LookupMenu(hMenu) == nullptr) {
      SetLastError(ERROR_INVALID_MENU_HANDLE);
      return FALSE;
    }
  }
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (window->style & WS_CHILD) {
      SetLastError(ERROR_CHILD_WINDOW_MENU);
      return FALSE;
    }
    window->id = reinterpret_cast<LONG_PTR>(hMenu);
  }
  // The bar comes or goes: the client area is computed again and the frame repainted.
  SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL WINAPI DrawMenuBar(HWND hWnd) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (GetMenu(hWnd) == nullptr) return TRUE;
  SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}
