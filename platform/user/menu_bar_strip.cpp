#include "platform/user/menu_bar_strip.h"

namespace vel::platform {

void PaintMenuBarStrip(HWND, HDC dc, const RECT& strip) {
  FillRect(dc, &strip, GetSysColorBrush(COLOR_MENU));
}

}  // namespace vel::platform
