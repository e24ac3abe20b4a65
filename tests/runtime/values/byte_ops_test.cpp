#include "runtime/values/byte_ops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vel::values {
namespace {

std::string Bytes(const std::vector<char>& buffer) { return std::string(buffer.begin(), buffer.end()); }

TEST(AssignFixed, CopiesPadsAndCutsToTheDeclaredSize) {
  std::vector<char> target(6, 'x');
  AssignFixed(target.data(), 6, "abc", 3);
  EXPECT_EQ(Bytes(target), "abc   ");
  AssignFixed(target.data(), 6, "abcdefgh", 8);
  EXPECT_EQ(Bytes(target), "abcdef");
  AssignFixed(target.data(), 6, "abc", -4);  // a negative length with data copies nothing
  EXPECT_EQ(Bytes(target), "      ");
}

TEST(AssignFixed, SourceInsideTheDestinationIsMovedSafely) {
  char target[] = "..abcd";
  AssignFixed(target, 6, target + 2, 4);
  EXPECT_EQ(std::string(target, 6), "abcd  ");
  char shifted[] = "abcd..";
  AssignFixed(shifted + 2, 4, shifted, 4);
  EXPECT_EQ(std::string(shifted, 6), "ababcd");
}

TEST(AssignCString, CopiesUpToSizeLessOneAndTerminates) {
  std::vector<char> target(4, 'x');
  AssignCString(target.data(), 4, "abcdef", 6);
  EXPECT_EQ(Bytes(target), std::string("abc\0", 4));
  AssignCString(target.data(), 4, "a", 1);
  EXPECT_EQ(target[0], 'a');
  EXPECT_EQ(target[1], '\0');
}

TEST(AssignPascal, StoresTheLengthFirstAndNeverMoreThan255) {
  std::vector<char> target(4, 'x');
  AssignPascal(target.data(), 4, "abcdef", 6);
  EXPECT_EQ(Bytes(target), "\x03" "abc");
  // A large buffer must not wrap the one-byte length (300 - 1 would store 43).
  std::vector<char> large(300, 'x');
  std::string source(400, 'q');
  AssignPascal(large.data(), 300, source.data(), 400);
  EXPECT_EQ(static_cast<unsigned char>(large[0]), 255u);
  EXPECT_EQ(large[255], 'q');
  EXPECT_EQ(large[256], 'x');
}

TEST(AssignCounted, ABufferOfSizeZeroIsNeverWritten) {
  char untouched = 'x';
  AssignCString(&untouched, 0, "abc", 3);
  AssignCString(&untouched, 0, nullptr, 1);
  AssignPascal(&untouched, 0, "abc", 3);
  AssignPascal(&untouched, 0, nullptr, -1);
  EXPECT_EQ(untouched, 'x');
}

// The clear rule: with no source data the source length picks the filler for each form.
TEST(ClearRule, FillsEachFormAsItsLengthSelects) {
  struct Case {
    int sourceLength;
    std::string fixed;
    std::string cString;
    std::string pascal;
  };
  const Case cases[] = {
      {0, "    ", std::string("\0xxx", 4), std::string("\0xxx", 4)},
      {-1, std::string(4, '\0'), std::string("\0xxx", 4), std::string("\x03\0\0\0", 4)},
      {1, std::string(4, '\xff'), std::string("\xff\xff\xff\0", 4), "\x03\xff\xff\xff"},
      {7, std::string(4, '\xff'), std::string("\xff\xff\xff\0", 4), "\x03\xff\xff\xff"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sourceLength);
    std::vector<char> fixed(4, 'x');
    std::vector<char> cString(4, 'x');
    std::vector<char> pascal(4, 'x');
    AssignFixed(fixed.data(), 4, nullptr, c.sourceLength);
    AssignCString(cString.data(), 4, nullptr, c.sourceLength);
    AssignPascal(pascal.data(), 4, nullptr, c.sourceLength);
    EXPECT_EQ(Bytes(fixed), c.fixed);
    EXPECT_EQ(Bytes(cString), c.cString);
    EXPECT_EQ(Bytes(pascal), c.pascal);
  }
}

TEST(BytePrimitives, FillCopyMoveAndLength) {
  char buffer[8] = "abcdefg";
  BlankFill(buffer, 3);
  EXPECT_EQ(std::string(buffer), "   defg");
  FillBytes(buffer, 2, 0xff);
  EXPECT_EQ(std::string(buffer, 3), "\xff\xff ");
  CopyBytes(buffer, "xy", 2);
  EXPECT_EQ(std::string(buffer), "xy defg");
  MoveBytes(buffer + 1, buffer, 5);
  EXPECT_EQ(std::string(buffer), "xxy deg");
  EXPECT_EQ(CStringLength(buffer), 7u);
  EXPECT_EQ(CStringLength(nullptr), 0u);
  EXPECT_EQ(CStringLength("a\0b"), 1u);
}

}  // namespace
}  // namespace vel::values
