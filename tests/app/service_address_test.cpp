// The archive's address comes from the settings file when the user set one, else the default.

#include "app/service_address.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/values/string_stack.h"

namespace vel::app {
namespace {

class ServiceAddressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::path(::testing::TempDir()) / "vel_service_address";
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    setenv("VELMORA_WINDIR", m_dir.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }
  void WriteSettings(const std::string& text) { std::ofstream(m_dir / "skarvine.INI", std::ios::binary) << text; }

  std::filesystem::path m_dir;
};

TEST_F(ServiceAddressTest, TheDefaultNeverResolvesAndLeavesRoomForTheLongestQuery) {
  EXPECT_EQ(ServiceAddress(), kDefaultServiceAddress);
  EXPECT_LE(std::string(kDefaultServiceAddress).size(), 28u);
  EXPECT_TRUE(std::string(kDefaultServiceAddress).ends_with(".invalid"));
  WriteSettings("[Service]\r\nAddress=   \r\n");
  EXPECT_EQ(ServiceAddress(), kDefaultServiceAddress) << "a blank key is no address";
  EXPECT_EQ(values::CurrentStringStack().Count(), 0u);
}

TEST_F(ServiceAddressTest, TheUsersAddressIsTakenClipped) {
  WriteSettings("[SearchParms]\r\nMaxhits=50\r\n[Service]\r\nAddress=https://news.example.org/archive  \r\n");
  EXPECT_EQ(ServiceAddress(), "https://news.example.org/archive");
}

}  // namespace
}  // namespace vel::app
