#pragma once
// The radio button (control type 21): a child of an option box, "VelRadio", a superclass of the
// standard "button" class. Choosing it checks it, unchecks the other radio buttons of its box
// and, when it was not the box's choice already, makes the box report EVENT:Accepted and store
// the radio button's value in its variable.

#include <optional>
#include <string>

#include "runtime/controls/button_control.h"

namespace vel::controls {

class OptionControl;

class RadioControl : public ButtonControl {
 public:
  explicit RadioControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;

  /// The definition's value string, or none (the box then stores the text or the ordinal).
  const std::optional<std::string>& ValueString() const { return m_value; }
  /// What the box compares its variable with: the value string, else the radio button's text.
  std::string ComparedValue() const;
  /// The 1-based position among the option box's children when it was made (0 outside one).
  int Ordinal() const { return m_ordinal; }
  /// The option box that holds the radio button, or null.
  OptionControl* Box() const;

 protected:
  /// Checks the radio button and unchecks the others of its box.
  void PressAction() override;
  /// QUERY_COMMAND: the press action (shown first for a key), and no event of its own.
  LRESULT Act(WPARAM wParam, LPARAM lParam) override;
  /// The standard class's round mark, the gap after it and the text, with room for the focus
  /// rectangle around the text.
  SIZE StandardClassSize(SIZE text) const override;

 private:
  std::optional<std::string> m_value;
  int m_ordinal = 0;
};

/// Stores the radio button's creation function in the control factory (type 21).
void RegisterRadioKind();

}  // namespace vel::controls
