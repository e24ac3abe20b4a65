#pragma once
// The trace log: the runtime's diagnostic text log "V4LOG.TXT" in the current directory. The
// first line of a run recreates the file; every line opens, appends and closes it, so the log is
// complete on disk after each line even if the program then faults. When the system setting
// "auxtrace" (section "Velmora 4 Tracing") is not empty, every line is copied to the auxiliary
// device as well.

#include <cstdarg>
#include <cstddef>

namespace vel::services {

inline constexpr const char* kTraceLogFileName = "V4LOG.TXT";
inline constexpr const char* kTraceSettingsSection = "Velmora 4 Tracing";
inline constexpr const char* kAuxTraceKey = "auxtrace";
inline constexpr const char* kAuxiliaryDeviceName = "AUX";

/// Longest line the log takes; longer text is cut.
inline constexpr std::size_t kTraceLineMaxLength = 255;

/// Appends one printf-style formatted line to the trace log, cut to kTraceLineMaxLength
/// characters. The writer adds no line end: formats end in "\r\n" or "\n" themselves. Failures
/// to create, open or write the file or the auxiliary device are absorbed. The whole write
/// holds the trace lock, so lines of different threads never mix.
void WriteTraceLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// The same with an argument list.
void WriteTraceLineV(const char* format, va_list arguments) __attribute__((format(printf, 1, 0)));

/// Creates the trace lock; the runtime's first module routine does this before any line is
/// written. A second call does nothing.
void CreateTraceLock();

/// Deletes the trace lock; the runtime's last module routine does this at termination. Lines
/// written while no lock exists (only the start-up thread runs then) are written unlocked.
void DeleteTraceLock();

/// Starts a new run of the log as a new process would: the next line recreates the file and
/// reads the auxiliary setting again. The auxiliary device, once open, stays open for the
/// process. For tests.
void RestartTraceLog();

}  // namespace vel::services
