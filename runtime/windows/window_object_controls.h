#pragma once
// What the window manager needs of a control, and the hook through which the control framework
// builds a window's controls from the records of its definition.

#include <cstdint>
#include <span>
#include <string>

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

  /// The window routes a command for this control's field (its identifier is the field number
  /// + 0x4000): `notification` is the WM_COMMAND notification code, `source` the control window
  /// that sent it, or null for a key (hot key, accelerator), which arrives as a click (code 0).
  /// The default sends QUERY_COMMAND to the control's window, wParam MAKEWPARAM(identifier,
  /// notification) and lParam `source`, so the control acts in its own window procedure.
  virtual void Command(WORD notification, HWND source);
  /// The control's alert keys (its text block's key list): while the control has the focus
  /// they raise EVENT:PreAlert and EVENT:AlertKey as the window's own alert keys do.
  virtual std::span<const std::int32_t> AlertKeys() const { return {}; }
  /// The character marked by "&" in the control's text when the control can own a hot key
  /// (buttons, prompts), else 0. Alt with that character's key commands the control.
  virtual char HotKeyCharacter() const { return 0; }
  /// The control's own message text and help keyword; empty when it has none, and the
  /// window's defaults apply.
  virtual std::string MessageText() const { return std::string(); }
  virtual std::string HelpKeyword() const { return std::string(); }
  /// A toolbar's key tables look at a keyboard or mouse message before the window's dialog
  /// navigation does; true when the toolbar took the message.
  virtual bool PreTranslate(MSG& message) {
    (void)message;
    return false;
  }
};

/// Builds the controls of `window` from its chain of control records starting at
/// `firstRecord` in `view` (the window's client window exists already), entering each control
/// in `window.controls`. Answers the right and bottom extent of the controls in client pixels,
/// which the window sizes itself by.
using ControlChainBuilder = SIZE (*)(WindowObject& window, const DefinitionView& view,
                                     std::uint32_t firstRecord);

/// Installs the builder the window manager calls when a window opens (null: windows open without
/// controls). The control framework installs its own when it initialises.
void SetControlChainBuilder(ControlChainBuilder builder);

/// The installed builder, or null.
ControlChainBuilder InstalledControlChainBuilder();

}  // namespace vel::windows
