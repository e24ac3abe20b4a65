// The dialog manager: keyboard navigation (IsDialogMessageA), the default dialog procedure and
// the default push button.

#include <mutex>
#include <unordered_map>

#include "platform/user/dialog_box.h"
#include "platform/user/dialog_navigation.h"
#include "platform/user/paint_state.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

struct DialogState {
  HWND savedFocus = nullptr;
  /// 0: the dialog has no default button (Enter then means IDOK).
  UINT defaultId = 0;
};

std::mutex g_mutex;
std::unordered_map<HWND, DialogState>& States() {
  static auto* states = new std::unordered_map<HWND, DialogState>();
  return *states;
}

DialogState StateOf(HWND dialog) {
  std::lock_guard lock(g_mutex);
  auto found = States().find(dialog);
  return found != States().end() ? found->second : DialogState{};
}

void SaveState(HWND dialog, const DialogState& state) {
  std::lock_guard lock(g_mutex);
  States()[dialog] = state;
}

LRESULT DialogCode(HWND control, const MSG* msg = nullptr) {
  return control != nullptr ? SendMessageA(control, WM_GETDLGCODE, msg != nullptr ? msg->wParam : 0,
                                           reinterpret_cast<LPARAM>(msg))
                            : 0;
}

bool IsPushButton(LRESULT code) { return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0; }

// The focus is inside the dialog when it is the dialog itself or one of its descendants.
bool FocusInside(HWND dialog, HWND focus) { return focus != nullptr && (focus == dialog || IsChild(dialog, focus)); }

// Moves the focus to a control the way the dialog manager does: the default push button look
// follows a focused push button and otherwise stays with the dialog's default button, and an
// edit control that can select its text has it all selected.
void FocusControl(HWND dialog, HWND control) {
  if (control == nullptr) return;
  LRESULT newCode = DialogCode(control);
  HWND oldFocus = GetFocus();
  UINT defaultId = StateOf(dialog).defaultId;
  HWND defaultButton = defaultId != 0 ? GetDlgItem(dialog, static_cast<int>(defaultId)) : nullptr;
  if (oldFocus != nullptr && oldFocus != control && IsChild(dialog, oldFocus) &&
      (DialogCode(oldFocus) & DLGC_DEFPUSHBUTTON) && (IsPushButton(newCode) || oldFocus != defaultButton)) {
    SendMessageA(oldFocus, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  if (newCode & DLGC_UNDEFPUSHBUTTON) {
    if (defaultButton != nullptr && defaultButton != control && (DialogCode(defaultButton) & DLGC_DEFPUSHBUTTON)) {
      SendMessageA(defaultButton, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    SendMessageA(control, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  } else if (!IsPushButton(newCode) && defaultButton != nullptr &&
             (DialogCode(defaultButton) & DLGC_UNDEFPUSHBUTTON)) {
    SendMessageA(defaultButton, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
  if (newCode & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

void RestoreFocus(HWND dialog) {
  HWND saved = StateOf(dialog).savedFocus;
  if (saved != nullptr && IsChild(dialog, saved) && CanTakeFocus(saved)) {
    FocusControl(dialog, saved);
    return;
  }
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (first != nullptr) FocusControl(dialog, first);
}

void SetDefaultId(HWND dialog, UINT id) {
  DialogState state = StateOf(dialog);
  HWND oldButton = state.defaultId != 0 ? GetDlgItem(dialog, static_cast<int>(state.defaultId)) : nullptr;
  HWND newButton = id != 0 ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr;
  HWND focus = GetFocus();
  bool focusOnPushButton = focus != nullptr && IsChild(dialog, focus) && IsPushButton(DialogCode(focus));
  if (oldButton != nullptr && oldButton != newButton && (DialogCode(oldButton) & DLGC_DEFPUSHBUTTON)) {
    SendMessageA(oldButton, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  // While another push button has the focus it keeps the default look.
  if (newButton != nullptr && (!focusOnPushButton || focus == newButton) &&
      (DialogCode(newButton) & DLGC_UNDEFPUSHBUTTON)) {
    SendMessageA(newButton, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
  state.defaultId = id;
  SaveState(dialog, state);
}

void Command(HWND dialog, int id, HWND control) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// Enter: a focused push button with the default look is pressed; otherwise (a plain push
// button included) the dialog's default button, or IDOK when the dialog has none.
void PressEnter(HWND dialog, HWND focus) {
  if (focus != nullptr && IsChild(dialog, focus) && (DialogCode(focus) & DLGC_DEFPUSHBUTTON)) {
    if (IsWindowEnabled(focus)) Command(dialog, GetDlgCtrlID(focus), focus);
    return;
  }
  LRESULT defId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
  if (HIWORD(defId) == DC_HASDEFID) {
    int id = LOWORD(defId);
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr || (IsWindowEnabled(button) && IsWindowVisible(button))) Command(dialog, id, button);
    return;
  }
  Command(dialog, IDOK, GetDlgItem(dialog, IDOK));
}

bool IsArrow(WPARAM key) { return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN; }

}  // namespace
}  // namespace vel::platform

using namespace vel::platform;

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
  if (lpMsg == nullptr || hDlg == nullptr || !IsWindow(hDlg)) return FALSE;
  if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)) return FALSE;
  if (lpMsg->message == WM_KEYDOWN) {
    LRESULT code = DialogCode(lpMsg->hwnd, lpMsg);
    if (!(code & DLGC_WANTMESSAGE)) {
      HWND focus = GetFocus();
      switch (lpMsg->wParam) {
        case VK_TAB: {
          if (code & DLGC_WANTTAB) break;
          // The dialog manager moves the focus itself, so navigation also works in windows
          // whose procedure is not the dialog procedure.
          HWND next = GetNextDlgTabItem(hDlg, FocusInside(hDlg, focus) ? focus : nullptr,
                                        GetKeyState(VK_SHIFT) < 0 ? TRUE : FALSE);
          if (next != nullptr) FocusControl(hDlg, next);
          return TRUE;
        }
        case VK_RETURN: PressEnter(hDlg, focus); return TRUE;
        case VK_ESCAPE: Command(hDlg, IDCANCEL, GetDlgItem(hDlg, IDCANCEL)); return TRUE;
        default:
          if (IsArrow(lpMsg->wParam) && !(code & DLGC_WANTARROWS)) {
            bool previous = lpMsg->wParam == VK_LEFT || lpMsg->wParam == VK_UP;
            HWND next = GetNextDlgGroupItem(hDlg, focus != nullptr && IsChild(hDlg, focus) ? focus : nullptr,
                                            previous ? TRUE : FALSE);
            if (next != nullptr && next != focus) {
              FocusControl(hDlg, next);
              // Moving onto an automatic radio button selects it, as a click would.
              if ((DialogCode(next) & DLGC_RADIOBUTTON) &&
                  (GetWindowLongPtrA(next, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
                SendMessageA(next, BM_CLICK, 0, 0);
              }
            }
            return TRUE;
          }
          break;
      }
    }
  }
  if (lpMsg->message == WM_CHAR && (lpMsg->wParam == '\t' || lpMsg->wParam == '\r' || lpMsg->wParam == 0x1B)) {
    // The key that navigated already did its work; its character goes nowhere unless the
    // control asked for it.
    if (!(DialogCode(lpMsg->hwnd, lpMsg) & (DLGC_WANTCHARS | DLGC_WANTMESSAGE))) return TRUE;
  }
  TranslateMessage(lpMsg);
  DispatchMessageA(lpMsg);
  return TRUE;
}

LRESULT WINAPI DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto dialogProcedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(hDlg, DWLP_DLGPROC));
  if (dialogProcedure != nullptr) {
    SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, 0);
    INT_PTR handled = dialogProcedure(hDlg, Msg, wParam, lParam);
    if (handled) {
      switch (Msg) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG: return handled;
        default: return GetWindowLongPtrA(hDlg, DWLP_MSGRESULT);
      }
    }
  }
  switch (Msg) {
    case WM_NEXTDLGCTL: {
      HWND target = nullptr;
      if (LOWORD(lParam)) {
        target = reinterpret_cast<HWND>(wParam);
      } else {
        HWND focus = GetFocus();
        target = GetNextDlgTabItem(hDlg, FocusInside(hDlg, focus) ? focus : nullptr, wParam != 0 ? TRUE : FALSE);
      }
      if (target != nullptr) FocusControl(hDlg, target);
      return 0;
    }
    case DM_GETDEFID: {
      UINT id = StateOf(hDlg).defaultId;
      return id != 0 ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID: SetDefaultId(hDlg, static_cast<UINT>(wParam)); return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hDlg, focus)) {
          DialogState state = StateOf(hDlg);
          state.savedFocus = focus;
          SaveState(hDlg, state);
        }
      } else if (!HIWORD(wParam)) {
        RestoreFocus(hDlg);
      }
      return 0;
    case WM_SETFOCUS: RestoreFocus(hDlg); return 0;
    case WM_ERASEBKGND: {
      // A dialog's background is whatever brush it answers WM_CTLCOLORDLG with, not its class
      // brush: dialog classes usually have none, and a dialog procedure colours itself that way.
      auto dc = reinterpret_cast<HDC>(wParam);
      WindowDcProvider* provider = CurrentWindowDcProvider();
      if (dc == nullptr || provider == nullptr) return 0;
      auto brush = reinterpret_cast<HBRUSH>(SendMessageA(hDlg, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hDlg)));
      if (brush == nullptr || GetObjectType(brush) != OBJ_BRUSH) brush = GetSysColorBrush(COLOR_BTNFACE);
      RECT client{};
      GetClientRect(hDlg, &client);
      provider->FillBackground(dc, client, brush);
      return 1;
    }
    case WM_CLOSE: PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL))); return 0;
    case WM_NCDESTROY: {
      {
        std::lock_guard lock(g_mutex);
        States().erase(hDlg);
      }
      ForgetDialogUnits(hDlg);
      return DefWindowProcA(hDlg, Msg, wParam, lParam);
    }
    default: return DefWindowProcA(hDlg, Msg, wParam, lParam);
  }
}
