#pragma once
// The option box (control type 11): "VelOption", a superclass of the standard "Button" class
// drawn as a group box when it is boxed. It holds the radio buttons of its own chain and keeps
// its USE variable equal to the chosen radio button's value.

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
  /// Checks the radio button the variable names: for a text variable the one whose value it
  /// holds, for a number the one at that (1-based) position; the others are unchecked.
  void DisplayUseValue() override;

 protected:
  /// Creates the box's window of `descriptor` and then the controls of its chain, which take
  /// its message text and help keyword as their defaults.
  void CreateContainerWindow(const windows::Record& record, ControlClassDescriptor& descriptor,
                             WNDPROC procedure);
  std::uint32_t ClassBackgroundValue() const override { return kSystemColour | COLOR_BTNFACE; }
};

/// Stores the option box's creation function in the control factory (type 11).
void RegisterOptionKind();

}  // namespace vel::controls
