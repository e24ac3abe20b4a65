#include "runtime/services/query_launcher.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "runtime/services/trace_log.h"
#include "runtime/values/string_stack.h"

namespace vel::services {

void LaunchQuery(HWND owner) {
  values::ClipTop();
  const values::StringView top = values::TopView();
  char address[kLaunchAddressLimit + 1];
  const std::uint32_t length = std::min<std::uint32_t>(top.length, kLaunchAddressLimit);
  if (length > 0) std::memcpy(address, top.data, length);
  address[length] = '\0';

  HINSTANCE answer = ShellExecuteA(owner, nullptr, address, nullptr, "", SW_SHOWNORMAL);
  values::DropTop();
  const auto code = reinterpret_cast<std::uintptr_t>(answer);
  // Win32 reports success as any value above 32.
  if (code <= 32) {
    WriteTraceLine("Query launch failed (shell error %u): %s\r\n", static_cast<unsigned>(code), address);
  }
}

}  // namespace vel::services
