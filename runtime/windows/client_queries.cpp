#include "runtime/windows/client_queries.h"

#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

void GiveFocusBack(const WindowObject& window) {
  HWND back = window.lastFocusWindow;
  if (back == nullptr || !IsWindow(back) || !IsChild(window.client, back)) return;
  HWND parent = GetParent(back);
  if (parent != nullptr) SendMessageA(parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(back), TRUE);
}

// The control's brush for a window it paints (its own, or one inside it), or empty.
std::optional<LRESULT> ControlBrush(const WindowObject& window, WPARAM deviceContext, LPARAM painting) {
  WindowControl* control = window.ControlOfHandle(reinterpret_cast<HWND>(painting));
  if (control == nullptr || control->Handle() == nullptr) return std::nullopt;
  LRESULT brush = SendMessageA(control->Handle(), QUERY_COLOR, deviceContext, 0);
  if (brush == 0) return std::nullopt;
  return brush;
}

// The window's background: the first colour of its triple, else the system's button face, as
// the platform's dialogs are.
LRESULT EraseBackground(const WindowObject& window, HDC dc) {
  RECT area{};
  GetClientRect(window.client, &area);
  std::uint32_t colour = window.colours.values[0];
  if (colour == kNoColour) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  } else if (colour & 0x80000000u) {
    FillRect(dc, &area, GetSysColorBrush(static_cast<int>(colour & 0xFFFF)));
  } else {
    HBRUSH brush = CreateSolidBrush(colour & 0x00FFFFFF);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
  }
  return 1;
}

}  // namespace

std::optional<LRESULT> HandleClientQuery(WindowObject& window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case QUERY_SELECTED:
      if (WindowControl* control = window.ControlOfHandle(reinterpret_cast<HWND>(wParam))) {
        PostEvent(window, EVENT_Selected, control);
      }
      return 0;
    case QUERY_LOSEFOCUS: GiveFocusBack(window); return 0;
    case QUERY_PSCREEN: return reinterpret_cast<LRESULT>(&window);
    case WM_ERASEBKGND:
      if (wParam == 0) return std::nullopt;
      return EraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return ControlBrush(window, wParam, lParam);
    default: return std::nullopt;
  }
}

}  // namespace vel::windows
