// Keyboard accelerator tables and TranslateAcceleratorA: a key message that matches an entry
// becomes WM_COMMAND (high word 1) for the window, unless the command is a disabled item of the
// window's menu, in which case the key is still taken but nothing is sent.

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/user/focus.h"
#include "platform/user/menu_store.h"
#include "platform/user/win32_errors.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

std::mutex g_mutex;

std::unordered_map<HACCEL, std::vector<ACCEL>>& Tables() {
  static auto* tables = new std::unordered_map<HACCEL, std::vector<ACCEL>>();
  return *tables;
}

// Accelerator handles are 4n+3: never a window (even) or menu (4n+1) handle; never reused.
uintptr_t g_nextTable = 0x100003;

std::optional<std::vector<ACCEL>> TableOf(HACCEL handle) {
  std::lock_guard lock(g_mutex);
  auto found = Tables().find(handle);
  if (found == Tables().end()) return std::nullopt;
  return found->second;
}

bool ModifiersMatch(BYTE flags) {
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  bool alt = GetKeyState(VK_MENU) < 0;
  return shift == ((flags & FSHIFT) != 0) && control == ((flags & FCONTROL) != 0) && alt == ((flags & FALT) != 0);
}

// The entry a key message selects. Virtual-key entries match key-downs with exactly their
// modifiers; character entries match the characters TranslateMessage made, Alt ones only as
// WM_SYSCHAR.
const ACCEL* Match(const std::vector<ACCEL>& table, const MSG& msg) {
  for (const ACCEL& entry : table) {
    bool virtualKey = (entry.fVirt & FVIRTKEY) != 0;
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (virtualKey && entry.key == msg.wParam && ModifiersMatch(entry.fVirt)) return &entry;
        break;
      case WM_CHAR:
      case WM_SYSCHAR:
        if (!virtualKey && entry.key == msg.wParam && ((entry.fVirt & FALT) != 0) == (msg.message == WM_SYSCHAR)) {
          return &entry;
        }
        break;
      default: break;
    }
  }
  return nullptr;
}

struct MenuPath {
  HMENU bar = nullptr;
  /// The popups from the bar down to the one that holds the command, with their positions.
  std::vector<std::pair<HMENU, UINT>> popups;
  bool found = false;
};

bool FindPath(HMENU menu, UINT command, MenuPath& path, int depth) {
  Menu* record = LookupMenu(menu);
  if (record == nullptr || depth > 32) return false;
  for (size_t index = 0; index < record->items.size(); ++index) {
    const MenuItem& item = record->items[index];
    if (!item.IsPopup() && item.id == command) return true;
    if (item.IsPopup()) {
      path.popups.emplace_back(item.submenu, static_cast<UINT>(index));
      if (FindPath(item.submenu, command, path, depth + 1)) return true;
      path.popups.pop_back();
    }
  }
  return false;
}

// Whether the window's menu lets the command through. The owner hears WM_INITMENU and
// WM_INITMENUPOPUP first, as if the menu were being opened, so it can bring the item's state
// up to date; that is skipped while the window is disabled or the mouse is captured.
bool MenuAllowsCommand(HWND window, UINT command) {
  MenuPath path;
  {
    MenuLock lock;
    path.bar = GetMenu(window);
    if (path.bar == nullptr || LookupMenu(path.bar) == nullptr) return true;
    path.found = FindPath(path.bar, command, path, 0);
  }
  if (!path.found) return true;
  if (IsWindowEnabled(window) && GetCapture() == nullptr) {
    SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(path.bar), 0);
    for (const auto& [popup, position] : path.popups) {
      SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(position, FALSE));
    }
  }
  UINT state = GetMenuState(path.bar, command, MF_BYCOMMAND);
  return state == static_cast<UINT>(-1) || !(state & (MF_GRAYED | MF_DISABLED));
}

}  // namespace
}  // namespace vel::platform

using namespace vel::platform;

HACCEL WINAPI CreateAcceleratorTableA(LPACCEL paccel, int cAccel) {
  if (paccel == nullptr || cAccel <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<ACCEL> entries(paccel, paccel + cAccel);
  std::lock_guard lock(g_mutex);
  auto handle = reinterpret_cast<HACCEL>(g_nextTable);
  g_nextTable += 4;
  Tables().emplace(handle, std::move(entries));
  return handle;
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL hAccel) {
  std::lock_guard lock(g_mutex);
  if (Tables().erase(hAccel) == 0) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return FALSE;
  }
  return TRUE;
}

int WINAPI CopyAcceleratorTableA(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries) {
  std::optional<std::vector<ACCEL>> table = TableOf(hAccelSrc);
  if (!table) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return 0;
  }
  if (lpAccelDst == nullptr) return static_cast<int>(table->size());
  int count = std::min(cAccelEntries, static_cast<int>(table->size()));
  if (count <= 0) return 0;
  std::memcpy(lpAccelDst, table->data(), static_cast<size_t>(count) * sizeof(ACCEL));
  return count;
}

int WINAPI TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg) {
  if (lpMsg == nullptr) return 0;
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  std::optional<std::vector<ACCEL>> table = TableOf(hAccTable);
  if (!table) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return 0;
  }
  const ACCEL* entry = Match(*table, *lpMsg);
  if (entry == nullptr) return 0;
  UINT command = entry->cmd;
  if (MenuAllowsCommand(hWnd, command)) SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(command, 1), 0);
  return 1;
}
