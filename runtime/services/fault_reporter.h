#pragma once
// The fault reporter: when the processor raises one of the faults it knows, it writes a
// plain-text report (VXFAULTn.TXT in the current directory) of what happened and where, and
// then lets the fault take its normal course, which ends the program. One report per process.

#include "win32.h"
#include "win32/debugging.h"

namespace vel::services {

/// The name a report gives the exception code ("Access Violation", "Page Fault", "No Memory",
/// "Illegal Instruction", "Privileged Instruction", "Stack Overflow"); null for every other code,
/// which passes through without a report.
const char* FaultName(DWORD exceptionCode);

/// The handler (a vectored exception handler): writes the report for the first reportable fault
/// and always lets the search for a handler go on.
LONG CALLBACK FaultReportHandler(PEXCEPTION_POINTERS exception);

/// Makes the program entry's fault handler frame install and remove the reporter, unless hooks
/// of its own are in place already. Installed, the reporter also hears of a runtime error box
/// answered with Cancel, and of an allocation failure nobody caught (as No Memory).
void ConnectFaultReporter();

/// Installs the reporter now: notes down what a report needs that cannot be found out safely at
/// fault time (the program's path, the image-help library's enumeration function, the runtime's
/// registered modules) and adds the handler.
void InstallFaultReporter();

/// Removes the handler and the reporter's other hooks.
void RemoveFaultReporter();

}  // namespace vel::services
