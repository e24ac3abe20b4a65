#pragma once
// The error log record: an error text followed by the return addresses of the current call
// chain, written to the trace log before the runtime shows an internal error.

#include <string>
#include <string_view>
#include <vector>

#include "runtime/services/error_call_chain.h"

namespace vel::services {

/// Lines in every record: the error line, one line per call-chain slot and the separator.
inline constexpr std::size_t kErrorLogRecordLines = kCallChainSlots + 2;

/// The lines of a record, each ending in "\r\n": "Error: <text>", then every slot of the chain
/// as three spaces and at least eight lowercase hexadecimal digits (empty slots as 00000000),
/// then 34 hyphens. The text is cut so that its line, line end included, stays within one
/// trace line, and line breaks inside it become blanks, so a record always has exactly
/// kErrorLogRecordLines lines.
std::vector<std::string> ErrorLogRecordLines(std::string_view text, const CallChain& chain);

/// Writes a record for the text, with the call chain of the caller, to the trace log. A null
/// text is written as an empty one.
void WriteErrorLogRecord(const char* text);

}  // namespace vel::services
