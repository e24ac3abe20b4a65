#pragma once
// The state of one "ListBox" control, kept in its extra bytes, and what the list box and the
// combo box built on it share: the items, the selection, the row at the top and the row
// height; drawing lives in list_box_paint.cpp.

#include <string>
#include <vector>

#include "platform/user/scroll_bar_paint.h"
#include "win32.h"

namespace vel::platform {

/// List box extra bytes: the font from WM_SETFONT, then the control's ListBoxState.
constexpr int kListBoxFontOffset = 0;
constexpr int kListBoxStateOffset = static_cast<int>(sizeof(LONG_PTR));
constexpr int kListBoxExtraBytes = 2 * static_cast<int>(sizeof(LONG_PTR));

struct ListBoxItem {
  std::string text;
  ULONG_PTR data = 0;
  bool selected = false;
};

struct ListBoxState {
  std::vector<ListBoxItem> items;
  /// The selected item of a single-selection list (-1 for none).
  int selected = -1;
  /// The item with the focus rectangle; for multiple selection also the anchor of Shift ranges.
  int caret = 0;
  int anchor = 0;
  int top = 0;
  int itemHeight = 0;
  /// The combo box whose dropped list this is (null for a list box of its own).
  HWND combo = nullptr;
  /// What the mouse holds: the selection being dragged, or a part of the scroll bar.
  bool selecting = false;
  /// WM_SETREDRAW(FALSE): changes are not shown until drawing is turned on again.
  bool redrawOff = false;
  ScrollPart pressedPart = ScrollPart::None;
  int thumbGrab = 0;
};

/// The state of a list box window (its extra bytes).
ListBoxState* ListBoxStateOf(HWND list);

/// Whether the list lets several items be selected (LBS_MULTIPLESEL or LBS_EXTENDEDSEL).
bool IsMultipleSelection(HWND list);

/// Whole rows that fit the client area (at least 1).
int VisibleRows(HWND list, const ListBoxState& state);

/// The row under a client point, or -1 when no item is there.
int RowAt(HWND list, const ListBoxState& state, POINT client);

/// Scrolls so that `index` shows, and repaints.
void ShowRow(HWND list, ListBoxState& state, int index);

/// Sets the first row shown (clamped) and repaints.
void ScrollListTo(HWND list, ListBoxState& state, int top);

/// Selects one item the way a user does (the others are deselected), moves the caret to it
/// and shows it; tells the parent with LBN_SELCHANGE when `notify` and LBS_NOTIFY.
void SelectByUser(HWND list, ListBoxState& state, int index, bool notify);

/// Sends a list notification (LBN_*) to the parent, or to the combo box owning the list.
void NotifyList(HWND list, ListBoxState& state, int code);

/// The row height measured from the list's font.
int MeasureRowHeight(HWND list);

/// The vertical scroll bar of a WS_VSCROLL list in window coordinates (its frame area).
VerticalScrollBar ListScrollBar(HWND list, const ListBoxState& state);

/// Draws the rows of the client area, and the scroll bar when the list has one.
void PaintListBox(HWND list, HDC dc);
void PaintListScrollBar(HWND list, const ListBoxState& state);

}  // namespace vel::platform
