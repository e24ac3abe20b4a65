#pragma once
// The window procedure of a standard control that keeps a state object in its extra bytes: the
// object is made at WM_NCCREATE (before the handler sees that message) and deleted after
// WM_NCDESTROY; messages that arrive without one go to the default procedure.

#include "win32.h"

namespace vel::platform {

template <typename State>
using ControlHandler = LRESULT (*)(HWND, State&, UINT, WPARAM, LPARAM);

template <typename State>
LRESULT WithControlState(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int stateOffset,
                         ControlHandler<State> handle) {
  if (message == WM_NCCREATE) SetWindowLongPtrA(window, stateOffset, reinterpret_cast<LONG_PTR>(new State()));
  auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(window, stateOffset));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, stateOffset, 0);
    delete state;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return handle(window, *state, message, wParam, lParam);
}

}  // namespace vel::platform
