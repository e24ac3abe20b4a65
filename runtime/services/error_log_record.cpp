#include "runtime/services/error_log_record.h"

#include <cinttypes>
#include <cstdio>

#include "runtime/services/trace_log.h"

namespace vel::services {
namespace {

constexpr std::string_view kErrorLinePrefix = "Error: ";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSeparatorLine = "----------------------------------\r\n";

// The trace log cuts longer lines, which would lose the line end and glue the next line of the
// record onto this one; the text is cut here instead.
constexpr std::size_t kErrorTextRoom = kTraceLineMaxLength - kErrorLinePrefix.size() - kLineEnd.size();

std::string AddressLine(std::uintptr_t address) {
  char line[32];
  std::snprintf(line, sizeof line, "   %.8" PRIxPTR "\r\n", address);
  return line;
}

}  // namespace

std::vector<std::string> ErrorLogRecordLines(std::string_view text, const CallChain& chain) {
  std::vector<std::string> lines;
  lines.reserve(kErrorLogRecordLines);
  std::string errorLine(kErrorLinePrefix);
  // A line break inside the text would split the record's first line in two.
  for (char c : text.substr(0, kErrorTextRoom)) errorLine += (c == '\r' || c == '\n') ? ' ' : c;
  errorLine += kLineEnd;
  lines.push_back(std::move(errorLine));
  for (std::uintptr_t address : chain) lines.push_back(AddressLine(address));
  lines.emplace_back(kSeparatorLine);
  return lines;
}

void WriteErrorLogRecord(const char* text) {
  const CallChain chain = WalkCallChain();
  for (const std::string& line : ErrorLogRecordLines(text != nullptr ? text : "", chain)) {
    WriteTraceLine("%s", line.c_str());
  }
}

}  // namespace vel::services
