#include "runtime/values/locale_load.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "runtime/values/char_table_rules.h"
#include "runtime/values/char_tables.h"
#include "runtime/values/environment_settings.h"
#include "runtime/values/locale_settings.h"
#include "win32.h"

namespace vel::values {

std::string EnvironmentFilePath() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(path, length) + ".ENV";
}

LocaleLoadResult LoadLocaleSettingsFrom(const IntlSettings& intl,
                                        const std::string& environmentPath) {
  LocaleSettings& locale = Locale();
  ApplyIntlSettings(intl, locale);
  InstallCharacterTables();
  if (environmentPath.empty()) return LocaleLoadResult::NoEnvironmentFile;
  std::ifstream file(environmentPath, std::ios::binary);
  if (!file) return LocaleLoadResult::NoEnvironmentFile;
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
  ApplyEnvironmentText(bytes.data(), bytes.size(), locale, g_charTables);
  return LocaleLoadResult::Loaded;
}

LocaleLoadResult LoadLocaleSettings() {
  return LoadLocaleSettingsFrom(ReadIntlSettings(), EnvironmentFilePath());
}

}  // namespace vel::values
