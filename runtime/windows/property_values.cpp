#include "runtime/windows/property_values.h"

#include <charconv>
#include <string_view>

#include "runtime/values/decimal_string_stack.h"
#include "runtime/values/string_stack.h"

namespace vel::windows {

void PushPropertyNumber(std::int64_t value) {
  char text[24];
  auto [end, error] = std::to_chars(text, text + sizeof text, value);
  values::PushBytes(text, error == std::errc() ? static_cast<std::uint32_t>(end - text) : 0);
}

void PushPropertyText(const std::string& text) {
  values::PushBytes(text.data(), static_cast<std::uint32_t>(text.size()));
}

std::string PopPropertyText() {
  values::StringView top = values::TopView();
  std::string text(top.data != nullptr ? top.data : "", top.length);
  values::DropTop();
  std::size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

std::int64_t PopPropertyNumber() {
  values::StringView top = values::TopView();
  std::string_view text(top.data != nullptr ? top.data : "", top.length);
  std::size_t first = text.find_first_not_of(' ');
  std::size_t last = text.find_last_not_of(' ');
  if (first != std::string_view::npos) {
    std::string_view digits = text.substr(first, last - first + 1);
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end == digits.data() + digits.size()) {
      values::DropTop();
      return value;
    }
  }
  return values::PopToInteger();
}

}  // namespace vel::windows
