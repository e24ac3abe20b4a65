#pragma once

#include <cstdint>

namespace vel::values {

/// Orders string value `a` against `b` under the installed character rules: negative when `a`
/// sorts first, 0 when they are equal, positive when `b` sorts first. The shorter value reads as
/// if padded with blanks, so trailing blanks never make two values differ. With digraphs
/// installed, the values are compared from their first difference on as sequences of characters
/// in which each digraph stands for its two replacement characters.
int CompareStrings(const char* a, std::uint32_t aLength, const char* b, std::uint32_t bLength);

/// As `CompareStrings`, but only the first min(aLength, bLength) bytes of each value take part.
int ComparePrefixStrings(const char* a, std::uint32_t aLength, const char* b,
                         std::uint32_t bLength);

}  // namespace vel::values
