#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/values/character_rules.h"
#include "runtime/values/string_stack.h"
#include "string_stack_fixture.h"

namespace vel::values::testing {
namespace {

using Concatenation = StringStackTest;

TEST_F(Concatenation, AppendAndPrependKeepTheirOrder) {
  PushString("head", 4);
  PushString("tail", 4);
  ConcatAppend();
  EXPECT_EQ(TopText(), "headtail");
  EXPECT_EQ(TopKind(), kOwnedString);
  PushLong(42);  // an inline operand
  ConcatPrepend();
  EXPECT_EQ(PopText(), "42headtail");
  EXPECT_EQ(Stack().Count(), 0u);
}

TEST_F(Concatenation, TwoEmptyValuesGiveTheEmptyValueWithNoData) {
  PushEmpty();
  PushString("   ", 3);
  ClipTop();
  ConcatAppend();
  EXPECT_EQ(TopLength(), 0u);
  EXPECT_EQ(TopView().data, nullptr);
  EXPECT_EQ(TopKind(), kReferenceString);
}

TEST_F(Concatenation, PiecesAppendedOneByOneBuildTheWholeValue) {
  // Many short and a few long pieces: the owned value grows past its room several times, and
  // every byte written before a growth must survive it.
  std::string expected;
  PushString("start", 5);
  PushString("-", 1);
  ConcatAppend();
  expected = "start-";
  for (int i = 0; i < 300; ++i) {
    const std::string piece = i % 50 == 49 ? std::string(1000 + i, static_cast<char>('a' + i % 26))
                                           : std::to_string(i * 7919);
    PushBytes(piece.data(), static_cast<std::uint32_t>(piece.size()));
    ConcatAppend();
    expected += piece;
    ASSERT_EQ(TopLength(), expected.size());
  }
  EXPECT_EQ(TopKind(), kOwnedString);
  // An owned block handed out and given back keeps appending.
  OwnedString owned;
  PopToOwned(owned);
  ASSERT_EQ(std::string(owned.data, owned.length), expected);
  PushOwnedString(owned.data, owned.length);
  PushString("end", 3);
  ConcatAppend();
  EXPECT_EQ(PopText(), expected + "end");
  EXPECT_EQ(Stack().Count(), 0u);
}

TEST_F(Concatenation, AppendingAPieceOfTheValueItselfReadsItBeforeTheBlockMoves) {
  PushBytes("0123456789012345678901234567890123456789", 40);  // owned, no room to spare
  const StringView own = TopView();
  PushString(own.data + 10, 30);  // a reference into the block that is about to grow
  ConcatAppend();
  EXPECT_EQ(PopText(), "0123456789012345678901234567890123456789" "012345678901234567890123456789");
}

TEST_F(Concatenation, AnOwnedValueKeepsItsPlaceAndRoomThroughRollsAndEmptyPieces) {
  PushBytes("abcdefghijklmnopqrstuvwxyz", 26);
  PushString("12", 2);
  ConcatAppend();
  PushEmpty();
  ConcatAppend();  // nothing to add: the value stays as it is
  PushString("xyz", 3);
  RollUp(1);  // the owned value back on top, "xyz" below it
  PushString("!", 1);
  ConcatAppend();
  EXPECT_EQ(PopText(), "abcdefghijklmnopqrstuvwxyz12!");
  EXPECT_EQ(PopText(), "xyz");
  // An owned block of no bytes still concatenates to the empty value with no data.
  PushOwnedString(AllocateStringBlock(0), 0);
  PushEmpty();
  ConcatAppend();
  EXPECT_EQ(TopView().data, nullptr);
  EXPECT_EQ(TopKind(), kReferenceString);
  DropTop();
}

TEST_F(Concatenation, QueryAddressFollowsTheGeneratedCallingPattern) {
  char search[20], op[20], format[20], author[20];
  std::memcpy(search, "foo bar             ", 20);
  std::memcpy(op, "AND                 ", 20);
  std::memcpy(format, "list                ", 20);
  std::memset(author, ' ', 20);
  const short maxHits = 50;
  auto appendLiteral = [](const char* text) {
    PushString(text, static_cast<std::uint32_t>(std::strlen(text)));
    ConcatAppend();
  };
  auto appendVariable = [](const char* variable) {
    PushString(variable, 20);
    ClipTop();
    ConcatAppend();
  };
  PushString(search, 20);
  ClipTop();
  PushString("http://archive.invalid/skquery.xp?QRY=", 38);
  ConcatPrepend();
  appendLiteral("&DBS=1&ST=PS&defaultOp=");
  appendVariable(op);
  appendLiteral("&LNG=ALL&format=");
  appendVariable(format);
  appendLiteral("&showsort=score&maxhits=");
  PushLong(maxHits);
  ConcatAppend();
  appendLiteral("&subjects=&groups=comp.lang.velmora&authors=");
  appendVariable(author);
  appendLiteral("&fromdate=&todate=");
  char address[512];
  PopToFixed(address, 512);
  const std::string expected =
      "http://archive.invalid/skquery.xp?QRY=foo bar&DBS=1&ST=PS&defaultOp=AND&LNG=ALL"
      "&format=list&showsort=score&maxhits=50&subjects=&groups=comp.lang.velmora&authors="
      "&fromdate=&todate=";
  EXPECT_EQ(std::string(address, expected.size()), expected);
  EXPECT_EQ(std::string(address + expected.size(), 512 - expected.size()),
            std::string(512 - expected.size(), ' '));
  EXPECT_EQ(Stack().Count(), 0u);
}

using Reordering = StringStackTest;

TEST_F(Reordering, RollUpBringsADeeperValueToTheTopKeepingTheOrder) {
  PushString("A", 1);
  PushString("B", 1);
  PushString("C", 1);
  RollUp(1);
  EXPECT_EQ(PopText(), "B");
  EXPECT_EQ(PopText(), "C");
  EXPECT_EQ(PopText(), "A");

  // Inline values keep their text when their slots move.
  PushLong(1);
  PushLong(22);
  PushLong(333);
  PushLong(4444);
  RollUp(3);
  RollUp(0);
  EXPECT_EQ(PopText(), "1");
  EXPECT_EQ(PopText(), "4444");
  EXPECT_EQ(PopText(), "333");
  EXPECT_EQ(PopText(), "22");
}

using InPlace = StringStackTest;

TEST_F(InPlace, DetachCopiesShortValuesInlineAndLongOnesToTheHeap) {
  char variable[21];
  std::memcpy(variable, "twenty bytes exactly!", 21);
  PushString(variable, 20);
  DetachTop();
  EXPECT_EQ(TopKind(), kInlineString);
  PushString(variable, 21);
  DetachTop();
  EXPECT_EQ(TopKind(), kOwnedString);
  DetachTop();  // already independent: unchanged
  EXPECT_EQ(TopKind(), kOwnedString);
  std::memset(variable, '-', sizeof variable);
  EXPECT_EQ(PopText(), "twenty bytes exactly!");
  EXPECT_EQ(PopText(), "twenty bytes exactly");
}

TEST_F(InPlace, FitTopCutsOrPadsToTheWidth) {
  PushString("abcdef", 6);
  FitTop(3);
  EXPECT_EQ(TopText(), "abc");
  FitTop(3);
  EXPECT_EQ(TopText(), "abc");
  FitTop(7);
  EXPECT_EQ(TopKind(), kOwnedString);
  EXPECT_EQ(PopText(), "abc    ");
  PushEmpty();
  FitTop(2);
  EXPECT_EQ(PopText(), "  ");
}

// Upper case through whatever case table is installed, here one that also maps e-acute.
class AccentUpper : public CharacterRules {
 public:
  unsigned char Upper(unsigned char byte) const override {
    return byte == 0xe9 ? 0xc9 : CharacterRules::Upper(byte);
  }
};

TEST_F(InPlace, UpperTopConvertsACopyAndLeavesTheVariableAlone) {
  char variable[6];
  std::memcpy(variable, "ab\xe9z1", 5);
  PushString(variable, 5);
  UpperTop();
  EXPECT_EQ(TopText(), "AB\xe9Z1");
  EXPECT_EQ(std::string(variable, 5), "ab\xe9z1");

  AccentUpper rules;
  InstallCharacterRules(&rules);
  PushString(variable, 5);
  UpperTop();
  InstallCharacterRules(nullptr);
  EXPECT_EQ(TopText(), "AB\xc9Z1");

  std::string longText(30, 'q');
  PushString(longText.data(), 30);
  UpperTop();
  EXPECT_EQ(TopText(), std::string(30, 'Q'));
  EXPECT_EQ(longText, std::string(30, 'q'));
}

using Snapshots = StringStackTest;

TEST_F(Snapshots, SaveMovesEverythingOutAndRestoreBringsItBack) {
  EXPECT_EQ(SaveStringStack(), nullptr);
  PushString("ref", 3);
  PushLong(77);
  PushCString("a value long enough for a block");
  StringStackSnapshot* snapshot = SaveStringStack();
  ASSERT_NE(snapshot, nullptr);
  EXPECT_EQ(Stack().Count(), 0u);

  // Whatever is on the stack when a snapshot is restored is dropped, its blocks freed.
  PushCString("another value long enough for a block");
  RestoreStringStack(snapshot);
  EXPECT_EQ(Stack().Count(), 3u);
  EXPECT_EQ(PopText(), "a value long enough for a block");
  EXPECT_EQ(PopText(), "77");
  EXPECT_EQ(PopText(), "ref");

  PushString("x", 1);
  RestoreStringStack(nullptr);
  EXPECT_EQ(Stack().Count(), 0u);

  PushCString("a discarded value long enough for a block");
  DiscardStringStackSnapshot(SaveStringStack());
  DiscardStringStackSnapshot(nullptr);
  EXPECT_EQ(Stack().Count(), 0u);
}

}  // namespace
}  // namespace vel::values::testing
