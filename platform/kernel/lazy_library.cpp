#include "platform/kernel/lazy_library.h"

#include <dlfcn.h>

namespace vel::platform {

LazyLibrary::LazyLibrary(const char* soname) {
  m_handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (m_handle == nullptr) {
    const char* error = dlerror();
    m_problem = error != nullptr ? error : std::string(soname) + " cannot be opened";
  }
}

void* LazyLibrary::Lookup(const char* symbol) {
  if (m_handle == nullptr) return nullptr;
  void* found = dlsym(m_handle, symbol);
  if (found == nullptr && m_problem.empty()) m_problem = std::string("it has no ") + symbol;
  return found;
}

bool LazyLibrary::Complete(std::string& whyNot) {
  whyNot = m_problem;
  if (m_problem.empty()) return true;
  if (m_handle != nullptr) dlclose(m_handle);
  m_handle = nullptr;
  return false;
}

}  // namespace vel::platform
