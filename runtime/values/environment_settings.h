#pragma once
// Applying the environment file's settings to the locale state and the character tables.

#include <cstddef>

#include "runtime/values/char_tables.h"
#include "runtime/values/environment_file.h"
#include "runtime/values/locale_settings.h"

namespace vel::values {

/// Applies one line. Unknown keys and malformed values are ignored, and so are items beyond
/// the counts a key takes.
void ApplyEnvironmentLine(const EnvironmentLine& line, LocaleSettings& locale, CharTables& tables);

/// Parses the file's bytes and applies every line in order.
void ApplyEnvironmentText(const char* data, size_t size, LocaleSettings& locale,
                          CharTables& tables);

}  // namespace vel::values
