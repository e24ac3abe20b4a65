#include "runtime/controls/entry_picture.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "runtime/controls/keyin_template.h"
#include "runtime/values/picture_compile.h"
#include "runtime/values/picture_deformat.h"
#include "runtime/values/picture_format.h"

namespace vel::controls {
namespace {

constexpr char kDefaultPicture[] = "S20";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

std::string_view Trim(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string TrimEnd(std::string_view text) {
  std::size_t last = text.find_last_not_of(' ');
  return std::string(last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1));
}

bool IsDateTimeFieldCode(std::uint8_t code) {
  using namespace values;
  return code == kMonthDigit || code == kDayDigit || code == kYearDigit || code == kMonthNameLetter ||
         code == kHourDigit || code == kMinuteDigit || code == kSecondDigit || code == kAmPm;
}

// The runs of digits and the runs of letters of typed text, in order; everything else
// separates them.
std::vector<std::string> TypedGroups(std::string_view typed) {
  std::vector<std::string> groups;
  std::size_t i = 0;
  while (i < typed.size()) {
    char c = typed[i];
    if (!IsDigit(c) && !IsLetter(c)) {
      ++i;
      continue;
    }
    bool digits = IsDigit(c);
    std::size_t start = i;
    while (i < typed.size() && (digits ? IsDigit(typed[i]) : IsLetter(typed[i]))) ++i;
    groups.emplace_back(typed.substr(start, i - start));
  }
  return groups;
}

}  // namespace

EntryPicture::EntryPicture(const std::optional<std::string>& text) {
  m_source = text.value_or(kDefaultPicture);
  values::CompilePicture(m_source.c_str(), m_compiled);
  if (!m_compiled.IsValid()) {
    m_source = kDefaultPicture;
    m_compiled = values::CompiledPicture{};
    values::CompilePicture(m_source.c_str(), m_compiled);
  }
  std::size_t letter = m_source.find_first_not_of('@');
  m_kind = static_cast<char>(std::toupper(static_cast<unsigned char>(m_source[letter])));
}

std::uint8_t EntryPicture::AdjustMode(std::uint8_t mode) const {
  if (m_kind == 'N') mode &= static_cast<std::uint8_t>(~(kModeUpperCase | kModeCapitalise));
  if (m_kind == 'E') mode |= kModeCapitalise;
  return mode;
}

std::string EntryPicture::DisplayText(std::string_view value) const {
  std::string out(static_cast<std::size_t>(DeclaredWidth()), ' ');
  std::size_t length = values::FormatWithPicture(m_compiled, value.data(), value.size(), out.data(), out.size());
  out.resize(length);
  if (m_kind == 'K') return KeyInTemplate(m_compiled).Fill(out);
  return m_kind == 'S' ? TrimEnd(out) : out;
}

std::string EntryPicture::EditingText(std::string_view value) const {
  std::string shown = DisplayText(value);
  if (m_kind == 'K' || m_kind == 'S') return shown;
  return std::string(Trim(shown));
}

std::int32_t EntryPicture::Read(std::string_view typed, std::string& value) const {
  switch (m_kind) {
    case 'N': return ReadNumber(typed, value);
    case 'E': return ReadScientific(typed, value);
    case 'D':
    case 'T': return ReadDateOrTime(typed, value);
    case 'P': return ReadPattern(typed, value);
    default:
      // Strings and key-in templates keep what was typed, cut to the picture.
      value.assign(typed.substr(0, static_cast<std::size_t>(DeclaredWidth())));
      return 0;
  }
}

std::int32_t EntryPicture::ReadNumber(std::string_view typed, std::string& value) const {
  // The picture's own decimal character counts as the point; its grouping, currency and sign
  // characters may be typed and are passed over.
  char decimal = '.';
  std::string passed = " +-()";
  for (int i = 0; i < m_compiled.PositionCount(); ++i) {
    const values::PicturePosition& position = m_compiled.positions[i];
    if (position.code == values::kDecimalSeparator) decimal = static_cast<char>(position.fill);
    if (position.code == values::kGroupSeparator || position.code == values::kCurrency ||
        position.code == values::kSign)
      passed += static_cast<char>(position.fill);
  }
  bool negative = false;
  bool point = false;
  std::string digits;
  for (char c : typed) {
    if (IsDigit(c)) {
      digits += c;
    } else if (c == decimal && !point) {
      point = true;
      digits += '.';
    } else if (c == '-' || c == '(') {
      negative = true;
    } else if (passed.find(c) == std::string::npos) {
      return kErrorInvalidInput;
    }
  }
  if (digits.empty() || digits == ".") digits = "0";
  value = negative ? "-" + digits : digits;
  return 0;
}

std::int32_t EntryPicture::ReadScientific(std::string_view typed, std::string& value) const {
  for (char c : typed) {
    if (!IsDigit(c) && std::string_view(" .,+-eE").find(c) == std::string_view::npos) return kErrorInvalidInput;
  }
  char out[values::kDeformatBufferSize];
  std::size_t length = values::DeformatPlainNumber(typed.data(), typed.size(), typed.size(), out, sizeof out);
  value.assign(out, length);
  if (value.empty()) value = "0";
  return 0;
}

std::int32_t EntryPicture::ReadDateOrTime(std::string_view typed, std::string& value) const {
  // Lay the typed groups into the picture's fields, one group a field, so that a date typed
  // with fewer blanks or digits than the picture shows still reads field by field.
  std::vector<std::string> groups = TypedGroups(typed);
  const int width = m_compiled.PositionCount();
  std::string aligned(static_cast<std::size_t>(width), ' ');
  std::size_t group = 0;
  for (int i = 0; i < width;) {
    const values::PicturePosition& position = m_compiled.positions[i];
    if (!IsDateTimeFieldCode(position.code)) {
      aligned[static_cast<std::size_t>(i)] = static_cast<char>(position.fill);
      ++i;
      continue;
    }
    // An AM/PM position is followed by the literal that completes its text.
    int last = position.code == values::kAmPm ? std::min(i + 1, width - 1) : m_compiled.RunEnd(i);
    int fieldWidth = last - i + 1;
    if (group < groups.size()) {
      const std::string& text = groups[group++];
      bool letters = position.code == values::kMonthNameLetter || position.code == values::kAmPm;
      if (letters != IsLetter(text[0]) || static_cast<int>(text.size()) > fieldWidth) return kErrorInvalidInput;
      std::size_t at = letters ? 0 : static_cast<std::size_t>(fieldWidth) - text.size();
      aligned.replace(static_cast<std::size_t>(i) + at, text.size(), text);
    }
    i = last + 1;
  }
  if (group < groups.size()) return kErrorInvalidInput;
  std::int32_t serial = m_kind == 'D' ? values::DeformatDate(m_compiled, aligned.data(), aligned.size())
                                      : values::DeformatTime(m_compiled, aligned.data(), aligned.size());
  if (serial < 0) return kErrorInvalidInput;
  if (m_kind == 'D' && serial != 0 && !SameDateFields(aligned, serial)) return kErrorInvalidInput;
  value = std::to_string(serial);
  return 0;
}

bool EntryPicture::SameDateFields(const std::string& typed, std::int32_t serial) const {
  // Reading a date carries a day past the month's end into the next month; a day the typed
  // month does not have is refused instead, by showing the date again and comparing fields.
  std::string shown(typed.size(), ' ');
  shown.resize(values::FormatDate(m_compiled, serial, shown.data(), shown.size()));
  if (shown.size() != typed.size()) return false;
  // Walk the month, day and year runs, comparing each run's number typed and shown.
  std::uint8_t run = 0;
  int typedNumber = 0;
  int shownNumber = 0;
  for (std::size_t i = 0; i <= typed.size(); ++i) {
    std::uint8_t code = i < typed.size() ? m_compiled.positions[i].code : 0;
    if (code != values::kMonthDigit && code != values::kDayDigit && code != values::kYearDigit) code = 0;
    if (code != run) {
      if (typedNumber != shownNumber) return false;
      typedNumber = shownNumber = 0;
      run = code;
    }
    if (code == 0) continue;
    if (IsDigit(typed[i])) typedNumber = typedNumber * 10 + (typed[i] - '0');
    if (IsDigit(shown[i])) shownNumber = shownNumber * 10 + (shown[i] - '0');
  }
  return true;
}

std::int32_t EntryPicture::ReadPattern(std::string_view typed, std::string& value) const {
  // The digits typed fill the pattern's digit positions from the right; its literals may be
  // typed or left out.
  std::string digits;
  for (char c : typed) {
    if (IsDigit(c)) digits += c;
  }
  const int width = m_compiled.PositionCount();
  std::string aligned(static_cast<std::size_t>(width), ' ');
  for (int i = width - 1; i >= 0; --i) {
    const values::PicturePosition& position = m_compiled.positions[i];
    if (!values::IsDigitCode(position.code)) {
      aligned[static_cast<std::size_t>(i)] = static_cast<char>(position.fill);
    } else if (!digits.empty()) {
      aligned[static_cast<std::size_t>(i)] = digits.back();
      digits.pop_back();
    } else {
      aligned[static_cast<std::size_t>(i)] = '0';
    }
  }
  if (!digits.empty()) return kErrorInvalidInput;
  char out[values::kDeformatBufferSize];
  std::size_t length = values::DeformatWithPicture(m_compiled, aligned.data(), aligned.size(), out, sizeof out);
  value.assign(out, length);
  if (value.empty()) value = "0";
  return 0;
}

}  // namespace vel::controls
