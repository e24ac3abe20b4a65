// The behaviour of the single-line "Edit" class: typing with the limit and the ES_NUMBER,
// ES_UPPERCASE and ES_LOWERCASE filters, the caret keys (with Shift selecting and Ctrl moving
// by words), selection with the mouse, the clipboard keys and messages, one level of undo, and
// the EN_* notifications to the parent. Drawing and measuring are in edit_paint.cpp.

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/user/control_drawing.h"
#include "platform/user/control_state.h"
#include "platform/user/edit_state.h"
#include "platform/user/standard_controls.h"

namespace vel::platform {

EditState* EditStateOf(HWND edit) { return reinterpret_cast<EditState*>(GetWindowLongPtrA(edit, kEditStateOffset)); }

namespace {

DWORD EditStyle(HWND edit) { return static_cast<DWORD>(GetWindowLongPtrA(edit, GWL_STYLE)); }

void Notify(HWND edit, WORD code) {
  if (HWND parent = GetParent(edit)) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), code), reinterpret_cast<LPARAM>(edit));
  }
}

void Refresh(HWND edit, EditState& state) {
  ScrollEditToCaret(edit, state);
  InvalidateRect(edit, nullptr, TRUE);
}

// A change the user made: the control shows it, then tells the parent.
void Changed(HWND edit, EditState& state) {
  Refresh(edit, state);
  Notify(edit, EN_UPDATE);
  Notify(edit, EN_CHANGE);
}

// Inserts text typed or pasted by the user, filtered by the style; beeps and reports
// EN_MAXTEXT when some of it does not fit.
void InsertByUser(HWND edit, EditState& state, std::string text) {
  DWORD style = EditStyle(edit);
  if (style & ES_READONLY) {
    MessageBeep(0);
    return;
  }
  // A single-line control keeps only the first line of what is pasted into it.
  text = text.substr(0, text.find_first_of("\r\n"));
  for (char& c : text) {
    if (style & ES_UPPERCASE) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (style & ES_LOWERCASE) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if ((style & ES_NUMBER) && text.find_first_not_of("0123456789") != std::string::npos) {
    MessageBeep(0);
    return;
  }
  bool fitted = state.ReplaceSelection(text);
  if (fitted && !(style & ES_AUTOHSCROLL)) {
    // Without horizontal scrolling what is typed must fit the visible width.
    RECT client{};
    GetClientRect(edit, &client);
    int right = EditCharacterX(edit, state, state.text.size());
    if (right > client.right - kEditMargin && state.firstVisible == 0) {
      state.Undo();
      state.canUndo = false;
      fitted = false;
    }
  }
  if (!fitted) {
    MessageBeep(0);
    Notify(edit, EN_MAXTEXT);
  }
  Changed(edit, state);
}

void CopySelection(HWND edit, const EditState& state) {
  if (!state.HasSelection() || (EditStyle(edit) & ES_PASSWORD)) return;
  if (!OpenClipboard(edit)) return;
  EmptyClipboard();
  std::string selected = state.SelectedText();
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, selected.size() + 1)) {
    if (auto* bytes = static_cast<char*>(GlobalLock(block))) {
      std::memcpy(bytes, selected.c_str(), selected.size() + 1);
      GlobalUnlock(block);
      SetClipboardData(CF_TEXT, block);
    } else {
      GlobalFree(block);
    }
  }
  CloseClipboard();
}

void Paste(HWND edit, EditState& state) {
  if (!OpenClipboard(edit)) return;
  std::string text;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(block))) {
      text.assign(bytes, strnlen(bytes, GlobalSize(block)));
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  if (!text.empty()) InsertByUser(edit, state, text);
}

void Clear(HWND edit, EditState& state) {
  if (!state.HasSelection() || (EditStyle(edit) & ES_READONLY)) return;
  state.ReplaceSelection("");
  Changed(edit, state);
}

void MoveTo(HWND edit, EditState& state, size_t position, bool extend) {
  state.MoveCaret(position, extend);
  Refresh(edit, state);
}

bool KeyDown(HWND edit, EditState& state, WPARAM key) {
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
    case VK_LEFT:
      if (!shift && state.HasSelection() && !control) {
        MoveTo(edit, state, state.SelectionStart(), false);
      } else {
        MoveTo(edit, state, control ? state.WordLeft(state.caret) : (state.caret > 0 ? state.caret - 1 : 0), shift);
      }
      return true;
    case VK_RIGHT:
      if (!shift && state.HasSelection() && !control) {
        MoveTo(edit, state, state.SelectionEnd(), false);
      } else {
        MoveTo(edit, state, control ? state.WordRight(state.caret) : state.caret + 1, shift);
      }
      return true;
    case VK_HOME: MoveTo(edit, state, 0, shift); return true;
    case VK_END: MoveTo(edit, state, state.text.size(), shift); return true;
    case VK_DELETE:
      if (EditStyle(edit) & ES_READONLY) return true;
      if (shift) {
        CopySelection(edit, state);
        Clear(edit, state);
        return true;
      }
      if (!state.HasSelection()) {
        if (state.caret >= state.text.size()) return true;
        state.MoveCaret(control ? state.WordRight(state.caret) : state.caret + 1, true);
      }
      Clear(edit, state);
      return true;
    case VK_INSERT:
      if (control) CopySelection(edit, state);
      if (shift) Paste(edit, state);
      return true;
    default: return false;
  }
}

void Character(HWND edit, EditState& state, WPARAM ch) {
  switch (ch) {
    case 0x03: CopySelection(edit, state); return;  // Ctrl+C
    case 0x16: Paste(edit, state); return;          // Ctrl+V
    case 0x18:                                      // Ctrl+X
      if (EditStyle(edit) & ES_READONLY) return;
      CopySelection(edit, state);
      Clear(edit, state);
      return;
    case 0x1A:  // Ctrl+Z
      SendMessageA(edit, WM_UNDO, 0, 0);
      return;
    case '\b':
      if (EditStyle(edit) & ES_READONLY) return;
      if (!state.HasSelection()) {
        if (state.caret == 0) return;
        state.MoveCaret(GetKeyState(VK_CONTROL) < 0 ? state.WordLeft(state.caret) : state.caret - 1, true);
      }
      Clear(edit, state);
      return;
    default:
      if (ch < 0x20 || ch > 0xFF) return;
      InsertByUser(edit, state, std::string(1, static_cast<char>(ch)));
      return;
  }
}

LRESULT SetText(HWND edit, EditState& state, const char* text) {
  state.text = text != nullptr ? text : "";
  state.anchor = state.caret = 0;
  state.firstVisible = 0;
  state.modified = false;
  state.canUndo = false;
  DefWindowProcA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  Changed(edit, state);
  return TRUE;
}

LRESULT GetText(const EditState& state, WPARAM capacity, char* buffer) {
  if (buffer == nullptr || capacity == 0) return 0;
  size_t copied = std::min(state.text.size(), static_cast<size_t>(capacity) - 1);
  std::memcpy(buffer, state.text.data(), copied);
  buffer[copied] = '\0';
  return static_cast<LRESULT>(copied);
}

// EM_SETSEL: -1 as the start removes the selection; (0, -1) selects all.
void SetSelection(HWND edit, EditState& state, WPARAM start, LPARAM end) {
  auto first = static_cast<INT_PTR>(start);
  auto last = static_cast<INT_PTR>(end);
  size_t size = state.text.size();
  if (first == -1) {
    state.anchor = state.caret;
  } else {
    if (last < 0) last = static_cast<INT_PTR>(size);
    if (first < 0) first = static_cast<INT_PTR>(size);
    state.anchor = std::min(static_cast<size_t>(first), size);
    state.caret = std::min(static_cast<size_t>(last), size);
  }
  Refresh(edit, state);
}

void MouseDown(HWND edit, EditState& state, LPARAM lParam, bool doubleClick) {
  if (GetFocus() != edit) SetFocus(edit);
  size_t position = EditCharacterAt(edit, state, GET_X_LPARAM(lParam));
  if (doubleClick) {
    state.anchor = state.WordLeft(std::min(position + 1, state.text.size()));
    state.caret = state.WordRight(state.anchor);
    while (state.caret > state.anchor && state.text[state.caret - 1] == ' ') --state.caret;
  } else {
    state.MoveCaret(position, GetKeyState(VK_SHIFT) < 0);
    state.mouseSelecting = true;
    SetCapture(edit);
  }
  Refresh(edit, state);
}

LRESULT HandleEditMessage(HWND edit, EditState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) state.text = create->lpszName;
      if (create != nullptr && (create->style & ES_PASSWORD)) state.passwordChar = '*';
      return DefWindowProcA(edit, message, wParam, lParam);
    }
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETTEXT: return SetText(edit, state, reinterpret_cast<const char*>(lParam));
    case WM_GETTEXT: return GetText(state, wParam, reinterpret_cast<char*>(lParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(state.text.size());
    case WM_KEYDOWN: KeyDown(edit, state, wParam); return 0;
    case WM_CHAR: Character(edit, state, wParam); return 0;
    case WM_LBUTTONDOWN: MouseDown(edit, state, lParam, false); return 0;
    case WM_LBUTTONDBLCLK: MouseDown(edit, state, lParam, true); return 0;
    case WM_MOUSEMOVE:
      if (state.mouseSelecting && GetCapture() == edit) {
        state.MoveCaret(EditCharacterAt(edit, state, GET_X_LPARAM(lParam)), true);
        Refresh(edit, state);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      state.mouseSelecting = false;
      if (message == WM_LBUTTONUP && GetCapture() == edit) ReleaseCapture();
      return 0;
    case WM_SETFOCUS: {
      TEXTMETRICA metrics{};
      if (HDC dc = GetDC(edit)) {
        HGDIOBJ old = SelectObject(dc, FontOrDefault(reinterpret_cast<HFONT>(GetWindowLongPtrA(edit, kEditFontOffset))));
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(edit, dc);
      }
      CreateCaret(edit, nullptr, 1, metrics.tmHeight > 0 ? metrics.tmHeight : 13);
      if (state.selectAllPending) {
        state.anchor = 0;
        state.caret = state.text.size();
        state.selectAllPending = false;
      }
      Refresh(edit, state);
      ShowCaret(edit);
      Notify(edit, EN_SETFOCUS);
      return 0;
    }
    case WM_KILLFOCUS:
      DestroyCaret();
      InvalidateRect(edit, nullptr, TRUE);
      Notify(edit, EN_KILLFOCUS);
      return 0;
    case EM_GETSEL: {
      auto start = static_cast<DWORD>(state.SelectionStart());
      auto end = static_cast<DWORD>(state.SelectionEnd());
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = start;
      if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = end;
      return MAKELRESULT(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SETSEL:
      // Select-all sent before the control has the focus (the dialog manager tabbing in)
      // waits for the focus.
      if (GetFocus() != edit && wParam == 0 && static_cast<INT_PTR>(lParam) == -1) state.selectAllPending = true;
      SetSelection(edit, state, wParam, lParam);
      return 0;
    case EM_REPLACESEL:
      state.ReplaceSelection(lParam != 0 ? reinterpret_cast<const char*>(lParam) : "", true);
      if (!wParam) state.canUndo = false;
      Changed(edit, state);
      return 0;
    case EM_LIMITTEXT:
      state.limit = wParam != 0 ? static_cast<size_t>(wParam) : 0x7FFFFFFE;
      return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(state.limit);
    case EM_GETMODIFY: return state.modified ? TRUE : FALSE;
    case EM_SETMODIFY: state.modified = wParam != 0; return 0;
    case EM_CANUNDO: return state.canUndo ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER: state.canUndo = false; return 0;
    case WM_UNDO:
    case EM_UNDO:
      if (!state.canUndo) return FALSE;
      state.Undo();
      Changed(edit, state);
      return TRUE;
    case WM_CUT:
      CopySelection(edit, state);
      Clear(edit, state);
      return 0;
    case WM_COPY: CopySelection(edit, state); return 0;
    case WM_PASTE: Paste(edit, state); return 0;
    case WM_CLEAR: Clear(edit, state); return 0;
    case EM_GETLINECOUNT: return 1;
    case EM_GETFIRSTVISIBLELINE: return static_cast<LRESULT>(state.firstVisible);
    case EM_SCROLLCARET: Refresh(edit, state); return TRUE;
    case EM_SETREADONLY: {
      LONG_PTR style = GetWindowLongPtrA(edit, GWL_STYLE);
      SetWindowLongPtrA(edit, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
      InvalidateRect(edit, nullptr, TRUE);
      return TRUE;
    }
    case EM_SETPASSWORDCHAR: {
      state.passwordChar = static_cast<char>(wParam);
      LONG_PTR style = GetWindowLongPtrA(edit, GWL_STYLE);
      SetWindowLongPtrA(edit, GWL_STYLE, wParam ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD));
      Refresh(edit, state);
      return 0;
    }
    case EM_GETPASSWORDCHAR: return static_cast<unsigned char>(state.passwordChar);
    case WM_SIZE: Refresh(edit, state); return 0;
    case WM_PAINT: PaintControl(edit, wParam, [edit](HDC dc) { PaintEdit(edit, dc); }); return 0;
    default: {
      LRESULT result = 0;
      if (HandleCommonControlMessage(edit, message, wParam, lParam, kEditFontOffset, &result)) return result;
      return DefWindowProcA(edit, message, wParam, lParam);
    }
  }
}

}  // namespace

LRESULT CALLBACK EditProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return WithControlState<EditState>(hWnd, Msg, wParam, lParam, kEditStateOffset, HandleEditMessage);
}

}  // namespace vel::platform
