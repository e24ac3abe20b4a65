#pragma once
// Popup menus on screen: each open popup is a topmost window of the class "#32768" that shows
// a copy of its menu's items (taken when it opens, after WM_INITMENUPOPUP) and the selection
// the menu loop gives it. The window never takes activation or focus.

#include <vector>

#include "platform/user/menu_store.h"
#include "win32.h"

namespace vel::platform {

struct PopupView {
  HMENU menu = nullptr;
  std::vector<MenuItem> items;
  /// Item rectangles in the popup's client coordinates (the whole window).
  std::vector<RECT> boxes;
  SIZE size{};
  int selected = -1;
  HWND window = nullptr;
};

/// Fills `view.items` from its menu and lays them out.
void LoadPopupView(PopupView& view);

/// Creates and shows the popup window with its top-left corner at `screenPoint`, moved back
/// onto the screen where it would cross an edge (`avoidLeft` gives the x to end at instead of
/// starting at when it must go left, e.g. a parent popup's left edge). The view must outlive
/// the window.
void OpenPopupWindow(HWND owner, PopupView& view, POINT screenPoint, int avoidLeft);

/// Destroys the popup window of a view.
void ClosePopupWindow(PopupView& view);

/// Changes the selected item and redraws the popup.
void SelectPopupItem(PopupView& view, int item);

/// The item under a screen point (separators included), or -1; `inside` tells whether the
/// point is over the popup at all.
int PopupItemAt(const PopupView& view, POINT screenPoint, bool* inside);

/// Draws a popup's frame and items into a DC whose origin is the popup's top-left corner.
void PaintPopup(HDC dc, const PopupView& view);

}  // namespace vel::platform
