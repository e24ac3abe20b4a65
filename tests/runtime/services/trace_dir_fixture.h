#pragma once
// A fixture for tests that write the trace log: each test runs in a fresh temporary directory
// (which also serves as the Windows directory holding win.ini), so V4LOG.TXT never lands in the
// build tree, and the trace log starts a new run.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/services/trace_log.h"
#include "runtime/services/runtime_running.h"

namespace vel::services::testing {

class TraceDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_previousDir = std::filesystem::current_path();
    m_dir = std::filesystem::path(::testing::TempDir()) /
            (std::string("vel_trace_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    std::filesystem::current_path(m_dir);
    setenv("VELMORA_WINDIR", m_dir.c_str(), 1);
    RestartTraceLog();
  }

  void TearDown() override {
    RestartTraceLog();
    std::filesystem::current_path(m_previousDir);
    std::filesystem::remove_all(m_dir);
  }

  /// The whole trace log as it is on disk now.
  std::string TraceLog() const { return ReadText(m_dir / kTraceLogFileName); }

  /// The trace log split after every "\n".
  std::vector<std::string> TraceLines() const {
    std::vector<std::string> lines;
    const std::string text = TraceLog();
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      end = end == std::string::npos ? text.size() : end + 1;
      lines.push_back(text.substr(start, end - start));
      start = end;
    }
    return lines;
  }

  void WriteWinIni(const std::string& contents) const {
    std::ofstream(m_dir / "win.ini", std::ios::binary) << contents;
  }

  static std::string ReadText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
  }

  std::filesystem::path m_dir;

 private:
  std::filesystem::path m_previousDir;
};

/// Clears the runtime running flag for the scope, as during shutdown, so that runtime errors
/// return instead of ending the test process.
class ShutdownScope {
 public:
  ShutdownScope() { SetRuntimeRunning(false); }
  ~ShutdownScope() { SetRuntimeRunning(true); }
  ShutdownScope(const ShutdownScope&) = delete;
  ShutdownScope& operator=(const ShutdownScope&) = delete;
};

}  // namespace vel::services::testing
