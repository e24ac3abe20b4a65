// The behaviour of the "ListBox" class: items with text and data (kept sorted with LBS_SORT),
// single, multiple (LBS_MULTIPLESEL) and extended (LBS_EXTENDEDSEL) selection by mouse and
// keyboard, type-ahead on the first letter, scrolling by the keyboard, the wheel and the
// scroll bar, and the LBN_* notifications of a LBS_NOTIFY list. Drawing is in
// list_box_paint.cpp.

#include <algorithm>
#include <cstring>

#include "platform/user/control_drawing.h"
#include "platform/user/control_state.h"
#include "platform/user/list_box_state.h"
#include "platform/user/standard_controls.h"

namespace vel::platform {

ListBoxState* ListBoxStateOf(HWND list) {
  return reinterpret_cast<ListBoxState*>(GetWindowLongPtrA(list, kListBoxStateOffset));
}

namespace {

constexpr UINT kGetSelectedItems = 0x0191;  // LB_GETSELITEMS
constexpr UINT_PTR kScrollRepeatTimer = 1;
constexpr UINT kScrollRepeatDelay = 250;
constexpr UINT kScrollRepeatRate = 50;

DWORD ListStyle(HWND list) { return static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE)); }
bool HasStrings(DWORD style) {
  return (style & LBS_HASSTRINGS) || !(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE));
}
int Count(const ListBoxState& state) { return static_cast<int>(state.items.size()); }
bool Valid(const ListBoxState& state, WPARAM index) { return static_cast<INT_PTR>(index) >= 0 && static_cast<INT_PTR>(index) < Count(state); }

// Rows and scroll bar are drawn again at the next paint, not at once, so that filling a long
// list costs one paint.
void Redraw(HWND list, const ListBoxState& state) {
  if (state.redrawOff) return;
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

// Case-insensitive comparison in the ANSI code page, as the sorted list orders its items.
int CompareItems(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()); }

LRESULT Insert(HWND list, ListBoxState& state, INT_PTR index, LPARAM value, bool sorted) {
  ListBoxItem item;
  if (HasStrings(ListStyle(list))) {
    item.text = value != 0 ? reinterpret_cast<const char*>(value) : "";
  } else {
    item.data = static_cast<ULONG_PTR>(value);
  }
  if (sorted) {
    auto at = std::upper_bound(state.items.begin(), state.items.end(), item,
                               [](const ListBoxItem& a, const ListBoxItem& b) { return CompareItems(a.text, b.text) < 0; });
    index = at - state.items.begin();
  } else if (index < 0 || index > Count(state)) {
    if (index != -1) return LB_ERR;
    index = Count(state);
  }
  state.items.insert(state.items.begin() + index, std::move(item));
  if (state.selected >= index) ++state.selected;
  if (state.caret > index) ++state.caret;
  Redraw(list, state);
  return index;
}

LRESULT Delete(HWND list, ListBoxState& state, WPARAM wParam) {
  if (!Valid(state, wParam)) return LB_ERR;
  int index = static_cast<int>(wParam);
  state.items.erase(state.items.begin() + index);
  if (state.selected == index) {
    state.selected = -1;
  } else if (state.selected > index) {
    --state.selected;
  }
  if (state.caret > index || state.caret >= Count(state)) state.caret = std::max(0, state.caret - 1);
  ScrollListTo(list, state, state.top);
  return Count(state);
}

// LB_FINDSTRING looks for a prefix, LB_FINDSTRINGEXACT for the whole text, both ignoring case,
// from the item after `after` round to it.
LRESULT Find(const ListBoxState& state, WPARAM after, const char* text, bool exact) {
  if (text == nullptr) return LB_ERR;
  int count = Count(state);
  if (count == 0) return LB_ERR;
  size_t length = std::strlen(text);
  int start = Valid(state, after) ? static_cast<int>(after) + 1 : 0;
  for (int step = 0; step < count; ++step) {
    int index = (start + step) % count;
    const std::string& item = state.items[static_cast<size_t>(index)].text;
    if (exact ? CompareItems(item, text) == 0
              : item.size() >= length && CompareItems(item.substr(0, length), text) == 0) {
      return index;
    }
  }
  return LB_ERR;
}

LRESULT GetText(const ListBoxState& state, WPARAM index, char* buffer, DWORD style) {
  if (!Valid(state, index) || buffer == nullptr) return LB_ERR;
  const ListBoxItem& item = state.items[index];
  if (!HasStrings(style)) {
    std::memcpy(buffer, &item.data, sizeof item.data);
    return sizeof item.data;
  }
  std::memcpy(buffer, item.text.c_str(), item.text.size() + 1);
  return static_cast<LRESULT>(item.text.size());
}

void SetCaret(HWND list, ListBoxState& state, int index) {
  state.caret = std::clamp(index, 0, std::max(0, Count(state) - 1));
  ShowRow(list, state, state.caret);
}

// Extended selection: the range from the anchor to `index` is selected, the rest cleared.
void SelectRange(ListBoxState& state, int index) {
  int low = std::min(state.anchor, index);
  int high = std::max(state.anchor, index);
  for (int i = 0; i < Count(state); ++i) state.items[static_cast<size_t>(i)].selected = i >= low && i <= high;
}

// A click or a caret key on `index` in a list with several selections.
void ChooseInMultiple(HWND list, ListBoxState& state, int index, bool shift, bool control, bool toggle) {
  if (index < 0 || index >= Count(state)) return;
  if (ListStyle(list) & LBS_MULTIPLESEL) {
    if (toggle) state.items[static_cast<size_t>(index)].selected = !state.items[static_cast<size_t>(index)].selected;
  } else if (shift) {
    SelectRange(state, index);
  } else if (control) {
    if (toggle) state.items[static_cast<size_t>(index)].selected = !state.items[static_cast<size_t>(index)].selected;
    state.anchor = index;
  } else {
    state.anchor = index;
    SelectRange(state, index);
  }
  SetCaret(list, state, index);
  NotifyList(list, state, LBN_SELCHANGE);
}

void MoveByKey(HWND list, ListBoxState& state, int target) {
  if (Count(state) == 0) return;
  target = std::clamp(target, 0, Count(state) - 1);
  if (IsMultipleSelection(list)) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool control = GetKeyState(VK_CONTROL) < 0;
    if ((ListStyle(list) & LBS_MULTIPLESEL) || control) {
      SetCaret(list, state, target);
    } else {
      ChooseInMultiple(list, state, target, shift, false, false);
    }
    return;
  }
  if (target == state.selected) {
    SetCaret(list, state, target);
    return;
  }
  SelectByUser(list, state, target, true);
}

bool KeyDown(HWND list, ListBoxState& state, WPARAM key) {
  int page = std::max(1, VisibleRows(list, state) - 1);
  int from = IsMultipleSelection(list) || state.selected < 0 ? state.caret : state.selected;
  if (state.selected < 0 && !IsMultipleSelection(list) && (key == VK_DOWN || key == VK_UP)) {
    MoveByKey(list, state, state.top);
    return true;
  }
  switch (key) {
    case VK_UP: MoveByKey(list, state, from - 1); return true;
    case VK_DOWN: MoveByKey(list, state, from + 1); return true;
    case VK_PRIOR: MoveByKey(list, state, from - page); return true;
    case VK_NEXT: MoveByKey(list, state, from + page); return true;
    case VK_HOME: MoveByKey(list, state, 0); return true;
    case VK_END: MoveByKey(list, state, Count(state) - 1); return true;
    case VK_SPACE:
      if (IsMultipleSelection(list)) ChooseInMultiple(list, state, state.caret, false, true, true);
      return true;
    default: return false;
  }
}

// A typed letter selects the next item starting with it.
void TypeAhead(HWND list, ListBoxState& state, WPARAM ch) {
  if (ch < 0x20 || ch > 0xFF || !HasStrings(ListStyle(list))) return;
  char text[2] = {static_cast<char>(ch), 0};
  int from = IsMultipleSelection(list) || state.selected < 0 ? state.caret : state.selected;
  LRESULT found = Find(state, static_cast<WPARAM>(from), text, false);
  if (found != LB_ERR) MoveByKey(list, state, static_cast<int>(found));
}

void ScrollBy(HWND list, ListBoxState& state, ScrollPart part) {
  int page = std::max(1, VisibleRows(list, state) - 1);
  switch (part) {
    case ScrollPart::LineUp: ScrollListTo(list, state, state.top - 1); break;
    case ScrollPart::LineDown: ScrollListTo(list, state, state.top + 1); break;
    case ScrollPart::PageUp: ScrollListTo(list, state, state.top - page); break;
    case ScrollPart::PageDown: ScrollListTo(list, state, state.top + page); break;
    default: break;
  }
}

// The left button went down on the scroll bar (screen point): arrows and the track scroll at
// once and repeat while held; the thumb follows the pointer.
void ScrollBarDown(HWND list, ListBoxState& state, POINT screen) {
  RECT window{};
  GetWindowRect(list, &window);
  POINT local{screen.x - window.left, screen.y - window.top};
  VerticalScrollBar bar = ListScrollBar(list, state);
  ScrollPart part = ScrollPartAt(bar, local);
  if (part == ScrollPart::None) return;
  state.pressedPart = part;
  state.thumbGrab = local.y - bar.thumb.top;
  SetCapture(list);
  if (part != ScrollPart::Thumb) {
    ScrollBy(list, state, part);
    SetTimer(list, kScrollRepeatTimer, kScrollRepeatDelay, nullptr);
  }
  PaintListScrollBar(list, state);
}

// Client coordinates to the window coordinates the scroll bar is laid out in.
POINT WindowPoint(HWND list, LPARAM lParam) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(list, &point);
  RECT window{};
  GetWindowRect(list, &window);
  return POINT{point.x - window.left, point.y - window.top};
}

void EndScrollBarPress(HWND list, ListBoxState& state) {
  KillTimer(list, kScrollRepeatTimer);
  state.pressedPart = ScrollPart::None;
  // A combo box's dropped list keeps the capture until it closes.
  if (GetCapture() == list && state.combo == nullptr) ReleaseCapture();
  PaintListScrollBar(list, state);
}

void MouseDown(HWND list, ListBoxState& state, LPARAM lParam, bool doubleClick) {
  if (GetFocus() != list && state.combo == nullptr) SetFocus(list);
  int row = RowAt(list, state, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  if (row < 0) return;
  if (IsMultipleSelection(list)) {
    ChooseInMultiple(list, state, row, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, true);
  } else if (row != state.selected) {
    SelectByUser(list, state, row, true);
  } else {
    SetCaret(list, state, row);
  }
  if (doubleClick) {
    NotifyList(list, state, LBN_DBLCLK);
    return;
  }
  state.selecting = !IsMultipleSelection(list);
  SetCapture(list);
}

LRESULT HandleListMessage(HWND list, ListBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD style = ListStyle(list);
  switch (message) {
    case WM_CREATE:
      state.itemHeight = MeasureRowHeight(list);
      if (!(style & LBS_NOINTEGRALHEIGHT) && (style & WS_CHILD)) {
        RECT client{};
        GetClientRect(list, &client);
        int extra = client.bottom % state.itemHeight;
        if (extra != 0 && client.bottom > state.itemHeight) {
          RECT window{};
          GetWindowRect(list, &window);
          SetWindowPos(list, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - extra,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
      }
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case LB_ADDSTRING: return Insert(list, state, -1, lParam, (style & LBS_SORT) && HasStrings(style));
    case LB_INSERTSTRING: return Insert(list, state, static_cast<INT_PTR>(wParam), lParam, false);
    case LB_DELETESTRING: return Delete(list, state, wParam);
    case LB_RESETCONTENT:
      state.items.clear();
      state.selected = -1;
      state.caret = state.anchor = state.top = 0;
      Redraw(list, state);
      return 0;
    case LB_INITSTORAGE:
      state.items.reserve(state.items.size() + static_cast<size_t>(wParam));
      return static_cast<LRESULT>(state.items.capacity());
    case LB_GETCOUNT: return Count(state);
    case LB_GETTEXT: return GetText(state, wParam, reinterpret_cast<char*>(lParam), style);
    case LB_GETTEXTLEN:
      if (!Valid(state, wParam)) return LB_ERR;
      return HasStrings(style) ? static_cast<LRESULT>(state.items[wParam].text.size()) : sizeof(ULONG_PTR);
    case LB_GETITEMDATA: return Valid(state, wParam) ? static_cast<LRESULT>(state.items[wParam].data) : LB_ERR;
    case LB_SETITEMDATA:
      if (!Valid(state, wParam)) return LB_ERR;
      state.items[wParam].data = static_cast<ULONG_PTR>(lParam);
      return TRUE;
    case LB_SETCURSEL:
      if (IsMultipleSelection(list)) return LB_ERR;
      if (!Valid(state, wParam)) {
        state.selected = -1;
        Redraw(list, state);
        return LB_ERR;
      }
      state.selected = static_cast<int>(wParam);
      SetCaret(list, state, state.selected);
      return state.selected;
    case LB_GETCURSEL: return IsMultipleSelection(list) ? state.caret : state.selected;
    case LB_SETSEL: {
      if (!IsMultipleSelection(list)) return LB_ERR;
      auto index = static_cast<INT_PTR>(lParam);
      if (index == -1) {
        for (ListBoxItem& item : state.items) item.selected = wParam != 0;
      } else if (Valid(state, static_cast<WPARAM>(index))) {
        state.items[static_cast<size_t>(index)].selected = wParam != 0;
      } else {
        return LB_ERR;
      }
      Redraw(list, state);
      return 0;
    }
    case LB_GETSEL:
      if (!Valid(state, wParam)) return LB_ERR;
      return IsMultipleSelection(list) ? (state.items[wParam].selected ? 1 : 0)
                                       : (static_cast<int>(wParam) == state.selected ? 1 : 0);
    case LB_GETSELCOUNT:
      if (!IsMultipleSelection(list)) return LB_ERR;
      return std::count_if(state.items.begin(), state.items.end(), [](const ListBoxItem& i) { return i.selected; });
    case kGetSelectedItems: {
      if (!IsMultipleSelection(list) || lParam == 0) return LB_ERR;
      auto* out = reinterpret_cast<int*>(lParam);
      int written = 0;
      for (int i = 0; i < Count(state) && written < static_cast<int>(wParam); ++i) {
        if (state.items[static_cast<size_t>(i)].selected) out[written++] = i;
      }
      return written;
    }
    case LB_FINDSTRING: return Find(state, wParam, reinterpret_cast<const char*>(lParam), false);
    case LB_FINDSTRINGEXACT: return Find(state, wParam, reinterpret_cast<const char*>(lParam), true);
    case LB_SELECTSTRING: {
      LRESULT found = Find(state, wParam, reinterpret_cast<const char*>(lParam), false);
      if (found != LB_ERR && !IsMultipleSelection(list)) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
      return found;
    }
    case LB_GETTOPINDEX: return state.top;
    case LB_SETTOPINDEX:
      if (!Valid(state, wParam) && wParam != 0) return LB_ERR;
      ScrollListTo(list, state, static_cast<int>(wParam));
      return LB_OKAY;
    case LB_GETCARETINDEX: return state.caret;
    case LB_SETCARETINDEX:
      if (!Valid(state, wParam)) return LB_ERR;
      SetCaret(list, state, static_cast<int>(wParam));
      return LB_OKAY;
    case LB_GETITEMHEIGHT: return state.itemHeight;
    case LB_SETITEMHEIGHT:
      if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255) return LB_ERR;
      state.itemHeight = LOWORD(lParam);
      ScrollListTo(list, state, state.top);
      return LB_OKAY;
    case LB_GETITEMRECT: {
      if (!Valid(state, wParam) || lParam == 0) return LB_ERR;
      RECT client{};
      GetClientRect(list, &client);
      int y = (static_cast<int>(wParam) - state.top) * state.itemHeight;
      *reinterpret_cast<RECT*>(lParam) = RECT{client.left, y, client.right, y + state.itemHeight};
      return 1;
    }
    case LB_ITEMFROMPOINT: {
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      int row = RowAt(list, state, point);
      if (row >= 0) return MAKELRESULT(row, 0);
      int last = std::min(Count(state), state.top + VisibleRows(list, state)) - 1;
      return MAKELRESULT(std::max(last, 0), 1);
    }
    case WM_KEYDOWN: KeyDown(list, state, wParam); return 0;
    case WM_CHAR: TypeAhead(list, state, wParam); return 0;
    case WM_LBUTTONDOWN: MouseDown(list, state, lParam, false); return 0;
    case WM_LBUTTONDBLCLK: MouseDown(list, state, lParam, true); return 0;
    case WM_MOUSEMOVE:
      if (state.pressedPart == ScrollPart::Thumb) {
        POINT at = WindowPoint(list, lParam);
        VerticalScrollBar bar = ListScrollBar(list, state);
        ScrollListTo(list, state, FirstRowForThumb(bar, at.y - state.thumbGrab, VisibleRows(list, state), Count(state)));
      } else if (state.selecting && GetCapture() == list) {
        RECT client{};
        GetClientRect(list, &client);
        int y = GET_Y_LPARAM(lParam);
        int row = y < 0 ? state.top - 1 : y >= client.bottom ? state.top + VisibleRows(list, state) : RowAt(list, state, POINT{0, y});
        row = std::clamp(row, 0, Count(state) - 1);
        if (Count(state) > 0 && row != state.selected) SelectByUser(list, state, row, true);
      }
      return 0;
    case WM_LBUTTONUP:
      state.selecting = false;
      if (state.pressedPart != ScrollPart::None) {
        EndScrollBarPress(list, state);
      } else if (GetCapture() == list) {
        ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      state.selecting = false;
      if (state.pressedPart != ScrollPart::None) {
        KillTimer(list, kScrollRepeatTimer);
        state.pressedPart = ScrollPart::None;
        PaintListScrollBar(list, state);
      }
      return 0;
    case WM_TIMER:
      if (wParam != kScrollRepeatTimer) return 0;
      if (state.pressedPart == ScrollPart::None || state.pressedPart == ScrollPart::Thumb) {
        KillTimer(list, kScrollRepeatTimer);
        return 0;
      }
      SetTimer(list, kScrollRepeatTimer, kScrollRepeatRate, nullptr);
      ScrollBy(list, state, state.pressedPart);
      return 0;
    case WM_MOUSEWHEEL: {
      int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
      ScrollListTo(list, state, state.top - 3 * notches);
      return 0;
    }
    case WM_NCLBUTTONUP:
      if (state.pressedPart != ScrollPart::None) {
        EndScrollBarPress(list, state);
        return 0;
      }
      return DefWindowProcA(list, message, wParam, lParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTVSCROLL) {
        ScrollBarDown(list, state, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
      }
      return DefWindowProcA(list, message, wParam, lParam);
    case WM_NCPAINT: {
      LRESULT result = DefWindowProcA(list, message, wParam, lParam);
      PaintListScrollBar(list, state);
      return result;
    }
    case WM_SETFOCUS:
      InvalidateRect(list, nullptr, TRUE);
      NotifyList(list, state, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      InvalidateRect(list, nullptr, TRUE);
      NotifyList(list, state, LBN_KILLFOCUS);
      return 0;
    case WM_SETFONT: {
      SetWindowLongPtrA(list, kListBoxFontOffset, static_cast<LONG_PTR>(wParam));
      state.itemHeight = MeasureRowHeight(list);
      if (lParam) Redraw(list, state);
      return 0;
    }
    case WM_SIZE: ScrollListTo(list, state, state.top); return 0;
    case WM_SETREDRAW:
      state.redrawOff = wParam == 0;
      Redraw(list, state);
      return 0;
    case WM_PAINT: PaintControl(list, wParam, [list](HDC dc) { PaintListBox(list, dc); }); return 0;
    default: {
      LRESULT result = 0;
      if (HandleCommonControlMessage(list, message, wParam, lParam, kListBoxFontOffset, &result)) return result;
      return DefWindowProcA(list, message, wParam, lParam);
    }
  }
}

}  // namespace

bool IsMultipleSelection(HWND list) { return (ListStyle(list) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }

int VisibleRows(HWND list, const ListBoxState& state) {
  RECT client{};
  GetClientRect(list, &client);
  return std::max(1, client.bottom / std::max(1, state.itemHeight));
}

int RowAt(HWND list, const ListBoxState& state, POINT client) {
  RECT area{};
  GetClientRect(list, &area);
  if (!PtInRect(&area, client) || state.itemHeight <= 0) return -1;
  int row = state.top + client.y / state.itemHeight;
  return row < Count(state) ? row : -1;
}

void ScrollListTo(HWND list, ListBoxState& state, int top) {
  int highest = std::max(0, Count(state) - VisibleRows(list, state));
  int clamped = std::clamp(top, 0, highest);
  state.top = clamped;
  Redraw(list, state);
}

void ShowRow(HWND list, ListBoxState& state, int index) {
  int visible = VisibleRows(list, state);
  int top = state.top;
  if (index < top) top = index;
  if (index >= top + visible) top = index - visible + 1;
  ScrollListTo(list, state, top);
}

void NotifyList(HWND list, ListBoxState& state, int code) {
  if (state.combo != nullptr) {
    SendMessageA(state.combo, WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(list));
    return;
  }
  if (!(ListStyle(list) & LBS_NOTIFY)) return;
  if (HWND parent = GetParent(list)) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), static_cast<WORD>(code)),
                 reinterpret_cast<LPARAM>(list));
  }
}

void SelectByUser(HWND list, ListBoxState& state, int index, bool notify) {
  if (index < 0 || index >= Count(state)) return;
  state.selected = index;
  SetCaret(list, state, index);
  if (notify) NotifyList(list, state, LBN_SELCHANGE);
}

LRESULT CALLBACK ListBoxProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return WithControlState<ListBoxState>(hWnd, Msg, wParam, lParam, kListBoxStateOffset, HandleListMessage);
}

}  // namespace vel::platform
