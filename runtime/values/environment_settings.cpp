#include "runtime/values/environment_settings.h"

#include <cctype>
#include <string>

#include "runtime/values/char_codepage.h"
#include "runtime/values/char_collation.h"
#include "runtime/values/char_windows_tables.h"

namespace vel::values {
namespace {

bool EqualsNoCase(const std::string& text, const char* word) {
  size_t i = 0;
  for (; word[i] != '\0'; ++i) {
    if (i >= text.size()) return false;
    if (std::toupper(static_cast<unsigned char>(text[i])) != word[i]) return false;
  }
  return i == text.size();
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  for (size_t i = 0; prefix[i] != '\0'; ++i) {
    if (i >= text.size() || std::toupper(static_cast<unsigned char>(text[i])) != prefix[i]) {
      return false;
    }
  }
  return true;
}

std::string ToOther(std::string text, bool toOem) {
  if (toOem) {
    AnsiToOemText(text.data(), text.size());
  } else {
    OemToAnsiText(text.data(), text.size());
  }
  return text;
}

void ApplyCollatingOrder(const std::string& value, const LocaleSettings& locale, CharTables& tables) {
  if (value.empty()) {
    ResetCollation(tables);
    return;
  }
  const std::string order = EnvironmentText(value);
  if (EqualsNoCase(order, "WINDOWS")) {
    // The system's order is an order of ANSI bytes whatever the file's character set.
    const std::string ansi(WindowsCollatingOrder());
    BuildCollatingWeights(ansi, tables.weight);
    BuildCollatingWeights(ToOther(ansi, true), tables.oemWeight);
    return;
  }
  // The order applies to the table of its own character set and, converted, to the other.
  if (locale.oemCharset) {
    BuildCollatingWeights(order, tables.oemWeight);
    BuildCollatingWeights(ToOther(order, false), tables.weight);
  } else {
    BuildCollatingWeights(order, tables.weight);
    BuildCollatingWeights(ToOther(order, true), tables.oemWeight);
  }
}

void ApplyCase(const std::string& value, CharTables& tables) {
  if (value.empty()) {
    ResetCaseTables(tables);
    return;
  }
  const std::vector<std::string> items = SplitEnvironmentItems(value);
  const bool fromSystem = (items.size() == 1 && EqualsNoCase(items[0], "WINDOWS")) ||
                          items.size() < 2 || items[0].size() != items[1].size();
  if (fromSystem) {
    ApplyCaseLists(WindowsUpperLetters(), WindowsLowerLetters(), tables);
  } else {
    ApplyCaseLists(items[0], items[1], tables);
  }
}

void ApplyDigraphs(const std::string& value, CharTables& tables) {
  ResetDigraphs(tables);
  int count = 0;
  for (const std::string& item : SplitEnvironmentItems(value)) {
    for (size_t at = 0; at + 3 <= item.size() && count < kDigraphCapacity; at += 3) {
      const auto c = static_cast<uint8_t>(item[at]);
      if (c == 0) continue;  // a zero character would end the table early
      const auto first = static_cast<uint8_t>(item[at + 1]);
      const auto second = static_cast<uint8_t>(item[at + 2]);
      tables.digraphs[count] = DigraphEntry{c, first, second};
      tables.oemDigraphs[count] =
          DigraphEntry{AnsiToOemChar(c), AnsiToOemChar(first), AnsiToOemChar(second)};
      ++count;
    }
  }
}

void ReplaceNames(const std::string& value, std::string* names, size_t maxLength) {
  const std::vector<std::string> items = SplitEnvironmentItems(value);
  for (size_t i = 0; i < items.size() && i < 12; ++i) names[i] = items[i].substr(0, maxLength);
}

void ApplyAmPm(const std::string& value, LocaleSettings& locale) {
  const std::vector<std::string> items = SplitEnvironmentItems(value);
  if (items.size() == 1 && EqualsNoCase(items[0], "WINDOWS")) {
    locale.amText = locale.windowsAmText;
    locale.pmText = locale.windowsPmText;
    return;
  }
  if (items.size() >= 1) locale.amText = items[0].substr(0, kAmPmLength);
  if (items.size() >= 2) locale.pmText = items[1].substr(0, kAmPmLength);
}

// The number after "VELMSG"; -1 when there is none or it does not fit.
int MessageNumber(const std::string& key) {
  constexpr size_t kPrefix = 6;
  if (key.size() == kPrefix || key.size() > kPrefix + 9) return -1;
  int number = 0;
  for (size_t i = kPrefix; i < key.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(key[i]))) return -1;
    number = number * 10 + (key[i] - '0');
  }
  return number;
}

}  // namespace

void ApplyEnvironmentLine(const EnvironmentLine& line, LocaleSettings& locale, CharTables& tables) {
  const std::string& key = line.key;
  if (EqualsNoCase(key, "VELCOLSEQ")) {
    ApplyCollatingOrder(line.value, locale, tables);
    return;
  }
  // Every other value is text in the file's character set.
  const std::string value = locale.oemCharset ? ToOther(line.value, false) : line.value;
  if (EqualsNoCase(key, "VELCHARSET")) {
    locale.oemCharset = EqualsNoCase(EnvironmentText(line.value), "OEM");
  } else if (EqualsNoCase(key, "VELCASE")) {
    ApplyCase(value, tables);
  } else if (EqualsNoCase(key, "VELMONTH")) {
    ReplaceNames(value, locale.monthNames, kMonthNameLength);
  } else if (EqualsNoCase(key, "VELMON")) {
    ReplaceNames(value, locale.monthAbbreviations, 3);
  } else if (EqualsNoCase(key, "VELAMPM")) {
    ApplyAmPm(value, locale);
  } else if (EqualsNoCase(key, "VELDIGRAPH")) {
    ApplyDigraphs(value, tables);
  } else if (EqualsNoCase(key, "VELBUTTON")) {
    const std::vector<std::string> items = SplitEnvironmentItems(value);
    for (size_t k = 0; k < items.size(); ++k) {
      SetTextOverride(locale, kButtonOverrideBase + static_cast<int>(k), items[k]);
    }
  } else if (EqualsNoCase(key, "VELLFN")) {
    locale.longFileNames = EqualsNoCase(EnvironmentText(value), "ON");
  } else if (StartsWithNoCase(key, "VELMSG")) {
    const int number = MessageNumber(key);
    if (number >= 0) SetTextOverride(locale, number, EnvironmentText(value));
  }
}

void ApplyEnvironmentText(const char* data, size_t size, LocaleSettings& locale,
                          CharTables& tables) {
  for (const EnvironmentLine& line : ParseEnvironmentText(data, size)) {
    ApplyEnvironmentLine(line, locale, tables);
  }
}

}  // namespace vel::values
