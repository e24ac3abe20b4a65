#include <algorithm>

#include "runtime/values/char_tables.h"
#include "runtime/values/character_rules.h"
#include "runtime/values/evaluate_function_set.h"

namespace vel::values::functions {

namespace {

/// The requested width of a justification or repetition, or false when it is out of range.
bool Width(const Arguments& a, std::size_t index, std::size_t fallback, std::size_t& width,
           std::string& problem) {
  if (a.size() <= index) {
    width = fallback;
    return true;
  }
  std::int64_t requested = ValueAsInteger(a[index]);
  if (requested < 0) requested = 0;
  if (requested > static_cast<std::int64_t>(kMaxExpressionText)) {
    problem = "length too large";
    return false;
  }
  width = static_cast<std::size_t>(requested);
  return true;
}

std::string WithoutLeadingBlanks(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string WithoutTrailingBlanks(const std::string& text) {
  std::size_t last = text.find_last_not_of(' ');
  return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

/// `text` placed at `offset` in a field of `width` blanks, cut at the field's end.
std::string Place(const std::string& text, std::size_t offset, std::size_t width) {
  std::string field(width, ' ');
  for (std::size_t i = 0; i < text.size() && offset + i < width; ++i) field[offset + i] = text[i];
  return field;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool Clip(const Arguments& a, ExpressionValue& r, std::string&) {
  r = ExpressionValue::Text(WithoutTrailingBlanks(ValueAsText(a[0])));
  return true;
}

bool Left(const Arguments& a, ExpressionValue& r, std::string& problem) {
  std::string text = ValueAsText(a[0]);
  std::size_t width = 0;
  if (!Width(a, 1, text.size(), width, problem)) return false;
  r = ExpressionValue::Text(Place(WithoutLeadingBlanks(text), 0, width));
  return true;
}

bool Right(const Arguments& a, ExpressionValue& r, std::string& problem) {
  std::string text = ValueAsText(a[0]);
  std::size_t width = 0;
  if (!Width(a, 1, text.size(), width, problem)) return false;
  std::string clipped = WithoutTrailingBlanks(text);
  // Text wider than the field keeps its end, as a right-justified column shows it.
  if (clipped.size() > width) clipped.erase(0, clipped.size() - width);
  r = ExpressionValue::Text(Place(clipped, width - clipped.size(), width));
  return true;
}

bool Center(const Arguments& a, ExpressionValue& r, std::string& problem) {
  std::string text = ValueAsText(a[0]);
  std::size_t width = 0;
  if (!Width(a, 1, text.size(), width, problem)) return false;
  std::string trimmed = WithoutTrailingBlanks(WithoutLeadingBlanks(text));
  std::size_t offset = trimmed.size() < width ? (width - trimmed.size()) / 2 : 0;
  r = ExpressionValue::Text(Place(trimmed, offset, width));
  return true;
}

bool Sub(const Arguments& a, ExpressionValue& r, std::string&) {
  std::string text = ValueAsText(a[0]);
  auto size = static_cast<std::int64_t>(text.size());
  std::int64_t start = ValueAsInteger(a[1]);
  std::int64_t length = ValueAsInteger(a[2]);
  // A negative start counts from the end: -1 is the last character.
  if (start < 0) start = size + start + 1;
  if (start < 1 || start > size || length <= 0) {
    r = ExpressionValue::Text(std::string());
    return true;
  }
  std::int64_t available = size - start + 1;
  r = ExpressionValue::Text(text.substr(static_cast<std::size_t>(start - 1),
                                        static_cast<std::size_t>(std::min(length, available))));
  return true;
}

bool Upper(const Arguments& a, ExpressionValue& r, std::string&) {
  std::string text = ValueAsText(a[0]);
  const CharacterRules& rules = CurrentCharacterRules();
  for (char& c : text) c = static_cast<char>(rules.Upper(static_cast<unsigned char>(c)));
  r = ExpressionValue::Text(std::move(text));
  return true;
}

bool Lower(const Arguments& a, ExpressionValue& r, std::string&) {
  std::string text = ValueAsText(a[0]);
  for (char& c : text) c = static_cast<char>(ToLowerChar(static_cast<std::uint8_t>(c)));
  r = ExpressionValue::Text(std::move(text));
  return true;
}

bool Len(const Arguments& a, ExpressionValue& r, std::string&) {
  r = ExpressionValue::Integer(static_cast<std::int64_t>(ValueAsText(a[0]).size()));
  return true;
}

bool InString(const Arguments& a, ExpressionValue& r, std::string& problem) {
  std::string needle = ValueAsText(a[0]);
  std::string text = ValueAsText(a[1]);
  std::int64_t step = a.size() > 2 ? ValueAsInteger(a[2]) : 1;
  std::int64_t start = a.size() > 3 ? ValueAsInteger(a[3]) : 1;
  if (step < 1) {
    problem = "step must be at least 1";
    return false;
  }
  if (start < 1) start = 1;
  r = ExpressionValue::Integer(0);
  if (needle.empty()) return true;
  auto size = static_cast<std::int64_t>(text.size());
  auto width = static_cast<std::int64_t>(needle.size());
  // Positions are tried at start, start + step, ...; the answer counts steps from position 1,
  // so with a step of 1 it is the position itself. A start or step near the largest integer
  // ends the search instead of stepping past it.
  const std::int64_t last = size - width + 1;
  for (std::int64_t position = start; position <= last; position += step) {
    if (text.compare(static_cast<std::size_t>(position - 1), needle.size(), needle) == 0) {
      r = ExpressionValue::Integer((position - 1) / step + 1);
      return true;
    }
    if (step > last - position) break;
  }
  return true;
}

bool InList(const Arguments& a, ExpressionValue& r, std::string&) {
  for (std::size_t i = 1; i < a.size(); ++i) {
    if (CompareValues(a[0], a[i]) == 0) {
      r = ExpressionValue::Integer(static_cast<std::int64_t>(i));
      return true;
    }
  }
  r = ExpressionValue::Integer(0);
  return true;
}

bool Choose(const Arguments& a, ExpressionValue& r, std::string&) {
  std::int64_t index = ValueAsInteger(a[0]);
  auto choices = static_cast<std::int64_t>(a.size() - 1);
  // An index outside the list chooses the last value, the usual "otherwise" position.
  if (index < 1 || index > choices) index = choices;
  r = a[static_cast<std::size_t>(index)];
  return true;
}

bool InRange(const Arguments& a, ExpressionValue& r, std::string&) {
  bool inside = CompareValues(a[0], a[1]) >= 0 && CompareValues(a[0], a[2]) <= 0;
  r = ExpressionValue::Integer(inside ? 1 : 0);
  return true;
}

bool Numeric(const Arguments& a, ExpressionValue& r, std::string&) {
  if (!a[0].isText) {
    r = ExpressionValue::Integer(1);
    return true;
  }
  const std::string& text = a[0].text;
  std::size_t i = text.find_first_not_of(' ');
  std::size_t end = text.find_last_not_of(' ');
  bool valid = i != std::string::npos;
  if (valid) {
    if (text[i] == '-' || text[i] == '+') ++i;
    std::size_t digits = 0;
    bool point = false;
    for (; i <= end && valid; ++i) {
      if (IsDigit(text[i])) {
        ++digits;
      } else if (text[i] == '.' && !point) {
        point = true;
      } else {
        valid = false;
      }
    }
    valid = valid && digits > 0;
  }
  r = ExpressionValue::Integer(valid ? 1 : 0);
  return true;
}

bool Val(const Arguments& a, ExpressionValue& r, std::string&) {
  std::string text = ValueAsText(a[0]);
  r = ExpressionValue::Integer(text.empty() ? 0 : static_cast<unsigned char>(text[0]));
  return true;
}

bool Chr(const Arguments& a, ExpressionValue& r, std::string&) {
  auto code = static_cast<unsigned char>(static_cast<std::uint64_t>(ValueAsInteger(a[0])) & 0xFF);
  r = ExpressionValue::Text(std::string(1, static_cast<char>(code)));
  return true;
}

bool All(const Arguments& a, ExpressionValue& r, std::string& problem) {
  std::string pattern = ValueAsText(a[0]);
  std::size_t width = 0;
  if (!Width(a, 1, 255, width, problem)) return false;
  std::string text;
  if (!pattern.empty()) {
    text.reserve(width);
    while (text.size() < width) text.push_back(pattern[text.size() % pattern.size()]);
  }
  r = ExpressionValue::Text(std::move(text));
  return true;
}

}  // namespace vel::values::functions
