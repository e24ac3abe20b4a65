#include "app/application_module.h"
#include "app/search_window_procedure.h"
#include "runtime/services/program_entry.h"

int main() {
  vel::services::ProgramEntry(vel::app::ApplicationModule(), vel::app::kProgramRequestedVersion, vel::app::SKARV001);
}
