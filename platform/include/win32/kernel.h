#pragma once
// kernel32: processes, modules, time, synchronisation, memory, files, profiles, resources.

#include "types.h"

// ---- Error codes -------------------------------------------------------------------------------

#define ERROR_SUCCESS 0L
#define NO_ERROR 0L
#define ERROR_INVALID_FUNCTION 1L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_BAD_FORMAT 11L
#define ERROR_INVALID_DATA 13L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_NOT_SAME_DEVICE 17L
#define ERROR_WRITE_PROTECT 19L
#define ERROR_GEN_FAILURE 31L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_LOCK_VIOLATION 33L
#define ERROR_HANDLE_EOF 38L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_BROKEN_PIPE 109L
#define ERROR_DISK_FULL 112L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_NAME 123L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_NEGATIVE_SEEK 131L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_DISCARDED 157L
#define ERROR_NOT_LOCKED 158L
#define ERROR_BUSY 170L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_MORE_DATA 234L
#define ERROR_NOT_OWNER 288L
#define ERROR_TOO_MANY_POSTS 298L
#define ERROR_INVALID_ADDRESS 487L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#define ERROR_INVALID_HANDLE_STATE 1609L

VEL_WIN32_API DWORD WINAPI GetLastError(void);
VEL_WIN32_API void WINAPI SetLastError(DWORD dwErrCode);

// ---- Processes, modules, time ------------------------------------------------------------------

VEL_WIN32_API HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);
VEL_WIN32_API DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
VEL_WIN32_API [[noreturn]] void WINAPI ExitProcess(UINT uExitCode);
VEL_WIN32_API HANDLE WINAPI GetCurrentProcess(void);
VEL_WIN32_API DWORD WINAPI GetCurrentProcessId(void);
/// Lists the process's modules: its own first, then each registered resource module.
VEL_WIN32_API BOOL WINAPI EnumProcessModules(HANDLE hProcess, HMODULE* lphModule, DWORD cb, LPDWORD lpcbNeeded);

VEL_WIN32_API DWORD WINAPI GetTickCount(void);
VEL_WIN32_API void WINAPI Sleep(DWORD dwMilliseconds);
VEL_WIN32_API void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime);
VEL_WIN32_API void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime);

// ---- Handles, waits, synchronisation, threads --------------------------------------------------

#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_ABANDONED_0 WAIT_ABANDONED
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED ((DWORD)0xFFFFFFFF)
#define MAXIMUM_WAIT_OBJECTS 64
#define STILL_ACTIVE 259L
#define CREATE_SUSPENDED 0x00000004

typedef struct _SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;

VEL_WIN32_API BOOL WINAPI CloseHandle(HANDLE hObject);
VEL_WIN32_API DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
VEL_WIN32_API DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll,
                                                  DWORD dwMilliseconds);

// Semaphores and events are private to the process: a name (lpName) is accepted but does not
// share an object between calls. Timeouts run on the real clock.
VEL_WIN32_API HANDLE WINAPI CreateSemaphoreA(LPSECURITY_ATTRIBUTES lpSemaphoreAttributes, LONG lInitialCount,
                                             LONG lMaximumCount, LPCSTR lpName);
VEL_WIN32_API BOOL WINAPI ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount);
VEL_WIN32_API HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset,
                                         BOOL bInitialState, LPCSTR lpName);
VEL_WIN32_API BOOL WINAPI SetEvent(HANDLE hEvent);
VEL_WIN32_API BOOL WINAPI ResetEvent(HANDLE hEvent);

/// Starts a thread (the stack size is the system's default whatever dwStackSize says). The
/// handle is signalled when the start routine returns; its result is the exit code.
VEL_WIN32_API HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                                         LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                                         DWORD dwCreationFlags, LPDWORD lpThreadId);
VEL_WIN32_API DWORD WINAPI ResumeThread(HANDLE hThread);
VEL_WIN32_API BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
/// The system's id of the calling thread.
VEL_WIN32_API DWORD WINAPI GetCurrentThreadId(void);
VEL_WIN32_API HANDLE WINAPI GetCurrentThread(void);
/// The lowest and the highest address (exclusive) of the calling thread's stack; both 0 when
/// they cannot be told.
VEL_WIN32_API void WINAPI GetCurrentThreadStackLimits(ULONG_PTR* LowLimit, ULONG_PTR* HighLimit);

typedef struct _RTL_CRITICAL_SECTION {
  PVOID DebugInfo;
  LONG LockCount;
  LONG RecursionCount;
  HANDLE OwningThread;
  HANDLE LockSemaphore;
  ULONG_PTR SpinCount;
} RTL_CRITICAL_SECTION, CRITICAL_SECTION, *PCRITICAL_SECTION, *LPCRITICAL_SECTION;

VEL_WIN32_API void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
VEL_WIN32_API void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
VEL_WIN32_API void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
VEL_WIN32_API BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
VEL_WIN32_API void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);

// ---- Global memory -----------------------------------------------------------------------------

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_NOCOMPACT 0x0010
#define GMEM_NODISCARD 0x0020
#define GMEM_ZEROINIT 0x0040
#define GMEM_MODIFY 0x0080
#define GMEM_DISCARDABLE 0x0100
#define GMEM_NOT_BANKED 0x1000
#define GMEM_SHARE 0x2000
#define GMEM_DDESHARE 0x2000
#define GMEM_INVALID_HANDLE 0x8000
#define GMEM_DISCARDED 0x4000
#define GMEM_LOCKCOUNT 0x00FF
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

VEL_WIN32_API HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
VEL_WIN32_API HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags);
VEL_WIN32_API HGLOBAL WINAPI GlobalFree(HGLOBAL hMem);
VEL_WIN32_API LPVOID WINAPI GlobalLock(HGLOBAL hMem);
VEL_WIN32_API BOOL WINAPI GlobalUnlock(HGLOBAL hMem);
VEL_WIN32_API SIZE_T WINAPI GlobalSize(HGLOBAL hMem);
VEL_WIN32_API UINT WINAPI GlobalFlags(HGLOBAL hMem);
VEL_WIN32_API HGLOBAL WINAPI GlobalHandle(LPCVOID pMem);

typedef ULONGLONG DWORDLONG;

typedef struct _MEMORYSTATUSEX {
  DWORD dwLength;
  DWORD dwMemoryLoad;
  DWORDLONG ullTotalPhys;
  DWORDLONG ullAvailPhys;
  DWORDLONG ullTotalPageFile;
  DWORDLONG ullAvailPageFile;
  DWORDLONG ullTotalVirtual;
  DWORDLONG ullAvailVirtual;
  DWORDLONG ullAvailExtendedVirtual;
} MEMORYSTATUSEX, *LPMEMORYSTATUSEX;

/// Fills in the machine's memory figures; dwLength must be sizeof(MEMORYSTATUSEX). The page file
/// figures are physical memory plus swap; the virtual figures describe the 64-bit address space.
VEL_WIN32_API BOOL WINAPI GlobalMemoryStatusEx(LPMEMORYSTATUSEX lpBuffer);

// ---- Atoms -------------------------------------------------------------------------------------

VEL_WIN32_API ATOM WINAPI GlobalAddAtomA(LPCSTR lpString);
VEL_WIN32_API ATOM WINAPI GlobalFindAtomA(LPCSTR lpString);
VEL_WIN32_API UINT WINAPI GlobalGetAtomNameA(ATOM nAtom, LPSTR lpBuffer, int nSize);
VEL_WIN32_API ATOM WINAPI GlobalDeleteAtom(ATOM nAtom);

// ---- Files -------------------------------------------------------------------------------------

#define GENERIC_READ 0x80000000L
#define GENERIC_WRITE 0x40000000L
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)
#define INVALID_SET_FILE_POINTER ((DWORD)-1)

typedef struct _OVERLAPPED OVERLAPPED, *LPOVERLAPPED;

/// Opens or creates a file. Backslashes in the name count as directory separators; the device
/// name "AUX" is the process's standard error.
VEL_WIN32_API HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                        LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                                        DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
VEL_WIN32_API BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                                   LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped);
VEL_WIN32_API BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                                    LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped);
VEL_WIN32_API DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
VEL_WIN32_API DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LPLONG lpDistanceToMoveHigh,
                                          DWORD dwMoveMethod);
VEL_WIN32_API BOOL WINAPI SetEndOfFile(HANDLE hFile);
VEL_WIN32_API BOOL WINAPI FlushFileBuffers(HANDLE hFile);
VEL_WIN32_API BOOL WINAPI DeleteFileA(LPCSTR lpFileName);

/// A moment as 100-nanosecond intervals since 1 January 1601 (UTC unless a call says local).
typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME, *PFILETIME, *LPFILETIME;

/// The file's times; the creation time is the time of the last status change, which is the
/// nearest a Linux file system keeps. Any pointer may be null.
VEL_WIN32_API BOOL WINAPI GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                                      LPFILETIME lpLastWriteTime);
/// Converts with the time zone's current offset, daylight saving included, as Win32 does.
VEL_WIN32_API BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime);
/// The MS-DOS date (years from 1980, month, day) and time (hours, minutes, seconds / 2) of a
/// moment from 1980 to 2107; FALSE outside that range.
VEL_WIN32_API BOOL WINAPI FileTimeToDosDateTime(const FILETIME* lpFileTime, LPWORD lpFatDate, LPWORD lpFatTime);

// ---- Strings -----------------------------------------------------------------------------------

VEL_WIN32_API int WINAPI lstrlenA(LPCSTR lpString);
VEL_WIN32_API LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength);
VEL_WIN32_API int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2);
/// Formats like Win32: %d %i %u %x %X %c %s with flags, width and precision; "l" and "h" mark
/// 32- and 16-bit arguments; no floating point; at most 1024 bytes are written.
VEL_WIN32_API int WINAPIV wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...);

// ---- Arithmetic --------------------------------------------------------------------------------

/// nNumber * nNumerator / nDenominator with a 64-bit product, rounded to the nearest integer
/// (halves away from zero); -1 when nDenominator is 0 or the result lies outside
/// -2147483647 .. 2147483647.
VEL_WIN32_API int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator);

// ---- Profiles (initialisation files) -----------------------------------------------------------
// A file name without a directory lives in the Windows directory; the system file is win.ini
// there. Writes replace the file atomically under a lock shared with other processes, keep every
// line they do not change byte for byte, and refuse (ERROR_INVALID_PARAMETER) text that would
// change the file's structure: line breaks anywhere, "]" in a section name, "=" in a key, or a
// key starting with "[" or ";".

VEL_WIN32_API DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                                    LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
VEL_WIN32_API BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                                     LPCSTR lpFileName);
VEL_WIN32_API UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault,
                                                LPCSTR lpFileName);
VEL_WIN32_API DWORD WINAPI GetProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                             LPSTR lpReturnedString, DWORD nSize);
VEL_WIN32_API BOOL WINAPI WriteProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString);
VEL_WIN32_API UINT WINAPI GetProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault);
/// The Windows directory: where profile names without a directory and win.ini live.
VEL_WIN32_API UINT WINAPI GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize);

// ---- Resources ---------------------------------------------------------------------------------

#define RT_CURSOR MAKEINTRESOURCEA(1)
#define RT_BITMAP MAKEINTRESOURCEA(2)
#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_MENU MAKEINTRESOURCEA(4)
#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_STRING MAKEINTRESOURCEA(6)
#define RT_FONTDIR MAKEINTRESOURCEA(7)
#define RT_FONT MAKEINTRESOURCEA(8)
#define RT_ACCELERATOR MAKEINTRESOURCEA(9)
#define RT_RCDATA MAKEINTRESOURCEA(10)
#define RT_MESSAGETABLE MAKEINTRESOURCEA(11)
#define RT_GROUP_CURSOR MAKEINTRESOURCEA(12)
#define RT_GROUP_ICON MAKEINTRESOURCEA(14)
#define RT_VERSION MAKEINTRESOURCEA(16)

VEL_WIN32_API HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
VEL_WIN32_API HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
VEL_WIN32_API LPVOID WINAPI LockResource(HGLOBAL hResData);
VEL_WIN32_API DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);
VEL_WIN32_API BOOL WINAPI FreeResource(HGLOBAL hResData);
VEL_WIN32_API int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);
