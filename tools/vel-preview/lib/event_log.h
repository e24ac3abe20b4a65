#pragma once
// The lines vel-preview prints on standard output, one per line and flushed at once so that a
// script reading the log sees each event as it happens:
//   EVENT:Accepted field=3            an event (a number when the event has no name)
//     field 9 = "list"                the variable of the field the event names
//     refused                         the tool refused the event (--refuse)
//   layout field 9 VelDrop 351 4 72 13   a control's class and screen rectangle (--layout)
//   final field 9 = "list"            every variable once the window has closed

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "win32.h"

namespace vel::tools {

/// "EVENT:Accepted field=3": the runtime's name of the event code (the event number, code less
/// 0x1400, when it has none) and the field when the event names one.
std::string EventLine(std::int32_t code, std::int32_t field);

/// "layout field 9 VelDrop 351 4 72 13": field, window class, screen x, y, width and height.
std::string LayoutLine(std::int32_t field, std::string_view className, const RECT& screenRect);

/// Writes whole lines to a stream, each flushed as soon as it is written.
class EventLog {
 public:
  explicit EventLog(std::FILE* out) : m_out(out) {}

  void Line(std::string_view text);
  /// "  field 9 = value" after an event, or "final field 9 = value" at the end.
  void Variable(std::string_view prefix, std::int32_t field, std::string_view value);

 private:
  std::FILE* m_out;
};

}  // namespace vel::tools
