#include "runtime/windows/client_layout.h"

#include <vector>

#include "runtime/windows/status_bar.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_controls.h"

namespace vel::windows {
namespace {

// The shown state a window asked for, whether or not its parent is shown yet.
bool HasVisibleStyle(HWND window) { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

int WindowHeight(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return static_cast<int>(rect.bottom - rect.top);
}

// The rectangle of a child window in its parent's client coordinates.
RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

ToolbarBuilder g_toolbarBuilder = nullptr;

}  // namespace

void SetToolbarBuilder(ToolbarBuilder builder) { g_toolbarBuilder = builder; }

void LayOutWindow(WindowObject& window) {
  if (window.handle == nullptr) return;
  RECT area{};
  GetClientRect(window.handle, &area);
  if (window.statusBar != nullptr && window.statusBar->Handle() != nullptr) {
    window.statusBar->LayOut(area);
    if (HasVisibleStyle(window.statusBar->Handle())) area.bottom -= window.statusBar->Height();
  }
  if (window.toolbar != nullptr && IsWindow(window.toolbar)) {
    int height = WindowHeight(window.toolbar);
    MoveWindow(window.toolbar, area.left, area.top, area.right - area.left, height, TRUE);
    if (HasVisibleStyle(window.toolbar)) area.top += height;
  }
  if (area.bottom < area.top) area.bottom = area.top;
  if (window.client != nullptr) {
    MoveWindow(window.client, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
  }
}

void CreateWindowToolbar(WindowObject& window, const DefinitionView& view, std::uint32_t offset,
                         const UnitConverter& converter) {
  std::optional<Record> record = offset != 0 ? ReadRecord(view, offset) : std::nullopt;
  if (!record || record->kind != kKindToolBar || window.handle == nullptr) return;
  if (g_toolbarBuilder != nullptr) {
    if (WindowControl* toolbar = g_toolbarBuilder(window, view, *record)) {
      window.toolbarControl = toolbar;
      window.toolbar = toolbar->Handle();
    }
  } else {
    int height = record->at.height == kNotGiven ? 0 : converter.ToPixelsY(record->at.height);
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window.handle, GWLP_HINSTANCE));
    window.toolbar = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0,
                                     height < 0 ? 0 : height, window.handle, nullptr, instance, nullptr);
  }
  LayOutWindow(window);
}

void ShowWindowToolbar(WindowObject& window, bool show) {
  if (window.toolbar == nullptr || !IsWindow(window.toolbar)) return;
  ShowWindow(window.toolbar, show ? SW_SHOWNA : SW_HIDE);
  LayOutWindow(window);
}

void CreateWindowStatusBar(WindowObject& window, const UnitConverter& converter) {
  if (window.statusZones.empty() || window.handle == nullptr) return;
  window.statusBar = std::make_unique<StatusBar>(window.handle, window.statusZones, converter);
  window.statusBar->SetText(0, window.defaultMessage.value_or(std::string()));
  LayOutWindow(window);
}

void ScrollControlIntoView(WindowObject& window, const WindowControl& control) {
  HWND own = control.Handle();
  if (window.client == nullptr || own == nullptr || GetParent(own) != window.client) return;
  RECT visible{};
  GetClientRect(window.client, &visible);
  RECT placed = RectInParent(own);
  int dx = 0;
  int dy = 0;
  // Bring the far edge in first, then the near one, so a control larger than the client
  // window shows its top-left corner.
  if (placed.right > visible.right) dx = visible.right - placed.right;
  if (placed.left + dx < visible.left) dx = visible.left - placed.left;
  if (placed.bottom > visible.bottom) dy = visible.bottom - placed.bottom;
  if (placed.top + dy < visible.top) dy = visible.top - placed.top;
  if (dx == 0 && dy == 0) return;
  std::vector<HWND> children;
  for (HWND child = GetWindow(window.client, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  for (HWND child : children) {
    RECT rect = RectInParent(child);
    SetWindowPos(child, nullptr, rect.left + dx, rect.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(window.client, nullptr, TRUE);
}

}  // namespace vel::windows
