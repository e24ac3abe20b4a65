// Feeds arbitrary bytes to the environment file reader and applies them to a private locale
// state and private character tables, then checks the limits every setting must keep.
#include <cstdint>
#include <cstdlib>

#include "runtime/values/char_tables.h"
#include "runtime/values/environment_file.h"
#include "runtime/values/environment_settings.h"
#include "runtime/values/locale_settings.h"

namespace {

using namespace vel::values;

void Require(bool condition) {
  if (!condition) std::abort();
}

// Every weight table must stay a permutation: two different bytes never weigh the same.
bool IsPermutation(const uint8_t* weights) {
  bool seen[256] = {};
  for (int b = 0; b < 256; ++b) {
    if (seen[weights[b]]) return false;
    seen[weights[b]] = true;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  for (const EnvironmentLine& line : ParseEnvironmentText(text, size)) {
    Require(line.key.size() <= kMaxEnvironmentKey);
    Require(line.value.size() <= kMaxEnvironmentValue);
    for (const std::string& item : SplitEnvironmentItems(line.value)) {
      Require(item.size() <= line.value.size());
    }
  }
  LocaleSettings locale;
  ResetLocaleSettings(locale);
  CharTables tables = BuiltInCharTables();
  ApplyEnvironmentText(text, size, locale, tables);
  for (int m = 0; m < 12; ++m) {
    Require(locale.monthNames[m].size() <= kMonthNameLength);
    Require(locale.monthAbbreviations[m].size() <= 3);
  }
  Require(locale.amText.size() <= kAmPmLength && locale.pmText.size() <= kAmPmLength);
  Require(IsPermutation(tables.weight) && IsPermutation(tables.oemWeight));
  for (int b = 0; b < 256; ++b) {
    const uint8_t other = tables.otherCase[b];
    // A letter's other case points back to it.
    if (other != 0 && (tables.classFlags[b] & (kUpperLetterFlag | kLowerLetterFlag))) {
      Require(tables.otherCase[other] == b);
    }
  }
  return 0;
}
