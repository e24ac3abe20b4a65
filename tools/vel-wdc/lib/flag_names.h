#pragma once
// The names by which declaration text writes flag bits, storage kinds and units.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vel::tools {

/// A named value within a mask of bits: the name applies when (flags & mask) == value.
struct FlagName {
  const char* name;
  std::uint32_t value;
  std::uint32_t mask;
};

/// Names of the bits of one flag word.
using FlagTable = std::span<const FlagName>;

FlagTable WindowFlagNames();
FlagTable WindowAttributeNames();
FlagTable ControlAttributeNames();
FlagTable MenuItemFlagNames();
FlagTable ButtonFlagNames();
FlagTable EditModeNames();
FlagTable FontStyleNames();

/// The flags as names joined by " + ", bits without a name as one hexadecimal number; "0" when
/// no bit is set.
std::string FormatFlags(std::uint32_t flags, FlagTable names);

/// The value of one name of the table.
std::optional<std::uint32_t> FlagValue(std::string_view name, FlagTable names);

/// The storage kind's name ("FixedString" for 18), or its number as text.
std::string StorageKindName(std::uint8_t kind);
/// The storage kind of a name, or empty.
std::optional<std::uint8_t> StorageKindCode(std::string_view name);

}  // namespace vel::tools
