#include "platform/user/termination_signals.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

std::atomic<bool> g_closing{false};
int g_pipe[2] = {-1, -1};

// Only async-signal-safe calls here: the first signal wakes the watcher thread through a pipe,
// the second ends the process.
void OnTerminationSignal(int signalNumber) {
  if (g_closing.exchange(true)) _exit(128 + signalNumber);
  char byte = static_cast<char>(signalNumber);
  ssize_t written = write(g_pipe[1], &byte, 1);
  (void)written;
}

void WatchForSignals() {
  for (;;) {
    char byte = 0;
    ssize_t got = read(g_pipe[0], &byte, 1);
    if (got == 1) {
      CloseAllTopLevelWindows();
    } else if (got == 0 || errno != EINTR) {
      return;
    }
  }
}

}  // namespace

void CloseAllTopLevelWindows() {
  std::vector<HWND> windows;
  {
    TreeLock lock;
    windows = TopLevelWindows();
  }
  for (HWND window : windows) PostMessageA(window, WM_CLOSE, 0, 0);
}

void InstallTerminationSignals() {
  if (pipe(g_pipe) != 0) return;
  bool installed = false;
  for (int signalNumber : kSignals) {
    struct sigaction current {};
    // A program (or a test harness) that chose its own handling keeps it.
    if (sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    installed = sigaction(signalNumber, &action, nullptr) == 0 || installed;
  }
  if (installed) std::thread(WatchForSignals).detach();
}

}  // namespace vel::platform
