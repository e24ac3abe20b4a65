#pragma once
// Where a fault report goes: the first of "VXFAULT1.TXT" to "VXFAULT9.TXT", then "VXFAULTA.TXT"
// to "VXFAULTZ.TXT", that does not exist yet in the current directory; when all of those do,
// "VXFAULT_.TXT", whether it exists or not.

#include <cstddef>

namespace vel::services {

/// Room for a report file name with its terminating zero.
inline constexpr std::size_t kFaultReportNameSize = 13;

/// Writes the name of the file the next report goes to.
void ChooseFaultReportName(char (&name)[kFaultReportNameSize]);

}  // namespace vel::services
