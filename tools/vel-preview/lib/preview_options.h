#pragma once
// The command line of vel-preview:
//   vel-preview [--refuse NAME]... [--set FIELD=VALUE]... [--layout] FILE [LABEL]
//   vel-preview --help | --version

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vel::tools {

/// A value to store in a field's variable before the window opens; the text as given on the
/// command line (UTF-8).
struct FieldValue {
  std::int32_t field = 0;
  std::string text;
};

struct PreviewOptions {
  std::string file;
  std::optional<std::string> label;
  /// Codes of the events the tool refuses.
  std::set<std::int32_t> refusedEvents;
  std::vector<FieldValue> values;
  bool layout = false;
  bool help = false;
  bool version = false;
};

/// Reads the arguments after the program name. Options may come before or after FILE; "--"
/// ends them. Throws PreviewError for an unknown option, a missing or malformed argument, or a
/// missing FILE (unless --help or --version was given).
PreviewOptions ParsePreviewArguments(const std::vector<std::string>& arguments);

/// The code of an event named as the runtime's event table names it ("EVENT:CloseWindow"),
/// with or without the "EVENT:" prefix and in any case, or by its event number (decimal or
/// 0x hexadecimal, the code less 0x1400). Empty when the name means no event.
std::optional<std::int32_t> EventCodeForName(std::string_view name);

/// What --help prints.
std::string PreviewUsage();

}  // namespace vel::tools
