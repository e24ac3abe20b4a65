#pragma once
// The search window's bound variables and its field numbers.

#include <cstdint>

namespace vel::app {

/// The five variables the window's controls are bound to, in the order the window takes their
/// addresses. The strings are fixed strings, blank-padded on the right.
struct SearchFields {
  char searchText[20];
  char authorText[20];
  char viewFormat[20];
  std::int16_t maximumHits;
  char andOr[20];
};

/// Clears the strings to blanks and maximum hits to 0.
void ClearSearchFields(SearchFields& fields);

/// The window's fields, by number.
inline constexpr std::int32_t kSearchPromptField = 1;
inline constexpr std::int32_t kSearchTextField = 2;
inline constexpr std::int32_t kSearchButtonField = 3;
inline constexpr std::int32_t kMinimiseButtonField = 4;
inline constexpr std::int32_t kCloseButtonField = 5;
inline constexpr std::int32_t kAuthorTextField = 7;
inline constexpr std::int32_t kViewFormatField = 9;
inline constexpr std::int32_t kMaximumHitsField = 11;
inline constexpr std::int32_t kAndOrOptionField = 12;
inline constexpr std::int32_t kOrRadioField = 13;
inline constexpr std::int32_t kAndRadioField = 14;

}  // namespace vel::app
