#pragma once
// The state of one "ComboBox" control of the drop-down list kind (CBS_DROPDOWNLIST): the
// selection field drawn by the combo box itself and the list it drops, a "ComboLBox" popup
// that is a list box reporting to the combo box.

#include "win32.h"

namespace vel::platform {

/// Combo box extra bytes: the font from WM_SETFONT, then the control's ComboBoxState.
constexpr int kComboFontOffset = 0;
constexpr int kComboStateOffset = static_cast<int>(sizeof(LONG_PTR));
constexpr int kComboExtraBytes = 2 * static_cast<int>(sizeof(LONG_PTR));

struct ComboBoxState {
  HWND list = nullptr;
  bool dropped = false;
  /// The selection when the list dropped, given back when the drop is cancelled.
  int selectionBeforeDrop = -1;
  /// Height of the dropped list: what the control was created with beyond its field.
  int droppedHeight = 100;
};

ComboBoxState* ComboBoxStateOf(HWND combo);

/// The drop button's rectangle at the right of the field (client coordinates).
RECT ComboButtonRect(HWND combo);

/// Draws the selection field and the drop button.
void PaintComboBox(HWND combo, HDC dc);

LRESULT CALLBACK ComboListProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

}  // namespace vel::platform
