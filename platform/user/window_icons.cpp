#include "platform/user/window_icons.h"

#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/display/display_backend.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

struct OwnIcons {
  HICON big = nullptr;
  HICON small = nullptr;
};

std::mutex g_iconMutex;

/// Own icons by window. Window handles are never handed out twice, so an entry of a window that
/// is gone is only dead weight; it is dropped the next time an icon is set.
std::unordered_map<HWND, OwnIcons>& IconTable() {
  static auto* table = new std::unordered_map<HWND, OwnIcons>();
  return *table;
}

OwnIcons OwnIconsOf(HWND window) {
  std::lock_guard lock(g_iconMutex);
  auto found = IconTable().find(window);
  return found == IconTable().end() ? OwnIcons{} : found->second;
}

HICON ClassIcon(HWND window, int index) { return reinterpret_cast<HICON>(GetClassLongPtrA(window, index)); }

void ForgetGoneWindows() {
  std::vector<HWND> windows;
  {
    std::lock_guard lock(g_iconMutex);
    for (const auto& [handle, icons] : IconTable()) windows.push_back(handle);
  }
  for (HWND handle : windows) {
    if (IsWindow(handle)) continue;
    std::lock_guard lock(g_iconMutex);
    IconTable().erase(handle);
  }
}

}  // namespace

LRESULT SetOwnIcon(HWND window, WPARAM kind, HICON icon) {
  if (!IsWindow(window) || (kind != ICON_BIG && kind != ICON_SMALL)) return 0;
  ForgetGoneWindows();
  HICON previous = nullptr;
  {
    std::lock_guard lock(g_iconMutex);
    OwnIcons& icons = IconTable()[window];
    HICON& slot = kind == ICON_BIG ? icons.big : icons.small;
    previous = slot;
    slot = icon;
  }
  ReportDesktopIcon(window);
  return reinterpret_cast<LRESULT>(previous);
}

LRESULT OwnIcon(HWND window, WPARAM kind) {
  if (!IsWindow(window)) return 0;
  OwnIcons icons = OwnIconsOf(window);
  switch (kind) {
    case ICON_BIG: return reinterpret_cast<LRESULT>(icons.big);
    case ICON_SMALL: return reinterpret_cast<LRESULT>(icons.small);
    case ICON_SMALL2: {
      HICON icon = icons.small;
      if (icon == nullptr) icon = icons.big;
      if (icon == nullptr) icon = ClassIcon(window, GCLP_HICONSM);
      if (icon == nullptr) icon = ClassIcon(window, GCLP_HICON);
      return reinterpret_cast<LRESULT>(icon);
    }
    default: return 0;
  }
}

HICON DesktopIconOf(HWND window) {
  if (!IsWindow(window)) return nullptr;
  OwnIcons icons = OwnIconsOf(window);
  if (icons.big != nullptr) return icons.big;
  if (HICON icon = ClassIcon(window, GCLP_HICON)) return icon;
  if (icons.small != nullptr) return icons.small;
  return ClassIcon(window, GCLP_HICONSM);
}

HICON CaptionIconOf(HWND window) {
  if (!IsWindow(window)) return nullptr;
  OwnIcons icons = OwnIconsOf(window);
  if (icons.small != nullptr) return icons.small;
  if (icons.big != nullptr) return icons.big;
  if (HICON icon = ClassIcon(window, GCLP_HICONSM)) return icon;
  return ClassIcon(window, GCLP_HICON);
}

void ReportDesktopIcon(HWND window) {
  {
    TreeLock lock;
    Window* record = LookupWindow(window);
    if (record == nullptr || !IsTopLevel(*record)) return;
  }
  // Told without any lock held: the backend may look at the icon's pixels.
  CurrentDisplay().TopLevelIconChanged(window, DesktopIconOf(window));
}

void ReportClassIcons(const WindowClass* windowClass) {
  std::vector<HWND> windows;
  {
    TreeLock lock;
    for (HWND handle : TopLevelWindows()) {
      Window* record = LookupWindow(handle);
      if (record != nullptr && record->windowClass.get() == windowClass) windows.push_back(handle);
    }
  }
  for (HWND handle : windows) ReportDesktopIcon(handle);
}

}  // namespace vel::platform
