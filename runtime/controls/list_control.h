#pragma once
// The list (control type 14 without a drop-down row count): "VelList", a class of its own with
// CS_DBLCLKS, showing the rows of its FROM source. Until its rows are built it shows as the
// framework's base window with its variable's value.

#include <optional>

#include "runtime/controls/windowed_control.h"

namespace vel::controls {

class ListControl : public WindowedControl {
 public:
  explicit ListControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;

  /// The constant USE descriptor of the values (the FROM source), when the definition has one.
  const std::optional<windows::UseDescriptor>& Values() const { return m_values; }

 protected:
  std::optional<windows::UseDescriptor> m_values;
};

/// Stores the creation function of lists and drop lists in the control factory (type 14): a
/// record with a drop-down row count makes a drop list.
void RegisterListKind();

}  // namespace vel::controls
