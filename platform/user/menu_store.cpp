#include "platform/user/menu_store.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "platform/user/win32_errors.h"

namespace vel::platform {
namespace {

std::recursive_mutex& MenuMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

std::unordered_map<HMENU, std::unique_ptr<Menu>>& Table() {
  static auto* table = new std::unordered_map<HMENU, std::unique_ptr<Menu>>();
  return *table;
}

// Menu handles are odd numbers of the form 4n+1, so they never equal a window handle (even)
// or an accelerator table handle (4n+3); they are never reused.
uintptr_t g_nextMenu = 0x100001;

constexpr UINT kNotFound = static_cast<UINT>(-1);

HMENU AddMenu(bool popup) {
  MenuLock lock;
  auto menu = std::make_unique<Menu>();
  menu->handle = reinterpret_cast<HMENU>(g_nextMenu);
  menu->popup = popup;
  g_nextMenu += 4;
  HMENU handle = menu->handle;
  Table().emplace(handle, std::move(menu));
  return handle;
}

Menu* MenuOrError(HMENU handle) {
  Menu* menu = LookupMenu(handle);
  if (menu == nullptr) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return menu;
}

std::optional<ItemLocation> FindByCommand(Menu* menu, UINT command, std::unordered_set<Menu*>& visited) {
  if (!visited.insert(menu).second) return std::nullopt;
  for (size_t index = 0; index < menu->items.size(); ++index) {
    const MenuItem& item = menu->items[index];
    if (!item.IsPopup() && item.id == command) return ItemLocation{menu, index};
    if (item.IsPopup()) {
      if (Menu* submenu = LookupMenu(item.submenu)) {
        if (auto found = FindByCommand(submenu, command, visited)) return found;
      }
    }
  }
  return std::nullopt;
}

// True when `candidate` is `menu` or holds it somewhere below: making it a submenu of `menu`
// would close a loop that every recursive walk would follow forever.
bool Contains(HMENU candidate, HMENU menu, std::unordered_set<HMENU>& visited) {
  if (candidate == menu) return true;
  if (!visited.insert(candidate).second) return false;
  Menu* record = LookupMenu(candidate);
  if (record == nullptr) return false;
  for (const MenuItem& item : record->items) {
    if (item.IsPopup() && Contains(item.submenu, menu, visited)) return true;
  }
  return false;
}

// The item a call describes, checked: a popup must name an existing menu that does not hold
// the menu it goes into.
std::optional<MenuItem> MakeItem(HMENU into, UINT flags, UINT_PTR idOrSubmenu, LPCSTR text) {
  MenuItem item;
  item.flags = flags & kStoredItemFlags;
  if (flags & MF_POPUP) {
    auto submenu = reinterpret_cast<HMENU>(idOrSubmenu);
    if (LookupMenu(submenu) == nullptr) {
      SetLastError(ERROR_INVALID_MENU_HANDLE);
      return std::nullopt;
    }
    std::unordered_set<HMENU> visited;
    if (Contains(submenu, into, visited)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return std::nullopt;
    }
    item.submenu = submenu;
  }
  item.id = idOrSubmenu;
  // Bitmap and owner-drawn items carry a handle or data in place of text; neither is drawn
  // here, so they keep no text.
  bool hasText = !(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW));
  if (hasText && text != nullptr) item.text = text;
  return item;
}

void DestroyMenuTree(HMENU handle) {
  auto found = Table().find(handle);
  if (found == Table().end()) return;
  std::unique_ptr<Menu> menu = std::move(found->second);
  Table().erase(found);
  for (const MenuItem& item : menu->items) {
    if (item.IsPopup()) DestroyMenuTree(item.submenu);
  }
}

BOOL TakeItemOut(HMENU hMenu, UINT position, UINT flags, bool destroySubmenu) {
  MenuLock lock;
  if (MenuOrError(hMenu) == nullptr) return FALSE;
  auto location = FindMenuItem(hMenu, position, flags);
  if (!location) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  MenuItem item = location->Item();
  location->menu->items.erase(location->menu->items.begin() + static_cast<std::ptrdiff_t>(location->index));
  if (destroySubmenu && item.IsPopup()) DestroyMenuTree(item.submenu);
  return TRUE;
}

}  // namespace

MenuLock::MenuLock() : m_lock(MenuMutex()) {}
MenuLock::~MenuLock() = default;

Menu* LookupMenu(HMENU handle) {
  if (handle == nullptr) return nullptr;
  auto found = Table().find(handle);
  return found == Table().end() ? nullptr : found->second.get();
}

std::optional<ItemLocation> FindMenuItem(HMENU handle, UINT position, UINT flags) {
  Menu* menu = LookupMenu(handle);
  if (menu == nullptr) return std::nullopt;
  if (flags & MF_BYPOSITION) {
    if (position >= menu->items.size()) return std::nullopt;
    return ItemLocation{menu, position};
  }
  std::unordered_set<Menu*> visited;
  return FindByCommand(menu, position, visited);
}

std::vector<MenuItem> CopyMenuItems(HMENU handle) {
  MenuLock lock;
  Menu* menu = LookupMenu(handle);
  return menu != nullptr ? menu->items : std::vector<MenuItem>{};
}

char MnemonicOf(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size() && text[i] != '\t'; ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    if (text[i + 1] == '\t') return 0;
    return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}

}  // namespace vel::platform

using namespace vel::platform;

HMENU WINAPI CreateMenu(void) { return AddMenu(false); }

HMENU WINAPI CreatePopupMenu(void) { return AddMenu(true); }

BOOL WINAPI DestroyMenu(HMENU hMenu) {
  MenuLock lock;
  if (MenuOrError(hMenu) == nullptr) return FALSE;
  DestroyMenuTree(hMenu);
  return TRUE;
}

BOOL WINAPI IsMenu(HMENU hMenu) {
  MenuLock lock;
  return LookupMenu(hMenu) != nullptr ? TRUE : FALSE;
}

BOOL WINAPI InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
  MenuLock lock;
  Menu* menu = MenuOrError(hMenu);
  if (menu == nullptr) return FALSE;
  std::optional<MenuItem> item = MakeItem(hMenu, uFlags, uIDNewItem, lpNewItem);
  if (!item) return FALSE;
  Menu* target = menu;
  size_t index = menu->items.size();
  if (uPosition != kNotFound) {
    if (uFlags & MF_BYPOSITION) {
      index = std::min<size_t>(uPosition, menu->items.size());
    } else {
      // By command, the new item goes before that item, in whichever submenu holds it.
      auto location = FindMenuItem(hMenu, uPosition, uFlags);
      if (!location) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
      }
      target = location->menu;
      index = location->index;
    }
  }
  target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(index), std::move(*item));
  return TRUE;
}

BOOL WINAPI AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
  return InsertMenuA(hMenu, kNotFound, (uFlags & ~MF_BYPOSITION) | MF_BYPOSITION, uIDNewItem, lpNewItem);
}

BOOL WINAPI ModifyMenuA(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
  MenuLock lock;
  if (MenuOrError(hMnu) == nullptr) return FALSE;
  auto location = FindMenuItem(hMnu, uPosition, uFlags);
  if (!location) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  std::optional<MenuItem> item = MakeItem(location->menu->handle, uFlags, uIDNewItem, lpNewItem);
  if (!item) return FALSE;
  // The submenu an item opened goes with it, unless the new item opens the same one.
  HMENU replaced = location->Item().submenu;
  location->Item() = std::move(*item);
  if (replaced != nullptr && replaced != location->Item().submenu) DestroyMenuTree(replaced);
  return TRUE;
}

BOOL WINAPI DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) { return TakeItemOut(hMenu, uPosition, uFlags, true); }

BOOL WINAPI RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) { return TakeItemOut(hMenu, uPosition, uFlags, false); }

DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
  MenuLock lock;
  if (MenuOrError(hMenu) == nullptr) return kNotFound;
  auto location = FindMenuItem(hMenu, uIDCheckItem, uCheck);
  if (!location) return kNotFound;
  MenuItem& item = location->Item();
  DWORD previous = item.flags & MF_CHECKED;
  item.flags = (item.flags & ~MF_CHECKED) | (uCheck & MF_CHECKED);
  return previous;
}

BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
  MenuLock lock;
  if (MenuOrError(hMenu) == nullptr) return -1;
  auto location = FindMenuItem(hMenu, uIDEnableItem, uEnable);
  if (!location) return -1;
  MenuItem& item = location->Item();
  UINT previous = item.flags & (MF_GRAYED | MF_DISABLED);
  item.flags = (item.flags & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
  return static_cast<BOOL>(previous);
}

BOOL WINAPI CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags) {
  MenuLock lock;
  if (MenuOrError(hmenu) == nullptr) return FALSE;
  auto firstItem = FindMenuItem(hmenu, first, flags);
  auto lastItem = FindMenuItem(hmenu, last, flags);
  auto checkItem = FindMenuItem(hmenu, check, flags);
  if (!firstItem || !lastItem || !checkItem || firstItem->menu != lastItem->menu || firstItem->menu != checkItem->menu) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  size_t from = std::min(firstItem->index, lastItem->index);
  size_t to = std::max(firstItem->index, lastItem->index);
  for (size_t index = from; index <= to; ++index) {
    MenuItem& item = firstItem->menu->items[index];
    if (item.IsSeparator() || item.IsPopup()) continue;
    item.flags = (item.flags & ~MF_CHECKED) | (index == checkItem->index ? MF_CHECKED : 0);
  }
  return TRUE;
}

HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos) {
  MenuLock lock;
  if (MenuOrError(hMenu) == nullptr || nPos < 0) return nullptr;
  auto location = FindMenuItem(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
  return location ? location->Item().submenu : nullptr;
}

int WINAPI GetMenuItemCount(HMENU hMenu) {
  MenuLock lock;
  Menu* menu = MenuOrError(hMenu);
  return menu != nullptr ? static_cast<int>(menu->items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos) {
  MenuLock lock;
  if (MenuOrError(hMenu) == nullptr || nPos < 0) return kNotFound;
  auto location = FindMenuItem(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
  if (!location || location->Item().IsPopup()) return kNotFound;
  return static_cast<UINT>(location->Item().id);
}

UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
  MenuLock lock;
  if (MenuOrError(hMenu) == nullptr) return kNotFound;
  auto location = FindMenuItem(hMenu, uId, uFlags);
  if (!location) return kNotFound;
  const MenuItem& item = location->Item();
  if (!item.IsPopup()) return item.flags;
  // A popup item reports its submenu's item count in the high byte.
  Menu* submenu = LookupMenu(item.submenu);
  UINT count = submenu != nullptr ? static_cast<UINT>(std::min<size_t>(submenu->items.size(), 0xFF)) : 0;
  return (count << 8) | (item.flags & 0xFF);
}

int WINAPI GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags) {
  MenuLock lock;
  if (MenuOrError(hMenu) == nullptr) return 0;
  auto location = FindMenuItem(hMenu, uIDItem, flags);
  if (!location) return 0;
  const std::string& text = location->Item().text;
  if (lpString == nullptr || cchMax <= 0) return static_cast<int>(text.size());
  size_t length = std::min(text.size(), static_cast<size_t>(cchMax - 1));
  std::memcpy(lpString, text.data(), length);
  lpString[length] = '\0';
  return static_cast<int>(length);
}
