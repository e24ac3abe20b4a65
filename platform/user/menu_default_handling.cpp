#include "platform/user/menu_default_handling.h"

#include "platform/user/menu_bar.h"
#include "platform/user/menu_tracking.h"
#include "platform/user/system_menu.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

constexpr LPARAM kRepeatBit = 1L << 30;
constexpr LPARAM kAltBit = 1L << 29;

// The menu key (VK_MENU or VK_F10) pressed on this thread, or 0, and the toggle bits of every
// key when it went down: a key pressed since flips its bit, even when a program's loop took
// that key as an accelerator and the default procedure never saw it.
thread_local WPARAM t_menuKeyAlone = 0;
thread_local BYTE t_togglesAtMenuKey[256];

bool OnlyMenuKeyPressedSince(WPARAM menuKey) {
  BYTE now[256];
  GetKeyboardState(now);
  for (int key = 0; key < 256; ++key) {
    bool sameKey = key == static_cast<int>(menuKey) ||
                   (menuKey == VK_MENU && (key == VK_LMENU || key == VK_RMENU));
    if (!sameKey && ((now[key] ^ t_togglesAtMenuKey[key]) & 1)) return false;
  }
  return true;
}

HWND TopLevelWindowOf(HWND handle) {
  TreeLock lock;
  Window* window = LookupWindow(handle);
  return window != nullptr ? TopLevelOf(window)->handle : handle;
}

}  // namespace

bool MenuDefaultHandling(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_SYSKEYDOWN:
      if (wParam == VK_MENU || wParam == VK_F10) {
        if (!(lParam & kRepeatBit)) {
          t_menuKeyAlone = wParam;
          GetKeyboardState(t_togglesAtMenuKey);
        }
      } else {
        t_menuKeyAlone = 0;
      }
      return false;
    case WM_KEYDOWN:
      t_menuKeyAlone = 0;
      return false;
    case WM_SYSKEYUP:
    case WM_KEYUP:
      if (wParam != 0 && wParam == t_menuKeyAlone) {
        t_menuKeyAlone = 0;
        if (!OnlyMenuKeyPressedSince(wParam)) return false;
        SendMessageA(TopLevelWindowOf(window), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return true;
      }
      return false;
    case WM_SYSCHAR:
      if (lParam & kAltBit) {
        SendMessageA(TopLevelWindowOf(window), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
      } else {
        MessageBeep(0);
      }
      return true;
    case WM_NCLBUTTONDOWN:
      if (wParam != HTMENU && wParam != HTSYSMENU) return false;
      SendMessageA(window, WM_SYSCOMMAND, SC_MOUSEMENU | wParam, lParam);
      return true;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MOUSEMENU:
          if ((wParam & 0x000F) == HTSYSMENU) {
            ShowSystemMenu(window);
          } else {
            TrackMenuBarFromMouse(window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
          }
          return true;
        case SC_KEYMENU:
          // Alt+Space opens the window menu; any other letter, or none, the menu bar.
          if (lParam == ' ') {
            ShowSystemMenu(window);
          } else {
            TrackMenuBarFromKeyboard(window, static_cast<char>(lParam));
          }
          return true;
        default: return false;
      }
    case WM_NCDESTROY: {
      // A window's menus go with the window.
      HMENU menu = GetMenu(window);
      if (menu != nullptr && IsMenu(menu)) DestroyMenu(menu);
      ReleaseSystemMenu(window);
      return false;
    }
    default: return false;
  }
}

}  // namespace vel::platform
