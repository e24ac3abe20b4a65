#include "app/application_module.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "app/search_window_procedure.h"
#include "runtime/services/exit_sequence.h"
#include "runtime/services/module_list.h"
#include "runtime/services/program_entry.h"
#include "runtime/services/settings_setup.h"

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

  services::ModuleList modules;
  ASSERT_TRUE(modules.Register(&ApplicationModule(), Handle(0x4000)));
  EXPECT_EQ(loads, 1);
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

/// Runs the program in this process and reports what it left behind before exiting with its
/// code.
void RunTheProgramAndReport() {
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
              "code=0 requested=4002 instance=1 values=0,0,0");
}

TEST(ProgramStart, TheProgramStartsAndEndsCleanly) {
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "skarvine";
  ASSERT_TRUE(std::filesystem::exists(program)) << program;
  std::string command = "'" + program.string() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  int status = pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // A refused version or an unusable module would have shown a box, which lands on stderr.
  EXPECT_EQ(output, "");
}

}  // namespace
}  // namespace vel::app
