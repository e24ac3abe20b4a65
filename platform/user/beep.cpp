// MessageBeep: the bell of the terminal the program was started from, when there is one.
// Neither display backend has a speaker of its own.

#include "platform/user/beep.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace vel::platform {
namespace {

std::atomic<uint64_t> g_beeps{0};
std::atomic<UINT> g_lastType{0};

}  // namespace

uint64_t BeepCount() { return g_beeps.load(); }

UINT LastBeepType() { return g_lastType.load(); }

}  // namespace vel::platform

BOOL WINAPI MessageBeep(UINT uType) {
  using namespace vel::platform;
  g_lastType.store(uType);
  g_beeps.fetch_add(1);
  // The bell character only means something to a terminal; in a log file it is noise. One
  // unbuffered byte never waits for anything worth mentioning.
  if (isatty(STDERR_FILENO)) {
    static const char kBell = '\a';
    ssize_t written = write(STDERR_FILENO, &kBell, 1);
    (void)written;
  }
  return TRUE;
}
