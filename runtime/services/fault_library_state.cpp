#include "runtime/services/fault_library_state.h"

#include <atomic>

#include "runtime/services/fault_line.h"
#include "runtime/services/fault_memory.h"
#include "runtime/services/message_names.h"

namespace vel::services {
namespace {

constexpr std::size_t kErrorTextShown = 59;
// Names are copied out of the window's memory through the safe reader before they are shown.
constexpr std::size_t kNameCapacity = 128;

std::atomic<FaultLibraryStateSource> g_source{nullptr};

// "value (0HEXH)", the hexadecimal of the 32-bit value.
void AppendNumbers(FaultLine& line, std::int64_t value) {
  line.Decimal(value).Text(" (0").Hex(static_cast<std::uint32_t>(value), 1, true).Text("H)");
}

// 0 as "0"; a named value as "name (value (0HEXH))"; an unnamed one as "value (0HEXH)".
void WriteField(HFILE file, const char* label, const FaultFieldValue& value) {
  FaultLine line;
  line.Text(label);
  char name[kNameCapacity];
  if (value.number == 0) {
    line.Text("0");
  } else if (value.name != nullptr && ReadFaultText(value.name, name, sizeof name) > 0) {
    line.Text(name).Text(" (");
    AppendNumbers(line, value.number);
    line.Text(")");
  } else {
    AppendNumbers(line, value.number);
  }
  line.EndLine("\r\n").WriteTo(file);
}

}  // namespace

void SetFaultLibraryStateSource(FaultLibraryStateSource source) { g_source.store(source); }

FaultLibraryState GatherFaultLibraryState() {
  FaultLibraryState state;
  if (FaultLibraryStateSource source = g_source.load()) source(state);
  return state;
}

void WriteLibraryStateBlock(HFILE file, const FaultLibraryState& state, const ErrorState& error) {
  FaultLine().Text("Library State:\r\n").WriteTo(file);
  FaultLine event;
  event.Text("  EVENT      = ");
  if (state.event == 0) {
    event.Text("0");
  } else {
    // An event the name table does not know is named by its number, as "%#.4x" writes it.
    if (const char* known = FindMessageName(state.event)) {
      event.Text(known);
    } else {
      event.Text("0x").Hex(state.event, 4);
    }
    event.Text(" (");
    AppendNumbers(event, state.event);
    event.Text(")");
  }
  event.EndLine("\r\n").WriteTo(file);
  WriteField(file, "  FIELD      = ", state.field);
  WriteField(file, "  FOCUS      = ", state.focus);
  WriteField(file, "  ACCEPTED   = ", state.accepted);
  WriteField(file, "  FIRSTFIELD = ", state.firstField);
  WriteField(file, "  LASTFIELD  = ", state.lastField);
  FaultLine().Text("  ERRORCODE  = ").Decimal(error.code).EndLine("\r\n").WriteTo(file);
  // The text is blank-padded to its full width; the padding is not part of what is shown.
  std::size_t shown = kErrorTextShown;
  while (shown > 0 && error.text[shown - 1] == ' ') --shown;
  FaultLine().Text("  ERROR      = ").Text(error.text, shown).EndLine("\r\n").WriteTo(file);
}

}  // namespace vel::services
