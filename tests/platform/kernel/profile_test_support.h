#pragma once
// A private Windows directory per test, and byte-exact file helpers, for the profile tests.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace vel::platform::testing {

class ProfileDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "profile_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_root = pattern;
    m_windows = m_root + "/windows";
    setenv("VELMORA_WINDIR", m_windows.c_str(), 1);
  }
  void TearDown() override {
    std::string command = "rm -rf '" + m_root + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  /// A profile path outside the Windows directory (a name with a directory).
  std::string Private(const std::string& name) const { return m_root + "/" + name; }

  std::string m_root;
  std::string m_windows;
};

}  // namespace vel::platform::testing
