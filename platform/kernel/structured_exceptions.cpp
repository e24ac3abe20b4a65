// Vectored exception handlers over signals. While any handler is registered, SIGSEGV, SIGBUS
// and SIGILL from the processor are caught on the thread's alternate stack, turned into an
// exception record and a context, and offered to the handlers in order. When none continues
// execution, the signal's previous disposition is put back and the fault happens again as it
// would have without the handlers: the process ends with the signal (and its core dump), or
// whatever handler was installed before ours takes it. Other signals (SIGFPE, SIGTRAP,
// SIGABRT) are left alone.
//
// Inside the signal handler nothing allocates or locks: the handler list is a fixed array of
// atomics, and registering and removing handlers happens outside it.

#include <signal.h>
#include <ucontext.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "platform/kernel/fault_context.h"
#include "platform/kernel/signal_stacks.h"

namespace vel::platform {
namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL};
constexpr int kFaultSignalCount = 3;
constexpr int kMaxHandlers = 16;

struct Registration {
  std::atomic<PVECTORED_EXCEPTION_HANDLER> handler{nullptr};
  // Handlers run in ascending order: those added first in the list count down from 0, the
  // others up.
  std::atomic<long> order{0};
};

Registration g_registrations[kMaxHandlers];
std::mutex g_registrationMutex;
long g_frontOrder = 0;
long g_backOrder = 0;
int g_registered = 0;
struct sigaction g_previousActions[kFaultSignalCount];

int IndexOfSignal(int signal) {
  for (int i = 0; i < kFaultSignalCount; ++i) {
    if (kFaultSignals[i] == signal) return i;
  }
  return -1;
}

LONG Dispatch(EXCEPTION_RECORD& record, CONTEXT& context) {
  // A snapshot in order; a registration changing meanwhile is either seen whole or not at all.
  PVECTORED_EXCEPTION_HANDLER handlers[kMaxHandlers];
  long orders[kMaxHandlers];
  int count = 0;
  for (Registration& registration : g_registrations) {
    PVECTORED_EXCEPTION_HANDLER handler = registration.handler.load();
    if (handler == nullptr) continue;
    const long order = registration.order.load();
    int at = count++;
    while (at > 0 && orders[at - 1] > order) {
      handlers[at] = handlers[at - 1];
      orders[at] = orders[at - 1];
      --at;
    }
    handlers[at] = handler;
    orders[at] = order;
  }
  EXCEPTION_POINTERS pointers{&record, &context};
  for (int i = 0; i < count; ++i) {
    if (handlers[i](&pointers) == EXCEPTION_CONTINUE_EXECUTION) return EXCEPTION_CONTINUE_EXECUTION;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

void OnFaultSignal(int signal, siginfo_t* info, void* machineContext) {
  const int savedErrno = errno;
  auto& machine = *static_cast<ucontext_t*>(machineContext);
  const int index = IndexOfSignal(signal);
  // A fault signal sent by a process (kill, raise) is no processor fault: it goes on as sent.
  const bool fromProcessor = info->si_code > 0;
  if (fromProcessor) {
    CONTEXT context;
    EXCEPTION_RECORD record;
    ContextFromMachine(machine, context);
    ExceptionFromFault(signal, *info, machine, context, record);
    if (Dispatch(record, context) == EXCEPTION_CONTINUE_EXECUTION) {
      MachineFromContext(context, machine);
      errno = savedErrno;
      return;
    }
  }
  // Back to the disposition from before the handlers: on return the faulting instruction runs
  // again and faults to it. A sent signal is sent again; it stays blocked until we return.
  if (index >= 0) sigaction(signal, &g_previousActions[index], nullptr);
  if (!fromProcessor) raise(signal);
  errno = savedErrno;
}

void CatchFaultSignals() {
  struct sigaction action {};
  action.sa_sigaction = OnFaultSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < kFaultSignalCount; ++i) sigaction(kFaultSignals[i], &action, &g_previousActions[i]);
}

void ReleaseFaultSignals() {
  for (int i = 0; i < kFaultSignalCount; ++i) sigaction(kFaultSignals[i], &g_previousActions[i], nullptr);
}

[[noreturn]] void EndWithSignal(int signal) {
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  // A signal whose default action does not end the process (none of ours) still must not
  // return to the caller of a noncontinuable exception.
  std::abort();
}

}  // namespace
}  // namespace vel::platform

using vel::platform::g_registrations;

PVOID WINAPI AddVectoredExceptionHandler(ULONG First, PVECTORED_EXCEPTION_HANDLER Handler) {
  if (Handler == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  vel::platform::PrepareThreadForFaults();
  std::lock_guard lock(vel::platform::g_registrationMutex);
  for (auto& registration : g_registrations) {
    if (registration.handler.load() != nullptr) continue;
    registration.order.store(First != 0 ? --vel::platform::g_frontOrder : ++vel::platform::g_backOrder);
    registration.handler.store(Handler);
    if (vel::platform::g_registered++ == 0) vel::platform::CatchFaultSignals();
    return &registration;
  }
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

ULONG WINAPI RemoveVectoredExceptionHandler(PVOID Handle) {
  std::lock_guard lock(vel::platform::g_registrationMutex);
  for (auto& registration : g_registrations) {
    if (&registration != Handle || registration.handler.load() == nullptr) continue;
    registration.handler.store(nullptr);
    if (--vel::platform::g_registered == 0) vel::platform::ReleaseFaultSignals();
    return 1;
  }
  return 0;
}

void WINAPI RaiseException(DWORD dwExceptionCode, DWORD dwExceptionFlags, DWORD nNumberOfArguments,
                           const ULONG_PTR* lpArguments) {
  CONTEXT context;
  vel::platform::CaptureContext(context);
  EXCEPTION_RECORD record{};
  record.ExceptionCode = dwExceptionCode;
  record.ExceptionFlags = dwExceptionFlags & EXCEPTION_NONCONTINUABLE;
  record.ExceptionAddress = reinterpret_cast<PVOID>(context.Rip);
  if (nNumberOfArguments > EXCEPTION_MAXIMUM_PARAMETERS) nNumberOfArguments = EXCEPTION_MAXIMUM_PARAMETERS;
  record.NumberParameters = lpArguments != nullptr ? nNumberOfArguments : 0;
  for (DWORD i = 0; i < record.NumberParameters; ++i) record.ExceptionInformation[i] = lpArguments[i];
  const LONG verdict = vel::platform::Dispatch(record, context);
  if (verdict == EXCEPTION_CONTINUE_EXECUTION && (record.ExceptionFlags & EXCEPTION_NONCONTINUABLE) == 0) return;
  vel::platform::EndWithSignal(vel::platform::SignalForException(dwExceptionCode));
}
