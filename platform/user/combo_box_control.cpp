// The behaviour of the "ComboBox" class, drop-down list kind: the items live in a "ComboLBox"
// list that drops below the field (F4, Alt+Down or a click), follows the pointer while down and
// closes on a click (choosing the item under it), Enter, Esc or a click elsewhere. With the
// list closed the caret keys and typed letters change the selection at once. The parent hears
// CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK or CBN_SELENDCANCEL, CBN_CLOSEUP and the focus
// notifications. Drawing is in combo_box_paint.cpp.

#include <algorithm>
#include <cstring>

#include "platform/user/combo_box_state.h"
#include "platform/user/control_drawing.h"
#include "platform/user/control_state.h"
#include "platform/user/list_box_state.h"
#include "platform/user/standard_controls.h"

namespace vel::platform {

ComboBoxState* ComboBoxStateOf(HWND combo) {
  return reinterpret_cast<ComboBoxState*>(GetWindowLongPtrA(combo, kComboStateOffset));
}

namespace {

void Notify(HWND combo, int code) {
  if (HWND parent = GetParent(combo)) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), static_cast<WORD>(code)),
                 reinterpret_cast<LPARAM>(combo));
  }
}

int Selection(const ComboBoxState& state) {
  return static_cast<int>(SendMessageA(state.list, LB_GETCURSEL, 0, 0));
}

int FieldHeight(HWND combo) {
  int row = MeasureRowHeight(combo);
  return row + 2 * GetSystemMetrics(SM_CYEDGE) + 4;
}

void Drop(HWND combo, ComboBoxState& state) {
  if (state.dropped || state.list == nullptr) return;
  Notify(combo, CBN_DROPDOWN);
  ListBoxState* list = ListBoxStateOf(state.list);
  RECT field{};
  GetWindowRect(combo, &field);
  int rows = std::max(1, static_cast<int>(list->items.size()));
  int border = 2 * GetSystemMetrics(SM_CYBORDER);
  int height = std::min(state.droppedHeight, rows * std::max(1, list->itemHeight) + border);
  height = std::max(height, list->itemHeight + border);
  int y = field.bottom;
  // Below the field when it fits on the screen, else above it.
  if (y + height > GetSystemMetrics(SM_CYSCREEN) && field.top - height >= 0) y = field.top - height;
  state.selectionBeforeDrop = Selection(state);
  SetWindowPos(state.list, HWND_TOPMOST, field.left, y, field.right - field.left, height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // The list opens from its first row, scrolled only as far as the selection needs.
  ScrollListTo(state.list, *list, 0);
  if (state.selectionBeforeDrop >= 0) ShowRow(state.list, *list, state.selectionBeforeDrop);
  state.dropped = true;
  SetCapture(state.list);
  InvalidateRect(combo, nullptr, TRUE);
}

// Closes the list: `accept` keeps the item the list shows selected, otherwise the selection
// from before the drop comes back.
void CloseUp(HWND combo, ComboBoxState& state, bool accept) {
  if (!state.dropped) return;
  state.dropped = false;
  int chosen = Selection(state);
  if (!accept && chosen != state.selectionBeforeDrop) {
    SendMessageA(state.list, LB_SETCURSEL, static_cast<WPARAM>(state.selectionBeforeDrop), 0);
    chosen = state.selectionBeforeDrop;
  }
  if (GetCapture() == state.list) ReleaseCapture();
  ShowWindow(state.list, SW_HIDE);
  InvalidateRect(combo, nullptr, TRUE);
  Notify(combo, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
  Notify(combo, CBN_CLOSEUP);
  if (accept && chosen != state.selectionBeforeDrop) Notify(combo, CBN_SELCHANGE);
}

// The caret keys and letters with the list closed: the selection changes at once.
void SelectByKey(HWND combo, ComboBoxState& state, int target) {
  auto count = static_cast<int>(SendMessageA(state.list, LB_GETCOUNT, 0, 0));
  if (count == 0) return;
  target = std::clamp(target, 0, count - 1);
  if (target == Selection(state)) return;
  SendMessageA(state.list, LB_SETCURSEL, static_cast<WPARAM>(target), 0);
  InvalidateRect(combo, nullptr, TRUE);
  if (!state.dropped) Notify(combo, CBN_SELCHANGE);
}

bool KeyDown(HWND combo, ComboBoxState& state, WPARAM key) {
  bool alt = GetKeyState(VK_MENU) < 0;
  if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
    if (state.dropped) {
      CloseUp(combo, state, true);
    } else {
      Drop(combo, state);
    }
    return true;
  }
  if (state.dropped && (key == VK_RETURN || key == VK_ESCAPE)) {
    CloseUp(combo, state, key == VK_RETURN);
    return true;
  }
  int current = Selection(state);
  ListBoxState* list = ListBoxStateOf(state.list);
  int page = list != nullptr ? std::max(1, VisibleRows(state.list, *list) - 1) : 1;
  switch (key) {
    case VK_UP: SelectByKey(combo, state, current - 1); return true;
    case VK_DOWN: SelectByKey(combo, state, current + 1); return true;
    case VK_PRIOR: SelectByKey(combo, state, current - page); return true;
    case VK_NEXT: SelectByKey(combo, state, current + page); return true;
    case VK_HOME: SelectByKey(combo, state, 0); return true;
    case VK_END: SelectByKey(combo, state, static_cast<int>(SendMessageA(state.list, LB_GETCOUNT, 0, 0)) - 1); return true;
    default: return false;
  }
}

void TypeAhead(HWND combo, ComboBoxState& state, WPARAM ch) {
  if (ch < 0x20 || ch > 0xFF) return;
  char text[2] = {static_cast<char>(ch), 0};
  LRESULT found = SendMessageA(state.list, LB_FINDSTRING, static_cast<WPARAM>(Selection(state)), reinterpret_cast<LPARAM>(text));
  if (found != LB_ERR) SelectByKey(combo, state, static_cast<int>(found));
}

HWND CreateDropList(HWND combo, const CREATESTRUCTA& create) {
  DWORD listStyle = WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  if (create.style & CBS_SORT) listStyle |= LBS_SORT;
  if (create.style & CBS_HASSTRINGS) listStyle |= LBS_HASSTRINGS;
  if (create.style & CBS_OWNERDRAWFIXED) listStyle |= LBS_OWNERDRAWFIXED;
  if (create.style & CBS_OWNERDRAWVARIABLE) listStyle |= LBS_OWNERDRAWVARIABLE;
  HWND list = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "ComboLBox", "", listStyle, 0, 0, 10, 10, combo,
                              nullptr, create.hInstance, nullptr);
  if (ListBoxState* state = list != nullptr ? ListBoxStateOf(list) : nullptr) state->combo = combo;
  return list;
}

// CB_* messages that are the list's LB_* ones.
UINT ListMessageFor(UINT message) {
  switch (message) {
    case CB_ADDSTRING: return LB_ADDSTRING;
    case CB_INSERTSTRING: return LB_INSERTSTRING;
    case CB_DELETESTRING: return LB_DELETESTRING;
    case CB_GETCOUNT: return LB_GETCOUNT;
    case CB_GETCURSEL: return LB_GETCURSEL;
    case CB_GETLBTEXT: return LB_GETTEXT;
    case CB_GETLBTEXTLEN: return LB_GETTEXTLEN;
    case CB_FINDSTRING: return LB_FINDSTRING;
    case CB_FINDSTRINGEXACT: return LB_FINDSTRINGEXACT;
    case CB_GETITEMDATA: return LB_GETITEMDATA;
    case CB_SETITEMDATA: return LB_SETITEMDATA;
    case CB_GETITEMHEIGHT: return LB_GETITEMHEIGHT;
    default: return 0;
  }
}

LRESULT HandleComboMessage(HWND combo, ComboBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  if (UINT listMessage = ListMessageFor(message)) {
    LRESULT result = SendMessageA(state.list, listMessage, wParam, lParam);
    if (message == CB_DELETESTRING || message == CB_INSERTSTRING || message == CB_ADDSTRING) {
      InvalidateRect(combo, nullptr, TRUE);
    }
    return result;
  }
  switch (message) {
    case WM_NCCREATE: {
      // The scroll bars a combo box is given belong to its list, which always has one.
      LONG_PTR style = GetWindowLongPtrA(combo, GWL_STYLE);
      SetWindowLongPtrA(combo, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
      return DefWindowProcA(combo, message, wParam, lParam);
    }
    case WM_CREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      state.list = CreateDropList(combo, *create);
      if (state.list == nullptr) return -1;
      int field = FieldHeight(combo);
      state.droppedHeight = std::max(create->cy - field, MeasureRowHeight(combo) + 2);
      SetWindowPos(combo, nullptr, 0, 0, create->cx, field, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      if (state.list != nullptr) DestroyWindow(state.list);
      state.list = nullptr;
      return 0;
    case WM_GETDLGCODE: {
      // While the list is down, Enter and Esc close it instead of working the dialog.
      auto* msg = reinterpret_cast<MSG*>(lParam);
      if (state.dropped && msg != nullptr && msg->message == WM_KEYDOWN &&
          (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTMESSAGE;
      }
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    }
    case CB_RESETCONTENT:
      SendMessageA(state.list, LB_RESETCONTENT, 0, 0);
      InvalidateRect(combo, nullptr, TRUE);
      return CB_OKAY;
    case CB_SETCURSEL: {
      LRESULT result = SendMessageA(state.list, LB_SETCURSEL, wParam, 0);
      InvalidateRect(combo, nullptr, TRUE);
      return result;
    }
    case CB_SELECTSTRING: {
      LRESULT found = SendMessageA(state.list, LB_FINDSTRING, wParam, lParam);
      if (found != LB_ERR) SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
      return found;
    }
    case CB_SETITEMHEIGHT:
      if (static_cast<INT_PTR>(wParam) == -1) return CB_ERR;
      return SendMessageA(state.list, LB_SETITEMHEIGHT, 0, lParam);
    case CB_SHOWDROPDOWN:
      if (wParam) {
        Drop(combo, state);
      } else {
        CloseUp(combo, state, true);
      }
      return TRUE;
    case CB_GETDROPPEDSTATE: return state.dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
      if (lParam == 0) return CB_ERR;
      RECT field{};
      GetWindowRect(combo, &field);
      *reinterpret_cast<RECT*>(lParam) = RECT{field.left, field.top, field.right, field.bottom + state.droppedHeight};
      return TRUE;
    }
    case WM_GETTEXT: {
      if (lParam == 0 || wParam == 0) return 0;
      auto* buffer = reinterpret_cast<char*>(lParam);
      buffer[0] = '\0';
      int selection = Selection(state);
      LRESULT length = selection >= 0 ? SendMessageA(state.list, LB_GETTEXTLEN, static_cast<WPARAM>(selection), 0) : 0;
      if (length <= 0) return 0;
      std::string text(static_cast<size_t>(length) + 1, '\0');
      SendMessageA(state.list, LB_GETTEXT, static_cast<WPARAM>(selection), reinterpret_cast<LPARAM>(text.data()));
      size_t copied = std::min(static_cast<size_t>(length), static_cast<size_t>(wParam) - 1);
      std::memcpy(buffer, text.data(), copied);
      buffer[copied] = '\0';
      return static_cast<LRESULT>(copied);
    }
    case WM_GETTEXTLENGTH: {
      int selection = Selection(state);
      return selection >= 0 ? SendMessageA(state.list, LB_GETTEXTLEN, static_cast<WPARAM>(selection), 0) : 0;
    }
    case WM_SETFONT:
      SetWindowLongPtrA(combo, kComboFontOffset, static_cast<LONG_PTR>(wParam));
      SendMessageA(state.list, WM_SETFONT, wParam, 0);
      {
        RECT window{};
        GetWindowRect(combo, &window);
        SetWindowPos(combo, nullptr, 0, 0, window.right - window.left, FieldHeight(combo),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      if (lParam) InvalidateRect(combo, nullptr, TRUE);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (KeyDown(combo, state, wParam)) return 0;
      return message == WM_SYSKEYDOWN ? DefWindowProcA(combo, message, wParam, lParam) : 0;
    case WM_CHAR: TypeAhead(combo, state, wParam); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != combo) SetFocus(combo);
      if (!state.dropped) Drop(combo, state);
      return 0;
    case WM_SETFOCUS:
      InvalidateRect(combo, nullptr, TRUE);
      Notify(combo, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      CloseUp(combo, state, false);
      InvalidateRect(combo, nullptr, TRUE);
      Notify(combo, CBN_KILLFOCUS);
      return 0;
    case WM_MOUSEWHEEL:
      if (!state.dropped) {
        SelectByKey(combo, state, Selection(state) - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
      } else {
        SendMessageA(state.list, message, wParam, lParam);
      }
      return 0;
    case WM_COMMAND:
      // The dropped list reports here; the arrow keys inside it change the selection.
      if (reinterpret_cast<HWND>(lParam) == state.list && HIWORD(wParam) == LBN_SELCHANGE) {
        InvalidateRect(combo, nullptr, TRUE);
      }
      return 0;
    case WM_PAINT: PaintControl(combo, wParam, [combo](HDC dc) { PaintComboBox(combo, dc); }); return 0;
    default: {
      LRESULT result = 0;
      if (HandleCommonControlMessage(combo, message, wParam, lParam, kComboFontOffset, &result)) return result;
      return DefWindowProcA(combo, message, wParam, lParam);
    }
  }
}

// Whether a client point of the list lies on its own window (rows or scroll bar).
bool OnListWindow(HWND list, LPARAM lParam) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(list, &point);
  RECT window{};
  GetWindowRect(list, &window);
  return PtInRect(&window, point) != FALSE;
}

bool InClient(HWND list, LPARAM lParam) {
  RECT client{};
  GetClientRect(list, &client);
  return PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE;
}

}  // namespace

LRESULT CALLBACK ComboListProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  ListBoxState* list = ListBoxStateOf(hWnd);
  ComboBoxState* combo = list != nullptr && list->combo != nullptr ? ComboBoxStateOf(list->combo) : nullptr;
  if (combo == nullptr || !combo->dropped) return ListBoxProcedure(hWnd, Msg, wParam, lParam);
  HWND owner = list->combo;
  switch (Msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!OnListWindow(hWnd, lParam)) {
        CloseUp(owner, *combo, false);
        return 0;
      }
      if (!InClient(hWnd, lParam)) {
        // The list's scroll bar, reached through the capture.
        POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hWnd, &screen);
        return ListBoxProcedure(hWnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
      }
      return 0;
    case WM_MOUSEMOVE:
      if (list->pressedPart != ScrollPart::None) return ListBoxProcedure(hWnd, Msg, wParam, lParam);
      if (InClient(hWnd, lParam)) {
        int row = RowAt(hWnd, *list, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (row >= 0 && row != list->selected) SelectByUser(hWnd, *list, row, false);
        InvalidateRect(owner, nullptr, TRUE);
      }
      return 0;
    case WM_LBUTTONUP:
      if (list->pressedPart != ScrollPart::None) return ListBoxProcedure(hWnd, Msg, wParam, lParam);
      if (InClient(hWnd, lParam) && RowAt(hWnd, *list, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) >= 0) {
        SelectByUser(hWnd, *list, RowAt(hWnd, *list, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), false);
        CloseUp(owner, *combo, true);
      }
      return 0;
    case WM_CAPTURECHANGED:
      // Something else took the mouse (a menu, another window): the drop ends unchosen.
      if (reinterpret_cast<HWND>(lParam) != hWnd && list->pressedPart == ScrollPart::None) {
        CloseUp(owner, *combo, false);
      }
      return ListBoxProcedure(hWnd, Msg, wParam, lParam);
    default: return ListBoxProcedure(hWnd, Msg, wParam, lParam);
  }
}

LRESULT CALLBACK ComboBoxProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return WithControlState<ComboBoxState>(hWnd, Msg, wParam, lParam, kComboStateOffset, HandleComboMessage);
}

}  // namespace vel::platform
