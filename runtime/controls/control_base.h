#pragma once
// The control base (CTLMAIN): what every control of a runtime window has beyond its window
// element: cursor, container, state flags, key, text block number, message text, help keyword
// and USE link; and the table of virtual operations the framework calls, in slot order.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/controls/use_link.h"
#include "runtime/controls/window_element.h"
#include "runtime/windows/window_icons.h"
#include "runtime/windows/window_object_controls.h"

namespace vel::controls {

class ControlContainer;

class ControlBase : public WindowElement, public windows::WindowControl {
 public:
  /// Copies what every control takes from its record and the chain it is built in (container,
  /// default message text and help keyword) and binds its USE variable (CTLUSE). Must run while
  /// a chain is being built: without one it raises error 501 with "CTLMAIN".
  explicit ControlBase(const windows::Record& record);
  ~ControlBase() override;

  /// The rest of construction, run by the factory once the object is whole (virtual operations
  /// work from here on): the kind reads its own fields and creates its window.
  virtual void Construct(const windows::Record& record) = 0;

  // What the window manager asks of every control.
  std::int32_t FieldNumber() const override { return m_field; }
  bool IsField() const override { return (m_extraFlags & kExtraField) != 0; }
  bool HasUseVariable() const override { return m_use != nullptr; }
  bool InToolbar() const override { return (m_state & kStateToolbar) != 0; }
  void Redisplay() override { DisplayUseValue(); }
  void StoreDisplayedValue() override {}
  bool Validate() override { return true; }
  void SetSelection(std::int32_t, std::int32_t) override {}
  bool OnSelected() override { return true; }
  std::string MessageText() const override { return m_messageText.value_or(std::string()); }
  std::string HelpKeyword() const override { return m_helpKeyword.value_or(std::string()); }
  /// True while the control still needs a value before a button that checks the window's
  /// required values may act. No control of the framework needs one; a kind that can be marked
  /// required answers for itself.
  virtual bool NeedsValue() const { return false; }

  // The virtual operations of every control, in slot order.
  virtual void SetText(std::string_view text) = 0;
  /// Pops a value off the string stack and sets a property of the control to it.
  virtual void SetProperty(std::int32_t property) = 0;
  /// Pushes the value of a property of the control onto the string stack.
  virtual void GetProperty(std::int32_t property) = 0;
  virtual void ShowOrHide(bool show) = 0;
  /// Shows the USE variable's present value.
  virtual void DisplayUseValue() = 0;
  virtual void EnableOrDisable(bool enable) = 0;
  /// Lays the control out again after its position, size or text changed.
  virtual void Relayout() = 0;
  /// Draws the control again after its font or colours changed.
  virtual void Refresh() = 0;
  /// The final window style from the one the class started with.
  virtual DWORD ComputeStyle(DWORD style) = 0;
  /// The class's own message handling; clears `passOn` to consume the message. The base has
  /// none: every concrete class provides one.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) = 0;
  /// The size the control takes when its definition leaves it open, in pixels.
  virtual int DefaultWidth() = 0;
  virtual int DefaultHeight() = 0;
  /// The brush the control's background is painted with, or null for none.
  virtual HBRUSH BackgroundBrush() = 0;

  /// The container interface: option boxes and groups answer theirs, other controls none.
  virtual ControlContainer* AsContainer() { return nullptr; }

  /// The option box or group that holds the control; null when the window holds it.
  ControlBase* Container() const { return m_container; }
  std::uint32_t State() const { return m_state; }
  bool HasState(std::uint32_t bits) const { return (m_state & bits) != 0; }
  void SetState(std::uint32_t bits, bool on);
  HCURSOR Cursor() const { return m_cursor.handle; }
  std::int32_t Key() const { return m_key; }
  std::int32_t Number() const { return m_number; }
  /// The message text: the text block's, else the default of the chain it was built in.
  const std::optional<std::string>& Message() const { return m_messageText; }
  /// The help keyword: the text block's, else the chain's default.
  const std::optional<std::string>& Help() const { return m_helpKeyword; }
  /// The link to the USE variable, or null.
  UseLink* Use() const { return m_use.get(); }

  /// Disabled by its own attribute or by any container up to the window.
  bool EffectivelyDisabled() const;
  /// Hidden by its own attribute or by any container up to the window.
  bool EffectivelyHidden() const;

  /// Posts a field event (0x1400 + event) about this control to its window: error 522 for a
  /// report; nothing unless the program runs and the control is a field.
  void PostFieldEvent(std::int32_t code);

 protected:
  ControlBase* m_container = nullptr;
  windows::HeldIcon m_cursor;
  std::uint32_t m_state = 0;
  std::int32_t m_key = 0;
  std::int32_t m_number = 0;
  std::optional<std::string> m_messageText;
  std::optional<std::string> m_helpKeyword;
  std::unique_ptr<UseLink> m_use;
};

/// The runtime error of a control made outside the building of a window (module "CTLMAIN").
inline constexpr std::int32_t kErrorNoPrototype = 501;
/// The runtime error of an event posted to a control of a report.
inline constexpr std::int32_t kErrorEventToReport = 522;

}  // namespace vel::controls
