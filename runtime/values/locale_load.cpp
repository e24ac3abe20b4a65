#include "runtime/values/locale_load.h"

#include <vector>

#include "runtime/values/char_table_rules.h"
#include "runtime/values/char_tables.h"
#include "runtime/values/environment_settings.h"
#include "runtime/values/locale_settings.h"
#include "win32.h"

namespace vel::values {
namespace {

// Reads a whole file through the platform's file calls; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::vector<char>& bytes) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) {
    bytes.insert(bytes.end(), chunk, chunk + read);
  }
  CloseHandle(file);
  return true;
}

}  // namespace

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
  std::vector<char> bytes;
  if (!ReadWholeFile(environmentPath, bytes)) return LocaleLoadResult::NoEnvironmentFile;
  ApplyEnvironmentText(bytes.data(), bytes.size(), locale, g_charTables);
  return LocaleLoadResult::Loaded;
}

LocaleLoadResult LoadLocaleSettings() {
  return LoadLocaleSettingsFrom(ReadIntlSettings(), EnvironmentFilePath());
}

}  // namespace vel::values
