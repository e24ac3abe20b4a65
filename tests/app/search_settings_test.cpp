// The search window's choices in skarvine.INI: the bytes written and what reads back.

#include "app/search_settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/values/string_stack.h"
#include "tests/app/settings_folder_test_base.h"

namespace vel::app {
namespace {

class SearchSettingsTest : public testing::SettingsFolderTest {};

std::string Fixed(const char* variable, std::size_t size) { return std::string(variable, size); }

TEST_F(SearchSettingsTest, AFirstRunReadsNothingAndWritesTheThreeKeys) {
  SearchFields fields;
  std::memset(&fields, 'x', sizeof fields);
  ReadSearchSettings(fields);
  EXPECT_EQ(fields.maximumHits, 0);
  EXPECT_EQ(Fixed(fields.viewFormat, 20), std::string(20, ' '));
  EXPECT_EQ(Fixed(fields.andOr, 20), std::string(20, ' '));
  EXPECT_FALSE(std::filesystem::exists(m_dir / "skarvine.INI")) << "reading creates nothing";

  WriteSearchSettings(fields);
  EXPECT_EQ(Settings(), "[SearchParms]\r\nMaxhits=0\r\nViewFormat=\r\nAndOr=\r\n");
  EXPECT_EQ(values::CurrentStringStack().Count(), 0u);
}

TEST_F(SearchSettingsTest, ChoicesWrittenClippedReadBackPadded) {
  SearchFields fields;
  ClearSearchFields(fields);
  fields.maximumHits = 100;
  std::memcpy(fields.viewFormat, "tabular", 7);
  std::memcpy(fields.andOr, "OR", 2);
  WriteSearchSettings(fields);
  EXPECT_EQ(Settings(), "[SearchParms]\r\nMaxhits=100\r\nViewFormat=tabular\r\nAndOr=OR\r\n");

  SearchFields read;
  ClearSearchFields(read);
  ReadSearchSettings(read);
  EXPECT_EQ(read.maximumHits, 100);
  EXPECT_EQ(Fixed(read.viewFormat, 20), "tabular" + std::string(13, ' '));
  EXPECT_EQ(Fixed(read.andOr, 20), "OR" + std::string(18, ' '));
}

TEST_F(SearchSettingsTest, OtherSectionsAndKeysAreKeptAndOddValuesReadSafely) {
  WriteSettings("; my archive\r\n[Service]\r\nAddress=https://news.example.org\r\n"
                "[SearchParms]\r\nMaxhits=lots\r\nViewFormat=a-format-name-longer-than-twenty\r\nAndOr=AND\r\nExtra=1\r\n");
  SearchFields fields;
  ClearSearchFields(fields);
  ReadSearchSettings(fields);
  EXPECT_EQ(fields.maximumHits, 0) << "not numeric";
  EXPECT_EQ(Fixed(fields.viewFormat, 20), "a-format-name-longer") << "cut to the variable";
  WriteSearchSettings(fields);
  EXPECT_EQ(Settings(),
            "; my archive\r\n[Service]\r\nAddress=https://news.example.org\r\n"
            "[SearchParms]\r\nMaxhits=0\r\nViewFormat=a-format-name-longer\r\nAndOr=AND\r\nExtra=1\r\n");
}

}  // namespace
}  // namespace vel::app
