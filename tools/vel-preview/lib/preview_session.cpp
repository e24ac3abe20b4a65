#include "tools/vel-preview/lib/preview_session.h"

#include <string>
#include <vector>

#include "runtime/windows/drag_state.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/procedure_window.h"
#include "runtime/windows/resource_names.h"
#include "runtime/windows/resource_source.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_open.h"
#include "tools/vel-eval/console_text.h"
#include "tools/vel-preview/lib/event_log.h"
#include "tools/vel-preview/lib/preview_error.h"
#include "tools/vel-preview/lib/window_layout.h"

namespace vel::tools {
namespace {

using windows::ProcedureWindow;

// Reads the definition from the file alone, in the program's own module, so that the icons and
// cursors it names come from the program's resources as they do when the program opens it.
class FileDefinitionSource {
 public:
  explicit FileDefinitionSource(const DefinitionFile& file) {
    m_source.Add(GetModuleHandleA(nullptr), windows::DefinitionResourceName(file.qualifiedName),
                 file.resource);
    windows::SetDefinitionSource(&m_source);
  }
  ~FileDefinitionSource() { windows::SetDefinitionSource(nullptr); }
  FileDefinitionSource(const FileDefinitionSource&) = delete;
  FileDefinitionSource& operator=(const FileDefinitionSource&) = delete;

 private:
  windows::MemoryResourceSource m_source;
};

}  // namespace

void CheckFieldValues(const PreviewOptions& options, const DefinitionFile& file,
                      const PreviewVariables& variables) {
  for (const FieldValue& value : options.values) {
    if (!variables.CanStore(value.field)) {
      throw PreviewError(file.path + ": --set " + std::to_string(value.field) + "=" + value.text +
                         ": field " + std::to_string(value.field) + " has no variable to store it in");
    }
  }
}

int RunPreviewProcedure(const DefinitionFile& file, const ChosenWindow& chosen, const PreviewOptions& options,
                        PreviewVariables& variables, std::FILE* out) {
  EventLog log(out);
  for (const FieldValue& value : options.values) variables.Set(value.field, Utf8ToAnsi(value.text));

  FileDefinitionSource source(file);
  std::vector<void*> addresses = variables.Addresses();
  ProcedureWindow window;
  window.Open(file.qualifiedName, chosen.label, addresses);

  bool laidOut = false;
  while (window.Accept()) {
    std::int32_t code = windows::EventNumber() + windows::kEventBase;
    std::int32_t field = windows::EventField();
    log.Line(EventLine(code, field));
    if (field != 0) {
      for (const std::string& value : variables.Describe(field)) log.Variable("  ", field, value);
    }
    if (code == windows::EVENT_Drop) {
      log.Line("  DRAGID = " + std::string(windows::MatchedIdentifier()));
      log.Line("  DROPID = " + std::string(windows::DroppedText()));
    }
    if (options.refusedEvents.count(code) != 0) {
      window.Refuse();
      log.Line("  refused");
    }
    // The first event comes once the window is shown, so its controls have their places now.
    if (options.layout && !laidOut) {
      for (const ControlPlace& place : WindowLayout(window.Object())) {
        log.Line(LayoutLine(place.field, place.className, place.screen));
      }
      laidOut = true;
    }
  }

  std::vector<std::int32_t> fields = variables.Fields();
  for (std::size_t i = 0; i < fields.size(); ++i) log.Variable("final ", fields[i], variables.DescribeAt(i));
  window.Close();
  return 0;
}

}  // namespace vel::tools
