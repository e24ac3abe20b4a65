#pragma once
// The window procedures of the standard classes ("Button", "Static", "Edit", "ListBox",
// "ComboBox") and where their state
// lives in the window's extra bytes (ahead of any bytes a superclass adds after them).

#include "win32.h"

namespace vel::platform {

/// Button extra bytes: the BST_* state word (plus BST_HOT while the mouse is over it), the
/// font from WM_SETFONT and the icon or bitmap from BM_SETIMAGE.
constexpr int kButtonStateOffset = 0;
constexpr int kButtonFontOffset = static_cast<int>(sizeof(LONG_PTR));
constexpr int kButtonImageOffset = 2 * static_cast<int>(sizeof(LONG_PTR));
constexpr int kButtonExtraBytes = 3 * static_cast<int>(sizeof(LONG_PTR));

/// Static extra bytes: the font from WM_SETFONT and the icon of an SS_ICON control.
constexpr int kStaticFontOffset = 0;
constexpr int kStaticIconOffset = static_cast<int>(sizeof(LONG_PTR));
constexpr int kStaticExtraBytes = 2 * static_cast<int>(sizeof(LONG_PTR));

LRESULT CALLBACK ButtonProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
/// "Edit" (single-line), "ListBox" and "ComboBox" (drop-down list); their states live in
/// edit_state.h, list_box_state.h and combo_box_state.h.
LRESULT CALLBACK EditProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboBoxProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

/// Draws a button in its current state into `dc` (client coordinates).
void PaintButton(HWND button, HDC dc);

}  // namespace vel::platform
