#pragma once
// A window's menu bar, built from its definition before the platform window is created so that
// the frame is sized with the bar: menus of equal text are merged, items become item objects,
// and separators that would stand first, last or twice in a row are removed.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "runtime/windows/definition_view.h"
#include "runtime/windows/key_table.h"
#include "runtime/windows/menu_item.h"
#include "win32.h"

namespace vel::windows {

struct WindowObject;

struct WindowMenuBar {
  WindowMenuBar() = default;
  WindowMenuBar(const WindowMenuBar&) = delete;
  WindowMenuBar& operator=(const WindowMenuBar&) = delete;
  /// Takes the menu off the window that shows it and destroys it.
  ~WindowMenuBar();

  HMENU handle = nullptr;
  /// The menu bar record's flags (+5).
  std::uint32_t flags = 0;
  /// Every menu and item with its own object, in definition order.
  std::vector<std::unique_ptr<MenuItem>> items;
  /// The items' shortcut keys as a command table.
  KeyTable shortcuts;

  MenuItem* ItemOfField(std::int32_t field) const;
  /// Inserts a new item before the item `beforeField` in its menu (at the end of the bar when
  /// that field is not an item). Returns the new item, or null when the menu refused it.
  MenuItem* InsertItem(std::int32_t beforeField, std::int32_t field, std::string_view text);
  /// Deletes the item of a field (a popup with its menu); false when there is none.
  bool DeleteItem(std::int32_t field);

  /// The owning window, for the items made later.
  WindowObject* window = nullptr;

 private:
  /// Drops the objects of the items in `menu` and in every popup below it.
  void ForgetItemsOf(HMENU menu);
};

/// Builds the menu bar of the record at `offset` for `window`; items that take a USE variable
/// take the window's next USE address. Null when the record is not a menu bar.
std::unique_ptr<WindowMenuBar> BuildMenuBar(WindowObject& window, const DefinitionView& view,
                                            std::uint32_t offset);

/// Removes separators that stand first or last in `menu` or follow another separator, in it
/// and in every popup below it.
void RemoveStraySeparators(HMENU menu);

}  // namespace vel::windows
