#include "runtime/windows/window_state.h"

#include "runtime/windows/definition_record.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_open.h"

namespace vel::windows {
namespace {

enum GeometryIndex : int { kX = 0, kY = 1, kWidth = 2, kHeight = 3 };

constexpr UINT kQuietPosition = SWP_NOZORDER | SWP_NOACTIVATE;

// Opening builds no menu bar yet, so a window's frame never makes room for one; keep the
// frame computed here the same as at opening.
constexpr bool kHasMenuBar = false;

UnitConverter ConverterOf(const WindowObject& window) { return UnitConverter(window.flags, window.metrics); }

DWORD StyleOf(const WindowObject& window) { return static_cast<DWORD>(GetWindowLongA(window.handle, GWL_STYLE)); }

DWORD ExtendedStyleOf(const WindowObject& window) {
  return static_cast<DWORD>(GetWindowLongA(window.handle, GWL_EXSTYLE));
}

void SetAttribute(WindowObject& window, std::uint32_t bit, bool on) {
  if (on) window.attributes |= bit;
  else window.attributes &= ~bit;
}

}  // namespace

std::int32_t WindowGeometry(const WindowObject& window, int index) {
  UnitConverter converter = ConverterOf(window);
  RECT outer{};
  RECT client{};
  GetWindowRect(window.handle, &outer);
  GetClientRect(window.handle, &client);
  switch (index) {
    case kX: return converter.FromPixelsX(outer.left);
    case kY: return converter.FromPixelsY(outer.top);
    case kWidth: return converter.FromPixelsX(client.right - client.left);
    case kHeight: return converter.FromPixelsY(client.bottom - client.top);
    default: return 0;
  }
}

void SetWindowGeometry(WindowObject& window, int index, std::int32_t value) {
  UnitConverter converter = ConverterOf(window);
  RECT outer{};
  RECT client{};
  GetWindowRect(window.handle, &outer);
  GetClientRect(window.handle, &client);
  if (index == kX || index == kY) {
    int x = index == kX ? converter.ToPixelsX(value) : outer.left;
    int y = index == kY ? converter.ToPixelsY(value) : outer.top;
    SetWindowPos(window.handle, nullptr, x, y, 0, 0, kQuietPosition | SWP_NOSIZE);
    return;
  }
  if (index != kWidth && index != kHeight) return;
  std::int32_t pixels = index == kWidth ? converter.ToPixelsX(value) : converter.ToPixelsY(value);
  if (pixels < 0) pixels = 0;
  RECT wanted{0, 0, client.right - client.left, client.bottom - client.top};
  if (index == kWidth) wanted.right = pixels;
  else wanted.bottom = pixels;
  AdjustWindowRectEx(&wanted, StyleOf(window), kHasMenuBar, ExtendedStyleOf(window));
  SetWindowPos(window.handle, nullptr, 0, 0, wanted.right - wanted.left, wanted.bottom - wanted.top,
               kQuietPosition | SWP_NOMOVE);
}

bool IsWindowMinimised(const WindowObject& window) {
  if (!window.shown) return (window.attributes & kAttrMinimised) != 0;
  return IsIconic(window.handle) != FALSE;
}

bool IsWindowMaximised(const WindowObject& window) {
  if (!window.shown) return (window.attributes & kAttrMinimised) == 0 && (window.attributes & kAttrMaximised) != 0;
  return IsZoomed(window.handle) != FALSE;
}

void SetWindowMinimised(WindowObject& window, bool minimised) {
  // Showing the window now would make its first ACCEPT step show it again in the state of its
  // attributes, losing the change; the attributes carry it to that first showing instead.
  if (!window.shown) {
    SetAttribute(window, kAttrMinimised, minimised);
    return;
  }
  if (minimised) ShowWindow(window.handle, SW_SHOWMINNOACTIVE);
  else if (IsIconic(window.handle)) ShowWindow(window.handle, SW_SHOWNOACTIVATE);
}

void SetWindowMaximised(WindowObject& window, bool maximised) {
  if (!window.shown) {
    SetAttribute(window, kAttrMaximised, maximised);
    if (maximised) SetAttribute(window, kAttrMinimised, false);
    return;
  }
  if (!maximised) ShowWindow(window.handle, SW_RESTORE);
  else if (!IsZoomed(window.handle)) ShowWindow(window.handle, SW_MAXIMIZE);
}

void SetWindowTitle(WindowObject& window, std::string title) {
  window.title = std::move(title);
  SetWindowTextA(window.handle, window.title.c_str());
  DWORD style = StyleOf(window);
  DWORD caption =
      WindowStyleFor(window.attributes, !window.title.empty(), window.definitionHasIcon, kHasMenuBar) & WS_CAPTION;
  DWORD updated = (style & ~static_cast<DWORD>(WS_CAPTION)) | caption;
  if (updated == style) return;
  SetWindowLongA(window.handle, GWL_STYLE, static_cast<LONG>(updated));
  SetWindowPos(window.handle, nullptr, 0, 0, 0, 0, kQuietPosition | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
}

}  // namespace vel::windows
