#pragma once
// Test support: a window class whose procedure records every message it receives, a message
// pump, and a fixture that leaves no windows or focus behind between tests.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/headless/headless_display.h"
#include "win32.h"

namespace vel::platform::usertest {

struct LoggedMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  /// Taken from the queue and dispatched, rather than sent.
  bool posted;
};

/// Readable name of a message ("WM_CREATE"), or its number in hex.
std::string MessageName(UINT message);

class MessageLog {
 public:
  static void Clear();
  static void Add(const LoggedMessage& entry);
  static std::vector<LoggedMessage> Entries();
  /// Names of the messages one window received, in order, leaving out those in `ignored`.
  static std::vector<std::string> NamesFor(HWND window, const std::vector<UINT>& ignored = {});
  /// Names of all messages as "name@tag" where tag names the window through `tags`.
  static std::vector<std::string> Tagged(const std::vector<std::pair<HWND, std::string>>& tags,
                                         const std::vector<UINT>& only);
  /// The entries for one message to one window.
  static std::vector<LoggedMessage> Find(HWND window, UINT message);
};

/// The logging class name ("LogWindow", with CS_DBLCLKS) and a plain one ("LogWindowPlain").
extern const char* const kLogClass;
extern const char* const kPlainLogClass;

/// Registers both classes once.
void RegisterLogClasses();

/// A procedure answer a test can set: message -> result, consulted before DefWindowProcA.
void OverrideAnswer(UINT message, LRESULT result);

/// Handles every message queued for this thread (and due timers or paints), then returns.
void Pump();

/// Creates a logging window.
HWND MakeWindow(DWORD style, HWND parent = nullptr, int x = 100, int y = 100, int width = 300, int height = 200,
                int id = 0, const char* className = nullptr, DWORD exStyle = 0);

/// A shown logging window at (100, 100), 300 by 200, after the messages of its showing are
/// handled.
HWND MakeShownWindow(DWORD style);

/// The headless display, with its clock made manual.
HeadlessDisplay& Display();

/// Destroys this thread's windows, clears focus and capture and the log around each test.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace vel::platform::usertest
