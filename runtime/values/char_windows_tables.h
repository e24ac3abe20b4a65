#pragma once
// What the system's own character handling says about code page 1252, for the environment
// file's "WINDOWS" values.

#include <cstdint>
#include <string_view>

namespace vel::values {

/// Bytes 1 to 254 in the order of the system's comparison of one-character strings.
std::string_view WindowsCollatingOrder();

/// The upper-case letters above byte 127, each at the position of its lower-case partner in
/// `WindowsLowerLetters`.
std::string_view WindowsUpperLetters();

/// The lower-case partners of `WindowsUpperLetters`.
std::string_view WindowsLowerLetters();

}  // namespace vel::values
