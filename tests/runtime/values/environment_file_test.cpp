#include "runtime/values/environment_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/values/char_compare.h"
#include "runtime/values/environment_settings.h"
#include "runtime/values/locale_load.h"
#include "runtime/values/picture_format.h"
#include "runtime/values/date_calendar.h"
#include "runtime/values/time_values.h"
#include "tests/runtime/values/picture_test_support.h"

namespace vel::values {
namespace {

int Weight(unsigned char c) { return g_charTables.weight[c]; }

std::vector<EnvironmentLine> Parse(const std::string& text) {
  return ParseEnvironmentText(text.data(), text.size());
}

TEST(EnvironmentText, LinesKeysAndValues) {
  const auto lines = Parse("A=1\rB=2\nC=3\r\n\r\nno equals here\nD = 4 \t\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].key, "A");
  EXPECT_EQ(lines[2].value, "3");
  EXPECT_EQ(lines[3].key, "D");
  EXPECT_EQ(lines[3].value, "4");
  // Blanks inside a key are ignored; a control character ends it.
  const auto spaced = Parse("VEL MON=x\nVELMON\tjunk=y\n");
  ASSERT_EQ(spaced.size(), 2u);
  EXPECT_EQ(spaced[0].key, "VELMON");
  EXPECT_EQ(spaced[1].key, "VELMON");
  EXPECT_EQ(spaced[1].value, "y");
  // Keys keep 31 characters, values 1024.
  const auto longLine = Parse(std::string(40, 'K') + "=" + std::string(2000, 'v'));
  ASSERT_EQ(longLine.size(), 1u);
  EXPECT_EQ(longLine[0].key.size(), kMaxEnvironmentKey);
  EXPECT_EQ(longLine[0].value.size(), kMaxEnvironmentValue);
  // The end-of-file mark stops reading, even in the middle of a line.
  const auto stopped = Parse("A=1\nB=2\x1A" "C=3\nD=4\n");
  ASSERT_EQ(stopped.size(), 2u);
  EXPECT_EQ(stopped[1].value, "2");
  EXPECT_TRUE(Parse("").empty());
  EXPECT_TRUE(Parse("=value\n").empty());
}

TEST(EnvironmentText, Escapes) {
  const struct {
    const char* raw;
    std::string decoded;
  } cases[] = {
      {"<65><<B", "A<B"},   {"<65", "A"},        {"a<", "a<"},
      {"<x", "<x"},         {"<300>z", "z"},     {"<0>", std::string(1, '\0')},
      {"x<32> ", "x "},     {"<<<<", "<<"},      {"<9999999999999>", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeEnvironmentValue(c.raw, std::strlen(c.raw)), c.decoded) << c.raw;
  }
  // Escapes are decoded after trailing blanks are trimmed, so an escaped blank survives.
  EXPECT_EQ(Parse("K=ab<32>   \n")[0].value, "ab ");
}

TEST(EnvironmentText, ItemsAndQuoting) {
  using Items = std::vector<std::string>;
  EXPECT_EQ(SplitEnvironmentItems("Jan, Feb,,Mar"), (Items{"Jan", "Feb", "Mar"}));
  EXPECT_EQ(SplitEnvironmentItems("\"a,b\" c"), (Items{"a,b", "c"}));
  EXPECT_EQ(SplitEnvironmentItems("\"say \"\"hi\"\"\""), (Items{"say \"hi\""}));
  EXPECT_EQ(SplitEnvironmentItems("\"\",x"), (Items{"", "x"}));
  EXPECT_EQ(SplitEnvironmentItems("\"open"), (Items{"open"}));
  EXPECT_TRUE(SplitEnvironmentItems(" , ").empty());
  EXPECT_EQ(EnvironmentText("\"a, b\""), "a, b");
  EXPECT_EQ(EnvironmentText("\"a\" \"b\""), "\"a\" \"b\"");
  EXPECT_EQ(EnvironmentText("a, b"), "a, b");
}

class EnvironmentSettingsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ResetLocaleSettings(Locale());
    g_charTables = BuiltInCharTables();
  }
  void Apply(const std::string& text) {
    ApplyEnvironmentText(text.data(), text.size(), Locale(), g_charTables);
  }
};

TEST_F(EnvironmentSettingsTest, MonthNamesAbbreviationsAndAmPm) {
  Apply("VELMON=Jan,Feb\nvelmonth=Januar Februar \"Maerz und mehr als zwoelf\"\nVELAMPM=vm,nm\n");
  EXPECT_EQ(Locale().monthAbbreviations[0], "Jan");
  EXPECT_EQ(Locale().monthAbbreviations[2], "Mar");
  EXPECT_EQ(Locale().monthNames[0], "Januar");
  EXPECT_EQ(Locale().monthNames[2], "Maerz und me");
  EXPECT_EQ(Locale().monthNames[3], "April");
  EXPECT_EQ(Locale().amText, "vm");
  Apply("VELMON=Janv,Fevr\n");
  EXPECT_EQ(Locale().monthAbbreviations[1], "Fev");
  // Pictures pick the new texts up.
  EXPECT_EQ(testing::FormatSerial("@D4", 72506), "July          4, 1999");
  EXPECT_EQ(testing::FormatSerial("@D3", DateToSerial(1, 2, 2000)), "JAN  2,2000");
  EXPECT_EQ(testing::FormatSerial("@T3", PartsToTime(14, 5, 0, 0)), " 2:05nm");
  Locale().windowsAmText = "a";
  Apply("VELAMPM=windows\n");
  EXPECT_EQ(Locale().amText, "a");
  // Items beyond twelve are ignored.
  Apply("VELMON=a,b,c,d,e,f,g,h,i,j,k,l,m,n\n");
  EXPECT_EQ(Locale().monthAbbreviations[11], "l");
}

TEST_F(EnvironmentSettingsTest, FlagsButtonsAndMessages) {
  Apply("VELLFN=On\nVELBUTTON=&Ja,&Nein\nVELMSG5=Access denied, really\nVELMSG5=Second, text\n"
        "VELMSG=x\nVELMSGx=y\nVELUNKNOWN=z\nVELMSG7=\"quoted, kept\"\n");
  EXPECT_TRUE(Locale().longFileNames);
  ASSERT_NE(MessageOverride(32512), nullptr);
  EXPECT_STREQ(MessageOverride(32512), "&Ja");
  EXPECT_STREQ(MessageOverride(32513), "&Nein");
  EXPECT_STREQ(MessageOverride(5), "Second, text");
  EXPECT_STREQ(MessageOverride(7), "quoted, kept");
  EXPECT_EQ(MessageOverride(6), nullptr);
  // Newest first, and a replaced number appears once.
  ASSERT_FALSE(Locale().overrides.empty());
  EXPECT_EQ(Locale().overrides.front().number, 7);
  int fives = 0;
  for (const TextOverride& entry : Locale().overrides) fives += entry.number == 5 ? 1 : 0;
  EXPECT_EQ(fives, 1);
  Apply("VELLFN=off\n");
  EXPECT_FALSE(Locale().longFileNames);
}

TEST_F(EnvironmentSettingsTest, OemValuesAreConverted) {
  Apply("VELCHARSET=oem\nVELMONTH=M\x84rz\n");
  EXPECT_TRUE(Locale().oemCharset);
  EXPECT_EQ(Locale().monthNames[0], "M\xE4rz");
  Apply("VELCHARSET=ANSI\nVELMONTH=M\x84rz\n");
  EXPECT_FALSE(Locale().oemCharset);
  EXPECT_EQ(Locale().monthNames[0], "M\x84rz");
}

TEST_F(EnvironmentSettingsTest, CollatingOrders) {
  Apply("VELCOLSEQ=aAbB\n");
  EXPECT_EQ(Weight('a'), 65);
  EXPECT_EQ(Weight('A'), 66);
  EXPECT_EQ(Weight('b'), 97);
  EXPECT_EQ(Weight('B'), 98);
  EXPECT_EQ(Weight('c'), 'c');
  EXPECT_LT(CompareText("aZ", "Ab"), 0);
  // Repeats count once.
  Apply("VELCOLSEQ=baab\n");
  EXPECT_EQ(Weight('b'), 'a');
  EXPECT_EQ(Weight('a'), 'b');
  Apply("VELCOLSEQ=\n");
  EXPECT_EQ(Weight('b'), 'b');

  // A complete order: bytes 32..126 and 128..254, here with the two halves swapped.
  std::string complete;
  for (int b = 128; b <= 254; ++b) complete += static_cast<char>(b);
  for (int b = 32; b <= 126; ++b) complete += static_cast<char>(b);
  ASSERT_EQ(complete.size(), 222u);
  std::string line = "VELCOLSEQ=";
  for (char c : complete) line += c == '<' ? std::string("<<") : std::string(1, c);
  Apply(line + "\n");
  EXPECT_EQ(Weight(128), 32);
  EXPECT_EQ(Weight(222), 126);
  EXPECT_EQ(Weight(223), 128);
  EXPECT_EQ(Weight(254), 159);
  EXPECT_EQ(Weight(32), 160);
  EXPECT_EQ(Weight(126), 254);
  EXPECT_EQ(Weight(10), 10);
}

TEST_F(EnvironmentSettingsTest, CollatingOrderReachesTheOtherCharacterSet) {
  // u-umlaut is 0xFC in ANSI and 0x81 in OEM.
  Apply("VELCOLSEQ=u\xFCv\n");
  EXPECT_EQ(Weight(0xFC), 'v');
  EXPECT_EQ(Weight('v'), 0xFC);
  EXPECT_EQ(g_charTables.oemWeight[0x81], 'v');
  Apply("VELCHARSET=OEM\nVELCOLSEQ=u\x81v\n");
  EXPECT_EQ(g_charTables.oemWeight[0x81], 'v');
  EXPECT_EQ(Weight(0xFC), 'v');
  Apply("VELCOLSEQ=WINDOWS\n");
  EXPECT_LT(Weight('a'), Weight('A'));
  EXPECT_LT(Weight('A'), Weight('b'));
  EXPECT_LT(Weight('9'), Weight('a'));
  EXPECT_LT(Weight('A'), Weight(0xE4));
  EXPECT_LT(Weight(0xE4), Weight('b'));
}

TEST_F(EnvironmentSettingsTest, CaseLists) {
  Apply("VELCASE=\xC4\xD6 \xE4\xF6\n");
  EXPECT_EQ(ToUpperChar(0xE4), 0xC4);
  EXPECT_EQ(ToLowerChar(0xD6), 0xF6);
  EXPECT_EQ(IsAlnumChar(0xE4), 1);
  EXPECT_EQ(ToUpperChar(0xFC), 0xFC);
  EXPECT_EQ(ToUpperChar('a'), 'A');  // the lower half is kept
  // Lists of different lengths take the system's letters instead.
  Apply("VELCASE=\xC4\xD6 \xE4\n");
  EXPECT_EQ(ToUpperChar(0xFC), 0xDC);
  EXPECT_EQ(ToUpperChar(0x9A), 0x8A);
  Apply("VELCASE=\n");
  EXPECT_EQ(ToUpperChar(0xFC), 0xFC);
  Apply("VELCASE=WINDOWS\n");
  EXPECT_EQ(ToLowerChar(0xC0), 0xE0);
  EXPECT_EQ(IsUpperChar(0xD7), 0);  // the multiplication sign is no letter
  // A byte listed twice keeps its first partner, so case conversion still round-trips.
  Apply("VELCASE=\xC4\xC4\xD6 \xE4\xF6\xF6\n");
  EXPECT_EQ(ToUpperChar(0xE4), 0xC4);
  EXPECT_EQ(ToLowerChar(0xC4), 0xE4);
  EXPECT_EQ(ToUpperChar(0xF6), 0xD6);
  EXPECT_EQ(ToLowerChar(0xD6), 0xF6);
  // Bytes below 128 are never paired.
  Apply("VELCASE=A\xC4 b\xE4\n");
  EXPECT_EQ(ToLowerChar('A'), 'a');
  EXPECT_EQ(ToUpperChar(0xE4), 0xC4);
}

TEST_F(EnvironmentSettingsTest, Digraphs) {
  Apply("VELDIGRAPH=\xDFss,\xE6" "ae\xF8oe\n");
  EXPECT_EQ(g_charTables.digraphs[0].character, 0xDF);
  EXPECT_EQ(g_charTables.digraphs[1].first, 'a');
  EXPECT_EQ(g_charTables.digraphs[2].character, 0xF8);
  EXPECT_EQ(g_charTables.digraphs[3].character, 0);
  EXPECT_EQ(g_charTables.oemDigraphs[0].character, 0xE1);
  EXPECT_EQ(CompareText("Stra\xDF" "e", "Strasse"), 0);
  std::string many = "VELDIGRAPH=";
  for (int i = 0; i < 20; ++i) many += std::string(1, static_cast<char>(0xC0 + i)) + "xy,";
  Apply(many + "\n");
  EXPECT_EQ(g_charTables.digraphs[15].character, 0xCF);
  Apply("VELDIGRAPH=\n");
  EXPECT_FALSE(DigraphsInUse());
}

TEST_F(EnvironmentSettingsTest, LoadFromFile) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  const std::filesystem::path file = dir / ("velmora_env_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".ENV");
  {
    std::ofstream out(file, std::ios::binary);
    out << "VELMON=Jnr\r\nVELAMPM=v,n\r\n";
  }
  IntlSettings intl;
  intl.sShortDate = "dd.MM.yyyy";
  EXPECT_EQ(LoadLocaleSettingsFrom(intl, file.string()), LocaleLoadResult::Loaded);
  EXPECT_EQ(Locale().monthAbbreviations[0], "Jnr");
  EXPECT_EQ(Locale().pmText, "n");
  EXPECT_EQ(testing::FormatSerial("@D17", 72506), "04.07.1999");
  std::filesystem::remove(file);
  EXPECT_EQ(LoadLocaleSettingsFrom(IntlSettings{}, file.string()), LocaleLoadResult::NoEnvironmentFile);
  EXPECT_EQ(LoadLocaleSettingsFrom(IntlSettings{}, ""), LocaleLoadResult::NoEnvironmentFile);
  EXPECT_EQ(EnvironmentFilePath().substr(EnvironmentFilePath().size() - 4), ".ENV");
}

}  // namespace
}  // namespace vel::values
