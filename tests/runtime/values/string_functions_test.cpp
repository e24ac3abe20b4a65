#include "runtime/values/string_functions.h"

#include <gtest/gtest.h>

#include <string>

#include "reference_test_fixture.h"
#include "runtime/values/reference_factory.h"
#include "runtime/values/string_stack.h"

namespace vel::values {
namespace {

std::string PopText() {
  const StringView top = TopView();
  std::string text(top.data == nullptr ? "" : std::string(top.data, top.length));
  DropTop();
  return text;
}

std::string FormatThroughStack(const std::string& value, const char* picture) {
  PushBytes(value.data(), static_cast<uint32_t>(value.size()));
  FormatTopWithPicture(picture);
  return PopText();
}

std::string DeformatThroughStack(const std::string& text, const char* picture) {
  PushBytes(text.data(), static_cast<uint32_t>(text.size()));
  DeformatTopWithPicture(picture);
  return PopText();
}

TEST(FormatOnTheStringStack, EachValueKind) {
  const uint32_t before = CurrentStringStack().Count();
  EXPECT_EQ(FormatThroughStack("1234.5", "@N10.2"), "  1,234.50");
  EXPECT_EQ(FormatThroughStack("  -1234.5", "@N-10.2"), "- 1,234.50");
  EXPECT_EQ(FormatThroughStack("72506", "@D2"), " 7/04/1999");
  EXPECT_EQ(FormatThroughStack("5040001", "@T1"), "14:00");
  EXPECT_EQ(FormatThroughStack("1234.5", "@E12.1"), " 1.2345E+003");
  EXPECT_EQ(FormatThroughStack("abcdef", "@S3"), "abc");
  EXPECT_EQ(FormatThroughStack("ab", "@S4"), "ab  ");
  EXPECT_EQ(FormatThroughStack("12345", "@P###-##P"), "123-45");
  EXPECT_EQ(FormatThroughStack("abc", "@Z9"), "");
  EXPECT_EQ(FormatThroughStack(std::string(300, 'x'), nullptr), std::string(255, 'x'));
  EXPECT_EQ(CurrentStringStack().Count(), before);
}

TEST(DeformatOnTheStringStack, EachValueKind) {
  EXPECT_EQ(DeformatThroughStack("$1,234.50", nullptr), "1234.50");
  EXPECT_EQ(DeformatThroughStack("- 1,234.50", "@N-10.2"), "-01234.50");
  EXPECT_EQ(DeformatThroughStack(" 7/04/1999", "@D2"), "72506");
  EXPECT_EQ(DeformatThroughStack("14:00", "@T1"), "5040001");
  EXPECT_EQ(DeformatThroughStack("abc", "@Z9"), "");
  // The result is a value of its own, not a view of the popped text.
  std::string text = "123-45";
  PushString(text.data(), static_cast<uint32_t>(text.size()));
  DeformatTopWithPicture("@P###-##P");
  text.assign("999-99");
  EXPECT_EQ(PopText(), "12345");
}

// Both ways of slicing a string, the function and a typed reference, raise the same error: code
// 8 with "Parameter typing error" as its extra text.
TEST(SliceString, BoundsRaiseTheSameErrorAsAReferenceSlice) {
  testing::RecordingErrorSink sink;
  InstallValueErrorSink(&sink);
  char storage[6] = "abcde";
  for (auto [start, end] : {std::pair{0, 2}, std::pair{3, 2}, std::pair{2, 6}, std::pair{-1, 1}}) {
    EXPECT_EQ(SliceString(storage, 5, start, end), nullptr) << start << ".." << end;
  }
  auto reference = CreateReference(18, storage, 5, 0, false);
  EXPECT_EQ(reference->Slice(2, 6), nullptr);
  ASSERT_EQ(sink.reported.size(), 5u);
  for (const auto& [code, extra] : sink.reported) {
    EXPECT_EQ(code, 8);
    EXPECT_EQ(extra, "Parameter typing error");
  }
  sink.reported.clear();
  auto second = SliceString(storage, 5, 2, 2);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(sink.reported.empty());
  EXPECT_EQ(second->Data(), storage + 1);
  EXPECT_EQ(second->Size(), 1u);
  auto whole = SliceString(storage, 5, 1, 5);
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(whole->Size(), 5u);
  InstallValueErrorSink(nullptr);
}

TEST(SliceString, AssignmentUsesFixedStringRules) {
  char storage[9] = "abcdefgh";
  auto middle = SliceString(storage, 8, 3, 6);
  ASSERT_NE(middle, nullptr);
  middle->Assign("XY", 2);
  EXPECT_STREQ(storage, "abXY  gh");
  middle->Assign("123456789", 9);
  EXPECT_STREQ(storage, "ab1234gh");
  middle->Push();
  EXPECT_EQ(PopText(), "1234");
}

}  // namespace
}  // namespace vel::values
