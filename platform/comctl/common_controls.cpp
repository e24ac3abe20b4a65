// The common controls' entry points: initialising them registers their window classes.

#include "platform/comctl/tooltip_control.h"

using namespace vel::platform;

void WINAPI InitCommonControls(void) { RegisterTooltipClass(); }

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
  if (picce == nullptr || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  // Tooltips belong to every group of classes that can show them.
  RegisterTooltipClass();
  return TRUE;
}
