#pragma once
// Runs the search window procedure in the test process on the headless display, the way the
// program runs it, with actions played inside its ACCEPT loop one per timer tick: clicks and
// typing through the display as a user gives them, and checks of the open window. A stand-in
// opener records the launched addresses; skarvine.INI and the trace log are kept in a scratch
// folder per test.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>

#include "runtime/windows/resource_source.h"
#include "tests/app/settings_folder_test_base.h"
#include "tests/support/stand_in_opener.h"
#include "win32.h"

namespace vel::app::testing {

class SearchWindowSession : public SettingsFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Queues an action to run inside the ACCEPT loop.
  void Then(std::function<void()> action) { m_actions.push_back(std::move(action)); }
  /// Types `text` into a field as a user does: a click into it, then for an entry the old text
  /// selected and replaced by the typed text (read back when the focus moves on); for a drop
  /// list the list opened by the click and its row found by the first character, which
  /// completes the choice and closes the list.
  void Enter(std::int32_t field, const std::string& text);
  /// Clicks a radio button (the option box stores its text).
  void ChooseRadio(std::int32_t radioField) { Press(radioField); }
  /// Clicks a control in its middle.
  void Press(std::int32_t field);
  /// Presses a key in whatever has the focus.
  void Key(BYTE virtualKey);
  /// Runs SKARV001 until it returns; then the stand-in has recorded any launches. If the
  /// actions run out with the window still open, it is closed as the desktop closes it.
  void RunProcedure();

  /// The open window's handle (inside an action), and a control's window.
  static HWND WindowHandle();
  static HWND FieldHandle(std::int32_t field);
  static std::string FieldText(std::int32_t field);

  std::string TraceLog() const;

  vel::testing::StandInOpener m_opener;

 private:
  static void CALLBACK NextAction(HWND, UINT, UINT_PTR, DWORD);

  std::filesystem::path m_previousDir;
  windows::MemoryResourceSource m_definitions;
  std::deque<std::function<void()>> m_actions;
};

/// Adds the search window's definition, compiled from its declaration in the source tree, as
/// the program's resource in `source`.
void AddSearchWindowDefinition(windows::MemoryResourceSource& source);

/// The address the window composes for the given choices with the default service address.
std::string ExpectedAddress(const std::string& search, const std::string& andOr, const std::string& format,
                            const std::string& hits, const std::string& author);

}  // namespace vel::app::testing
