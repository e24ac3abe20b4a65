// vel-preview: opens any window declaration as a procedure would, drives its ACCEPT loop and
// prints one line per event. See docs/tools.md.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/application_module.h"
#include "runtime/services/exit_sequence.h"
#include "runtime/services/program_entry.h"
#include "tools/common/standard_options.h"
#include "tools/vel-preview/lib/definition_file.h"
#include "tools/vel-preview/lib/preview_error.h"
#include "tools/vel-preview/lib/preview_options.h"
#include "tools/vel-preview/lib/preview_session.h"
#include "tools/vel-preview/lib/preview_variables.h"

namespace {

using namespace vel::tools;

// Exit status for anything wrong before a window opens, as for a fatal runtime error.
constexpr int kBadInput = 2;

struct Preview {
  PreviewOptions options;
  DefinitionFile file;
  ChosenWindow window;
  std::unique_ptr<PreviewVariables> variables;
  int status = 0;
};

Preview* g_preview = nullptr;

// The main procedure the runtime calls once the program's module has initialised, so that the
// control kinds are registered exactly as they are for the program itself.
void PreviewProcedure() {
  g_preview->status = RunPreviewProcedure(g_preview->file, g_preview->window, g_preview->options,
                                          *g_preview->variables, stdout);
}

}  // namespace

int main(int argc, char** argv) {
  Preview preview;
  try {
    preview.options = ParsePreviewArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (preview.options.help) {
      std::fputs(PreviewUsage().c_str(), stdout);
      return 0;
    }
    if (preview.options.version) {
      std::printf("%s\n", VersionLine("vel-preview").c_str());
      return 0;
    }
    preview.file = LoadDefinitionFile(preview.options.file);
    preview.window = ChooseWindow(preview.file, preview.options.label);
    preview.variables = std::make_unique<PreviewVariables>(preview.file.path, preview.window.bindings);
    CheckFieldValues(preview.options, preview.file, *preview.variables);
  } catch (const PreviewError& error) {
    std::fprintf(stderr, "vel-preview: %s\n", error.what());
    return kBadInput;
  }

  g_preview = &preview;
  int status = vel::services::RunProgram(vel::app::ApplicationModule(), vel::app::kProgramRequestedVersion,
                                         PreviewProcedure);
  vel::services::Exit(static_cast<UINT>(status != 0 ? status : preview.status));
}
