#pragma once
// The group (control type 13): "VelGroup", a box around a chain of controls of its own (groups
// included), drawn as a group box when it is boxed. It is an option box without a variable.

#include "runtime/controls/option_control.h"

namespace vel::controls {

class GroupControl : public OptionControl {
 public:
  explicit GroupControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
};

/// Stores the group's creation function in the control factory (type 13).
void RegisterGroupKind();

}  // namespace vel::controls
