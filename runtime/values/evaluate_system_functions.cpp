#include "runtime/values/evaluate_function_set.h"
#include "win32.h"

namespace vel::values::functions {

namespace {

/// The longest value GETINI reads from an initialisation file.
constexpr DWORD kMaxProfileValue = 4096;

}  // namespace

bool GetIni(const Arguments& a, ExpressionValue& r, std::string&) {
  std::string section = ValueAsText(a[0]);
  std::string entry = ValueAsText(a[1]);
  std::string fallback = a.size() > 2 ? ValueAsText(a[2]) : std::string();
  std::string buffer(kMaxProfileValue, '\0');
  DWORD length = 0;
  if (a.size() > 3) {
    std::string file = ValueAsText(a[3]);
    length = GetPrivateProfileStringA(section.c_str(), entry.c_str(), fallback.c_str(),
                                      buffer.data(), kMaxProfileValue, file.c_str());
  } else {
    // Without a file the entry comes from the system's own initialisation file.
    length = GetProfileStringA(section.c_str(), entry.c_str(), fallback.c_str(), buffer.data(),
                               kMaxProfileValue);
  }
  buffer.resize(length < kMaxProfileValue ? length : kMaxProfileValue - 1);
  r = ExpressionValue::Text(std::move(buffer));
  return true;
}

bool Memory(const Arguments& a, ExpressionValue& r, std::string& problem) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) {
    problem = "memory figures not available";
    return false;
  }
  // 0 asks for the memory still available, anything else for the whole physical memory.
  DWORDLONG bytes = ValueAsInteger(a[0]) == 0 ? status.ullAvailPhys : status.ullTotalPhys;
  r = ExpressionValue::Integer(static_cast<std::int64_t>(bytes));
  return true;
}

}  // namespace vel::values::functions
