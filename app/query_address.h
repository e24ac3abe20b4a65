#pragma once
// The query address the search window keeps up to date: the archive's service address and the
// user's choices, composed on the string stack.

#include <cstdint>
#include <string_view>

#include "app/search_fields.h"

namespace vel::app {

/// The query address variable's size; the address is a fixed string of this many characters.
inline constexpr std::uint32_t kQueryAddressSize = 512;

/// Composes the query address from `fields` after `serviceAddress` and stores it, blank-padded
/// and cut to kQueryAddressSize, in `queryAddress`. The user's texts go in clipped of trailing
/// blanks and otherwise exactly as typed: nothing is escaped.
void RebuildQueryAddress(const SearchFields& fields, std::string_view serviceAddress, char* queryAddress);

}  // namespace vel::app
