#pragma once
// The group (control type 13): "VelGroup", a box around a chain of controls of its own (groups
// included), drawn as a group box when it is boxed. It is an option box without a variable,
// never takes part in tabbing, and with colours of its own paints its frame and text itself.

#include "runtime/controls/option_control.h"

namespace vel::controls {

class GroupControl : public OptionControl {
 public:
  explicit GroupControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;

 private:
  bool HasOwnColours() const;
  /// The frame (in the second colour, else etched) below the middle of the text's line, and
  /// the text on the first colour at its top left.
  void Paint(HDC dc);
};

/// Stores the group's creation function in the control factory (type 13).
void RegisterGroupKind();

}  // namespace vel::controls
