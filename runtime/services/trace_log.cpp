#include "runtime/services/trace_log.h"

#include <cstdio>
#include <cstring>

#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "win32.h"

namespace vel::services {
namespace {

// Longest "auxtrace" value read; only whether it is empty matters.
constexpr DWORD kAuxTraceValueSize = 20;

struct TraceState {
  CRITICAL_SECTION lock;
  bool lockCreated = false;
  bool started = false;
  bool auxiliary = false;
  HANDLE auxiliaryHandle = INVALID_HANDLE_VALUE;
};

TraceState g_trace;

// Holds the trace lock when it exists.
class TraceLockHold {
 public:
  TraceLockHold() : m_held(g_trace.lockCreated) {
    if (m_held) EnterCriticalSection(&g_trace.lock);
  }
  ~TraceLockHold() {
    if (m_held) LeaveCriticalSection(&g_trace.lock);
  }
  TraceLockHold(const TraceLockHold&) = delete;
  TraceLockHold& operator=(const TraceLockHold&) = delete;

 private:
  bool m_held;
};

bool AuxiliaryTraceRequested() {
  char value[kAuxTraceValueSize] = {};
  GetProfileStringA(kTraceSettingsSection, kAuxTraceKey, "", value, kAuxTraceValueSize);
  return value[0] != '\0';
}

void WriteAll(HANDLE handle, const char* text, DWORD length) {
  DWORD written = 0;
  WriteFile(handle, text, length, &written, nullptr);
}

// The first line of a run recreates the file; later lines open what is there.
HANDLE OpenLogFile(bool firstLine) {
  return CreateFileA(kTraceLogFileName, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     firstLine ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void WriteToAuxiliary(const char* text, DWORD length) {
  if (g_trace.auxiliaryHandle == INVALID_HANDLE_VALUE) {
    g_trace.auxiliaryHandle = CreateFileA(kAuxiliaryDeviceName, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (g_trace.auxiliaryHandle != INVALID_HANDLE_VALUE) WriteAll(g_trace.auxiliaryHandle, text, length);
}

}  // namespace

void WriteTraceLine(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  WriteTraceLineV(format, arguments);
  va_end(arguments);
}

void WriteTraceLineV(const char* format, va_list arguments) {
  if (format == nullptr) return;
  char line[kTraceLineMaxLength + 1];
  // vsnprintf cuts the text to the buffer and always terminates it.
  if (std::vsnprintf(line, sizeof line, format, arguments) < 0) return;
  const DWORD length = static_cast<DWORD>(std::strlen(line));
  // Writing must not disturb the last-error value of the code being traced.
  const DWORD lastError = GetLastError();

  TraceLockHold hold;
  const bool firstLine = !g_trace.started;
  if (firstLine) {
    g_trace.started = true;
    g_trace.auxiliary = AuxiliaryTraceRequested();
  }
  HANDLE file = OpenLogFile(firstLine);
  if (file != INVALID_HANDLE_VALUE) {
    SetFilePointer(file, 0, nullptr, FILE_END);
    WriteAll(file, line, length);
    CloseHandle(file);
  }
  if (g_trace.auxiliary) WriteToAuxiliary(line, length);
  SetLastError(lastError);
}

void CreateTraceLock() {
  if (g_trace.lockCreated) return;
  InitializeCriticalSection(&g_trace.lock);
  g_trace.lockCreated = true;
}

void DeleteTraceLock() {
  if (!g_trace.lockCreated) return;
  g_trace.lockCreated = false;
  DeleteCriticalSection(&g_trace.lock);
}

void TraceLogLockService(int call) {
  if (call == kInitialiseCall) CreateTraceLock();
  if (call == kTerminateCall) DeleteTraceLock();
}

void RestartTraceLog() {
  TraceLockHold hold;
  g_trace.started = false;
  g_trace.auxiliary = false;
}

}  // namespace vel::services
