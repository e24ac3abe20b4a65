#pragma once
// The one-time start-up load of the locale settings: the regional settings, then the
// environment file beside the program.

#include <string>

#include "runtime/values/locale_intl.h"

namespace vel::values {

/// What loading found.
enum class LocaleLoadResult {
  Loaded,           ///< The environment file was read and applied.
  NoEnvironmentFile ///< There is no environment file; the built-in settings stay in force.
};

/// The environment file's name: the program's own path with ".ENV" appended; empty when the
/// program's path is unknown.
std::string EnvironmentFilePath();

/// Builds the date and time layouts from `intl`, then reads and applies the environment file
/// at `environmentPath` to the program's locale state and character tables.
LocaleLoadResult LoadLocaleSettingsFrom(const IntlSettings& intl, const std::string& environmentPath);

/// Runs once at start-up: `LoadLocaleSettingsFrom` with the user's regional settings and the
/// program's environment file. A missing file is not an error message, only this result.
LocaleLoadResult LoadLocaleSettings();

}  // namespace vel::values
