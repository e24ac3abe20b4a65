// The toolbar window's procedure: the strip's painting, cursor and colours, the click on an empty
// part (which closes an open drop list), and the traffic of its controls, which goes on to the
// window the toolbar sits in. Everything else is the dialog manager's, so that Tab and the
// arrows move among the toolbar's controls.

#include <algorithm>

#include "runtime/controls/busy_cursor.h"
#include "runtime/controls/control_brushes.h"
#include "runtime/controls/drop_list_control.h"
#include "runtime/controls/toolbar_control.h"
#include "runtime/controls/windowed_control.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/runtime_lock.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

ToolbarControl* ToolbarOf(HWND window) {
  return reinterpret_cast<ToolbarControl*>(GetWindowLongPtrA(window, kToolbarObjectOffset));
}

bool IsControlColourMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

}  // namespace

LRESULT CALLBACK ToolbarWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  windows::WindowProcedureLock lock;
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* toolbar = creation != nullptr ? static_cast<ToolbarControl*>(creation->lpCreateParams) : nullptr;
    SetWindowLongPtrA(window, kToolbarObjectOffset, reinterpret_cast<LONG_PTR>(toolbar));
    if (toolbar != nullptr) toolbar->m_handle = window;
    return DefDlgProcA(window, message, wParam, lParam);
  }
  ToolbarControl* toolbar = ToolbarOf(window);
  if (toolbar == nullptr) return DefDlgProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, kToolbarObjectOffset, 0);
    toolbar->m_handle = nullptr;
    return DefDlgProcA(window, message, wParam, lParam);
  }
  return toolbar->HandleMessage(message, wParam, lParam);
}

LRESULT ToolbarControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND parent = GetParent(m_handle);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SendMessageA(parent, windows::QUERY_PSCREEN, 0, 0);
      CloseDropListOnClick();
      return 0;
    case WM_PAINT: Paint(); return 1;
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT) break;
      return SetCursorOver();
    case WM_MOUSEACTIVATE:
      if (parent != nullptr && GetActiveWindow() != parent) SetActiveWindow(parent);
      return MA_NOACTIVATE;
    case windows::QUERY_SELECTED:
    case windows::QUERY_PSCREEN:
    case WM_COMMAND: return SendMessageA(parent, message, wParam, lParam);
    case WM_NOTIFY: return PassNotification(wParam, lParam);
    case windows::QUERY_HOTCHANGE: RebuildKeyTables(); return 0;
    case WM_SIZE:
      // The controls keep the places their definitions give; the bottom line follows the width.
      InvalidateRect(m_handle, nullptr, TRUE);
      return 0;
    default:
      if (IsControlColourMessage(message)) return ControlColours(wParam, lParam);
      break;
  }
  return DefDlgProcA(m_handle, message, wParam, lParam);
}

void ToolbarControl::CloseDropListOnClick() {
  if (OpenDropList() != nullptr) CloseOpenDropList();
}

void ToolbarControl::Paint() {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(m_handle, &ps);
  if (dc == nullptr) {
    EndPaint(m_handle, &ps);
    return;
  }
  RECT area{};
  GetClientRect(m_handle, &area);
  int line = GetSystemMetrics(SM_CYBORDER);
  RECT face{area.left, area.top, area.right, std::max(area.top, area.bottom - line)};
  FillRect(dc, &face, BrushForColourValue(BackgroundValue()));
  // The line under the strip parts it from the client area below.
  RECT bottom{area.left, face.bottom, area.right, area.bottom};
  FillRect(dc, &bottom, GetSysColorBrush(COLOR_3DSHADOW));
  EndPaint(m_handle, &ps);
}

LRESULT ToolbarControl::SetCursorOver() {
  HCURSOR cursor = BusyCursor();
  if (cursor == nullptr) {
    POINT pointer{};
    GetCursorPos(&pointer);
    ScreenToClient(m_handle, &pointer);
    HWND under = ChildWindowFromPointEx(m_handle, pointer, CWP_SKIPINVISIBLE);
    if (WindowedControl* control = under != nullptr && under != m_handle ? ChildOfWindow(under) : nullptr)
      cursor = control->Cursor();
  }
  if (cursor == nullptr) cursor = m_cursor.handle;
  if (cursor == nullptr) {
    HWND parent = GetParent(m_handle);
    cursor = parent != nullptr ? reinterpret_cast<HCURSOR>(GetClassLongPtrA(parent, GCLP_HCURSOR)) : nullptr;
  }
  SetCursor(cursor);
  return TRUE;
}

LRESULT ToolbarControl::ControlColours(WPARAM deviceContext, LPARAM painting) {
  // A control of the toolbar answers for its own colours, as it does on the client window.
  if (WindowedControl* control = ChildOfWindow(reinterpret_cast<HWND>(painting))) {
    if (control->Handle() != nullptr) {
      LRESULT brush = SendMessageA(control->Handle(), windows::QUERY_COLOR, deviceContext, 0);
      if (brush != 0) return brush;
    }
  }
  auto dc = reinterpret_cast<HDC>(deviceContext);
  HBRUSH brush = BrushForColourValue(BackgroundValue());
  LOGBRUSH description{};
  if (GetObjectA(brush, sizeof description, &description) != 0) SetBkColor(dc, description.lbColor);
  return reinterpret_cast<LRESULT>(brush);
}

LRESULT ToolbarControl::PassNotification(WPARAM wParam, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header == nullptr) return 0;
  WindowedControl* control = ChildWithIdentifier(header->idFrom);
  if (control == nullptr || control->Handle() == nullptr) return 0;
  return SendMessageA(control->Handle(), windows::QUERY_NOTIFY, wParam, lParam);
}

}  // namespace vel::controls
