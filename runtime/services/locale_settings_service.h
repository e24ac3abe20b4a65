#pragma once
// Loading the locale settings at start-up, as the character tables service installs it.

#include <cstdint>

namespace vel::services {

/// The error code a missing environment file leaves behind (set without a message box).
inline constexpr std::int32_t kEnvironmentFileMissingCode = 2;

/// Reads the regional settings and the program's environment file into the value runtime's
/// locale state and character tables; a missing environment file sets error code 2.
void LoadRuntimeLocaleSettings();

}  // namespace vel::services
