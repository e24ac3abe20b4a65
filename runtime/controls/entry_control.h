#pragma once
// The entry (control type 8): a one-line field of the runtime's own class "VelEdit" that shows
// and edits its USE variable through its display picture. Until its editor is built it shows
// as the framework's base window with the variable's value.

#include <cstdint>
#include <string>

#include "runtime/controls/windowed_control.h"

namespace vel::controls {

class EntryControl : public WindowedControl {
 public:
  explicit EntryControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;

  const std::string& Picture() const { return m_picture; }
  std::uint8_t EditMode() const { return m_editMode; }

 protected:
  /// The class of entries and spin boxes: "VelEdit", a class of its own with CS_DBLCLKS.
  static ControlClassDescriptor& EditClass();
  /// Creates the window of an entry or spin box.
  void CreateEditWindow(const windows::Record& record);

  std::string m_picture;
  std::uint8_t m_editMode = 0;
};

/// Stores the entry's creation function in the control factory (type 8).
void RegisterEntryKind();

}  // namespace vel::controls
