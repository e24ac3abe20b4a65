#include "platform/kernel/lazy_library_table.h"

#include <cstdio>

namespace vel::platform {

void ReportUnusableLibrary(const char* subject, const char* soname, const std::string& whyNot,
                           const char* consequence) {
  std::fprintf(stderr, "%s %s is not usable (%s); %s\n", subject, soname, whyNot.c_str(), consequence);
}

}  // namespace vel::platform
