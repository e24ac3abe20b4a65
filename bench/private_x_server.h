#pragma once
// An X server of the benchmark's own (Xvfb on a free display, which it chooses itself and
// reports through -displayfd), stopped when the object goes; and a watch for the first window a
// given process paints there. Xlib stays in private_x_server.cpp: its macros would collide with
// the Win32 names the benchmarks use.

#include <sys/types.h>

#include <chrono>
#include <string>

struct _XDisplay;

namespace vel::bench {

class PrivateXServer {
 public:
  /// Starts the server; Running() tells whether it came up and took a connection.
  PrivateXServer();
  ~PrivateXServer();
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;

  bool Running() const { return m_display != nullptr; }
  /// The DISPLAY value that reaches it (":N").
  const std::string& Name() const { return m_name; }

  /// Waits until a top-level window of process `pid` is mapped and shows anything but the black
  /// it starts as; false after `timeout`.
  bool WaitForPaintedWindow(pid_t pid, std::chrono::milliseconds timeout);

 private:
  bool PaintedWindowOf(pid_t pid);

  pid_t m_pid = -1;
  std::string m_name;
  _XDisplay* m_display = nullptr;
};

}  // namespace vel::bench
