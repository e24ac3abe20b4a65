#include "platform/user/system_menu.h"

#include <map>
#include <mutex>

#include "platform/user/nonclient.h"
#include "platform/user/win32_errors.h"

namespace vel::platform {
namespace {

std::mutex g_mutex;
std::map<HWND, HMENU> g_menus;

HMENU CreateStandardMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenuA(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenuA(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  return menu;
}

void Enable(HMENU menu, UINT command, bool enabled) {
  EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void ShowSystemMenu(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  if (menu == nullptr) {
    MessageBeep(0);
    return;
  }
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  const bool minimised = (style & WS_MINIMIZE) != 0;
  const bool maximised = (style & WS_MAXIMIZE) != 0;
  Enable(menu, SC_RESTORE, minimised || maximised);
  Enable(menu, SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !minimised);
  Enable(menu, SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !maximised);
  Enable(menu, SC_CLOSE, !(GetClassLongPtrA(window, GCL_STYLE) & CS_NOCLOSE));

  RECT outer{};
  GetWindowRect(window, &outer);
  NonClientLayout layout = LayoutNonClient(outer, static_cast<DWORD>(style),
                                           static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)), false);
  POINT corner{layout.caption.left, layout.caption.bottom};
  if (IsRectEmpty(&layout.caption)) corner = {outer.left, outer.top};
  UINT command = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, corner.x, corner.y, 0, window, nullptr));
  if (command != 0 && IsWindow(window)) SendMessageA(window, WM_SYSCOMMAND, command, 0);
}

void ReleaseSystemMenu(HWND window) {
  HMENU menu = nullptr;
  {
    std::lock_guard lock(g_mutex);
    auto found = g_menus.find(window);
    if (found == g_menus.end()) return;
    menu = found->second;
    g_menus.erase(found);
  }
  DestroyMenu(menu);
}

}  // namespace vel::platform

using namespace vel::platform;

HMENU WINAPI GetSystemMenu(HWND hWnd, BOOL bRevert) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (bRevert) {
    // Back to the standard menu: the window's own copy goes, and a new one is made when asked.
    ReleaseSystemMenu(hWnd);
    return nullptr;
  }
  if (!(GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_SYSMENU)) return nullptr;
  std::lock_guard lock(g_mutex);
  HMENU& menu = g_menus[hWnd];
  if (menu == nullptr || !IsMenu(menu)) menu = CreateStandardMenu();
  return menu;
}
