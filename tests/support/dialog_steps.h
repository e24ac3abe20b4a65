#pragma once
// Drives modal dialogs from a test: each step runs at a quiet moment of the dialog that is up
// (all input handled, the dialog painted) and may send it input through the headless display,
// read its controls or take its picture. When the steps run out the dialog is left to end as an
// unattended one does (cancelled).

#include <functional>
#include <string>
#include <vector>

#include "win32.h"

namespace vel::platform::testing {

class DialogSteps {
 public:
  using Step = std::function<void(HWND dialog)>;

  /// Installs itself as the modal dialog driver until destroyed.
  explicit DialogSteps(std::vector<Step> steps);
  ~DialogSteps();
  DialogSteps(const DialogSteps&) = delete;
  DialogSteps& operator=(const DialogSteps&) = delete;

  /// How many steps have run.
  size_t Ran() const { return m_next; }

 private:
  std::vector<Step> m_steps;
  size_t m_next = 0;
};

/// The text of a dialog's control.
std::string ControlText(HWND dialog, int id);

/// The screen point at the middle of a dialog's control.
POINT ControlCentre(HWND dialog, int id);

/// The screen point in the middle of a list box's row (one that shows).
POINT ListRowPoint(HWND dialog, int id, int row);

/// The texts of a list box's rows.
std::vector<std::string> ListRows(HWND dialog, int id);

}  // namespace vel::platform::testing
