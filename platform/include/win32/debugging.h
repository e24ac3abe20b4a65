#pragma once
// kernel32 and imagehlp: structured exceptions and vectored handlers, reading and writing the
// process's own memory, libraries loaded by name, the HFILE file functions, and the image-help
// module enumeration. Processor faults (SIGSEGV, SIGBUS, SIGILL, stack overflow) reach the
// vectored handlers as exceptions with the thread's context; what the handlers leave to the
// system ends the process with the signal, as it would have without them.
//
// Everything here that a handler may call while a fault is being handled (ReadProcessMemory,
// WriteProcessMemory, the HFILE functions, an enumeration function already looked up) is safe
// to call from a signal handler: it neither allocates nor takes a lock.
//
// Only fault handling and its tests need these, so they include this header by name after
// "win32.h", as programs name the debugging headers beside the main one.

#include "types.h"

// ---- Exceptions --------------------------------------------------------------------------------

#define EXCEPTION_ACCESS_VIOLATION ((DWORD)0xC0000005L)
#define EXCEPTION_IN_PAGE_ERROR ((DWORD)0xC0000006L)
#define STATUS_NO_MEMORY ((DWORD)0xC0000017L)
#define EXCEPTION_ILLEGAL_INSTRUCTION ((DWORD)0xC000001DL)
#define EXCEPTION_NONCONTINUABLE_EXCEPTION ((DWORD)0xC0000025L)
#define EXCEPTION_INT_DIVIDE_BY_ZERO ((DWORD)0xC0000094L)
#define EXCEPTION_PRIV_INSTRUCTION ((DWORD)0xC0000096L)
#define EXCEPTION_STACK_OVERFLOW ((DWORD)0xC00000FDL)
#define EXCEPTION_BREAKPOINT ((DWORD)0x80000003L)

#define EXCEPTION_NONCONTINUABLE 0x1
#define EXCEPTION_MAXIMUM_PARAMETERS 15

#define EXCEPTION_EXECUTE_HANDLER 1
#define EXCEPTION_CONTINUE_SEARCH 0
#define EXCEPTION_CONTINUE_EXECUTION (-1)

typedef uint64_t DWORD64;

typedef struct _EXCEPTION_RECORD {
  DWORD ExceptionCode;
  DWORD ExceptionFlags;
  struct _EXCEPTION_RECORD* ExceptionRecord;
  PVOID ExceptionAddress;
  DWORD NumberParameters;
  /// For an access violation: [0] 0 read, 1 write, 8 execute; [1] the address accessed.
  ULONG_PTR ExceptionInformation[EXCEPTION_MAXIMUM_PARAMETERS];
} EXCEPTION_RECORD, *PEXCEPTION_RECORD;

#define CONTEXT_AMD64 0x00100000L
#define CONTEXT_CONTROL (CONTEXT_AMD64 | 0x1L)
#define CONTEXT_INTEGER (CONTEXT_AMD64 | 0x2L)
#define CONTEXT_SEGMENTS (CONTEXT_AMD64 | 0x4L)

/// The x86-64 thread context: the integer, control and segment registers with Win32's field
/// names and order. The floating-point and vector state that follows them in Win32 is not kept.
typedef struct _CONTEXT {
  DWORD64 P1Home;
  DWORD64 P2Home;
  DWORD64 P3Home;
  DWORD64 P4Home;
  DWORD64 P5Home;
  DWORD64 P6Home;
  DWORD ContextFlags;
  DWORD MxCsr;
  WORD SegCs;
  WORD SegDs;
  WORD SegEs;
  WORD SegFs;
  WORD SegGs;
  WORD SegSs;
  DWORD EFlags;
  DWORD64 Dr0;
  DWORD64 Dr1;
  DWORD64 Dr2;
  DWORD64 Dr3;
  DWORD64 Dr6;
  DWORD64 Dr7;
  DWORD64 Rax;
  DWORD64 Rcx;
  DWORD64 Rdx;
  DWORD64 Rbx;
  DWORD64 Rsp;
  DWORD64 Rbp;
  DWORD64 Rsi;
  DWORD64 Rdi;
  DWORD64 R8;
  DWORD64 R9;
  DWORD64 R10;
  DWORD64 R11;
  DWORD64 R12;
  DWORD64 R13;
  DWORD64 R14;
  DWORD64 R15;
  DWORD64 Rip;
} CONTEXT, *PCONTEXT;

typedef struct _EXCEPTION_POINTERS {
  PEXCEPTION_RECORD ExceptionRecord;
  PCONTEXT ContextRecord;
} EXCEPTION_POINTERS, *PEXCEPTION_POINTERS;

typedef LONG(CALLBACK* PVECTORED_EXCEPTION_HANDLER)(PEXCEPTION_POINTERS ExceptionInfo);

/// Adds a handler that sees every exception of the process before anything else; First non-zero
/// puts it at the front of the list. Returns the handle for RemoveVectoredExceptionHandler, or
/// null when the list is full. The calling thread gets an alternate signal stack, so that a
/// stack overflow on it can still be handled; threads from CreateThread always have one.
VEL_WIN32_API PVOID WINAPI AddVectoredExceptionHandler(ULONG First, PVECTORED_EXCEPTION_HANDLER Handler);
/// Removes a handler; 0 when the handle names none.
VEL_WIN32_API ULONG WINAPI RemoveVectoredExceptionHandler(PVOID Handle);

/// Raises a software exception on the calling thread with its present context. When no handler
/// continues execution of a continuable exception, the process ends as for the matching fault:
/// access violations and stack overflow with SIGSEGV, in-page errors with SIGBUS, illegal and
/// privileged instructions with SIGILL, anything else with SIGABRT.
VEL_WIN32_API void WINAPI RaiseException(DWORD dwExceptionCode, DWORD dwExceptionFlags, DWORD nNumberOfArguments,
                                         const ULONG_PTR* lpArguments);

// ---- The process's memory ----------------------------------------------------------------------

/// Copies nSize bytes of the process's memory without ever faulting: FALSE (ERROR_PARTIAL_COPY,
/// with the bytes that could be read counted) when part of the range is not readable. Only the
/// current process (GetCurrentProcess()) can be read.
VEL_WIN32_API BOOL WINAPI ReadProcessMemory(HANDLE hProcess, LPCVOID lpBaseAddress, LPVOID lpBuffer, SIZE_T nSize,
                                            SIZE_T* lpNumberOfBytesRead);
/// The same for writing: FALSE when part of the range is not writable.
VEL_WIN32_API BOOL WINAPI WriteProcessMemory(HANDLE hProcess, LPVOID lpBaseAddress, LPCVOID lpBuffer, SIZE_T nSize,
                                             SIZE_T* lpNumberOfBytesWritten);

#define ERROR_PARTIAL_COPY 299L

// ---- Libraries loaded by name ------------------------------------------------------------------

/// Loads one of the system libraries the platform provides ("IMAGEHLP.DLL", any case, with or
/// without the extension); null with ERROR_MOD_NOT_FOUND for any other name.
VEL_WIN32_API HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName);
/// A function the library exports by name; null with ERROR_PROC_NOT_FOUND otherwise.
VEL_WIN32_API FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
VEL_WIN32_API BOOL WINAPI FreeLibrary(HMODULE hLibModule);

#define ERROR_PROC_NOT_FOUND 127L

// ---- HFILE files -------------------------------------------------------------------------------

typedef int HFILE;
#define HFILE_ERROR ((HFILE)-1)
#define OF_READ 0x00000000
#define OF_WRITE 0x00000001
#define OF_READWRITE 0x00000002

/// Opens an existing file (OF_READ, OF_WRITE or OF_READWRITE); HFILE_ERROR when it cannot be.
VEL_WIN32_API HFILE WINAPI _lopen(LPCSTR lpPathName, int iReadWrite);
/// Creates a file, or empties an existing one, for writing; iAttribute 0 is a normal file.
VEL_WIN32_API HFILE WINAPI _lcreat(LPCSTR lpPathName, int iAttribute);
/// Writes uBytes; returns the count written, or HFILE_ERROR.
VEL_WIN32_API UINT WINAPI _lwrite(HFILE hFile, LPCSTR lpBuffer, UINT uBytes);
VEL_WIN32_API HFILE WINAPI _lclose(HFILE hFile);

// ---- imagehlp: loaded modules ------------------------------------------------------------------

/// Called once per loaded module with its file name, the address it starts at and its size in
/// memory; returning FALSE ends the enumeration.
typedef BOOL(CALLBACK* PENUMLOADED_MODULES_CALLBACK64)(PCSTR ModuleName, DWORD64 ModuleBase, ULONG ModuleSize,
                                                       PVOID UserContext);
/// EnumerateLoadedModules64, exported by "IMAGEHLP.DLL" and reached through GetProcAddress: calls
/// back for every module of the current process, the program first.
typedef BOOL(WINAPI* PENUMERATE_LOADED_MODULES64)(HANDLE hProcess,
                                                  PENUMLOADED_MODULES_CALLBACK64 EnumLoadedModulesCallback,
                                                  PVOID UserContext);
