#pragma once
// Reading the environment file: lines of "key=value", with "<n>" byte escapes and quoted items.
// This layer only turns bytes into settings; environment_settings applies them.

#include <cstddef>
#include <string>
#include <vector>

namespace vel::values {

/// Longest key and value kept from a line.
inline constexpr size_t kMaxEnvironmentKey = 31;
inline constexpr size_t kMaxEnvironmentValue = 1024;

/// One "key=value" line: the key without blanks, the value trimmed and with escapes decoded.
struct EnvironmentLine {
  std::string key;
  std::string value;
};

/// Splits the file's bytes into lines. Lines end with CR or LF; byte 26 or the end of the
/// data stops reading. Lines without "=" are skipped.
std::vector<EnvironmentLine> ParseEnvironmentText(const char* data, size_t size);

/// Decodes a raw value: trailing blanks and tabs are removed, then "<" followed by decimal
/// digits stands for the byte with that code (the character after the digits is consumed) and
/// "<<" for a single "<".
std::string DecodeEnvironmentValue(const char* raw, size_t length);

/// Splits a value into items separated by blanks or commas; an item may be quoted, with ""
/// standing for a quote inside it. A value wholly in quotes is one item.
std::vector<std::string> SplitEnvironmentItems(const std::string& value);

/// A value taken as one text (collating orders and message texts keep their commas): the text
/// inside the quotes of a value wholly in quotes, else the value itself.
std::string EnvironmentText(const std::string& value);

}  // namespace vel::values
