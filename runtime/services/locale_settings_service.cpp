// The character tables service: the built-in tables and the table-driven string rules from
// the start, the locale settings loader that the program's initialisation runs once, and the
// hook through which the value runtime finds message overrides.

#include "runtime/services/locale_settings_service.h"

#include <optional>
#include <string>

#include "runtime/services/error_messages.h"
#include "runtime/services/error_state.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "runtime/services/settings_setup.h"
#include "runtime/values/char_table_rules.h"
#include "runtime/values/char_tables.h"
#include "runtime/values/locale_load.h"
#include "runtime/values/locale_settings.h"

namespace vel::services {
namespace {

std::optional<std::string> EnvironmentMessageOverride(std::int32_t code) {
  const char* text = values::MessageOverride(code);
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

}  // namespace

void LoadRuntimeLocaleSettings() {
  if (values::LoadLocaleSettings() == values::LocaleLoadResult::NoEnvironmentFile) {
    SetError(kEnvironmentFileMissingCode);
  }
}

void CharacterTablesService(int call) {
  if (call != kInitialiseCall) return;
  values::g_charTables = values::BuiltInCharTables();
  values::InstallCharacterTables();
  SetMessageOverride(EnvironmentMessageOverride);
  // A loader installed before (by a test or an embedding program) takes precedence.
  if (!HasRuntimeSettingsLoader()) SetRuntimeSettingsLoader(LoadRuntimeLocaleSettings);
}

}  // namespace vel::services
