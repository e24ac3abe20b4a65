#pragma once
// Shared pieces of the control framework's tests: a fixture that opens windows from declaration
// text with the framework building their controls (every kind of the program registered), and
// small readers of what a control window shows.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "runtime/controls/windowed_control.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::controls::testing {

using windows::testing::Number;

/// An event the loop delivered: its number and field.
struct Delivered {
  std::int32_t number;
  std::int32_t field;
  bool operator==(const Delivered&) const = default;
};
using Events = std::vector<Delivered>;
/// Shows an event as (number, field) in failed expectations.
void PrintTo(const Delivered& event, std::ostream* out);

/// The window manager's test fixture with the control framework installed, every kind of the
/// program registered and the golden images' pinned font.
class ControlTest : public windows::testing::WindowTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Adds `declarations` (one definition "test$CTL") and opens its window `label`.
  void Open(windows::ProcedureWindow& window, const std::string& declarations,
            std::initializer_list<void*> use = {}, const std::string& label = "W");

  /// The control with a field number, as the framework's class.
  static WindowedControl* Control(windows::ProcedureWindow& window, std::int32_t field);

  /// Opens the search window from the program's own declaration with its five variables
  /// (search text, author, format, hits, AND/OR) and takes its EVENT:OpenWindow.
  void OpenSearchWindow(windows::ProcedureWindow& window);
  char m_searchText[20];
  char m_author[20];
  char m_format[20];
  std::int16_t m_hits = 50;
  char m_andOr[20];

  /// Lets the window handle everything that is waiting (input included), then answers the
  /// events it delivered meanwhile, in order, leaving out EVENT:Selected (focus moves).
  Events PendingEvents(windows::ProcedureWindow& window);
};

/// Where a control window's middle lies on the screen.
POINT MiddleOf(HWND window);

/// The class name of a window.
std::string ClassOf(HWND window);
/// A window's text.
std::string TextOf(HWND window);
/// A window's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND window);
/// A window's style.
DWORD StyleOf(HWND window);

}  // namespace vel::controls::testing
