// SetSysColors: new system colours, announced to every top-level window.

#include "platform/gdi/system_colors.h"
#include "win32.h"

namespace {

BOOL CALLBACK Announce(HWND window, LPARAM) {
  SendMessageA(window, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

}  // namespace

BOOL WINAPI SetSysColors(int cElements, const INT* lpaElements, const COLORREF* lpaRgbValues) {
  if (cElements < 0 || (cElements > 0 && (lpaElements == nullptr || lpaRgbValues == nullptr))) return FALSE;
  for (int i = 0; i < cElements; ++i) {
    if (!vel::platform::SetSystemColor(lpaElements[i], lpaRgbValues[i])) return FALSE;
  }
  EnumWindows(Announce, 0);
  return TRUE;
}
