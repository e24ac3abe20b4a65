#pragma once
// The ANSI code page (Windows-1252) and the OEM code page (437) as Unicode.

#include <cstdint>

namespace vel::platform {

/// The Unicode code point of a Windows-1252 byte; the five unassigned bytes map to themselves.
char32_t UnicodeFrom1252(unsigned char byte);

}  // namespace vel::platform
