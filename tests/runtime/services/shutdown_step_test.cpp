#include "runtime/services/shutdown_step.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "runtime/services/fault_handler_frame.h"
#include "runtime/services/runtime_running.h"
#include "runtime/services/settings_setup.h"

namespace vel::services {
namespace {

TEST(ShutdownStep, RunsItsHooksInOrderAndClearsTheRunningFlagAfterTheThreadsStop) {
  ASSERT_TRUE(RuntimeRunning());
  std::string steps;
  auto step = [&](const char* name) {
    return [&steps, name] { steps += std::string(name) + (RuntimeRunning() ? "+ " : "- "); };
  };
  SetShutdownHook(ShutdownHook::ReleaseValueRuntimeState, step("release"));
  SetShutdownHook(ShutdownHook::KillGlobalTimer, step("timer"));
  SetShutdownHook(ShutdownHook::CloseOpenWindows, step("windows"));
  SetShutdownHook(ShutdownHook::ValueRuntimeCleanUp, step("cleanup"));
  SetShutdownHook(ShutdownHook::StopOtherThreads, step("threads"));

  RunShutdownStep();
  EXPECT_EQ(steps, "windows+ threads+ timer- cleanup- release- ");
  EXPECT_FALSE(RuntimeRunning());

  // Emptied hooks are simply not called.
  for (ShutdownHook hook : {ShutdownHook::CloseOpenWindows, ShutdownHook::StopOtherThreads,
                            ShutdownHook::KillGlobalTimer, ShutdownHook::ValueRuntimeCleanUp,
                            ShutdownHook::ReleaseValueRuntimeState})
    SetShutdownHook(hook, nullptr);
  steps.clear();
  RunShutdownStep();
  EXPECT_EQ(steps, "");
  SetRuntimeRunning(true);
}

TEST(FaultHandlerFrame, InstallsOnceAndUnlinksOnlyOnTheInstallingThread) {
  int installs = 0;
  int uninstalls = 0;
  SetFaultHandlerHooks({[&] {
                          ++installs;
                          EXPECT_FALSE(FaultHandlerFrameInstalled());
                        },
                        [&] { ++uninstalls; }});
  UnlinkFaultHandlerFrame();
  EXPECT_EQ(uninstalls, 0);

  InstallFaultHandlerFrame();
  InstallFaultHandlerFrame();
  EXPECT_EQ(installs, 1);
  EXPECT_TRUE(FaultHandlerFrameInstalled());

  std::thread other([] { UnlinkFaultHandlerFrame(); });
  other.join();
  EXPECT_TRUE(FaultHandlerFrameInstalled());
  EXPECT_EQ(uninstalls, 0);

  UnlinkFaultHandlerFrame();
  UnlinkFaultHandlerFrame();
  EXPECT_FALSE(FaultHandlerFrameInstalled());
  EXPECT_EQ(uninstalls, 1);
  SetFaultHandlerHooks({});
}

TEST(RuntimeSettingsSetUp, RunsTheLoaderOnceAndWaitsForOneToBeInstalled) {
  ResetRuntimeSettingsSetUp();
  int loads = 0;
  EXPECT_FALSE(RunRuntimeSettingsSetUpOnce());
  EXPECT_FALSE(RuntimeSettingsLoaded());

  SetRuntimeSettingsLoader([&] {
    ++loads;
    // A loader that reaches the set-up again must not recurse.
    EXPECT_FALSE(RunRuntimeSettingsSetUpOnce());
  });
  EXPECT_TRUE(RunRuntimeSettingsSetUpOnce());
  EXPECT_FALSE(RunRuntimeSettingsSetUpOnce());
  EXPECT_EQ(loads, 1);
  EXPECT_TRUE(RuntimeSettingsLoaded());
  ResetRuntimeSettingsSetUp();
}

}  // namespace
}  // namespace vel::services
