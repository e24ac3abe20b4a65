// The program entry on Linux: the standard options, then the desktop check, then the runtime's
// own program entry, which runs the search window procedure.

#include <optional>

#include "app/application_module.h"
#include "app/search_window_procedure.h"
#include "platform/display/desktop_requirement.h"
#include "runtime/services/program_entry.h"
#include "tools/common/standard_options.h"

namespace {

constexpr vel::tools::ProgramHelp kHelp{
    "skarvine", "",
    "A one-row search window for the newsgroup archive: type a search string and an author,\n"
    "pick a result format, a number of hits and AND or OR, and the search button opens the\n"
    "archive's results in your browser. The format, hits and AND/OR choices are kept in\n"
    "skarvine.INI in $VELMORA_WINDIR, else $XDG_CONFIG_HOME/velmora, else ~/.config/velmora;\n"
    "the archive's address is the key Address in its section [Service].\n"
    "\n"
    "It needs a desktop; VELMORA_DISPLAY=headless runs it without one (for tests and scripts).\n"};

}  // namespace

int main(int argc, char** argv) {
  if (std::optional<int> answered = vel::tools::AnswerStandardOption(argc, argv, kHelp)) return *answered;
  // A search window no one can see would wait for input forever.
  vel::platform::RequireDesktopDisplay("skarvine");
  vel::services::ProgramEntry(vel::app::ApplicationModule(), vel::app::kProgramRequestedVersion, vel::app::SKARV001);
}
