#pragma once
// The records of one window definition in the order opening the window builds them, and the
// variable bindings among them in the order the window takes its USE addresses. Whoever
// supplies the USE address list from outside a compiled procedure (a preview tool, a test)
// reads the order here instead of repeating the window's walk.

#include <cstdint>
#include <vector>

#include "runtime/windows/definition_record.h"
#include "runtime/windows/definition_view.h"

namespace vel::windows {

/// Records of a window definition, in opening order.
struct OrderedRecords {
  std::vector<Record> records;
  /// Links that lead to no readable record (outside the body, an unknown kind, a record cut
  /// short) or back to a record reached before. A definition with any is damaged.
  std::vector<std::uint32_t> brokenLinks;
};

/// The menu bar with its menus and items (built before the window exists), then the control
/// chain with the children of option boxes and groups right after their container, then the
/// toolbar and its controls (made after the window). The window record itself is not listed.
OrderedRecords RecordsInOpeningOrder(const DefinitionView& view, const Record& window);

/// True for a record that takes the next USE address when its window opens: a menu item
/// flagged as having a USE descriptor, or a control whose USE descriptor binds a variable
/// (a descriptor with constant data binds none). Menus, menu bars and toolbars take none.
bool TakesUseAddress(const Record& record);

/// One variable a window binds: the record's field number and kind, and its descriptor (kind
/// 0, size 0 for a flagged menu item whose descriptor cannot be read).
struct UseBinding {
  std::int32_t field = 0;
  std::uint8_t recordKind = 0;
  UseDescriptor use;
};

/// The variables among `records` (a window's, in opening order) in the order the window's USE
/// address list must give them.
std::vector<UseBinding> UseBindingsOf(const OrderedRecords& records);

}  // namespace vel::windows
