// LoadLibraryA, GetProcAddress and FreeLibrary for the libraries the platform provides itself.
// A library's handle is the address of its entry in the table below; loading by name accepts
// the name with or without ".DLL", in any case.

#include "platform/kernel/system_libraries.h"

#include <strings.h>

#include <atomic>
#include <cstring>
#include <iterator>

#include "platform/kernel/module.h"

namespace vel::platform {
namespace {

struct Export {
  const char* name;
  FARPROC function;
};

struct SystemLibrary {
  const char* name;
  const Export* exports;
  std::size_t exportCount;
  std::atomic<bool> withheld{false};
};

// Exports are kept as FARPROC, as GetProcAddress returns them; the detour through a function
// without parameters is the cast between function types that compilers accept silently.
template <typename Function>
FARPROC AsFarProc(Function function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

const Export kImageHelpExports[] = {
    {"EnumerateLoadedModules64", AsFarProc(&EnumerateLoadedModules64)},
};

SystemLibrary g_libraries[] = {
    {"IMAGEHLP", kImageHelpExports, std::size(kImageHelpExports), false},
};

// "IMAGEHLP", "imagehlp.dll" and "C:\WINDOWS\SYSTEM\IMAGEHLP.DLL" all name the same library.
bool NameMatches(const char* wanted, const char* library) {
  const char* base = wanted;
  for (const char* at = wanted; *at != '\0'; ++at) {
    if (*at == '\\' || *at == '/') base = at + 1;
  }
  const std::size_t length = std::strlen(library);
  if (strncasecmp(base, library, length) != 0) return false;
  return base[length] == '\0' || strcasecmp(base + length, ".DLL") == 0;
}

SystemLibrary* FindLibrary(const char* name) {
  for (SystemLibrary& library : g_libraries) {
    if (NameMatches(name, library.name)) return &library;
  }
  return nullptr;
}

SystemLibrary* LibraryOf(HMODULE module) {
  for (SystemLibrary& library : g_libraries) {
    if (reinterpret_cast<HMODULE>(&library) == module) return &library;
  }
  return nullptr;
}

}  // namespace

void WithholdSystemLibrary(const char* name, bool withheld) {
  if (SystemLibrary* library = FindLibrary(name)) library->withheld.store(withheld);
}

}  // namespace vel::platform

using vel::platform::FindLibrary;
using vel::platform::LibraryOf;

HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) {
  auto* library = lpLibFileName != nullptr ? FindLibrary(lpLibFileName) : nullptr;
  if (library == nullptr || library->withheld.load()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // What the library's functions name modules by is read now, outside any fault handler.
  vel::platform::ProcessImagePath();
  return reinterpret_cast<HMODULE>(library);
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  auto* library = LibraryOf(hModule);
  if (library == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (lpProcName != nullptr && !IS_INTRESOURCE(lpProcName)) {
    for (std::size_t i = 0; i < library->exportCount; ++i) {
      if (std::strcmp(library->exports[i].name, lpProcName) == 0) return library->exports[i].function;
    }
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  if (LibraryOf(hLibModule) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
