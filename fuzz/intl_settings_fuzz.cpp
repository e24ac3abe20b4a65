// Reads arbitrary bytes as the user's win.ini: the regional settings of section "intl" (clock,
// separators, AM and PM texts, short and long date formats) become the four date and time
// layouts, through which dates and times are then formatted. Every layout must keep its
// width and no format text may reach outside its buffers.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/values/locale_intl.h"
#include "runtime/values/locale_settings.h"
#include "runtime/values/picture_format.h"

namespace {

using namespace vel::values;

std::string g_profilePath;

void Require(bool condition) {
  if (!condition) std::abort();
}

void FormatThrough(const CompiledPicture& layout, bool isDate) {
  char out[300];
  const std::size_t width = static_cast<std::size_t>(layout.Width());
  for (std::int32_t value : {1, 36558, 2958465, 4320001, -5}) {
    std::size_t written = isDate ? FormatDate(layout, value, out, sizeof out) : FormatTime(layout, value, out, sizeof out);
    Require(written == width);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A Windows directory of this process's own, removed when it ends.
  static std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("intl_settings_fuzz." + std::to_string(getpid()));
  std::filesystem::create_directories(directory);
  setenv("VELMORA_WINDIR", directory.c_str(), 1);
  g_profilePath = (directory / "win.ini").string();
  std::atexit([] { std::filesystem::remove_all(directory); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::ofstream(g_profilePath, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const IntlSettings intl = ReadIntlSettings();
  LocaleSettings settings;
  ResetLocaleSettings(settings);
  ApplyIntlSettings(intl, settings);
  FormatThrough(settings.shortDate, true);
  FormatThrough(settings.longDate, true);
  FormatThrough(settings.shortTime, false);
  FormatThrough(settings.longTime, false);
  DeriveShortDateFormat(intl.sShortDate);
  return 0;
}
