#pragma once
// The spin box (control type 16): an entry that steps its value up and down over a numeric
// range or a list of values. It shares the entries' class "VelEdit".

#include "runtime/controls/entry_control.h"

namespace vel::controls {

class SpinControl : public EntryControl {
 public:
  explicit SpinControl(const windows::Record& record);

  double Low() const { return m_low; }
  double High() const { return m_high; }
  /// The step; a definition's 0 means 1.
  double Step() const { return m_step; }

 protected:
  double m_low = 0;
  double m_high = 0;
  double m_step = 1;
};

/// Stores the spin box's creation function in the control factory (type 16).
void RegisterSpinKind();

}  // namespace vel::controls
