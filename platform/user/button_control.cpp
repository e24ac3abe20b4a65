// The behaviour of the "Button" class: check state, pressing with the mouse (captured, shown
// pressed only while the pointer is inside) and with the space bar, clicks reported to the
// parent as BN_CLICKED, automatic check boxes and radio groups, and hot tracking through
// TrackMouseEvent. Drawing is in button_paint.cpp.

#include "platform/user/control_drawing.h"
#include "platform/user/standard_controls.h"

namespace vel::platform {
namespace {

LONG_PTR ButtonState(HWND button) { return GetWindowLongPtrA(button, kButtonStateOffset); }
void SetButtonState(HWND button, LONG_PTR state) {
  LONG_PTR old = SetWindowLongPtrA(button, kButtonStateOffset, state);
  if (old != state) InvalidateRect(button, nullptr, FALSE);
}
void AddState(HWND button, LONG_PTR bits) { SetButtonState(button, ButtonState(button) | bits); }
void RemoveState(HWND button, LONG_PTR bits) { SetButtonState(button, ButtonState(button) & ~bits); }

UINT ButtonType(HWND button) { return static_cast<UINT>(GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK); }

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (parent != nullptr) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
  }
}

// An automatic radio button that is clicked unchecks the others of its group.
void CheckRadioInGroup(HWND button) {
  HWND parent = GetParent(button);
  if (parent == nullptr) return;
  HWND member = button;
  do {
    if (member != button && (ButtonType(member) == BS_AUTORADIOBUTTON)) {
      SendMessageA(member, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    member = GetNextDlgGroupItem(parent, member, FALSE);
  } while (member != nullptr && member != button);
  SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
}

void Click(HWND button) {
  switch (ButtonType(button)) {
    case BS_AUTOCHECKBOX: {
      LRESULT checked = SendMessageA(button, BM_GETCHECK, 0, 0);
      SendMessageA(button, BM_SETCHECK, checked == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
      break;
    }
    case BS_AUTO3STATE: {
      LRESULT checked = SendMessageA(button, BM_GETCHECK, 0, 0);
      SendMessageA(button, BM_SETCHECK, (checked + 1) % 3, 0);
      break;
    }
    case BS_AUTORADIOBUTTON: CheckRadioInGroup(button); break;
    default: break;
  }
  NotifyParent(button, BN_CLICKED);
}

bool PointInClient(HWND window, LPARAM lParam) {
  RECT client{};
  GetClientRect(window, &client);
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&client, point) != FALSE;
}

// The button shows itself pressed or released through BM_SETSTATE sent to itself, so that a
// subclass sees every press and release, whatever caused it.
void ShowPushed(HWND button, bool pushed) {
  if (((ButtonState(button) & BST_PUSHED) != 0) != pushed) SendMessageA(button, BM_SETSTATE, pushed, 0);
}

// The pointer moved over the button: while the mouse holds it, it shows pressed only with the
// pointer inside; otherwise the button becomes hot until WM_MOUSELEAVE.
void MouseMoved(HWND button, LPARAM lParam) {
  if (GetCapture() == button) {
    ShowPushed(button, PointInClient(button, lParam));
    return;
  }
  if (ButtonState(button) & BST_HOT) return;
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, button, 0};
  if (TrackMouseEvent(&track)) AddState(button, BST_HOT);
}

}  // namespace

LRESULT CALLBACK ButtonProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_GETDLGCODE:
      switch (ButtonType(hWnd)) {
        case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX: return DLGC_STATIC;
        default: return DLGC_BUTTON;
      }
    case WM_NCHITTEST:
      if (ButtonType(hWnd) == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProcA(hWnd, Msg, wParam, lParam);
    case BM_GETCHECK: return ButtonState(hWnd) & (BST_CHECKED | BST_INDETERMINATE);
    case BM_SETCHECK:
      SetButtonState(hWnd, (ButtonState(hWnd) & ~(BST_CHECKED | BST_INDETERMINATE)) |
                               static_cast<LONG_PTR>(wParam & (BST_CHECKED | BST_INDETERMINATE)));
      return 0;
    case BM_GETSTATE: return ButtonState(hWnd);
    case BM_SETSTATE:
      if (wParam) {
        AddState(hWnd, BST_PUSHED);
      } else {
        RemoveState(hWnd, BST_PUSHED);
      }
      return 0;
    case BM_SETSTYLE: {
      LONG_PTR style = GetWindowLongPtrA(hWnd, GWL_STYLE);
      SetWindowLongPtrA(hWnd, GWL_STYLE, (style & ~0xFFFF) | (static_cast<LONG_PTR>(wParam) & 0xFFFF));
      if (lParam) InvalidateRect(hWnd, nullptr, TRUE);
      return 0;
    }
    case BM_SETIMAGE: {
      // The image shows instead of the text for BS_ICON and BS_BITMAP buttons.
      if (wParam != IMAGE_ICON && wParam != IMAGE_BITMAP) return 0;
      LRESULT previous = SetWindowLongPtrA(hWnd, kButtonImageOffset, lParam);
      InvalidateRect(hWnd, nullptr, TRUE);
      return previous;
    }
    case BM_GETIMAGE:
      if (wParam != IMAGE_ICON && wParam != IMAGE_BITMAP) return 0;
      return GetWindowLongPtrA(hWnd, kButtonImageOffset);
    case BM_CLICK:
      // A click as the mouse makes it: the press takes the focus, the release reports it. A
      // disabled button stays unusable.
      if (IsWindowEnabled(hWnd)) {
        SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageA(hWnd, WM_LBUTTONUP, 0, 0);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != hWnd) SetFocus(hWnd);
      SetCapture(hWnd);
      ShowPushed(hWnd, true);
      return 0;
    case WM_LBUTTONUP: {
      bool pushed = (ButtonState(hWnd) & BST_PUSHED) != 0;
      ShowPushed(hWnd, false);
      if (GetCapture() == hWnd) ReleaseCapture();
      if (pushed && PointInClient(hWnd, lParam)) Click(hWnd);
      return 0;
    }
    case WM_MOUSEMOVE: MouseMoved(hWnd, lParam); return 0;
    case WM_MOUSELEAVE: RemoveState(hWnd, BST_HOT); return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) ShowPushed(hWnd, true);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && (ButtonState(hWnd) & BST_PUSHED)) {
        ShowPushed(hWnd, false);
        Click(hWnd);
      }
      return 0;
    case WM_SETFOCUS: AddState(hWnd, BST_FOCUS); return 0;
    case WM_KILLFOCUS:
      RemoveState(hWnd, BST_FOCUS);
      ShowPushed(hWnd, false);
      if (GetCapture() == hWnd) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED: ShowPushed(hWnd, false); return 0;
    case WM_ENABLE:
      // A disabled button is neither hot nor pressed.
      if (!wParam) RemoveState(hWnd, BST_HOT | BST_PUSHED);
      InvalidateRect(hWnd, nullptr, TRUE);
      return 0;
    case WM_PAINT: PaintControl(hWnd, wParam, [hWnd](HDC dc) { PaintButton(hWnd, dc); }); return 0;
    default: {
      LRESULT result = 0;
      if (HandleCommonControlMessage(hWnd, Msg, wParam, lParam, kButtonFontOffset, &result)) return result;
      return DefWindowProcA(hWnd, Msg, wParam, lParam);
    }
  }
}

}  // namespace vel::platform
