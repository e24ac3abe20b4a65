#include "platform/kernel/module.h"

#include <unistd.h>

#include <deque>
#include <mutex>

#include "platform/kernel/ansi_text.h"

namespace vel::platform {
namespace {

struct ModuleList {
  std::mutex mutex;
  std::deque<ModuleRecord> registered;  // A deque keeps records in place as it grows.
};

ModuleList& Modules() {
  static ModuleList* list = new ModuleList();
  return *list;
}

std::string_view BaseName(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

HMODULE FindModuleByName(const char* name) {
  std::string_view wanted = BaseName(name);
  if (EqualsIgnoringCase(BaseName(ProcessModule().fileName), wanted)) {
    return reinterpret_cast<HMODULE>(&ProcessModule());
  }
  ModuleList& list = Modules();
  std::lock_guard<std::mutex> lock(list.mutex);
  for (ModuleRecord& record : list.registered) {
    if (EqualsIgnoringCase(BaseName(record.fileName), wanted)) return reinterpret_cast<HMODULE>(&record);
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

ModuleRecord* ModuleFromHandle(HMODULE module) {
  ModuleRecord* process = &ProcessModule();
  if (module == nullptr || module == reinterpret_cast<HMODULE>(process)) return process;
  ModuleList& list = Modules();
  std::lock_guard<std::mutex> lock(list.mutex);
  for (ModuleRecord& record : list.registered) {
    if (reinterpret_cast<HMODULE>(&record) == module) return &record;
  }
  return nullptr;
}

std::vector<HMODULE> AllModules() {
  std::vector<HMODULE> modules{reinterpret_cast<HMODULE>(&ProcessModule())};
  ModuleList& list = Modules();
  std::lock_guard<std::mutex> lock(list.mutex);
  for (ModuleRecord& record : list.registered) modules.push_back(reinterpret_cast<HMODULE>(&record));
  return modules;
}

HMODULE ModuleNamed(const char* name) {
  if (name == nullptr || *name == '\0') return reinterpret_cast<HMODULE>(&ProcessModule());
  if (HMODULE existing = FindModuleByName(name)) return existing;
  // A resource module lives beside the program, as a DLL would.
  std::string directory = ProcessModule().fileName;
  size_t slash = directory.rfind('/');
  directory = slash == std::string::npos ? std::string() : directory.substr(0, slash + 1);
  ModuleList& list = Modules();
  std::lock_guard<std::mutex> lock(list.mutex);
  list.registered.push_back(ModuleRecord{directory + name, {}});
  return reinterpret_cast<HMODULE>(&list.registered.back());
}

}  // namespace vel::platform

HANDLE WINAPI GetCurrentProcess(void) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

BOOL WINAPI EnumProcessModules(HANDLE hProcess, HMODULE* lphModule, DWORD cb, LPDWORD lpcbNeeded) {
  if (hProcess != GetCurrentProcess() || lpcbNeeded == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<HMODULE> modules = vel::platform::AllModules();
  *lpcbNeeded = static_cast<DWORD>(modules.size() * sizeof(HMODULE));
  size_t room = lphModule != nullptr ? cb / sizeof(HMODULE) : 0;
  for (size_t i = 0; i < modules.size() && i < room; ++i) lphModule[i] = modules[i];
  return TRUE;
}
