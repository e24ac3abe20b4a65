#include "platform/kernel/module.h"

namespace vel::platform {

HMODULE FindModuleByName(const char*) {
  SetLastError(126 /* ERROR_MOD_NOT_FOUND */);
  return nullptr;
}

}  // namespace vel::platform
