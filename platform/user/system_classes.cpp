// The classes every program may use without registering them: the dialog class and the
// behaviour of "Button" and "Static" (their drawing belongs to whoever paints controls, which
// can superclass them and keep this behaviour).

#include <mutex>

#include "platform/user/window_class.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

// Button state lives in the window's extra bytes, ahead of any bytes a superclass adds.
constexpr int kButtonStateOffset = 0;
constexpr int kButtonExtraBytes = sizeof(LONG_PTR);

LONG_PTR ButtonState(HWND button) { return GetWindowLongPtrA(button, kButtonStateOffset); }
void SetButtonState(HWND button, LONG_PTR state) {
  LONG_PTR old = SetWindowLongPtrA(button, kButtonStateOffset, state);
  if (old != state) InvalidateRect(button, nullptr, FALSE);
}

UINT ButtonType(HWND button) { return static_cast<UINT>(GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK); }

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (parent != nullptr) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
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

// New text means the control must be drawn again.
LRESULT SetTextAndRedraw(HWND control, WPARAM wParam, LPARAM lParam) {
  LRESULT result = DefWindowProcA(control, WM_SETTEXT, wParam, lParam);
  InvalidateRect(control, nullptr, TRUE);
  return result;
}

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
      SetButtonState(hWnd, wParam ? ButtonState(hWnd) | BST_PUSHED : ButtonState(hWnd) & ~BST_PUSHED);
      return 0;
    case BM_SETSTYLE: {
      LONG_PTR style = GetWindowLongPtrA(hWnd, GWL_STYLE);
      SetWindowLongPtrA(hWnd, GWL_STYLE, (style & ~0xFFFF) | (static_cast<LONG_PTR>(wParam) & 0xFFFF));
      if (lParam) InvalidateRect(hWnd, nullptr, TRUE);
      return 0;
    }
    case BM_CLICK:
      if (IsWindowEnabled(hWnd)) Click(hWnd);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != hWnd) SetFocus(hWnd);
      SetCapture(hWnd);
      SetButtonState(hWnd, ButtonState(hWnd) | BST_PUSHED);
      return 0;
    case WM_LBUTTONUP: {
      bool pushed = (ButtonState(hWnd) & BST_PUSHED) != 0;
      SetButtonState(hWnd, ButtonState(hWnd) & ~BST_PUSHED);
      if (GetCapture() == hWnd) ReleaseCapture();
      RECT client{};
      GetClientRect(hWnd, &client);
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (pushed && PtInRect(&client, point)) Click(hWnd);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) SetButtonState(hWnd, ButtonState(hWnd) | BST_PUSHED);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && (ButtonState(hWnd) & BST_PUSHED)) {
        SetButtonState(hWnd, ButtonState(hWnd) & ~BST_PUSHED);
        Click(hWnd);
      }
      return 0;
    case WM_SETFOCUS:
      SetButtonState(hWnd, ButtonState(hWnd) | BST_FOCUS);
      return 0;
    case WM_KILLFOCUS:
      SetButtonState(hWnd, ButtonState(hWnd) & ~(BST_FOCUS | BST_PUSHED));
      if (GetCapture() == hWnd) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      SetButtonState(hWnd, ButtonState(hWnd) & ~BST_PUSHED);
      return 0;
    case WM_ENABLE: InvalidateRect(hWnd, nullptr, TRUE); return 0;
    case WM_SETTEXT: return SetTextAndRedraw(hWnd, wParam, lParam);
    default: return DefWindowProcA(hWnd, Msg, wParam, lParam);
  }
}

LRESULT CALLBACK StaticProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST:
      if (!(GetWindowLongPtrA(hWnd, GWL_STYLE) & SS_NOTIFY)) return HTTRANSPARENT;
      return DefWindowProcA(hWnd, Msg, wParam, lParam);
    case WM_SETTEXT: return SetTextAndRedraw(hWnd, wParam, lParam);
    default: return DefWindowProcA(hWnd, Msg, wParam, lParam);
  }
}

LRESULT CALLBACK DialogProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcA(hWnd, Msg, wParam, lParam);
}

}  // namespace

void RegisterSystemClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    auto add = [](const char* name, UINT style, WNDPROC procedure, int extraBytes, HBRUSH background) {
      WNDCLASSEXA description{sizeof(WNDCLASSEXA), style | CS_GLOBALCLASS, procedure, 0, extraBytes,
                              nullptr, nullptr, nullptr, background, nullptr, name, nullptr};
      AddWindowClass(description);
    };
    add("#32770", CS_DBLCLKS | CS_SAVEBITS, DialogProcedure, DLGWINDOWEXTRA,
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    add("Button", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_PARENTDC, ButtonProcedure, kButtonExtraBytes, nullptr);
    add("Static", CS_DBLCLKS | CS_PARENTDC, StaticProcedure, 0, nullptr);
  });
}

}  // namespace vel::platform
