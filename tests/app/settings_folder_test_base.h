#pragma once
// A fixture whose Windows directory (where skarvine.INI lives) is a fresh scratch folder per
// test.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vel::app::testing {

class SettingsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = std::filesystem::path(::testing::TempDir()) /
            (std::string("vel_settings_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    setenv("VELMORA_WINDIR", m_dir.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::string Settings() const {
    std::ifstream in(m_dir / "skarvine.INI", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void WriteSettings(const std::string& text) const { std::ofstream(m_dir / "skarvine.INI", std::ios::binary) << text; }

  std::filesystem::path m_dir;
};

}  // namespace vel::app::testing
