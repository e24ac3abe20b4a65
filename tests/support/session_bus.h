#pragma once
// A private session bus for tests of messages between programs: each test program starts a
// message bus daemon of its own before anything connects, so that programs of concurrently
// running tests never see each other, and stops it at the end. Programs the test starts find
// it through the environment they inherit.

#include <sys/types.h>

#include <string>
#include <vector>

namespace vel::testing {

/// Starts the private bus once per process and points DBUS_SESSION_BUS_ADDRESS at it. False
/// when no daemon could be started (the tests that need it then skip).
bool StartPrivateSessionBus();
/// Stops the daemon (also done at exit).
void StopPrivateSessionBus();

/// Registers a test environment that selects the headless display and starts the private bus
/// before the first test of the program. Returns a value to keep in a static, so that a test
/// file registers it at start-up.
bool UsePrivateSessionBus();

/// A program started for a test, with its standard output readable line by line; killed (if
/// still running) and reaped when the object goes.
class ChildProgram {
 public:
  ChildProgram(const std::string& path, const std::vector<std::string>& arguments);
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  bool Started() const { return m_pid > 0; }
  pid_t Pid() const { return m_pid; }
  /// The next line of output (without its end), waiting up to `milliseconds` of real time;
  /// empty when none came.
  std::string ReadLine(int milliseconds = 10000);
  /// Ends the program at once (SIGKILL) and reaps it.
  void Kill();
  /// Waits for the program to end by itself; its exit code, or -1.
  int Wait();

 private:
  pid_t m_pid = -1;
  int m_output = -1;
  std::string m_buffered;
};

}  // namespace vel::testing
