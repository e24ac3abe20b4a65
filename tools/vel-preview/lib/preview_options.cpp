#include "tools/vel-preview/lib/preview_options.h"

#include <cctype>
#include <charconv>

#include "runtime/windows/event_codes.h"
#include "tools/vel-preview/lib/preview_error.h"

namespace vel::tools {
namespace {

constexpr std::string_view kEventPrefix = "EVENT:";
// Event codes are window message numbers, so an event number stays below 0x10000 less the base.
constexpr std::int32_t kLargestEventNumber = 0xFFFF - windows::kEventBase;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::optional<std::int32_t> ParseNumber(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::int32_t FieldNumberOf(std::string_view text, std::string_view argument) {
  std::optional<std::int32_t> field = ParseNumber(text);
  if (!field || *field <= 0) {
    throw PreviewError("--set " + std::string(argument) + ": the field must be a number above 0");
  }
  return *field;
}

FieldValue ParseFieldValue(std::string_view argument) {
  std::size_t equals = argument.find('=');
  if (equals == std::string_view::npos) {
    throw PreviewError("--set " + std::string(argument) + ": expected FIELD=VALUE");
  }
  return FieldValue{FieldNumberOf(argument.substr(0, equals), argument),
                    std::string(argument.substr(equals + 1))};
}

std::int32_t RefusedEventCode(std::string_view name) {
  std::optional<std::int32_t> code = EventCodeForName(name);
  if (!code) throw PreviewError("--refuse " + std::string(name) + ": no such event");
  return *code;
}

/// Splits "--name=value" into its two parts; a plain "--name" has no value.
std::pair<std::string_view, std::optional<std::string_view>> SplitOption(std::string_view argument) {
  std::size_t equals = argument.find('=');
  if (equals == std::string_view::npos) return {argument, std::nullopt};
  return {argument.substr(0, equals), argument.substr(equals + 1)};
}

}  // namespace

std::optional<std::int32_t> EventCodeForName(std::string_view name) {
  if (std::optional<std::int32_t> number = ParseNumber(name)) {
    if (*number <= 0 || *number > kLargestEventNumber) return std::nullopt;
    return *number + windows::kEventBase;
  }
  if (name.size() >= kEventPrefix.size() &&
      EqualsIgnoringCase(name.substr(0, kEventPrefix.size()), kEventPrefix)) {
    name.remove_prefix(kEventPrefix.size());
  }
  for (std::int32_t number = 1; number <= kLargestEventNumber; ++number) {
    const char* known = windows::EventName(number + windows::kEventBase);
    if (known != nullptr && EqualsIgnoringCase(std::string_view(known).substr(kEventPrefix.size()), name)) {
      return number + windows::kEventBase;
    }
  }
  return std::nullopt;
}

PreviewOptions ParsePreviewArguments(const std::vector<std::string>& arguments) {
  PreviewOptions options;
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      positional.emplace_back(argument);
      continue;
    }
    std::pair<std::string_view, std::optional<std::string_view>> split = SplitOption(argument);
    std::string_view name = split.first;
    std::optional<std::string_view> attached = split.second;
    auto value = [&]() -> std::string_view {
      if (attached) return *attached;
      if (i + 1 >= arguments.size()) throw PreviewError(std::string(name) + " needs a value");
      return arguments[++i];
    };
    if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--layout") {
      options.layout = true;
    } else if (name == "--refuse") {
      options.refusedEvents.insert(RefusedEventCode(value()));
    } else if (name == "--set") {
      options.values.push_back(ParseFieldValue(value()));
    } else {
      throw PreviewError("unknown option " + std::string(argument) + " (see vel-preview --help)");
    }
  }
  if (options.help || options.version) return options;
  if (positional.empty()) throw PreviewError("no file given (see vel-preview --help)");
  if (positional.size() > 2)
    throw PreviewError("too many arguments: " + positional[2] + " (see vel-preview --help)");
  options.file = positional[0];
  if (positional.size() == 2) options.label = positional[1];
  return options;
}

std::string PreviewUsage() {
  return "usage: vel-preview [OPTION]... FILE [LABEL]\n"
         "Opens the window LABEL (else the first window) of FILE, a window declaration (.wdc) or a\n"
         "compiled definition resource, runs its ACCEPT loop and prints one line per event.\n"
         "\n"
         "  --refuse NAME        refuse every event of that name (e.g. CloseWindow); repeatable\n"
         "  --set FIELD=VALUE    store VALUE in the variable of field FIELD before opening; repeatable\n"
         "  --layout             once the window is shown, print each control's class and screen\n"
         "                       rectangle in pixels (the window itself as field 0)\n"
         "  --help               print this help\n"
         "  --version            print the runtime version\n"
         "\n"
         "VELMORA_DISPLAY=headless with VELMORA_HEADLESS_INPUT drives the window from a script.\n"
         "Exit status: 0 when the window closed, 2 when FILE or LABEL cannot be opened,\n"
         "3 when an input script ran out while the window was still open.\n";
}

}  // namespace vel::tools
