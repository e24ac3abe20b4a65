#include "tools/vel-preview/lib/event_log.h"

#include "runtime/windows/event_codes.h"

namespace vel::tools {

std::string EventLine(std::int32_t code, std::int32_t field) {
  const char* name = windows::EventName(code);
  std::string line = name != nullptr ? name : std::to_string(code - windows::kEventBase);
  if (field != 0) line += " field=" + std::to_string(field);
  return line;
}

std::string LayoutLine(std::int32_t field, std::string_view className, const RECT& screenRect) {
  return "layout field " + std::to_string(field) + " " + std::string(className) + " " +
         std::to_string(screenRect.left) + " " + std::to_string(screenRect.top) + " " +
         std::to_string(screenRect.right - screenRect.left) + " " +
         std::to_string(screenRect.bottom - screenRect.top);
}

void EventLog::Line(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), m_out);
  std::fputc('\n', m_out);
  std::fflush(m_out);
}

void EventLog::Variable(std::string_view prefix, std::int32_t field, std::string_view value) {
  Line(std::string(prefix) + "field " + std::to_string(field) + " = " + std::string(value));
}

}  // namespace vel::tools
