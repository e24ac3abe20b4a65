#pragma once
// Conversion between the OEM character set (code page 437) and the ANSI set (code page 1252).

#include <cstddef>
#include <cstdint>

namespace vel::values {

/// The ANSI byte for an OEM byte (bytes below 128 are the same in both sets).
uint8_t OemToAnsiChar(uint8_t c);

/// The OEM byte for an ANSI byte.
uint8_t AnsiToOemChar(uint8_t c);

/// Converts `length` bytes in place from OEM to ANSI.
void OemToAnsiText(char* text, size_t length);

/// Converts `length` bytes in place from ANSI to OEM.
void AnsiToOemText(char* text, size_t length);

}  // namespace vel::values
