#pragma once

#include <string>
#include <string_view>

namespace vel::tools {

// The runtime works in the ANSI code page (Windows-1252) while terminals speak UTF-8, so the
// tool converts at its edge, as the platform layer does for keyboard text.

/// Converts UTF-8 text to Windows-1252. Characters the code page lacks become "?"; bytes that
/// are not valid UTF-8 are taken as Windows-1252 characters already.
std::string Utf8ToAnsi(std::string_view text);

/// Converts Windows-1252 text to UTF-8 (the five unassigned bytes map to the same code points).
std::string AnsiToUtf8(std::string_view text);

}  // namespace vel::tools
