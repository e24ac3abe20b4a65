#include "runtime/services/fault_report_file.h"

#include <cstring>

#include "win32.h"
#include "win32/debugging.h"

namespace vel::services {
namespace {

constexpr char kFirstName[kFaultReportNameSize] = "VXFAULT1.TXT";
constexpr std::size_t kSequencePosition = 7;
// The characters the eighth position runs through; the last is taken without looking.
constexpr char kSequence[] = "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_";

}  // namespace

void ChooseFaultReportName(char (&name)[kFaultReportNameSize]) {
  std::memcpy(name, kFirstName, kFaultReportNameSize);
  for (const char* at = kSequence; at[1] != '\0'; ++at) {
    name[kSequencePosition] = *at;
    const HFILE existing = _lopen(name, OF_READ);
    if (existing == HFILE_ERROR) return;
    _lclose(existing);
  }
  name[kSequencePosition] = kSequence[sizeof kSequence - 2];
}

}  // namespace vel::services
