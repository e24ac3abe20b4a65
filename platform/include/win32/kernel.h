#pragma once
// kernel32: processes, modules, time, synchronisation, memory, files, profiles, resources.

#include "types.h"

VEL_WIN32_API HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);
VEL_WIN32_API DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
VEL_WIN32_API [[noreturn]] void WINAPI ExitProcess(UINT uExitCode);

VEL_WIN32_API DWORD WINAPI GetTickCount(void);
VEL_WIN32_API void WINAPI Sleep(DWORD dwMilliseconds);

VEL_WIN32_API DWORD WINAPI GetLastError(void);
VEL_WIN32_API void WINAPI SetLastError(DWORD dwErrCode);

/// The lowest and the highest address (exclusive) of the calling thread's stack; both 0 when
/// they cannot be told.
VEL_WIN32_API void WINAPI GetCurrentThreadStackLimits(ULONG_PTR* LowLimit, ULONG_PTR* HighLimit);
