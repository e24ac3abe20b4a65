#include "platform/kernel/module.h"

#include <unistd.h>

#include <cstring>
#include <string>

namespace vel::platform {

ModuleRecord& ProcessModule() {
  static ModuleRecord* record = new ModuleRecord{ProcessImagePath(), {}};
  return *record;
}

const std::string& ProcessImagePath() {
  static const std::string path = [] {
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return std::string("skarvine");
    return std::string(buffer, static_cast<size_t>(length));
  }();
  return path;
}

}  // namespace vel::platform

using vel::platform::ModuleRecord;

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
  if (lpModuleName == nullptr) return reinterpret_cast<HMODULE>(&vel::platform::ProcessModule());
  return vel::platform::FindModuleByName(lpModuleName);
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
  if (lpFilename == nullptr || nSize == 0) return 0;
  const ModuleRecord* record = vel::platform::ModuleFromHandle(hModule);
  if (record == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  const std::string& path = record->fileName;
  // Win32 truncates to the buffer, terminates, and returns the buffer size when it had to cut.
  if (path.size() >= nSize) {
    std::memcpy(lpFilename, path.data(), nSize - 1);
    lpFilename[nSize - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::memcpy(lpFilename, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}
