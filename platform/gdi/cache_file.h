#pragma once
// Small text files in the user's cache folder that only save time (font matches, kept glyphs):
// read whole within a size limit, and replaced through a new file renamed over the old one, so
// that a program starting meanwhile reads either version whole. Failures are absorbed: the
// caller works the answer out again.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vel::platform {

/// The whole text of the file at `path`; nothing when it cannot be read or is larger than
/// `largest` bytes (a file that large was not written by us).
std::optional<std::string> ReadCacheFile(const std::string& path, std::uintmax_t largest);

/// Replaces the file at `path` with `text`, creating its folder.
void ReplaceCacheFile(const std::string& path, std::string_view text);

/// `text` cut at every `separator`; an empty text is one empty field.
std::vector<std::string_view> SplitFields(std::string_view text, char separator);

/// Reads "0" or "1".
bool ReadFlagField(std::string_view field, bool& flag);

/// Reads a whole field as a decimal number.
bool ReadNumberField(std::string_view field, int& number);

}  // namespace vel::platform
