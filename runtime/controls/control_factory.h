#pragma once
// The control factory: one slot per control type code that the runtime knows, each holding the
// creation function of a kind the program uses or nothing. The program fills the slots of its
// kinds when it initialises; a record whose slot is empty gets no control and the window's
// other controls are built as usual.

#include <cstdint>
#include <memory>

#include "runtime/windows/definition_record.h"

namespace vel::windows {
struct WindowObject;
}

namespace vel::controls {

class ControlBase;

/// Allocates the control of a kind for its record (the object's own constructor runs; the
/// factory then enters it in its window and completes its construction).
using ControlCreator = std::unique_ptr<ControlBase> (*)(const windows::Record& record);

/// Stores `creator` in the slot of `code` (null empties it). False, and nothing stored, for a
/// code that has no slot: the slots are 1 to 18, 21, 32 to 35 and 37 to 39.
bool RegisterControlKind(std::uint8_t code, ControlCreator creator);

/// The creator in the slot of `code`, or null.
ControlCreator ControlKindCreator(std::uint8_t code);

/// Creates the control of a record in the window being built: allocated by its kind's creator,
/// entered in `window.controls` and constructed. Null when the slot is empty.
ControlBase* CreateControl(windows::WindowObject& window, const windows::Record& record);

/// Template for the creation function of a kind.
template <class Kind>
std::unique_ptr<ControlBase> CreateKind(const windows::Record& record) {
  return std::make_unique<Kind>(record);
}

}  // namespace vel::controls
