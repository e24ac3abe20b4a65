#include "runtime/services/program_entry.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cstdio>
#include <iterator>

#include "platform/user/message_box_script.h"
#include "runtime/services/exit_sequence.h"
#include "runtime/services/fault_handler_frame.h"
#include "runtime/services/module_list.h"
#include "runtime/services/runtime_running.h"
#include "runtime/services/shutdown_step.h"
#include "runtime/services/startup_step.h"
#include "tests/runtime/services/call_recorder.h"

// Everything here ends the process, so each case runs in a child process started afresh
// ("threadsafe" death tests re-run the binary), which also gives it untouched process state.
// The child records what ran in a file that the parent reads afterwards.

namespace vel::services {
namespace {

using testing::CallFile;
using testing::Record;
using testing::RecordingRoutine;

constexpr RequestedVersion kGoodVersion{0x104, 2, 0};

const InitialiserEntry kProgramTable[] = {
    {5, RecordingRoutine<5>, RecordingRoutine<5>},
    {255, RecordingRoutine<255>, RecordingRoutine<255>},
    {16, RecordingRoutine<16>, RecordingRoutine<16>},
};

std::uint32_t g_programGlobals[3] = {1, 2, 3};

ModuleDescriptor ProgramDescriptor() {
  ModuleDescriptor descriptor = testing::DescriptorWithTable(std::begin(kProgramTable), std::end(kProgramTable));
  descriptor.globalDataStart = reinterpret_cast<std::byte*>(g_programGlobals);
  descriptor.globalDataEnd = reinterpret_cast<std::byte*>(std::end(g_programGlobals));
  return descriptor;
}

void FirstExitRoutine() { Record("exit1"); }
void SecondExitRoutine() { Record("exit2"); }
void ExitAgainRoutine() {
  Record("again");
  Exit(7);
}

void MainProcedure() {
  Record(std::string("main") + (RuntimeRunning() ? "+" : "-") + (FaultHandlerFrameInstalled() ? "f" : "") +
         (ProcessDataAreas().StartUpPassDone() ? "d" : ""));
}

class ProgramExit : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    m_path = ::testing::TempDir() + "program_exit_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    std::remove(m_path.c_str());
    CallFile() = m_path;
  }
  void TearDown() override {
    std::remove(m_path.c_str());
    CallFile().clear();
  }

  std::string Calls() const { return testing::ReadFile(m_path); }

  std::string m_path;
};

TEST_F(ProgramExit, ExitRunsExitRoutinesNewestFirstThenTheTerminatorsThenEnds) {
  EXPECT_EXIT(
      {
        static ModuleDescriptor descriptor = ProgramDescriptor();
        RegisterModule(&descriptor, nullptr);
        PushExitRoutine(FirstExitRoutine);
        PushExitRoutine(nullptr);
        PushExitRoutine(SecondExitRoutine);
        Exit(2);
      },
      ::testing::ExitedWithCode(2), "");
  EXPECT_EQ(Calls(), "i255 i16 i5 exit2 exit1 t5 t16 t255 ");
}

TEST_F(ProgramExit, ASecondExitFromInsideTheSequenceOnlyEndsTheProcess) {
  EXPECT_EXIT(
      {
        static ModuleDescriptor descriptor = ProgramDescriptor();
        RegisterModule(&descriptor, nullptr);
        PushExitRoutine(FirstExitRoutine);
        PushExitRoutine(ExitAgainRoutine);
        Exit(0);
      },
      ::testing::ExitedWithCode(7), "");
  EXPECT_EQ(Calls(), "i255 i16 i5 again ");
}

TEST_F(ProgramExit, TheSequenceRunsOnceThenExitOnlyEndsTheProcess) {
  EXPECT_EXIT(
      {
        static ModuleDescriptor descriptor = ProgramDescriptor();
        RegisterModule(&descriptor, nullptr);
        PushExitRoutine(FirstExitRoutine);
        Record(RunExitSequence() ? "ran" : "skipped");
        Record(RunExitSequence() ? "ran" : "skipped");
        Exit(3);
      },
      ::testing::ExitedWithCode(3), "");
  EXPECT_EQ(Calls(), "i255 i16 i5 exit1 t5 t16 t255 ran skipped ");
}

TEST_F(ProgramExit, ExitRemovesTheFaultHandlerFrame) {
  EXPECT_EXIT(
      {
        SetFaultHandlerHooks({[] { Record("install"); }, [] { Record("uninstall"); }});
        InstallFaultHandlerFrame();
        Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(Calls(), "install uninstall ");
}

TEST_F(ProgramExit, TheEntryRunsEveryStepInOrderAndEndsWithZero) {
  EXPECT_EXIT(
      {
        static ModuleDescriptor descriptor = ProgramDescriptor();
        SetShutdownHook(ShutdownHook::CloseOpenWindows, [] { Record("close"); });
        SetShutdownHook(ShutdownHook::ReleaseValueRuntimeState,
                        [] { Record(RuntimeRunning() ? "release+" : "release-"); });
        SetFaultHandlerHooks({[] { Record("install"); }, [] { Record("uninstall"); }});
        std::fesetround(FE_UPWARD);
        ProgramEntry(descriptor, kGoodVersion, [] {
          Record(std::fegetround() == FE_TONEAREST ? "fpu-reset" : "fpu-left");
          MainProcedure();
        });
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(Calls(), "i255 i16 i5 install fpu-reset main+fd close release- t5 t16 t255 uninstall ");
}

TEST_F(ProgramExit, ARefusedVersionEndsWithZeroBeforeTheFrameAndTheMainProcedure) {
  EXPECT_EXIT(
      {
        static ModuleDescriptor descriptor = ProgramDescriptor();
        SetFaultHandlerHooks({[] { Record("install"); }, [] { Record("uninstall"); }});
        platform::SetMessageBoxAnswerer([](const platform::MessageBoxRecord& box) {
          Record("box:" + box.caption);
          return IDOK;
        });
        ProgramEntry(descriptor, RequestedVersion{0x104, 3, 0}, MainProcedure);
      },
      ::testing::ExitedWithCode(0), "requires D4IRAX version 4\\.003\\.00 or later");
  EXPECT_EQ(Calls(), "i255 i16 i5 box:Velmora 4 Runtime Library t5 t16 t255 ");
}

TEST_F(ProgramExit, AnUnusableModuleIsReportedAndEndsWithTwo) {
  EXPECT_EXIT(
      {
        static ModuleDescriptor descriptor = ProgramDescriptor();
        descriptor.initialiserTableEnd = descriptor.initialiserTableStart - 1;
        ProgramEntry(descriptor, kGoodVersion, MainProcedure);
      },
      ::testing::ExitedWithCode(2), "module descriptor is not valid");
  EXPECT_EQ(Calls(), "");
}

}  // namespace
}  // namespace vel::services
