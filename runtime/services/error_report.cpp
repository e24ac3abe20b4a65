#include "runtime/services/error_report.h"

#include <atomic>
#include <mutex>
#include <string>

#include "runtime/services/error_state.h"
#include "runtime/services/exit_sequence.h"
#include "runtime/services/runtime_running.h"

namespace vel::services {
namespace {

std::mutex g_reporterMutex;
RuntimeErrorFaultReporter g_faultReporter;
std::atomic<bool> g_reported{false};

void RunFaultReporter() {
  RuntimeErrorFaultReporter reporter;
  {
    std::lock_guard lock(g_reporterMutex);
    reporter = g_faultReporter;
  }
  // The reporter ends the program; if there is none, or it comes back, Cancel ends the program
  // as OK does.
  if (reporter) reporter();
}

}  // namespace

void SetRuntimeErrorFaultReporter(RuntimeErrorFaultReporter reporter) {
  std::lock_guard lock(g_reporterMutex);
  g_faultReporter = std::move(reporter);
}

std::string RuntimeErrorMessage(std::int32_t code, std::string_view extraText) {
  std::string message;
  if (code != 0) {
    message = ClippedErrorText();
    if (!extraText.empty()) message += " : ";
  }
  message += extraText;
  if (message.size() > kRuntimeErrorMessageMaxLength) message.resize(kRuntimeErrorMessageMaxLength);
  return message;
}

void ReportRuntimeError(std::int32_t code, std::string_view extraText) {
  if (code != 0) SetError(code);
  const std::string message = RuntimeErrorMessage(code, extraText);
  const int answer = MessageBoxA(nullptr, message.c_str(), kRuntimeErrorCaption, MB_OKCANCEL | MB_ICONSTOP);
  if (answer == IDCANCEL) RunFaultReporter();
  g_reported = true;
  if (RuntimeRunning()) Exit(kRuntimeErrorExitCode);
}

bool RuntimeErrorReported() { return g_reported.load(); }

}  // namespace vel::services
