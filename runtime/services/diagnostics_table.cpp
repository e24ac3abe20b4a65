#include "runtime/services/diagnostics_table.h"

#include <array>
#include <cstdio>

namespace vel::services {
namespace {

constexpr std::string_view kMissingArgument = "(missing)";

// Searched from the top; the order is the table's own, not the numbers'.
constexpr std::array<DiagnosticRow, 31> kDiagnostics{{
    {0, "Corrupt block/Unknown block type freed.  This is probably caused by freeing a static variable or a bad "
        "pointer."},
    {1, "Out of free space"},
    {2, "Data was written past the end of the block being freed."},
    {3, "Block tags are inconsistant"},
    {4, "Illegal block size"},
    {5, "e_free_block_tag_corrupt:"},
    {6, "Tags mismatch"},
    {7, "size inconsitancy"},
    {8, "bad block pointer"},
    {9, "mangled free list"},
    {10, "memory leak %ld bytes (%ld allocs)"},
    {11, "memory block free'd twice"},
    {50, "read from stream when last op was write"},
    {54, "unget() from stream when last op was write"},
    {51, "write to stream when last op was read"},
    {53, "write to read-only file"},
    {52, "read from write-only file"},
    {60, "setvbuf() after operation on stream"},
    {58, "stream has been closed already"},
    {59, "opened with handle not as stream"},
    {62, "Illegal combination of stream & direct io."},
    {55, "fflush() when last op was read"},
    {57, "operation on NULL stream"},
    {70, "bad combination of format flags"},
    {20, "Test character is not EOF or unsigned char"},
    {64, "Unable to delete temporary file"},
    {40, "O_EXCL and O_TRUNC are exclusive options"},
    {41, "O_EXCL should only be given with O_CREAT"},
    {kPureVirtualCallDiagnostic, "Pure virtual function called"},
    {kUnimplementedFunctionDiagnostic, "Unimplemented function %s"},
    {kUnknownDiagnostic, "Unknown Error"},
}};

bool IsLengthModifier(char c) { return c == 'l' || c == 'h'; }

bool TakesArgument(char conversion) {
  return conversion == 'd' || conversion == 'i' || conversion == 'u' || conversion == 'x' || conversion == 's';
}

}  // namespace

std::string DiagnosticArgument::Render(char conversion) const {
  if (const auto* text = std::get_if<std::string_view>(&m_value)) return std::string(*text);
  const long long number = std::get<long long>(m_value);
  char digits[32];
  if (conversion == 'x') {
    std::snprintf(digits, sizeof digits, "%llx", static_cast<unsigned long long>(number));
  } else {
    std::snprintf(digits, sizeof digits, "%lld", number);
  }
  return digits;
}

std::span<const DiagnosticRow> DiagnosticTable() { return kDiagnostics; }

const char* DiagnosticFormat(int number) {
  for (const DiagnosticRow& row : kDiagnostics) {
    if (row.number == number || row.number == kUnknownDiagnostic) return row.format;
  }
  return kDiagnostics.back().format;
}

std::string FormatDiagnosticText(std::string_view format, std::span<const DiagnosticArgument> arguments) {
  constexpr std::size_t kMaxLength = kDiagnosticTextSize - 1;
  std::string text;
  std::size_t nextArgument = 0;
  std::size_t at = 0;
  while (at < format.size() && text.size() < kMaxLength) {
    const char c = format[at];
    if (c != '%') {
      text += c;
      ++at;
      continue;
    }
    if (at + 1 < format.size() && format[at + 1] == '%') {
      text += '%';
      at += 2;
      continue;
    }
    std::size_t conversionAt = at + 1;
    while (conversionAt < format.size() && IsLengthModifier(format[conversionAt])) ++conversionAt;
    if (conversionAt >= format.size() || !TakesArgument(format[conversionAt])) {
      // Not a conversion this formatter knows: keep the percent sign and go on after it.
      text += c;
      ++at;
      continue;
    }
    const char conversion = format[conversionAt];
    text += nextArgument < arguments.size() ? arguments[nextArgument++].Render(conversion)
                                            : std::string(kMissingArgument);
    at = conversionAt + 1;
  }
  if (text.size() > kMaxLength) text.resize(kMaxLength);
  return text;
}

std::string FormatDiagnostic(int number, std::initializer_list<DiagnosticArgument> arguments) {
  return FormatDiagnosticText(DiagnosticFormat(number), std::span(arguments.begin(), arguments.size()));
}

}  // namespace vel::services
