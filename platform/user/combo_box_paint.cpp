// Drawing of the drop-down list combo box in the classic look: a sunken field in the window
// colours showing the selected item, highlighted with a focus rectangle while the control has
// the focus and its list is closed, and the drop button with its arrow at the right, pressed
// while the list is down. Owner-drawn combo boxes draw the field's item through WM_DRAWITEM.

#include <string>

#include "platform/user/combo_box_state.h"
#include "platform/user/control_drawing.h"
#include "platform/user/scroll_bar_paint.h"

namespace vel::platform {
namespace {

constexpr UINT kComboBoxEditState = 0x1000;  // ODS_COMBOBOXEDIT

std::string SelectedText(HWND combo, int selection) {
  LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selection), 0);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(selection), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

}  // namespace

RECT ComboButtonRect(HWND combo) {
  RECT client{};
  GetClientRect(combo, &client);
  int edge = GetSystemMetrics(SM_CXEDGE);
  return RECT{client.right - edge - GetSystemMetrics(SM_CXVSCROLL), client.top + edge, client.right - edge,
              client.bottom - edge};
}

void PaintComboBox(HWND combo, HDC dc) {
  ComboBoxState* state = ComboBoxStateOf(combo);
  if (state == nullptr) return;
  RECT client{};
  GetClientRect(combo, &client);
  bool enabled = IsWindowEnabled(combo) != FALSE;
  int saved = SaveDC(dc);
  SelectObject(dc, FontOrDefault(reinterpret_cast<HFONT>(GetWindowLongPtrA(combo, kComboFontOffset))));
  HBRUSH background = ControlColors(combo, dc, enabled ? WM_CTLCOLORLISTBOX : WM_CTLCOLORSTATIC);
  COLORREF textColor = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
  RECT field = client;
  FillRect(dc, &field, background);
  DrawEdge(dc, &field, EDGE_SUNKEN, BF_RECT);
  RECT button = ComboButtonRect(combo);
  PaintScrollArrowButton(dc, button, false, enabled, state->dropped);

  int edge = GetSystemMetrics(SM_CXEDGE);
  RECT item{client.left + edge + 1, client.top + edge + 1, button.left - 1, client.bottom - edge - 1};
  bool focused = GetFocus() == combo && !state->dropped;
  auto selection = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(combo, GWL_STYLE));
  if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_COMBOBOX;
    draw.CtlID = static_cast<UINT>(GetDlgCtrlID(combo));
    draw.itemID = static_cast<UINT>(selection);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = kComboBoxEditState | (focused ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
    draw.hwndItem = combo;
    draw.hDC = dc;
    draw.rcItem = item;
    draw.itemData = selection >= 0 ? static_cast<ULONG_PTR>(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(selection), 0)) : 0;
    if (HWND parent = GetParent(combo)) SendMessageA(parent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
    RestoreDC(dc, saved);
    return;
  }
  if (focused) {
    FillRect(dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    SetTextColor(dc, textColor);
  }
  SetBkMode(dc, TRANSPARENT);
  if (selection >= 0) {
    std::string text = SelectedText(combo, selection);
    RECT textArea{item.left + 1, item.top, item.right, item.bottom};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if (focused) DrawFocusRect(dc, &item);
  RestoreDC(dc, saved);
}

}  // namespace vel::platform
