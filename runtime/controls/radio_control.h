#pragma once
// The radio button (control type 21): a child of an option box, "VelRadio", a superclass of the
// standard "button" class. Its value is the definition's value string, else its text.

#include <string>

#include "runtime/controls/button_control.h"

namespace vel::controls {

class RadioControl : public ButtonControl {
 public:
  explicit RadioControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;

  /// What the option box stores when this radio button is chosen.
  const std::string& Value() const { return m_value; }
  /// The 1-based position among the option box's children when it was made (0 outside one).
  int Ordinal() const { return m_ordinal; }

 private:
  std::string m_value;
  int m_ordinal = 0;
};

/// Stores the radio button's creation function in the control factory (type 21).
void RegisterRadioKind();

}  // namespace vel::controls
