// imagehlp's module enumeration over the ELF objects the dynamic linker has loaded.

#include <link.h>

#include <cstdint>

#include "platform/kernel/module.h"
#include "platform/kernel/system_libraries.h"

namespace vel::platform {
namespace {

struct Enumeration {
  PENUMLOADED_MODULES_CALLBACK64 callback;
  PVOID context;
  const char* programPath;
};

int VisitObject(dl_phdr_info* info, size_t, void* data) {
  auto& enumeration = *static_cast<Enumeration*>(data);
  std::uintptr_t lowest = UINTPTR_MAX;
  std::uintptr_t highest = 0;
  for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& header = info->dlpi_phdr[i];
    if (header.p_type != PT_LOAD) continue;
    if (header.p_vaddr < lowest) lowest = header.p_vaddr;
    if (header.p_vaddr + header.p_memsz > highest) highest = header.p_vaddr + header.p_memsz;
  }
  if (highest == 0) return 0;
  // Segments start on page boundaries in memory even where their addresses in the file do not.
  const std::uintptr_t base = (info->dlpi_addr + lowest) & ~std::uintptr_t{0xFFF};
  const std::uintptr_t end = info->dlpi_addr + highest;
  // The dynamic linker names the program itself with an empty string.
  const char* name = info->dlpi_name != nullptr && info->dlpi_name[0] != '\0' ? info->dlpi_name
                                                                                : enumeration.programPath;
  const BOOL goOn = enumeration.callback(name, base, static_cast<ULONG>(end - base), enumeration.context);
  return goOn ? 0 : 1;
}

}  // namespace

BOOL WINAPI EnumerateLoadedModules64(HANDLE process, PENUMLOADED_MODULES_CALLBACK64 callback, PVOID context) {
  if (process != GetCurrentProcess() || callback == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // The path was read when the library was loaded, so nothing here allocates.
  Enumeration enumeration{callback, context, ProcessImagePath().c_str()};
  dl_iterate_phdr(VisitObject, &enumeration);
  return TRUE;
}

}  // namespace vel::platform
