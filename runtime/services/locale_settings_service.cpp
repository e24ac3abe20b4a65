// The character tables service: the built-in tables and the table-driven string rules from
// the start, and the locale settings loader that the program's initialisation runs once.

#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "runtime/services/settings_setup.h"
#include "runtime/values/char_table_rules.h"
#include "runtime/values/char_tables.h"
#include "runtime/values/locale_load.h"

namespace vel::services {

void CharacterTablesService(int call) {
  if (call != kInitialiseCall) return;
  values::g_charTables = values::BuiltInCharTables();
  values::InstallCharacterTables();
  // A loader installed before (by a test or an embedding program) takes precedence.
  if (!HasRuntimeSettingsLoader()) SetRuntimeSettingsLoader([] { values::LoadLocaleSettings(); });
}

}  // namespace vel::services
