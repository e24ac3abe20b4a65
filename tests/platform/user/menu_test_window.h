#pragma once
// Test support for menus: a logging window with a menu bar, a hook into its procedure, the
// screen positions of bar and popup items, and the menu messages it received written as short
// words ("select 101 mouse", "command 201 posted").

#include <functional>
#include <string>
#include <vector>

#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {

/// A visible, active, focused window showing this bar:
///   &File: &Open (101), &Recent > [Doc &1 (111), Doc &2 (112)], separator, E&xit (102, greyed)
///   &Edit: &Copy\tCtrl+C (201), &Paste\tCtrl+V (202, greyed)
///   &Help (301, a command right on the bar, right-justified)
class MenuWindowTest : public WindowTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Called for every message the window receives, before the logging procedure.
  void OnMessage(std::function<void(HWND, UINT, WPARAM, LPARAM)> hook);
  /// The menu messages the window received, in order.
  std::vector<std::string> Trace();

  POINT BarItemCentre(int index);
  /// Where the popup of a bar item opens.
  POINT BarPopupOrigin(int index);
  /// "X Y" of the middle of an item of a popup opened at `origin`.
  std::string PopupItemPoint(HMENU menu, POINT origin, int index);
  static std::string Point(POINT point);
  /// Queues headless script steps to run while the menu loop waits for input.
  void Script(const std::vector<std::string>& steps);

  HWND m_window = nullptr;
  HMENU m_bar = nullptr;
  HMENU m_file = nullptr;
  HMENU m_recent = nullptr;
  HMENU m_edit = nullptr;
};

}  // namespace vel::platform::usertest
