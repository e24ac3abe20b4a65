#include "tools/vel-preview/lib/preview_variables.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "runtime/values/reference_factory.h"
#include "runtime/values/storage_kinds.h"
#include "runtime/values/string_functions.h"
#include "runtime/values/string_stack.h"
#include "tools/vel-eval/console_text.h"
#include "tools/vel-preview/lib/preview_error.h"

namespace vel::tools {
namespace {

bool IsDateOrTime(int kind) {
  return kind == static_cast<int>(values::StorageKind::DateValue) ||
         kind == static_cast<int>(values::StorageKind::TimeValue);
}

const char* PictureOf(int kind) {
  return kind == static_cast<int>(values::StorageKind::DateValue) ? kDatePicture : kTimePicture;
}

// The width of a kind that has one; 0 for the kinds sized by their declaration. An opaque value
// (31) is created with its declared size, whatever width the kind table gives its code.
std::uint32_t KindWidth(int kind) {
  return kind == static_cast<int>(values::StorageKind::Opaque) ? 0 : values::StorageKindSize(kind);
}

std::string PopText() {
  values::StringView top = values::TopView();
  std::string text(top.data != nullptr ? top.data : "", top.length);
  values::DropTop();
  return text;
}

std::string_view ClipTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view TrimBlanks(std::string_view text) {
  text = ClipTrailingBlanks(text);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

}  // namespace

std::unique_ptr<values::ValueReference> PreviewVariables::Variable::Reference() const {
  return values::CreateReference(binding.use.kind, storage.get(), size, 0, false);
}

PreviewVariables::PreviewVariables(const std::string& path,
                                   const std::vector<windows::UseBinding>& bindings) {
  std::uint64_t total = 0;
  for (const windows::UseBinding& binding : bindings) {
    std::int32_t declared = binding.use.size;
    if (declared < 0 || declared > kLargestVariable) {
      throw PreviewError(path + ": damaged: field " + std::to_string(binding.field) +
                         " declares a variable of " + std::to_string(declared) + " bytes");
    }
    total += static_cast<std::uint64_t>(declared);
  }
  if (total > kLargestVariableTotal) {
    throw PreviewError(path + ": damaged: its variables take " + std::to_string(total) + " bytes together");
  }

  m_variables.reserve(bindings.size());
  for (const windows::UseBinding& binding : bindings) {
    std::int32_t declared = binding.use.size;
    // A descriptor may declare fewer bytes than its kind occupies; the window's controls read and
    // write the kind's full width, so the storage always has it.
    Variable variable;
    variable.binding = binding;
    std::uint32_t width = KindWidth(binding.use.kind);
    variable.size = width != 0 ? width : static_cast<std::uint32_t>(declared);
    variable.allocated = std::max({static_cast<std::uint32_t>(declared), width, 1u});
    variable.storage = std::make_unique<std::uint8_t[]>(variable.allocated);
    if (values::IsStorageTypeCode(binding.use.kind)) {
      values::ClearVariable(variable.storage.get(), binding.use.kind, variable.size, 0);
    }
    m_variables.push_back(std::move(variable));
  }
}

std::vector<void*> PreviewVariables::Addresses() const {
  std::vector<void*> addresses;
  for (const Variable& variable : m_variables) addresses.push_back(variable.storage.get());
  return addresses;
}

std::vector<std::int32_t> PreviewVariables::Fields() const {
  std::vector<std::int32_t> fields;
  for (const Variable& variable : m_variables) fields.push_back(variable.binding.field);
  return fields;
}

bool PreviewVariables::CanStore(std::int32_t field) const {
  return std::any_of(m_variables.begin(), m_variables.end(), [field](const Variable& variable) {
    return variable.binding.field == field && values::IsStorageTypeCode(variable.binding.use.kind);
  });
}

bool PreviewVariables::Set(std::int32_t field, std::string_view ansiText) {
  bool stored = false;
  for (const Variable& variable : m_variables) {
    int kind = variable.binding.use.kind;
    if (variable.binding.field != field || !values::IsStorageTypeCode(kind)) continue;
    std::unique_ptr<values::ValueReference> reference = variable.Reference();
    values::PushBytes(ansiText.data(), static_cast<std::uint32_t>(ansiText.size()));
    if (IsDateOrTime(kind)) values::DeformatTopWithPicture(PictureOf(kind));
    reference->AssignFromStack();
    stored = true;
  }
  return stored;
}

std::string PreviewVariables::DescribeAt(std::size_t index) const {
  const Variable& variable = m_variables.at(index);
  int kind = variable.binding.use.kind;
  if (!values::IsStorageTypeCode(kind)) {
    return "(kind " + std::to_string(kind) + ", " + std::to_string(variable.binding.use.size) + " bytes)";
  }
  std::unique_ptr<values::ValueReference> reference = variable.Reference();
  reference->PushText();
  if (IsDateOrTime(kind)) {
    values::FormatTopWithPicture(PictureOf(kind));
    return QuoteForLog(TrimBlanks(PopText()));
  }
  std::string text = PopText();
  if (reference->ArithmeticType() == values::kArithmeticText) return QuoteForLog(ClipTrailingBlanks(text));
  return text;
}

std::vector<std::string> PreviewVariables::Describe(std::int32_t field) const {
  std::vector<std::string> values;
  for (std::size_t i = 0; i < m_variables.size(); ++i) {
    if (m_variables[i].binding.field == field) values.push_back(DescribeAt(i));
  }
  return values;
}

std::string QuoteForLog(std::string_view ansiText) {
  std::string quoted = "\"";
  for (char c : ansiText) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      quoted += escape;
    } else {
      quoted += AnsiToUtf8(std::string_view(&c, 1));
    }
  }
  return quoted + "\"";
}

}  // namespace vel::tools
