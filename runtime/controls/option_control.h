#pragma once
// The option box (control type 11): "VelOption", a superclass of the standard "Button" class
// drawn as a group box when it is boxed. It holds the radio buttons of its own chain, knows
// which of them is chosen (its ordinal) and keeps its USE variable equal to the chosen radio
// button's value.

#include "runtime/controls/control_container.h"
#include "runtime/controls/windowed_control.h"

namespace vel::controls {

class RadioControl;

class OptionControl : public WindowedControl, public ControlContainer {
 public:
  explicit OptionControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;
  ControlContainer* AsContainer() override { return this; }

  /// Chooses the radio button the variable names and checks it alone: the last one whose value
  /// (value string, else text) equals the variable; failing that, for a string variable the
  /// last one whose value begins with the variable's clipped text, for a number the one at that
  /// position.
  void DisplayUseValue() override;

  /// The 1-based position of the chosen radio button among the box's children, 0 for none.
  int CurrentOrdinal() const { return m_ordinal; }
  /// Makes `radio` the box's choice: its value (value string; else the ordinal for a numeric
  /// variable, the text for a string) goes into the variable and only it stays checked.
  void ChooseRadio(RadioControl& radio);
  /// The window that takes the box's focus: the chosen radio button, else the first one.
  HWND FocusTarget() const;

 protected:
  /// Creates the box's window of `descriptor` and then the controls of its chain, which take
  /// its message text and help keyword as their defaults.
  void CreateContainerWindow(const windows::Record& record, ControlClassDescriptor& descriptor,
                             WNDPROC procedure);
  std::uint32_t ClassBackgroundValue() const override { return kSystemColour | COLOR_BTNFACE; }

 private:
  /// The chosen radio button alone is checked.
  void RefreshChecks();
  /// The ordinal a variable with no equal value names, or 0.
  int OrdinalByPrefixOrNumber(bool numeric);

  int m_ordinal = 0;
};

/// Stores the option box's creation function in the control factory (type 11).
void RegisterOptionKind();

}  // namespace vel::controls
