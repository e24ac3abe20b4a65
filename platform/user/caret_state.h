#pragma once
// The caret as the program set it, for whoever draws it.

#include "win32.h"

namespace vel::platform {

struct CaretState {
  HWND owner = nullptr;
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
  POINT position{};
  /// 0 means shown: ShowCaret and HideCaret count, as on the original.
  int hideCount = 0;
};

/// The caret now (owner null when there is none).
CaretState CurrentCaret();

}  // namespace vel::platform
