#include "runtime/controls/common_control_handler.h"

#include <string>
#include <vector>

#include "runtime/controls/busy_cursor.h"
#include "runtime/controls/control_colours.h"
#include "runtime/controls/control_tooltips.h"
#include "runtime/controls/hot_control.h"
#include "runtime/controls/windowed_control.h"
#include "runtime/windows/drop_target.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

using namespace windows;  // the private message names

// The control's cursor, the busy cursor over it, or the first an ancestor sets.
void SetCursorOver(WindowedControl& control, LPARAM hitAndMessage) {
  HCURSOR cursor = BusyCursor() != nullptr ? BusyCursor() : control.Cursor();
  if (cursor != nullptr) {
    SetCursor(cursor);
    return;
  }
  // Each ancestor is asked as if the pointer were over it, so that its class cursor counts.
  for (HWND ancestor = GetParent(control.Handle()); ancestor != nullptr; ancestor = GetParent(ancestor)) {
    if (SendMessageA(ancestor, WM_SETCURSOR, reinterpret_cast<WPARAM>(ancestor), hitAndMessage) != 0) return;
    if ((GetWindowLongPtrA(ancestor, GWL_STYLE) & WS_CHILD) == 0) return;
  }
}

void RelayToTooltip(WindowedControl& control, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND tooltip = TooltipWindowOfSlot(control.Window().threadSlot);
  if (tooltip == nullptr) return;
  MSG relayed{};
  relayed.hwnd = control.Handle();
  relayed.message = message;
  relayed.wParam = wParam;
  relayed.lParam = lParam;
  SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

bool TooltipsSwitchedOff(const WindowedControl& control) {
  if (!TooltipsEnabled() || (control.Window().extraFlags & kExtraNoTooltip) != 0) return true;
  for (const ControlBase* holder = &control; holder != nullptr; holder = holder->Container()) {
    if (holder->ExtraFlags() & kExtraNoTooltip) return true;
  }
  return false;
}

// Answers a tooltip's request for the control's text; false for other notifications.
bool AnswerTooltipText(WindowedControl& control, LPARAM lParam) {
  auto* request = reinterpret_cast<NMTTDISPINFOA*>(lParam);
  if (request == nullptr || request->hdr.code != TTN_NEEDTEXTA) return false;
  if (!TooltipsSwitchedOff(control) && control.TooltipText()) {
    request->lpszText = const_cast<char*>(control.TooltipText()->c_str());
  }
  return true;
}

}  // namespace

LRESULT CommonControlHandler(WindowedControl& control, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT classResult, bool& passOn) {
  HWND self = control.Handle();
  switch (message) {
    case WM_COMMAND:
      if (!passOn) break;
      passOn = false;
      return control.Window().client != nullptr
                 ? SendMessageA(control.Window().client, message, wParam, lParam)
                 : 0;
    case WM_SETCURSOR:
      if (classResult != 0 || LOWORD(lParam) != HTCLIENT) break;
      passOn = false;
      SetCursorOver(control, lParam);
      return TRUE;
    case kCanTabMessage:
      if (!passOn) break;
      passOn = false;
      if (control.HasAttribute(kAttrTransparent)) return 0;
      return IsWindowVisible(self) ? 1 : 0;
    case kIsRuntimeControlMessage: passOn = false; return 1;
    case QUERY_PFIELD: passOn = false; return reinterpret_cast<LRESULT>(static_cast<ControlBase*>(&control));
    case WM_DROPFILES:
    case kDragQueryMessage:
    case kDropMessage:
    case kDragOverMessage:
    case kDragTextMessage:
      passOn = false;
      return *windows::HandleDropMessage(
          windows::DropHolder{&control.Window(), &control, &control.DropIdentifiers()}, message, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      control.PointerOver();
      RelayToTooltip(control, message, wParam, lParam);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: RelayToTooltip(control, message, wParam, lParam); break;
    case WM_SETFOCUS:
      if (passOn) control.AnnounceFocus();
      break;
    case WM_DESTROY:
      // The window goes with its top-level window as often as on its own: either way its tool
      // goes too.
      if (control.TooltipText()) RemoveControlTip(control);
      ForgetHotControl(control);
      break;
    case QUERY_COLOR: return AnswerColourQuery(control, reinterpret_cast<HDC>(wParam), passOn);
    case WM_NOTIFY:
    case QUERY_NOTIFY:
      if (AnswerTooltipText(control, lParam)) {
        passOn = false;
        return 0;
      }
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (!passOn) break;
      passOn = false;
      return SendMessageA(GetParent(self), message, wParam, lParam);
    default: break;
  }
  return classResult;
}

}  // namespace vel::controls
