#pragma once
// Building collating weights and case tables from the orders and letter lists that the
// environment file gives.

#include <cstdint>
#include <string_view>

#include "runtime/values/char_tables.h"

namespace vel::values {

/// Number of characters of a complete collating order (bytes 32 to 126 and 128 to 254).
inline constexpr size_t kCompleteOrderLength = 222;

/// Builds `weights` from a collating order. Repeated characters count once (the first time).
/// A complete order of 222 distinct characters (exactly the bytes 32 to 126 and 128 to 254)
/// assigns the weights 32 to 126 and 128 to 254 in that order; any other order redistributes
/// the listed characters' own codes among them in the listed order. Unlisted bytes weigh their
/// own code.
void BuildCollatingWeights(std::string_view order, uint8_t weights[256]);

/// Makes each pair of bytes at the same position of `upper` and `lower` (both 128 or above)
/// each other's other case, with the upper- and lower-case class flags. The upper half of the
/// class and other-case tables is cleared first; the lower half keeps its contents. A byte
/// listed more than once keeps its first partner.
void ApplyCaseLists(std::string_view upper, std::string_view lower, CharTables& tables);

}  // namespace vel::values
