#pragma once
// Menu objects: menus are records in one table, reached through handles that the table checks,
// so a destroyed or made-up HMENU is refused rather than followed. Items keep Win32's flag bits;
// a popup item holds the handle of its submenu. The table is guarded by one recursive lock that
// nobody holds while sending a message: code that shows or tracks menus works on copies.

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "win32.h"

namespace vel::platform {

/// The item flags a menu keeps (type and state); the position and command selectors are not
/// stored.
inline constexpr UINT kStoredItemFlags = MF_GRAYED | MF_DISABLED | MF_BITMAP | MF_CHECKED | MF_POPUP |
                                         MF_MENUBARBREAK | MF_MENUBREAK | MF_HILITE | MF_OWNERDRAW |
                                         MF_SEPARATOR | MF_DEFAULT | MF_RIGHTJUSTIFY;

struct MenuItem {
  UINT flags = 0;
  /// The command identifier; for a popup item, the submenu's handle as a number.
  UINT_PTR id = 0;
  HMENU submenu = nullptr;
  std::string text;

  bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
  bool IsPopup() const { return submenu != nullptr; }
  bool IsEnabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) == 0; }
  bool IsChecked() const { return (flags & MF_CHECKED) != 0; }
};

struct Menu {
  HMENU handle = nullptr;
  /// Made by CreatePopupMenu rather than CreateMenu.
  bool popup = false;
  std::vector<MenuItem> items;
};

/// Holds the menu table's lock for its lifetime.
class MenuLock {
 public:
  MenuLock();
  ~MenuLock();
  MenuLock(const MenuLock&) = delete;
  MenuLock& operator=(const MenuLock&) = delete;

 private:
  std::unique_lock<std::recursive_mutex> m_lock;
};

/// The menu of a handle, or null. Needs the menu lock.
Menu* LookupMenu(HMENU handle);

/// Where an item is: the menu that holds it (a submenu, when it was found by command) and its
/// index there.
struct ItemLocation {
  Menu* menu = nullptr;
  size_t index = 0;
  MenuItem& Item() const { return menu->items[index]; }
};

/// Finds an item by position (MF_BYPOSITION) or by command identifier, searching submenus
/// depth first as Win32 does. Needs the menu lock.
std::optional<ItemLocation> FindMenuItem(HMENU menu, UINT position, UINT flags);

/// A copy of a menu's items; empty when the handle names no menu.
std::vector<MenuItem> CopyMenuItems(HMENU menu);

/// The character after the first single "&" of an item's text, lower-cased; 0 when there is
/// none. Text after a tab (the shortcut) has no mnemonic.
char MnemonicOf(const std::string& text);

}  // namespace vel::platform
