#pragma once
// A private printing system for tests: a CUPS scheduler of its own in a temporary directory,
// reached through a socket there (CUPS_SERVER points at it while it runs), with queues added by
// lpadmin on the null device; and the opposite, a CUPS_SERVER that no scheduler answers. Both
// give the Windows directory (VELMORA_WINDIR) a temporary folder of their own, so that win.ini's
// printer lists start empty.

#include <string>
#include <vector>

namespace vel::platform::testing {

class PrintServer {
 public:
  /// Starts the scheduler; Running() tells whether it came up (the packages may be missing).
  PrintServer();
  /// Stops the scheduler and removes the directory.
  ~PrintServer();
  PrintServer(const PrintServer&) = delete;
  PrintServer& operator=(const PrintServer&) = delete;

  bool Running() const { return m_pid > 0; }
  /// Why it is not running, for a skipped test.
  const std::string& Problem() const { return m_problem; }

  /// Adds a queue printing to the null device, described by a PPD from the test data when one
  /// is named (else a raw queue). True when lpadmin succeeded.
  bool AddQueue(const std::string& name, const std::string& ppdName = "");
  bool SetDefault(const std::string& name);
  bool RemoveQueue(const std::string& name);

  const std::string& Directory() const { return m_root; }

 private:
  bool Admin(const std::vector<std::string>& arguments);

  std::string m_root;
  std::string m_socket;
  int m_pid = -1;
  std::string m_problem;
};

/// Points the printing system at a socket nobody listens on, for "no printers" tests, with a
/// Windows directory of its own; restores nothing (each test sets what it needs).
class NoPrintServer {
 public:
  NoPrintServer();
  ~NoPrintServer();
  NoPrintServer(const NoPrintServer&) = delete;
  NoPrintServer& operator=(const NoPrintServer&) = delete;

 private:
  std::string m_root;
};

}  // namespace vel::platform::testing
