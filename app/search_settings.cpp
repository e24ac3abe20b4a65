#include "app/search_settings.h"

#include "runtime/services/settings_access.h"
#include "runtime/values/decimal_string_stack.h"
#include "runtime/values/string_stack.h"

namespace vel::app {
namespace {

/// Leaves the value of `key` (or empty text) on the string stack.
void PushSetting(const char* key) {
  values::PushCString(kSettingsFile);
  values::PushEmpty();
  values::PushCString(key);
  values::PushCString(kSearchSection);
  services::GETINI();
}

/// Writes the value the caller pushed last under `key`; the value goes below the key and
/// section, so it is rolled into place after the file name.
void WritePushedSetting(const char* key) {
  values::PushCString(kSettingsFile);
  values::RollUp(1);
  values::PushCString(key);
  values::PushCString(kSearchSection);
  services::WriteSetting(true, true);
}

}  // namespace

void ReadSearchSettings(SearchFields& fields) {
  PushSetting(kMaxhitsKey);
  fields.maximumHits = static_cast<std::int16_t>(values::PopToLong());
  PushSetting(kViewFormatKey);
  values::PopToFixed(fields.viewFormat, sizeof fields.viewFormat);
  PushSetting(kAndOrKey);
  values::PopToFixed(fields.andOr, sizeof fields.andOr);
}

void WriteSearchSettings(const SearchFields& fields) {
  values::PushLong(fields.maximumHits);
  WritePushedSetting(kMaxhitsKey);
  values::PushString(fields.viewFormat, sizeof fields.viewFormat);
  WritePushedSetting(kViewFormatKey);
  values::PushString(fields.andOr, sizeof fields.andOr);
  WritePushedSetting(kAndOrKey);
}

}  // namespace vel::app
