#include "runtime/services/trace_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "tests/runtime/services/trace_dir_fixture.h"

namespace vel::services {
namespace {

class TraceLogFile : public testing::TraceDirTest {
 protected:
  void SetUp() override {
    TraceDirTest::SetUp();
    TraceLogLockService(kInitialiseCall);
  }
  void TearDown() override {
    TraceLogLockService(kTerminateCall);
    TraceDirTest::TearDown();
  }
};

TEST_F(TraceLogFile, FirstLineOfARunRecreatesTheFileAndLaterLinesAppend) {
  std::ofstream(m_dir / kTraceLogFileName) << "left by an earlier run\r\n";
  WriteTraceLine("Error @(File,Line) (%s, %d)\n", "entry.cpp", 120);
  EXPECT_EQ(TraceLog(), "Error @(File,Line) (entry.cpp, 120)\n");
  WriteTraceLine("second\r\n");
  EXPECT_EQ(TraceLog(), "Error @(File,Line) (entry.cpp, 120)\nsecond\r\n");

  // The writer adds no line end of its own.
  WriteTraceLine("%s", "no end");
  WriteTraceLine("%d\n", 7);
  EXPECT_EQ(TraceLines().back(), "no end7\n");
}

TEST_F(TraceLogFile, FileIsCompleteOnDiskAfterEveryLine) {
  std::string expected;
  for (int i = 0; i < 5; ++i) {
    WriteTraceLine("line %d\r\n", i);
    expected += "line " + std::to_string(i) + "\r\n";
    ASSERT_EQ(TraceLog(), expected);
  }
  // A file removed during the run is started again by the next line.
  std::filesystem::remove(m_dir / kTraceLogFileName);
  WriteTraceLine("after removal\n");
  EXPECT_EQ(TraceLog(), "after removal\n");
}

TEST_F(TraceLogFile, LinesAreCutAtTwoHundredFiftyFiveCharacters) {
  const std::string longText(600, 'a');
  WriteTraceLine("%s\n", longText.c_str());
  WriteTraceLine("next\n");
  EXPECT_EQ(TraceLog(), std::string(kTraceLineMaxLength, 'a') + "next\n");
  WriteTraceLine(nullptr);
  EXPECT_EQ(TraceLog(), std::string(kTraceLineMaxLength, 'a') + "next\n");
}

TEST_F(TraceLogFile, LinesOfTwoThreadsNeverMix) {
  constexpr int kLinesPerThread = 200;
  auto writer = [](char mark) {
    const std::string body(120, mark);
    for (int i = 0; i < kLinesPerThread; ++i) WriteTraceLine("%s %03d\n", body.c_str(), i);
  };
  std::thread first(writer, 'x');
  std::thread second(writer, 'y');
  first.join();
  second.join();

  const std::vector<std::string> lines = TraceLines();
  ASSERT_EQ(lines.size(), 2u * kLinesPerThread);
  int perMark[2] = {0, 0};
  for (const std::string& line : lines) {
    ASSERT_EQ(line.size(), 125u) << line;
    const char mark = line[0];
    ASSERT_TRUE(mark == 'x' || mark == 'y') << line;
    EXPECT_EQ(line.substr(0, 120), std::string(120, mark));
    EXPECT_EQ(line.substr(120, 1), " ");
    ++perMark[mark == 'y'];
  }
  EXPECT_EQ(perMark[0], kLinesPerThread);
  EXPECT_EQ(perMark[1], kLinesPerThread);
}

TEST_F(TraceLogFile, AuxiliaryCopyFollowsTheSettingReadOnce) {
  // No setting: nothing goes to the auxiliary device (standard error).
  ::testing::internal::CaptureStderr();
  WriteTraceLine("quiet\n");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

  // An empty value asks for nothing either.
  RestartTraceLog();
  WriteWinIni("[Velmora 4 Tracing]\r\nauxtrace=\r\n");
  ::testing::internal::CaptureStderr();
  WriteTraceLine("still quiet\n");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

  RestartTraceLog();
  WriteWinIni("[Velmora 4 Tracing]\r\nauxtrace=1\r\n");
  ::testing::internal::CaptureStderr();
  WriteTraceLine("copied %d\n", 1);
  // The setting is read at the first line only: removing it changes nothing during the run.
  WriteWinIni("");
  WriteTraceLine("copied %d\n", 2);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "copied 1\ncopied 2\n");
  EXPECT_EQ(TraceLog(), "copied 1\ncopied 2\n");
}

TEST_F(TraceLogFile, UnwritableFileDropsTheLineButStillCopiesToAuxiliary) {
  std::filesystem::create_directory(m_dir / kTraceLogFileName);
  WriteWinIni("[Velmora 4 Tracing]\r\nauxtrace=yes\r\n");
  ::testing::internal::CaptureStderr();
  SetLastError(1234);
  WriteTraceLine("nowhere to go\n");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "nowhere to go\n");
  EXPECT_EQ(GetLastError(), 1234u);  // the traced code's last error survives
  EXPECT_TRUE(std::filesystem::is_directory(m_dir / kTraceLogFileName));
  SetLastError(0);
}

TEST_F(TraceLogFile, WritesWithoutTheLockBeforeItIsCreated) {
  TraceLogLockService(kTerminateCall);
  WriteTraceLine("unlocked\n");
  TraceLogLockService(kInitialiseCall);
  TraceLogLockService(kInitialiseCall);  // a second creation changes nothing
  WriteTraceLine("locked\n");
  EXPECT_EQ(TraceLog(), "unlocked\nlocked\n");
}

}  // namespace
}  // namespace vel::services
