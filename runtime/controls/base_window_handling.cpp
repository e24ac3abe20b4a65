// The framework's base window: how a control of a class of its own looks and behaves until its
// kind does more.

#include "runtime/controls/windowed_control.h"

namespace vel::controls {

LRESULT WindowedControl::HandleBaseWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  switch (message) {
    case WM_PAINT:
      passOn = false;
      return PaintBetweenBeginAndEnd([this](HDC dc) { PaintBaseWindow(dc); });
    case WM_ERASEBKGND:
      // Painting fills the background itself (or leaves it, when transparent).
      passOn = false;
      return 1;
    case WM_SETTEXT:
    case WM_ENABLE: {
      passOn = false;
      LRESULT result = DefWindowProcA(m_handle, message, wParam, lParam);
      InvalidateRect(m_handle, nullptr, TRUE);
      return result;
    }
    case WM_SETFONT:
      passOn = false;
      if (LOWORD(lParam) != 0) InvalidateRect(m_handle, nullptr, TRUE);
      return 0;
    case WM_GETFONT: passOn = false; return m_font ? reinterpret_cast<LRESULT>(m_font->Handle()) : 0;
    case WM_LBUTTONDOWN:
      SetFocus(m_handle);
      return 0;
    case WM_LBUTTONUP:
      NotifySkipControlUsed();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE) NotifySkipControlUsed();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(m_handle, nullptr, FALSE); return 0;
    default: return 0;
  }
}

}  // namespace vel::controls
