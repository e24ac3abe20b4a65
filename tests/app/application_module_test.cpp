#include "app/application_module.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "app/search_window_procedure.h"
#include "platform/display/headless/headless_display.h"
#include "runtime/services/exit_sequence.h"
#include "runtime/services/module_list.h"
#include "runtime/services/program_entry.h"
#include "runtime/printing/common_dialogs.h"
#include "runtime/services/settings_setup.h"
#include "runtime/windows/resource_source.h"
#include "runtime/windows/standard_actions.h"
#include "runtime/windows/window_object_open.h"
#include "tests/app/search_window_session.h"
#include "tests/support/program_run.h"

namespace vel::app {
namespace {

using services::InitialiserEntry;
using services::ModuleDescriptor;

HINSTANCE Handle(std::uintptr_t value) { return reinterpret_cast<HINSTANCE>(value); }

TEST(ApplicationModule, DescribesThirtyOneServicesInTheirPriorityClassesWithTheApplicationLast) {
  const ModuleDescriptor& module = ApplicationModule();
  ASSERT_TRUE(services::DescriptorIsSound(module));
  const InitialiserEntry* start = module.initialiserTableStart;
  const InitialiserEntry* end = module.initialiserTableEnd;
  ASSERT_EQ(end - start, 31);

  std::map<std::int32_t, int> perPriority;
  for (const InitialiserEntry* entry = start; entry != end; ++entry) {
    ++perPriority[entry->priority];
    EXPECT_NE(entry->initialiseRoutine, nullptr);
    EXPECT_EQ(entry->initialiseRoutine, entry->terminateRoutine);
  }
  EXPECT_EQ(perPriority, (std::map<std::int32_t, int>{{5, 3}, {16, 24}, {28, 1}, {150, 2}, {255, 1}}));

  EXPECT_EQ(end[-3].initialiseRoutine, StoreFirstControlKinds);
  EXPECT_EQ(end[-2].initialiseRoutine, InitialiseProgramWideValues);
  EXPECT_EQ(end[-1].initialiseRoutine, StoreFurtherControlKinds);
  for (const InitialiserEntry* entry = end - 3; entry != end; ++entry) EXPECT_EQ(entry->priority, 5);
}

TEST(ApplicationModule, ItsOnlyDataIsTheThreeProgramWideValues) {
  const ModuleDescriptor& module = ApplicationModule();
  EXPECT_EQ(module.globalDataStart, reinterpret_cast<std::byte*>(&ProgramWideValues()));
  EXPECT_EQ(services::AreaLength(module.globalDataStart, module.globalDataEnd), 3 * sizeof(std::int32_t));
  EXPECT_EQ(services::AreaLength(module.secondDataStart, module.secondDataEnd), 0u);
  EXPECT_EQ(module.fixupListStart, module.fixupListEnd);
  EXPECT_EQ(module.importAreaStart, module.importAreaEnd);
}

TEST(ApplicationModule, InitialisationLoadsTheSettingsOnceAndClearsTheProgramWideValues) {
  int loads = 0;
  services::ResetRuntimeSettingsSetUp();
  services::SetRuntimeSettingsLoader([&] { ++loads; });
  ProgramWideValues() = ApplicationGlobals{11, 22, 33};
  windows::SetPrintSetupHook(nullptr);

  services::ModuleList modules;
  ASSERT_TRUE(modules.Register(&ApplicationModule(), Handle(0x4000)));
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(windows::InstalledPrintSetupHook(), &printing::PrintSetupAction) << "the print setup action has its dialog";
  EXPECT_EQ(ProgramWideValues().request, 0);
  EXPECT_EQ(ProgramWideValues().response, 0);
  EXPECT_EQ(ProgramWideValues().thirdRequest, 0);

  // Termination leaves the values alone; a second initialisation clears them again without
  // loading the settings a second time.
  ProgramWideValues() = ApplicationGlobals{1, 2, 3};
  modules.Terminate(Handle(0x4000));
  EXPECT_EQ(ProgramWideValues().response, 2);
  ASSERT_TRUE(modules.Register(&ApplicationModule(), Handle(0x4000)));
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(ProgramWideValues().response, 0);
  modules.Terminate(Handle(0x4000));
  services::ResetRuntimeSettingsSetUp();
}

/// Runs the program in this process, its window closed from the keyboard, and reports what it
/// left behind before exiting with its code.
void RunTheProgramAndReport() {
  setenv("VELMORA_WINDIR", ::testing::TempDir().c_str(), 1);
  windows::MemoryResourceSource definitions;
  testing::AddSearchWindowDefinition(definitions);
  windows::SetDefinitionSource(&definitions);
  platform::CurrentHeadlessDisplay()->QueueScript("key F4 alt");
  ProgramWideValues() = ApplicationGlobals{5, 6, 7};
  int code = services::RunProgram(ApplicationModule(), kProgramRequestedVersion, SKARV001);
  std::fprintf(stderr, "code=%d requested=%u instance=%d values=%d,%d,%d\n", code, services::RequestedVersionNumber(),
               services::ProgramInstance() == GetModuleHandleA(nullptr), ProgramWideValues().request,
               ProgramWideValues().response, ProgramWideValues().thirdRequest);
  services::Exit(static_cast<UINT>(code));
}

TEST(ProgramStart, ThePathFromEntryToExitRecordsTheVersionAndEndsWithZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(RunTheProgramAndReport(), ::testing::ExitedWithCode(0),
              "code=0 requested=4002 instance=1 values=0,2,0");
}

TEST(ProgramStart, TheProgramOpensItsWindowAndEndsCleanlyWhenItIsClosed) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "vel_skarvine_program";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string shown = (folder / "shown.png").string();
  const std::string environment = "cd '" + folder.string() + "' && VELMORA_DISPLAY=headless VELMORA_WINDIR='" +
                                  folder.string() + "' VELMORA_HEADLESS_INPUT='snapshot " + shown + "; key F4 alt' ";
  vel::testing::ProgramOutcome outcome = vel::testing::RunProgram(environment + VEL_SKARVINE_PATH, "");
  EXPECT_EQ(outcome.status, 0);
  // A refused version, an unusable module or a missing definition would have shown a box,
  // which lands on standard error.
  EXPECT_EQ(outcome.errors, "");
  EXPECT_TRUE(std::filesystem::exists(shown)) << "the window was on the screen";
  EXPECT_TRUE(std::filesystem::exists(folder / "skarvine.INI")) << "and kept its settings";
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vel::app
