// The archive's address comes from the settings file when the user set one, else the default.

#include "app/service_address.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/values/string_stack.h"
#include "tests/app/settings_folder_test_base.h"

namespace vel::app {
namespace {

class ServiceAddressTest : public testing::SettingsFolderTest {};

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
