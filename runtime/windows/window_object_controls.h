#pragma once
// What the window manager needs of a control, and the factory that makes controls from the
// records of a window definition. The control kinds fill the factory when their modules
// initialise; a record whose kind has no entry gets no control.

#include <cstdint>
#include <memory>

#include "runtime/windows/definition_record.h"
#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// A control of an open window, as the window manager sees it.
class WindowControl {
 public:
  virtual ~WindowControl() = default;

  /// The control's field number (its definition record's).
  virtual std::int32_t FieldNumber() const = 0;
  /// True when the control counts as a field (events about other controls report field 0).
  virtual bool IsField() const = 0;
  /// The control's window (focus goes there).
  virtual HWND Handle() const = 0;
  /// True when the control has a USE variable (the accept-all pass visits only those).
  virtual bool HasUseVariable() const = 0;
  /// True for controls placed on the toolbar (focus moves through the toolbar then).
  virtual bool InToolbar() const { return false; }

  /// Shows the present value of the USE variable.
  virtual void Redisplay() = 0;
  /// Stores the displayed value into the USE variable (before the window closes).
  virtual void StoreDisplayedValue() = 0;
  /// The accept-all check: false when a required value is missing or invalid.
  virtual bool Validate() = 0;
  /// Sets the selection range of the control's text.
  virtual void SetSelection(std::int32_t start, std::int32_t end) = 0;
  /// Runs when EVENT:Selected for this control has been delivered; returns false when the
  /// window must not scroll the control into view.
  virtual bool OnSelected() = 0;
};

/// What a control is made from.
struct ControlCreation {
  WindowObject& window;
  /// The client window, the parent of the window's controls.
  HWND parent;
  const Record& record;
  /// The USE variable's address for records that have a USE descriptor, else null.
  void* useAddress;
};

using ControlCreator = std::unique_ptr<WindowControl> (*)(const ControlCreation& creation);

/// Installs (or, with null, removes) the creator of a control type code.
void SetControlCreator(std::uint8_t controlType, ControlCreator creator);

/// The creator of a control type code, or null.
ControlCreator FindControlCreator(std::uint8_t controlType);

}  // namespace vel::windows
