// Property 7C96h: a control takes over another existing window in place of its own.

#include "runtime/controls/control_properties.h"
#include "runtime/controls/control_tooltips.h"
#include "runtime/controls/windowed_control.h"
#include "runtime/services/error_report.h"

namespace vel::controls {

void WindowedControl::ReplaceWindow(HWND replacement) {
  HWND old = m_handle;
  RECT place{};
  HWND parent = m_homeParent;
  HWND before = nullptr;
  LONG_PTR identifier = 0;
  if (old != nullptr && IsWindow(old)) {
    GetWindowRect(old, &place);
    parent = GetParent(old);
    before = GetWindow(old, GW_HWNDPREV);
    identifier = GetWindowLongPtrA(old, GWLP_ID);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    RemoveControlTip(*this);
    DestroyWindow(old);
  }
  m_handle = nullptr;
  if (replacement == nullptr || !IsWindow(replacement)) {
    services::ReportRuntimeError(kErrorInvalidHandle, "CTLMAIN - invalid handle");
    return;
  }
  m_handle = replacement;
  m_foreignWindow = true;
  if (parent != nullptr) {
    // A window that was top-level becomes a child before it moves in, as the platform expects.
    LONG_PTR style = GetWindowLongPtrA(replacement, GWL_STYLE);
    SetWindowLongPtrA(replacement, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
    SetParent(replacement, parent);
  }
  SetWindowLongPtrA(replacement, GWLP_ID, identifier);
  SetWindowPos(replacement, before != nullptr ? before : HWND_TOP, place.left, place.top,
               place.right - place.left, place.bottom - place.top, SWP_NOACTIVATE);
  ApplyEffectiveState();
  Refresh();
}

}  // namespace vel::controls
