#pragma once
// Driving entries and spin boxes through the headless display's keyboard and mouse, the way a
// user does, and reading what came of it: events, variables, beeps and the clipboard.

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/controls/entry_control.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {

/// A test declares its variables before its window: closing the window takes the focus from
/// an entry, which then shows its variable once more.
class EntryTest : public ControlTest {
 protected:
  /// Runs the ACCEPT loop until all input given so far is handled (the window's timer, which
  /// fires only once the thread is idle, marks the end). Answers the event numbers delivered.
  std::vector<std::int32_t> Settle(windows::ProcedureWindow& window);
  /// Opens the window and answers once its OpenWindow event is through.
  void OpenAndShow(windows::ProcedureWindow& window, const std::string& declarations,
                   std::initializer_list<void*> use = {});
  /// Puts the focus on a field as the procedure's SELECT does (and as Tab does: all its text
  /// selected). Answers the events that follow.
  std::vector<std::int32_t> Select(windows::ProcedureWindow& window, std::int32_t field);
  /// Types text, presses a key (with modifiers: platform::kShift, kControl).
  static void Type(const std::string& text);
  static void Press(BYTE key, unsigned modifiers = 0);
  /// Clicks (or double-clicks) a field's window at a point of its client area.
  static void ClickAt(HWND control, int x, int y, bool twice = false);

  static EntryControl* Entry(windows::ProcedureWindow& window, std::int32_t field);
  static std::uint64_t Beeps();
  static void PutOnClipboard(const std::string& text);
  static std::string ClipboardText();
};

/// True when `events` holds the event number of `code`.
bool HasEvent(const std::vector<std::int32_t>& events, std::int32_t code);

}  // namespace vel::controls::testing
