#pragma once
// The procedure vel-preview runs in place of a compiled one: it opens the chosen window through
// ProcedureWindow with its own variables as the USE address list, runs the ACCEPT loop and logs
// every event, refuses the events it was told to, and ends when a CloseWindow is not refused.

#include <cstdio>

#include "tools/vel-preview/lib/definition_file.h"
#include "tools/vel-preview/lib/preview_options.h"
#include "tools/vel-preview/lib/preview_variables.h"

namespace vel::tools {

/// Throws PreviewError for a --set whose field has no variable the tool can store into.
void CheckFieldValues(const PreviewOptions& options, const DefinitionFile& file,
                      const PreviewVariables& variables);

/// Stores the --set values, opens the window (its definition read from `file` alone), logs its
/// events to `out` until it closes, logs the final values and closes the window. The runtime
/// must be running on the calling thread. Returns the tool's exit status, 0.
int RunPreviewProcedure(const DefinitionFile& file, const ChosenWindow& window, const PreviewOptions& options,
                        PreviewVariables& variables, std::FILE* out);

}  // namespace vel::tools
