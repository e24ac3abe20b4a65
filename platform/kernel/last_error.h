#pragma once
// The Win32 error number that best describes a POSIX errno value, for the calls that sit on
// POSIX files and processes.

#include "win32.h"

namespace vel::platform {

/// ERROR_GEN_FAILURE for values without a closer Win32 counterpart.
DWORD Win32ErrorFromErrno(int errnoValue);

/// SetLastError(Win32ErrorFromErrno(errnoValue)).
void SetLastErrorFromErrno(int errnoValue);

}  // namespace vel::platform
