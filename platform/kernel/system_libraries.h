#pragma once
// The system libraries that LoadLibraryA can load: libraries the platform itself provides, each
// a name and a table of exported functions.

#include "win32.h"
#include "win32/debugging.h"

namespace vel::platform {

/// Makes LoadLibraryA fail for a system library (true) or find it again (false), so that tests
/// can see how a program copes without it.
void WithholdSystemLibrary(const char* name, bool withheld);

/// imagehlp's EnumerateLoadedModules64 over the process's loaded ELF objects (dl_iterate_phdr):
/// the program first (named by its full path), then the shared objects as the dynamic linker
/// lists them. Base and size span the object's loadable segments. Safe in a signal handler once
/// the library has been loaded.
BOOL WINAPI EnumerateLoadedModules64(HANDLE process, PENUMLOADED_MODULES_CALLBACK64 callback, PVOID context);

}  // namespace vel::platform
