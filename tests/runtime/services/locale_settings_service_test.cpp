#include "runtime/services/locale_settings_service.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "runtime/services/error_messages.h"
#include "runtime/services/error_state.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/service_routines.h"
#include "runtime/values/char_tables.h"
#include "runtime/values/locale_load.h"
#include "runtime/values/locale_settings.h"

namespace vel::services {
namespace {

class LocaleSettingsService : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = values::EnvironmentFilePath();
    ASSERT_FALSE(m_path.empty());
    std::remove(m_path.c_str());
    ClearError();
  }
  void TearDown() override {
    std::remove(m_path.c_str());
    values::ResetLocaleSettings(values::Locale());
    values::g_charTables = values::BuiltInCharTables();
    SetMessageOverride({});
    ClearError();
  }
  std::string m_path;
};

// One test for both cases: the file beside the test program is shared, and tests may run in
// parallel processes.
TEST_F(LocaleSettingsService, MissingFileSetsErrorTwoAndAPresentFileApplies) {
  LoadRuntimeLocaleSettings();
  EXPECT_EQ(ERRORCODE(), kEnvironmentFileMissingCode);
  EXPECT_EQ(ClippedErrorText(), ErrorMessageText(kEnvironmentFileMissingCode));

  ClearError();
  {
    std::ofstream file(m_path, std::ios::binary);
    file << "VELMSG5=Zugriff verweigert, leider\r\nVELCASE=\xC4 \xE4\r\nVELMON=Jan,Feb,Mrz\r\n";
  }
  CharacterTablesService(kInitialiseCall);
  LoadRuntimeLocaleSettings();
  EXPECT_EQ(ERRORCODE(), 0);
  EXPECT_EQ(ErrorMessageText(5), "Zugriff verweigert, leider");
  EXPECT_EQ(values::ToUpperChar(0xE4), 0xC4);
  EXPECT_EQ(values::Locale().monthAbbreviations[2], "Mrz");
  SetError(5);
  EXPECT_EQ(ClippedErrorText(), "Zugriff verweigert, leider");
}

}  // namespace
}  // namespace vel::services
