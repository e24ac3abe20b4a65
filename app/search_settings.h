#pragma once
// Where the search window keeps its choices between runs, and their reading and writing.

#include "app/search_fields.h"

namespace vel::app {

inline constexpr const char* kSettingsFile = "skarvine.INI";
inline constexpr const char* kSearchSection = "SearchParms";
inline constexpr const char* kMaxhitsKey = "Maxhits";
inline constexpr const char* kViewFormatKey = "ViewFormat";
inline constexpr const char* kAndOrKey = "AndOr";

/// Reads "Maxhits" (as a number; missing or not numeric gives 0), "ViewFormat" and "AndOr"
/// (missing gives blanks) into `fields`, in that order.
void ReadSearchSettings(SearchFields& fields);

/// Writes "Maxhits" as decimal text, "ViewFormat" and "AndOr" (the writer clips them).
void WriteSearchSettings(const SearchFields& fields);

}  // namespace vel::app
