// The C++ runtime calls __cxa_pure_virtual when a call reaches a function that its class leaves
// abstract (typically from a constructor or destructor of the abstract base). Defining it here
// sends that call down the runtime's own path: the pure-virtual-call diagnostic in the error log
// and the runtime error box, then exit code 2.

#include "runtime/services/diagnostics_report.h"

extern "C" [[noreturn]] void __cxa_pure_virtual() { vel::services::ReportAbstractCall(); }
