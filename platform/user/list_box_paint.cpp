// Drawing of the "ListBox" class in the classic look: rows in the window colours from
// WM_CTLCOLORLISTBOX, selected rows in the highlight colours, a dotted focus rectangle on the
// caret row while the list has the focus, owner-drawn rows through WM_DRAWITEM, and the
// vertical scroll bar in the frame of a WS_VSCROLL list.

#include "platform/user/control_drawing.h"
#include "platform/user/list_box_state.h"
#include "platform/user/nonclient.h"

namespace vel::platform {
namespace {

DWORD ListStyle(HWND list) { return static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE)); }
HFONT ListFont(HWND list) { return FontOrDefault(reinterpret_cast<HFONT>(GetWindowLongPtrA(list, kListBoxFontOffset))); }

bool IsOwnerDrawn(DWORD style) { return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }

void DrawOwnerRow(HWND list, HDC dc, const ListBoxState& state, int index, const RECT& row, UINT itemState) {
  DRAWITEMSTRUCT item{};
  item.CtlType = state.combo != nullptr ? ODT_COMBOBOX : ODT_LISTBOX;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(state.combo != nullptr ? state.combo : list));
  item.itemID = static_cast<UINT>(index);
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = itemState;
  item.hwndItem = list;
  item.hDC = dc;
  item.rcItem = row;
  item.itemData = state.items[static_cast<size_t>(index)].data;
  HWND owner = state.combo != nullptr ? GetParent(state.combo) : GetParent(list);
  if (owner != nullptr) SendMessageA(owner, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int MeasureRowHeight(HWND list) {
  TEXTMETRICA metrics{};
  if (HDC dc = GetDC(list)) {
    HGDIOBJ old = SelectObject(dc, ListFont(list));
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
  }
  return metrics.tmHeight > 0 ? metrics.tmHeight : 13;
}

VerticalScrollBar ListScrollBar(HWND list, const ListBoxState& state) {
  RECT window{};
  GetWindowRect(list, &window);
  RECT local{0, 0, window.right - window.left, window.bottom - window.top};
  auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(list, GWL_EXSTYLE));
  NonClientLayout layout = LayoutNonClient(local, ListStyle(list), exStyle, false);
  return LayoutVerticalScrollBar(layout.verticalScroll, state.top, VisibleRows(list, state),
                                 static_cast<int>(state.items.size()));
}

void PaintListScrollBar(HWND list, const ListBoxState& state) {
  if (!(ListStyle(list) & WS_VSCROLL)) return;
  VerticalScrollBar bar = ListScrollBar(list, state);
  if (IsRectEmpty(&bar.bar)) return;
  if (HDC dc = GetWindowDC(list)) {
    PaintVerticalScrollBar(dc, bar, state.pressedPart);
    ReleaseDC(list, dc);
  }
}

void PaintListBox(HWND list, HDC dc) {
  ListBoxState* state = ListBoxStateOf(list);
  if (state == nullptr) return;
  DWORD style = ListStyle(list);
  RECT client{};
  GetClientRect(list, &client);
  int saved = SaveDC(dc);
  SelectObject(dc, ListFont(list));
  HBRUSH background = ControlColors(list, dc, WM_CTLCOLORLISTBOX);
  COLORREF textColor = IsWindowEnabled(list) ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
  FillRect(dc, &client, background);
  bool focused = GetFocus() == list || (state->combo != nullptr);
  int height = state->itemHeight > 0 ? state->itemHeight : 1;
  int count = static_cast<int>(state->items.size());
  SetBkMode(dc, TRANSPARENT);
  for (int index = state->top, y = 0; index < count && y < client.bottom; ++index, y += height) {
    RECT row{client.left, y, client.right, y + height};
    const ListBoxItem& item = state->items[static_cast<size_t>(index)];
    bool selected = IsMultipleSelection(list) ? item.selected : index == state->selected;
    bool hasFocusRect = focused && index == state->caret && GetFocus() == list;
    if (IsOwnerDrawn(style)) {
      UINT itemState = (selected ? ODS_SELECTED : 0) | (hasFocusRect ? ODS_FOCUS : 0) |
                       (IsWindowEnabled(list) ? 0 : ODS_DISABLED);
      DrawOwnerRow(list, dc, *state, index, row, itemState);
      continue;
    }
    if (selected) {
      FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
      SetTextColor(dc, textColor);
    }
    RECT textArea{row.left + 2, row.top, row.right - 1, row.bottom};
    DrawTextA(dc, item.text.c_str(), static_cast<int>(item.text.size()), &textArea,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
    if (hasFocusRect) DrawFocusRect(dc, &row);
  }
  // An empty list with the focus shows the focus rectangle on its first row.
  if (count == 0 && GetFocus() == list) {
    RECT row{client.left, 0, client.right, height};
    DrawFocusRect(dc, &row);
  }
  RestoreDC(dc, saved);
}

}  // namespace vel::platform
