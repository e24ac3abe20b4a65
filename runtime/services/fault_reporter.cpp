#include "runtime/services/fault_reporter.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <new>
#include <thread>

#include "runtime/services/error_report.h"
#include "runtime/services/error_state.h"
#include "runtime/services/fault_call_stack.h"
#include "runtime/services/fault_handler_frame.h"
#include "runtime/services/fault_library_state.h"
#include "runtime/services/fault_modules.h"
#include "runtime/services/fault_report_blocks.h"
#include "runtime/services/fault_report_file.h"
#include "runtime/services/module_list.h"

namespace vel::services {
namespace {

struct ReportedFault {
  DWORD code;
  const char* name;
};

constexpr ReportedFault kReportedFaults[] = {
    {EXCEPTION_ACCESS_VIOLATION, "Access Violation"},
    {EXCEPTION_IN_PAGE_ERROR, "Page Fault"},
    {STATUS_NO_MEMORY, "No Memory"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "Illegal Instruction"},
    {EXCEPTION_PRIV_INSTRUCTION, "Privileged Instruction"},
    {EXCEPTION_STACK_OVERFLOW, "Stack Overflow"},
};

// How long a second faulting thread lets a report in progress on another thread finish before
// its own fault ends the process.
constexpr auto kWaitForReport = std::chrono::seconds(10);

enum ReportProgress { kNoReport, kWriting, kWritten };

// What the handler needs and could not find out safely itself, noted down at installation.
struct Preparation {
  char programPath[MAX_PATH] = {};
  PENUMERATE_LOADED_MODULES64 enumerateModules = nullptr;
  RegisteredModuleSnapshot registeredModules;
  PVOID handler = nullptr;
  std::terminate_handler previousTerminate = nullptr;
};

Preparation g_preparation;
// Static rather than on the handler's stack, which may be a small alternate stack; only the one
// thread that writes the report uses it.
LoadedModuleTable g_loadedModules;
std::atomic<int> g_progress{kNoReport};
std::atomic<DWORD> g_writingThread{0};

void WriteReport(const EXCEPTION_RECORD& record, const CONTEXT& context, const char* name) {
  char fileName[kFaultReportNameSize];
  ChooseFaultReportName(fileName);
  const HFILE file = _lcreat(fileName, 0);
  WriteExceptionBlock(file, name, reinterpret_cast<std::uintptr_t>(record.ExceptionAddress));
  WriteProcessBlock(file, g_preparation.programPath);
  WriteRegistersBlock(file, context);
  WriteCodeBytesBlock(file, context.Rip);
  WriteStackDumpBlock(file, "Stack Dump at ESP:", context.Rsp);
  WriteStackDumpBlock(file, "Stack Dump at EBP-32:", context.Rbp - 32);
  WriteModuleListBlock(file, g_preparation.enumerateModules, g_loadedModules, g_preparation.registeredModules);
  WriteCallStackBlock(file, context.Rip, context.Rbp, g_loadedModules);
  WriteLibraryStateBlock(file, GatherFaultLibraryState(), ErrorStateWithoutWaiting());
  if (file != HFILE_ERROR) _lclose(file);
}

// A fault on another thread while the report is being written waits for it, so that the
// process does not end with half a report. A fault on the writing thread itself cannot wait.
void LetReportInProgressFinish() {
  if (g_writingThread.load() == GetCurrentThreadId()) return;
  const auto giveUp = std::chrono::steady_clock::now() + kWaitForReport;
  while (g_progress.load() == kWriting && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
}

// Cancel in the runtime error box asks for a report as for a processor fault at that point.
void ReportAtRuntimeError() { RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr); }

// An allocation failure that nobody caught ends in std::terminate; it is reported as the
// platform reports running out of memory, and the process then ends as terminate would.
void TerminateAfterReportingNoMemory() {
  if (std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::bad_alloc&) {
      RaiseException(STATUS_NO_MEMORY, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    } catch (...) {
    }
  }
  if (g_preparation.previousTerminate != nullptr) g_preparation.previousTerminate();
  std::abort();
}

}  // namespace

const char* FaultName(DWORD exceptionCode) {
  for (const ReportedFault& fault : kReportedFaults) {
    if (fault.code == exceptionCode) return fault.name;
  }
  return nullptr;
}

LONG CALLBACK FaultReportHandler(PEXCEPTION_POINTERS exception) {
  if (exception == nullptr || exception->ExceptionRecord == nullptr || exception->ContextRecord == nullptr) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  if (g_progress.load() != kNoReport) {
    LetReportInProgressFinish();
    return EXCEPTION_CONTINUE_SEARCH;
  }
  const char* name = FaultName(exception->ExceptionRecord->ExceptionCode);
  if (name == nullptr) return EXCEPTION_CONTINUE_SEARCH;
  // Claimed before the file is chosen: a second fault, on any thread, writes nothing.
  int expected = kNoReport;
  if (!g_progress.compare_exchange_strong(expected, kWriting)) {
    LetReportInProgressFinish();
    return EXCEPTION_CONTINUE_SEARCH;
  }
  g_writingThread.store(GetCurrentThreadId());
  WriteReport(*exception->ExceptionRecord, *exception->ContextRecord, name);
  g_progress.store(kWritten);
  return EXCEPTION_CONTINUE_SEARCH;
}

void ConnectFaultReporter() {
  if (!HasFaultHandlerHooks()) SetFaultHandlerHooks({InstallFaultReporter, RemoveFaultReporter});
}

void InstallFaultReporter() {
  if (g_preparation.handler != nullptr) return;
  if (GetModuleFileNameA(nullptr, g_preparation.programPath, sizeof g_preparation.programPath) == 0) {
    g_preparation.programPath[0] = '\0';
  }
  // The library stays loaded for the life of the process.
  if (HMODULE imageHelp = LoadLibraryA("IMAGEHLP.DLL")) {
    // Through a function without parameters: the cast between function types compilers accept.
    g_preparation.enumerateModules = reinterpret_cast<PENUMERATE_LOADED_MODULES64>(
        reinterpret_cast<void (*)()>(GetProcAddress(imageHelp, "EnumerateLoadedModules64")));
  } else {
    g_preparation.enumerateModules = nullptr;
  }
  g_preparation.registeredModules.Take(ProcessModules());
  g_preparation.previousTerminate = std::set_terminate(TerminateAfterReportingNoMemory);
  SetRuntimeErrorFaultReporter(ReportAtRuntimeError);
  g_preparation.handler = AddVectoredExceptionHandler(1, FaultReportHandler);
}

void RemoveFaultReporter() {
  if (g_preparation.handler == nullptr) return;
  RemoveVectoredExceptionHandler(g_preparation.handler);
  g_preparation.handler = nullptr;
  SetRuntimeErrorFaultReporter({});
  std::set_terminate(g_preparation.previousTerminate);
}

}  // namespace vel::services
