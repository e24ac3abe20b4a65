#pragma once
// Text helpers for the ANSI code page (Windows-1252) shared by the kernel services: the case
// folding that profile, atom and resource names are compared with, and the mapping to and from
// UTF-16 that string table resources are stored in.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vel::platform {

/// Lower-case form of one Windows-1252 character (ASCII and the accented Latin letters).
unsigned char AnsiToLower(unsigned char c);

/// Upper-case form of one Windows-1252 character.
unsigned char AnsiToUpper(unsigned char c);

/// True when the two texts are equal ignoring case, as profile, atom and resource names compare.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

/// The Unicode code point of one Windows-1252 byte (the five unassigned bytes map to themselves).
uint16_t AnsiToUnicode(unsigned char c);

/// The Windows-1252 byte for a UTF-16 code unit, '?' when the code page has none.
unsigned char UnicodeToAnsi(uint16_t unit);

/// UTF-8 form of Windows-1252 text (the five unassigned bytes keep their own code points).
std::string AnsiToUtf8(std::string_view ansi);

/// Windows-1252 form of UTF-8 text: '?' for a character the code page lacks and for each
/// malformed byte.
std::string Utf8ToAnsi(std::string_view utf8);

/// Windows-1252 form of UTF-8 text, one entry per character: its byte, or none for a character
/// the code page lacks and for each malformed byte (for callers that must refuse those rather
/// than store a stand-in).
std::vector<std::optional<char>> Utf8ToAnsiCharacters(std::string_view utf8);

}  // namespace vel::platform
