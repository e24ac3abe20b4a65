#include "platform/user/menu_popup.h"

#include <algorithm>
#include <mutex>

#include "platform/user/menu_drawing.h"

namespace vel::platform {
namespace {

// Classic proportions: a 3-pixel frame (raised edge and a pixel of margin), a column for the
// check mark left of the text, a column for the submenu arrow at the right, and a gap between
// the text and its right-aligned shortcut.
constexpr int kFrame = 3;
constexpr int kCheckColumn = 18;
constexpr int kArrowColumn = 16;
constexpr int kShortcutGap = 16;
constexpr int kMinItemHeight = 17;
constexpr int kSeparatorHeight = 8;
constexpr int kBreakGap = 4;
constexpr int kBarBreakGap = 8;
constexpr char kPopupClass[] = "#32768";

LRESULT CALLBACK PopupProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hWnd, &paint);
      auto* view = reinterpret_cast<const PopupView*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
      if (dc != nullptr && view != nullptr) PaintPopup(dc, *view);
      EndPaint(hWnd, &paint);
      return 0;
    }
    default: return DefWindowProcA(hWnd, Msg, wParam, lParam);
  }
}

void RegisterPopupClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSA popupClass{CS_SAVEBITS, PopupProcedure, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, kPopupClass};
    RegisterClassA(&popupClass);
  });
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// A check mark three pixels thick, drawn with filled one-pixel columns.
void DrawCheckMark(HDC dc, const RECT& column, int centreY, COLORREF color) {
  int left = (column.left + column.right) / 2 - 3;
  static constexpr int kRise[] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) {
    int top = centreY - 3 + kRise[i];
    FillSolid(dc, RECT{left + i, top, left + i + 1, top + 3}, color);
  }
}

// A small triangle pointing right, for items that open a submenu.
void DrawSubmenuArrow(HDC dc, int left, int centreY, COLORREF color) {
  for (int i = 0; i < 4; ++i) FillSolid(dc, RECT{left + i, centreY - 3 + i, left + i + 1, centreY + 4 - i}, color);
}

}  // namespace

void LoadPopupView(PopupView& view) {
  view.items = CopyMenuItems(view.menu);
  view.boxes.assign(view.items.size(), RECT{});
  // Items go down in columns; MF_MENUBREAK and MF_MENUBARBREAK start a new one (the latter
  // with a line before it). Each column is as wide as its own widest text and shortcut.
  int itemHeight = kMinItemHeight;
  for (const MenuItem& item : view.items) {
    if (!item.IsSeparator()) itemHeight = std::max(itemHeight, static_cast<int>(MeasureMenuText(item.text).cy) + 4);
  }
  int left = kFrame;
  int bottom = kFrame;
  size_t first = 0;
  while (first < view.items.size()) {
    size_t end = first + 1;
    while (end < view.items.size() && !(view.items[end].flags & (MF_MENUBREAK | MF_MENUBARBREAK))) ++end;
    if (first > 0) left += (view.items[first].flags & MF_MENUBARBREAK) ? kBarBreakGap : kBreakGap;
    int labelWidth = 0;
    int shortcutWidth = 0;
    for (size_t index = first; index < end; ++index) {
      const MenuItem& item = view.items[index];
      if (item.IsSeparator()) continue;
      labelWidth = std::max(labelWidth, static_cast<int>(MeasureMenuText(MenuLabel(item.text)).cx));
      std::string shortcut = MenuShortcut(item.text);
      if (!shortcut.empty()) shortcutWidth = std::max(shortcutWidth, static_cast<int>(MeasureMenuText(shortcut).cx));
    }
    int width = kCheckColumn + labelWidth + (shortcutWidth > 0 ? kShortcutGap + shortcutWidth : 0) + kArrowColumn;
    int y = kFrame;
    for (size_t index = first; index < end; ++index) {
      int height = view.items[index].IsSeparator() ? kSeparatorHeight : itemHeight;
      view.boxes[index] = RECT{left, y, left + width, y + height};
      y += height;
    }
    bottom = std::max(bottom, y);
    left += width;
    first = end;
  }
  view.size = SIZE{left + kFrame, bottom + kFrame};
}

void OpenPopupWindow(HWND owner, PopupView& view, POINT at, int avoidLeft) {
  RegisterPopupClass();
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (at.x + view.size.cx > screenWidth) at.x = std::max(0, std::min(avoidLeft, screenWidth) - view.size.cx);
  if (at.y + view.size.cy > screenHeight) at.y = std::max(0, screenHeight - view.size.cy);
  view.window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupClass, "", WS_POPUP, at.x, at.y, view.size.cx,
                                view.size.cy, owner, nullptr, nullptr, nullptr);
  if (view.window == nullptr) return;
  SetWindowLongPtrA(view.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&view));
  ShowWindow(view.window, SW_SHOWNOACTIVATE);
  UpdateWindow(view.window);
}

void ClosePopupWindow(PopupView& view) {
  if (view.window == nullptr) return;
  HWND window = view.window;
  view.window = nullptr;
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

void SelectPopupItem(PopupView& view, int item) {
  if (view.selected == item) return;
  view.selected = item;
  if (view.window == nullptr) return;
  InvalidateRect(view.window, nullptr, FALSE);
  UpdateWindow(view.window);
}

int PopupItemAt(const PopupView& view, POINT screenPoint, bool* inside) {
  *inside = false;
  if (view.window == nullptr) return -1;
  RECT outer{};
  GetWindowRect(view.window, &outer);
  if (!PtInRect(&outer, screenPoint)) return -1;
  *inside = true;
  POINT local{screenPoint.x - outer.left, screenPoint.y - outer.top};
  for (size_t index = 0; index < view.boxes.size(); ++index) {
    if (PtInRect(&view.boxes[index], local)) return static_cast<int>(index);
  }
  return -1;
}

void PaintPopup(HDC dc, const PopupView& view) {
  RECT whole{0, 0, view.size.cx, view.size.cy};
  FillRect(dc, &whole, GetSysColorBrush(COLOR_MENU));
  DrawEdge(dc, &whole, EDGE_RAISED, BF_RECT);
  for (size_t index = 0; index < view.items.size() && index < view.boxes.size(); ++index) {
    const MenuItem& item = view.items[index];
    RECT box = view.boxes[index];
    if (index > 0 && (item.flags & MF_MENUBARBREAK)) {
      RECT line{box.left - kBarBreakGap / 2 - 1, kFrame, box.left, view.size.cy - kFrame};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
    }
    if (item.IsSeparator()) {
      RECT line{box.left + 1, (box.top + box.bottom) / 2 - 1, box.right - 1, box.bottom};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
      continue;
    }
    bool selected = view.selected == static_cast<int>(index);
    COLORREF color = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (selected) FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
    bool greyed = !item.IsEnabled();
    // Marks share the text's look: greyed items get a light copy under a shadow one.
    COLORREF markColor = greyed ? GetSysColor(selected ? COLOR_GRAYTEXT : COLOR_3DSHADOW) : color;
    int centreY = (box.top + box.bottom) / 2;
    RECT checkColumn{box.left, box.top, box.left + kCheckColumn, box.bottom};
    if (item.IsChecked()) {
      if (greyed && !selected) DrawCheckMark(dc, RECT{checkColumn.left + 1, 0, checkColumn.right + 1, 0}, centreY + 1,
                                             GetSysColor(COLOR_3DHILIGHT));
      DrawCheckMark(dc, checkColumn, centreY, markColor);
    }
    RECT label{box.left + kCheckColumn, box.top, box.right - kArrowColumn, box.bottom};
    DrawMenuText(dc, MenuLabel(item.text), label, DT_LEFT, color, greyed, !selected);
    std::string shortcut = MenuShortcut(item.text);
    if (!shortcut.empty()) DrawMenuText(dc, shortcut, label, DT_RIGHT | DT_NOPREFIX, color, greyed, !selected);
    if (item.IsPopup()) {
      int arrowLeft = box.right - kArrowColumn + 6;
      if (greyed && !selected) DrawSubmenuArrow(dc, arrowLeft + 1, centreY + 1, GetSysColor(COLOR_3DHILIGHT));
      DrawSubmenuArrow(dc, arrowLeft, centreY, markColor);
    }
  }
}

}  // namespace vel::platform
