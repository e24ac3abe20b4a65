#include "runtime/values/evaluate_expression.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "reference_test_fixture.h"
#include "runtime/values/char_tables.h"
#include "runtime/values/date_calendar.h"
#include "runtime/values/reference_factory.h"
#include "runtime/values/string_stack.h"

namespace vel::values {
namespace {

using testing::PopText;
using testing::ReferenceTest;

class EvaluateTest : public ReferenceTest {
 protected:
  /// The result text, or "error N" for a failed expression.
  static std::string Eval(const std::string& text) {
    EvaluationResult result = EvaluateText(text);
    if (result.errorCode != 0) return "error " + std::to_string(result.errorCode);
    return ResultText(result);
  }

  void Bind(const char* name, ValueReference& reference) {
    PushCString(name);
    BindName(reference);
  }

  struct Case {
    const char* expression;
    const char* result;
  };

  void Check(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(Eval(c.expression), c.result) << c.expression;
  }
};

TEST_F(EvaluateTest, ArithmeticIsExactDecimal) {
  Check({
      {"1/3", "0.3333333333333333333333333333333"},
      {"0.1 + 0.2", "0.3"},
      {"1 + 2 * 3", "7"},
      {"(1 + 2) * 3", "9"},
      {"10 - 4 - 3", "3"},
      {"2 ^ 10", "1024"},
      {"2 ^ 3 ^ 2", "512"},
      {"-2 ^ 2", "-4"},
      {"2 ^ -2", "0.25"},
      {"4 ^ 0.5", "2"},
      {"7 % 3", "1"},
      {"-7 % 3", "-1"},
      {"7.5 % 2", "1.5"},
      {"1 / 0", "0"},
      {"5 % 0", "0"},
      {"12345678901234567890 * 10", "123456789012345678900"},
      {"'3' + 4", "7"},
      {"-(-0)", "0"},
  });
}

TEST_F(EvaluateTest, StringsComparisonsAndLogic) {
  Check({
      {"'it''s'", "it's"},
      {"'ab' & 'cd' & 1 + 1", "abcd2"},
      {"'abc' = 'abc   '", "1"},
      {"'abc' < 'abd'", "1"},
      {"10 > '9'", "1"},
      {"'10' > '9'", "0"},
      {"2 = 2.0", "1"},
      {"1 <> 2", "1"},
      {"3 <= 3 AND 4 >= 5", "0"},
      {"0 OR 'x'", "1"},
      {"1 XOR 1", "0"},
      {"NOT 0", "1"},
      {"NOT ' '", "1"},
      {"0 AND 1/0 > 1", "0"},
  });
}

TEST_F(EvaluateTest, StringFunctions) {
  Check({
      {"CLIP('ab  ') & '|'", "ab|"},
      {"LEFT('  ab', 5) & '|'", "ab   |"},
      {"LEFT('  ab') & '|'", "ab  |"},
      {"RIGHT('ab  ', 5)", "   ab"},
      {"RIGHT('abcdef', 3)", "def"},
      {"CENTER('ab', 6) & '|'", "  ab  |"},
      {"SUB('abcdef', 2, 3)", "bcd"},
      {"SUB('abcdef', -2, 5)", "ef"},
      {"SUB('abc', 5, 1) & '|'", "|"},
      {"UPPER('MixEd')", "MIXED"},
      {"LOWER('MixEd')", "mixed"},
      {"LEN('abc  ')", "5"},
      {"LEN(12.5)", "4"},
      {"INSTRING('c', 'abcabc')", "3"},
      {"INSTRING('c', 'abcabc', 1, 4)", "6"},
      {"INSTRING('ab', 'xxabxxab', 2)", "2"},
      {"INSTRING('z', 'abc')", "0"},
      {"INSTRING('b', 'abc', 1, 9223372036854775807)", "0"},
      {"INSTRING('b', 'abcabc', 9223372036854775807)", "0"},
      {"INSTRING('b', 'abcabc', 4611686018427387904, 2)", "1"},
      {"INLIST('b', 'a', 'b', 'c')", "2"},
      {"INLIST(2, 1, '2.0')", "2"},
      {"INLIST('q', 'a')", "0"},
      {"CHOOSE(2, 'x', 'y', 'z')", "y"},
      {"CHOOSE(9, 'x', 'y', 'z')", "z"},
      {"INRANGE(5, 1, 10)", "1"},
      {"INRANGE('m', 'a', 'f')", "0"},
      {"NUMERIC(' -12.5 ')", "1"},
      {"NUMERIC('12a')", "0"},
      {"NUMERIC('.')", "0"},
      {"NUMERIC(3)", "1"},
      {"VAL('A')", "65"},
      {"VAL('')", "0"},
      {"CHR(66)", "B"},
      {"ALL('ab', 5)", "ababa"},
      {"LEN(ALL('-'))", "255"},
  });
}

TEST_F(EvaluateTest, NumberFunctions) {
  Check({
      {"INT(-3.7)", "-3"},
      {"INT(3.7)", "3"},
      {"ROUND(2.345, .01)", "2.35"},
      {"ROUND(-2.5, 1)", "-3"},
      {"ROUND(1234, 100)", "1200"},
      {"ABS(-4.5)", "4.5"},
      {"SQRT(16)", "4"},
      {"SQRT(2)", "1.4142135623731"},
      {"LOGE(1)", "0"},
      {"LOG10(1000)", "3"},
      {"ROUND(SIN(0) + COS(0) + TAN(0), 1)", "1"},
      {"ROUND(ASIN(1) * 2, .0001)", "3.1416"},
      {"ACOS(1)", "0"},
      {"ROUND(ATAN(1) * 4, .001)", "3.142"},
      {"BAND(12, 10)", "8"},
      {"BOR(12, 3)", "15"},
      {"BXOR(12, 10)", "6"},
      {"BSHIFT(1, 4)", "16"},
      {"BSHIFT(256, -4)", "16"},
      {"BSHIFT(1, 40)", "0"},
      {"BAND(-1, 255)", "255"},
  });
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(Eval("INRANGE(RANDOM(3, 5), 3, 5)"), "1");
    EXPECT_EQ(Eval("INRANGE(RANDOM(5, 3), 3, 5)"), "1");
  }
}

TEST_F(EvaluateTest, DateAndPictureFunctions) {
  Check({
      {"DATE(1, 1, 1801)", "4"},
      {"DATE(4, 31, 2023) = DATE(5, 1, 2023)", "1"},
      {"DAY(DATE(2, 29, 2024))", "29"},
      {"MONTH(DATE(12, 25, 2020))", "12"},
      {"YEAR(DATE(12, 25, 2020))", "2020"},
      {"DATE(13, 40, 1700)", "0"},
      {"DATE(1, 365, 1999)", "72686"},
      {"DATE(1, 100, 2001)", "73152"},
      {"DATE(1, 60, 1999)", "72381"},
      {"DATE(2, 30, 1999) = DATE(3, 2, 1999)", "1"},
      {"DATE(2, 29, 1999)", "0"},
      {"DAY(0)", "0"},
      {"AGE(DATE(1, 1, 2000), DATE(1, 20, 2000))", "19 DAYS"},
      {"AGE(DATE(1, 1, 2000), DATE(6, 15, 2001))", "17 MOS"},
      {"AGE(DATE(5, 1, 1990), DATE(4, 30, 2020))", "29 YRS"},
      {"FORMAT(1234.5, '@N10.2')", "  1,234.50"},
      {"FORMAT(-5, '@N6')", "    -5"},
      {"FORMAT('abc', '@S5') & '|'", "abc  |"},
      {"FORMAT(DATE(12, 25, 2020), '@D2')", "12/25/2020"},
      {"DEFORMAT('12/25/2020', '@D2') = DATE(12, 25, 2020)", "1"},
      {"DEFORMAT('  1,234.50', '@N10.2') + 0", "1234.5"},
  });
  EXPECT_EQ(Eval("TODAY()"), std::to_string(Today()));
  EXPECT_EQ(Eval("TODAY = TODAY()"), "1");
  EXPECT_EQ(Eval("INRANGE(CLOCK(), 1, 8640000)"), "1");
  EXPECT_EQ(Eval("DATE(7, 4, 1999)"), "72506");
}

// A bad picture gives what the runtime's own formatting gives: an empty text, no error.
TEST_F(EvaluateTest, InvalidPicturesGiveAnEmptyResultWithoutAnError) {
  Check({
      {"'[' & FORMAT(1, '@S0') & ']'", "[]"},
      {"'[' & FORMAT(12, '@X5') & ']'", "[]"},
      {"'[' & FORMAT(DATE(1, 1, 2000), '@D99') & ']'", "[]"},
      {"'[' & FORMAT('abc', '') & ']'", "[]"},
      {"'[' & DEFORMAT('12', '@S0') & ']'", "[]"},
      {"'[' & DEFORMAT('1/1/2000', '@Q') & ']'", "[]"},
      {"DEFORMAT('1,234', '@N0') + 0", "0"},
      {"LEN(FORMAT(5, '@S256'))", "0"},
  });
  PushCString("FORMAT(1, '@S0')");
  Evaluate();
  EXPECT_EQ(PopText(), "");
  EXPECT_TRUE(Sink().errorState.empty());
}

TEST_F(EvaluateTest, LowerAndNamesFollowTheCharacterTables) {
  // Make 0xC9 and 0xE9 an upper- and lower-case pair of letters, as an environment file may.
  g_charTables.classFlags[0xC9] = kUpperLetterFlag;
  g_charTables.classFlags[0xE9] = kLowerLetterFlag;
  g_charTables.otherCase[0xC9] = 0xE9;
  g_charTables.otherCase[0xE9] = 0xC9;
  std::int32_t count = 7;
  auto countReference = CreateReference(6, &count, 0, 0, false);
  Bind("Caf\xE9", *countReference);
  Check({
      {"LOWER('CAF\xC9')", "caf\xE9"},
      {"CAF\xC9 + 1", "8"},
      {"caf\xE9 * 2", "14"},
  });
  g_charTables = BuiltInCharTables();
  // With the built-in tables the byte is no letter and no longer part of a name.
  Check({{"LOWER('CAF\xC9')", "caf\xC9"}, {"CAF\xC9 + 1", "error 800"}});
}

TEST_F(EvaluateTest, GetIniReadsInitialisationFiles) {
  std::string path = ::testing::TempDir() + "vel_evaluate_getini.ini";
  std::ofstream(path) << "[SearchParms]\r\nMaxhits=50\r\nViewFormat=list\r\n";
  std::string file = ", '" + path + "')";
  Check({
      {("GETINI('SearchParms', 'maxhits', '25'" + file).c_str(), "50"},
      {("GETINI('searchparms', 'ViewFormat', ''" + file).c_str(), "list"},
      {("GETINI('SearchParms', 'AndOr', 'AND'" + file).c_str(), "AND"},
      {("GETINI('Other', 'Maxhits', 7" + file).c_str(), "7"},
      {"GETINI('a')", "error 800"},
  });
  std::remove(path.c_str());
}

TEST_F(EvaluateTest, MemoryReportsAvailableAndTotalMemory) {
  Check({{"MEMORY(0) > 0", "1"}, {"MEMORY(1) >= MEMORY(0)", "1"}, {"MEMORY()", "error 800"}});
}

TEST_F(EvaluateTest, BoundVariablesAreReadByNameInAnyCase) {
  std::int32_t count = 41;
  double rate = 0.5;
  char name[8] = {'S', 'm', 'i', 't', 'h', ' ', ' ', ' '};
  unsigned char balance[4] = {};
  auto countReference = CreateReference(6, &count, 0, 0, false);
  auto rateReference = CreateReference(9, &rate, 0, 0, false);
  auto nameReference = CreateReference(18, name, 8, 0, false);
  auto balanceReference = CreateReference(10, balance, 4, 2, false);
  balanceReference->SetReal(-12.25);
  Bind("Count", *countReference);
  Bind("Rate", *rateReference);
  Bind("Cus:Name", *nameReference);
  Bind("Balance", *balanceReference);
  Check({
      {"COUNT + 1", "42"},
      {"count * rate", "20.5"},
      {"CLIP(cus:name) & '!'", "Smith!"},
      {"LEN(Cus:Name)", "8"},
      {"balance", "-12.25"},
      {"Balance < 0 AND Count > 40", "1"},
      // An Int32 against a string meets as decimals, so '9' is less than 41.
      {"Count > '9'", "1"},
      {"missing + 1", "error 801"},
  });

  // A binding under a function's name hides the function.
  Bind("len", *countReference);
  Check({{"len", "41"}, {"LEN('abc')", "error 800"}});
}

TEST_F(EvaluateTest, InvalidExpressionsAreRefusedWithTheirCode) {
  Check({
      {"", "error 800"},
      {"1 +", "error 800"},
      {"NOSUCH(1)", "error 800"},
      {"SUB('a', 1)", "error 800"},
      {"CLIP('a', 'b')", "error 800"},
      {"INLIST('a')", "error 800"},
      {"CLIP()", "error 800"},
      {"TODAY(1)", "error 800"},
      {"SQRT(-1)", "error 800"},
      {"LOGE(0)", "error 800"},
      {"ASIN(2)", "error 800"},
      {"(-8) ^ 0.5", "error 800"},
      {"INSTRING('a', 'abc', 0)", "error 800"},
      {"AGE(DATE(1, 1, 2020), DATE(1, 1, 2000))", "error 800"},
      {"ALL('x', 70000)", "error 800"},
      {"ALL('x', 40000) & ALL('y', 40000)", "error 800"},
      {"123456789012345678901234567890123 + 1", "error 800"},
      {"0.000000000000000000000000000000001", "error 800"},
      {"x", "error 801"},
  });
}

TEST_F(EvaluateTest, EvaluateUsesTheStringStackAndTheErrorState) {
  PushCString("UPPER('ok') & 1/4");
  Evaluate();
  EXPECT_EQ(PopText(), "OK0.25");
  EXPECT_TRUE(Sink().errorState.empty());

  PushCString("1 +");
  Evaluate();
  EXPECT_EQ(PopText(), "");
  PushCString("nobody");
  Evaluate();
  EXPECT_EQ(PopText(), "");
  EXPECT_EQ(Sink().errorState, (std::vector<int>{800, 801}));
  EXPECT_EQ(Stack().Count(), 0u);
}

}  // namespace
}  // namespace vel::values
