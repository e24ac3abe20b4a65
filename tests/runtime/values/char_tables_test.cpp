#include "runtime/values/char_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/values/char_codepage.h"
#include "runtime/values/char_compare.h"
#include "runtime/values/char_table_rules.h"
#include "runtime/values/string_stack.h"

namespace vel::values {
namespace {

// Each test that adjusts the program's tables restores the built-in ones afterwards.
class CharTablesTest : public ::testing::Test {
 protected:
  void TearDown() override { g_charTables = BuiltInCharTables(); }

  static void SetDigraph(int index, uint8_t c, uint8_t first, uint8_t second) {
    g_charTables.digraphs[index] = DigraphEntry{c, first, second};
  }
};

TEST_F(CharTablesTest, BuiltInClassificationAndCase) {
  EXPECT_EQ(ToUpperChar('a'), 'A');
  EXPECT_EQ(ToUpperChar('A'), 'A');
  EXPECT_EQ(ToLowerChar('Z'), 'z');
  EXPECT_EQ(ToLowerChar('5'), '5');
  for (int b = 128; b < 256; ++b) {
    EXPECT_EQ(ToUpperChar(static_cast<uint8_t>(b)), b);
    EXPECT_EQ(IsAlnumChar(static_cast<uint8_t>(b)), 0);
  }
  EXPECT_EQ(IsAlnumChar('_'), 0);
  EXPECT_EQ(IsAlnumChar('7'), 1);
  EXPECT_EQ(IsAlnumChar('q'), 1);
  EXPECT_EQ(IsUpperChar('Q'), 1);
  EXPECT_EQ(IsUpperChar('q'), 0);
  EXPECT_EQ(HasOtherCase('q'), 1);
  EXPECT_EQ(HasOtherCase('1'), 0);
  EXPECT_EQ(CompareChars('b', 'a'), 1);
}

TEST_F(CharTablesTest, ConversionFollowsClassFlagsNotJustOtherCase) {
  // An other-case entry without the source-case flag must not convert.
  g_charTables.otherCase[0xE9] = 0xC9;
  EXPECT_EQ(ToUpperChar(0xE9), 0xE9);
  g_charTables.classFlags[0xE9] = kLowerLetterFlag;
  EXPECT_EQ(ToUpperChar(0xE9), 0xC9);
  EXPECT_EQ(ToLowerChar(0xE9), 0xE9);
  // A letter flag without a counterpart leaves the byte as it is.
  g_charTables.classFlags[0xDF] = kLowerLetterFlag;
  EXPECT_EQ(ToUpperChar(0xDF), 0xDF);
}

TEST_F(CharTablesTest, TextComparisons) {
  EXPECT_EQ(CompareTextNoCase("abc", "ABC"), 0);
  EXPECT_EQ(CompareText("abc", "ABC"), 32);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_GT(CompareText("abc", "ab"), 0);
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_LT(CompareTextNoCase("apple", "Banana"), 0);
  EXPECT_GT(CompareText("apple", "Banana"), 0);
  // Collating weights, not byte codes, decide.
  g_charTables.weight[static_cast<uint8_t>('a')] = 'B';
  g_charTables.weight[static_cast<uint8_t>('B')] = 'a';
  EXPECT_LT(CompareText("a", "B"), 0);
}

TEST_F(CharTablesTest, CompareBytesNoCaseCountsZeroBytes) {
  EXPECT_EQ(CompareBytesNoCase("ab\0x", "AB\0y", 3), 0);
  EXPECT_LT(CompareBytesNoCase("ab\0x", "AB\0y", 4), 0);
  EXPECT_EQ(CompareBytesNoCase("abc", "xyz", 0), 0);
  EXPECT_EQ(CompareBytesNoCase("JAN", "jan", 3), 0);
  EXPECT_GT(CompareBytesNoCase("Feb", "Dec", 3), 0);
}

TEST_F(CharTablesTest, DigraphsSortAsTheirTwoLetters) {
  SetDigraph(0, 0xDF, 's', 's');  // sharp s sorts as "ss"
  ASSERT_TRUE(DigraphsInUse());
  EXPECT_EQ(CompareText("Stra\xDF" "e", "Strasse"), 0);
  EXPECT_LT(CompareText("Stra\xDF" "e", "Strast"), 0);
  EXPECT_GT(CompareText("Stra\xDF" "e", "Strasb"), 0);
  EXPECT_EQ(CompareTextNoCase("STRA\xDF" "E", "strasse"), 0);
  // A text ending inside the other one's expansion sorts first.
  EXPECT_LT(CompareText("s", "\xDF"), 0);
  // Counted comparison: the end of only one run decides by -1 or 1.
  EXPECT_EQ(CompareBytesNoCase("\xDF", "SS", 1), 1);
  EXPECT_EQ(CompareBytesNoCase("SS", "\xDF", 1), -1);
  EXPECT_EQ(CompareBytesNoCase("\xDF" "a", "ss", 2), 1);
  EXPECT_EQ(CompareBytesNoCase("x\xDF", "XSS", 2), 1);
}

TEST_F(CharTablesTest, DigraphReaderLimitsAndPending) {
  SetDigraph(0, 'x', 'k', 's');
  const uint8_t text[] = {'a', 'x', 0, 'b'};
  DigraphReader reader(text, 4, g_charTables.digraphs, true);
  uint8_t c = 0;
  ASSERT_TRUE(reader.Next(c));
  EXPECT_EQ(c, 'a');
  ASSERT_TRUE(reader.Next(c));
  EXPECT_EQ(c, 'k');
  ASSERT_TRUE(reader.Next(c));
  EXPECT_EQ(c, 's');
  EXPECT_FALSE(reader.Next(c));
  DigraphReader counted(text, 4, g_charTables.digraphs, false);
  int delivered = 0;
  while (counted.Next(c)) ++delivered;
  EXPECT_EQ(delivered, 5);
}

TEST_F(CharTablesTest, LowerTextCounts) {
  char text[] = "ABC\0DEF";
  LowerText(text, kUpToTerminator);
  EXPECT_EQ(std::memcmp(text, "abc\0DEF", 8), 0);
  char counted[] = "AB\0CD";
  LowerText(counted, 3);
  EXPECT_EQ(std::memcmp(counted, "ab\0CD", 6), 0);
  char upper[] = "mixed Case 9";
  UpperRun(upper, std::strlen(upper));
  EXPECT_STREQ(upper, "MIXED CASE 9");
}

TEST_F(CharTablesTest, StringStackComparesThroughTheTables) {
  InstallCharacterTables();
  auto compare = [](const char* second, const char* top) {
    PushCString(second);
    PushCString(top);
    return CompareFull();
  };
  EXPECT_EQ(compare("abc", "abc   "), 0);
  EXPECT_EQ(compare("ab", "abc"), ' ' - 'c');
  g_charTables.weight[static_cast<uint8_t>('a')] = 'B';
  g_charTables.weight[static_cast<uint8_t>('B')] = 'a';
  EXPECT_LT(compare("a", "B"), 0);
  g_charTables = BuiltInCharTables();
  SetDigraph(0, 0xDF, 's', 's');
  EXPECT_LT(compare("Stra\xDF" "e", "Strast"), 0);
  EXPECT_GT(compare("Stra\xDF" "e", "Strasb"), 0);
  // Upper-casing the top follows the class flags and other-case table.
  g_charTables.classFlags[0xE9] = kLowerLetterFlag;
  g_charTables.otherCase[0xE9] = 0xC9;
  PushCString("caf\xE9");
  UpperTop();
  const StringView top = TopView();
  EXPECT_EQ(std::string(top.data, top.length), "CAF\xC9");
  DropTop();
  InstallCharacterRules(nullptr);
}

TEST(CodePages, KnownCharactersAndRoundTrips) {
  EXPECT_EQ(OemToAnsiChar(0x81), 0xFC);  // u with diaeresis
  EXPECT_EQ(AnsiToOemChar(0xFC), 0x81);
  EXPECT_EQ(OemToAnsiChar(0xE1), 0xDF);  // sharp s
  EXPECT_EQ(OemToAnsiChar(0xC4), '-');   // box drawing falls back to a look-alike
  EXPECT_EQ(OemToAnsiChar('A'), 'A');
  // Every ANSI character that exists in OEM converts back to itself.
  for (int b = 128; b < 256; ++b) {
    const uint8_t oem = AnsiToOemChar(static_cast<uint8_t>(b));
    if (oem >= 128) {
      EXPECT_EQ(OemToAnsiChar(oem), b) << b;
    }
  }
  char text[] = "\x84pfel";
  OemToAnsiText(text, 5);
  EXPECT_STREQ(text, "\xE4pfel");
  AnsiToOemText(text, 5);
  EXPECT_STREQ(text, "\x84pfel");
}

}  // namespace
}  // namespace vel::values
