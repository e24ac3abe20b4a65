#pragma once
// Turns what the kernel hands a fault signal's handler (the signal information and the
// interrupted thread's machine context) into Win32's exception record and thread context.

#include <signal.h>
#include <ucontext.h>

#include <cstddef>

#include "win32.h"
#include "win32/debugging.h"

namespace vel::platform {

/// Fills `context` from a machine context: the integer and control registers, the flags and the
/// segment registers (the machine context lacks DS and ES; they are read from the processor,
/// where user code cannot have changed them).
void ContextFromMachine(const ucontext_t& machine, CONTEXT& context);

/// The calling thread's context at the call (within this function), as RtlCaptureContext gives
/// it; a software exception is raised with it.
void CaptureContext(CONTEXT& context);

/// Writes the integer and control registers of `context` back into a machine context, so that a
/// handler that continues execution may change where and how the thread goes on.
void MachineFromContext(const CONTEXT& context, ucontext_t& machine);

/// The exception a processor fault stands for: SIGSEGV is an access violation, a stack overflow
/// (an access just below the thread's stack while the stack pointer is near its end) or a
/// privileged instruction (a general protection fault at one); SIGBUS an in-page error; SIGILL
/// an illegal or privileged instruction. Fills `record` for the fault at context.Rip.
void ExceptionFromFault(int signal, const siginfo_t& info, const ucontext_t& machine, const CONTEXT& context,
                        EXCEPTION_RECORD& record);

/// Whether the instruction bytes (as many as could be read, at most 15) start with an
/// instruction that only the kernel may execute.
bool IsPrivilegedInstruction(const unsigned char* bytes, std::size_t count);

/// The signal whose default action ends the process for an exception nobody handled.
int SignalForException(DWORD code);

}  // namespace vel::platform
