#include "runtime/windows/window_font.h"

#include "runtime/windows/window_font_metrics.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

int ScreenDotsPerInchY() {
  HDC screen = GetDC(nullptr);
  int dotsPerInch = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dotsPerInch > 0 ? dotsPerInch : 96;
}

}  // namespace

void CreateWindowFont(WindowObject& window) {
  ReleaseWindowFont(window);
  if (!window.font && window.opener != nullptr && IsOpenWindow(window.opener))
    window.font = window.opener->font;
  if (!window.font) return;
  LOGFONTA logical = LogicalFontFor(*window.font, ScreenDotsPerInchY());
  window.fontHandle = CreateFontIndirectA(&logical);
}

void ReleaseWindowFont(WindowObject& window) {
  if (window.fontHandle != nullptr) DeleteObject(window.fontHandle);
  window.fontHandle = nullptr;
}

HFONT WindowFontHandle(const WindowObject& window) {
  return window.fontHandle != nullptr ? window.fontHandle : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

}  // namespace vel::windows
