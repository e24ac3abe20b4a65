#include "runtime/values/string_compare.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/values/character_rules.h"
#include "runtime/values/string_stack.h"
#include "string_stack_fixture.h"

namespace vel::values::testing {
namespace {

int Compare(const std::string& a, const std::string& b) {
  return CompareStrings(a.data(), static_cast<std::uint32_t>(a.size()), b.data(),
                        static_cast<std::uint32_t>(b.size()));
}

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(CompareStrings, ShorterValuesReadAsBlankPadded) {
  EXPECT_EQ(Compare("abc", "abc  "), 0);
  EXPECT_EQ(Compare("", "   "), 0);
  EXPECT_LT(Compare("ab", "ab!"), 0);        // blank (32) before "!" (33)
  EXPECT_GT(Compare("ab", "ab\x1f"), 0);     // but after a control byte
  EXPECT_LT(Compare("abc", "abd"), 0);
  EXPECT_GT(Compare("b", "abc"), 0);
  EXPECT_GT(Compare("\xe9", "z"), 0);        // bytes weigh as unsigned codes
  EXPECT_EQ(Compare(std::string("a\0", 2), "a"), -32);
  EXPECT_EQ(CompareStrings(nullptr, 5, "  ", 2), 0);
}

TEST(CompareStrings, PrefixComparesOnlyTheShorterLength) {
  EXPECT_EQ(ComparePrefixStrings("ab", 2, "abc", 3), 0);
  EXPECT_EQ(ComparePrefixStrings("abz", 3, "ab", 2), 0);
  EXPECT_LT(ComparePrefixStrings("aa", 2, "abc", 3), 0);
  EXPECT_EQ(ComparePrefixStrings("", 0, "abc", 3), 0);
}

// Letters weigh the same in either case, as a case-blind collating table would have them.
class CaseBlindWeights : public CharacterRules {
 public:
  int Weight(unsigned char byte) const override { return CharacterRules::Upper(byte); }
};

// Reverses the order of all bytes.
class ReversedWeights : public CharacterRules {
 public:
  int Weight(unsigned char byte) const override { return 255 - byte; }
};

// "ss" for sharp s (0xdf), as a German digraph table would have it.
class SharpSDigraph : public CharacterRules {
 public:
  bool HasDigraphs() const override { return true; }
  bool ExpandDigraph(unsigned char byte, unsigned char& first,
                     unsigned char& second) const override {
    if (byte != 0xdf) return false;
    first = 's';
    second = 's';
    return true;
  }
};

class InstalledRules : public ::testing::Test {
 protected:
  void TearDown() override { InstallCharacterRules(nullptr); }
};

TEST_F(InstalledRules, WeightsComeFromTheInstalledTable) {
  ReversedWeights reversed;
  InstallCharacterRules(&reversed);
  EXPECT_GT(Compare("abc", "abd"), 0);
  EXPECT_EQ(Compare("abc", "abc   "), 0);
  InstallCharacterRules(nullptr);
  EXPECT_LT(Compare("abc", "abd"), 0);
}

TEST_F(InstalledRules, BytesOfEqualWeightDoNotEndTheComparison) {
  CaseBlindWeights caseBlind;
  InstallCharacterRules(&caseBlind);
  EXPECT_EQ(Compare("Abc", "aBC"), 0);
  // Stopping at the equal-weight pair a/A would call these equal.
  EXPECT_GT(Compare("aX", "Ab"), 0);
  EXPECT_LT(Compare("ab", "AX"), 0);
}

TEST_F(InstalledRules, DigraphsCompareAsTheirReplacementCharacters) {
  SharpSDigraph digraphs;
  InstallCharacterRules(&digraphs);
  // Equal as sequences: the stored bytes at the first difference decide (0xdf after "s").
  EXPECT_GT(Compare("stra\xdf" "e", "strasse"), 0);
  EXPECT_LT(Compare("strasse", "stra\xdf" "e"), 0);
  EXPECT_LT(Compare("stra\xdf" "e", "strasze"), 0);  // "sse" against "sze"
  EXPECT_GT(Compare("stra\xdf" "e", "strasa"), 0);   // "sse" against "sa"
  EXPECT_GT(Compare("\xdf" "a", "ss"), 0);           // "ssa" against "ss" and a blank
  EXPECT_LT(Compare("\xdf", "ss!"), 0);              // an exhausted sequence reads blanks
  EXPECT_EQ(Compare("same\xdf", "same\xdf  "), 0);
}

using StackComparison = StringStackTest;

TEST_F(StackComparison, SignOrdersSecondAgainstTopAndPopsBoth) {
  PushString("apple", 5);
  PushString("banana", 6);
  EXPECT_LT(CompareFull(), 0);
  PushString("banana", 6);
  PushString("apple", 5);
  EXPECT_GT(CompareFull(), 0);
  PushString("abc  ", 5);
  PushString("abc", 3);
  EXPECT_EQ(CompareFull(), 0);
  PushString("abcdef", 6);
  PushString("abc", 3);
  EXPECT_EQ(ComparePrefix(), 0);
  PushString("abd", 3);
  PushString("abcdef", 6);
  EXPECT_EQ(Sign(ComparePrefix()), 1);
  EXPECT_EQ(Stack().Count(), 0u);
}

}  // namespace
}  // namespace vel::values::testing
