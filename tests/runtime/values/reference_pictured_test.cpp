#include "runtime/values/reference_pictured.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "reference_test_fixture.h"
#include "runtime/values/date_calendar.h"
#include "runtime/values/decimal_stack.h"
#include "runtime/values/picture_compile.h"
#include "runtime/values/reference_factory.h"

namespace vel::values {
namespace {

using testing::PopText;
using testing::ReferenceTest;

class PicturedReferenceTest : public ReferenceTest {
 protected:
  std::unique_ptr<ValueReference> Make(const char* pictureText, char* storage) {
    CompilePicture(pictureText, m_picture);
    return CreatePicturedReference(m_picture, storage);
  }

  CompiledPicture m_picture;
};

TEST_F(PicturedReferenceTest, NumbersAreStoredFormattedAndReadBackThroughThePicture) {
  char storage[10];
  auto reference = Make("@N10.2", storage);
  ASSERT_NE(reference, nullptr);
  EXPECT_EQ(reference->Size(), 10u);
  EXPECT_EQ(reference->ArithmeticType(), 29);
  reference->SetReal(1234.5);
  EXPECT_EQ(std::string(storage, 10), "  1,234.50");
  EXPECT_EQ(reference->GetReal(), 1234.5);
  EXPECT_EQ(reference->GetInt(), 1234);
  reference->PushText();
  EXPECT_EQ(PopText(), "  1,234.50");

  PushCString("-7.125");
  reference->AssignFromStack();
  EXPECT_EQ(std::string(storage, 10), "     -7.13");
  reference->PushDecimal();
  EXPECT_EQ(CurrentDecimalStack().PopFloat64(), -7.13);
  EXPECT_EQ(reference->IsZero(), 0);
  reference->SetInt(0);
  EXPECT_EQ(reference->IsZero(), 1);

  // A pictured value against plain text compares as text; against a number, as decimals.
  char text[10] = {' ', ' ', ' ', ' ', ' ', ' ', '0', '.', '0', '0'};
  auto plain = CreateReference(18, text, 10, 0, false);
  EXPECT_EQ(reference->CompareWith(*plain), 0);
  std::int32_t minusOne = -1;
  auto integer = CreateReference(6, &minusOne, 0, 0, false);
  EXPECT_EQ(reference->CompareWith(*integer), 1);
}

TEST_F(PicturedReferenceTest, DatesAreStoredAsTextAndReadAsSerialDates) {
  char storage[10];
  auto reference = Make("@D2", storage);
  ASSERT_NE(reference, nullptr);
  std::int32_t christmas = DateToSerial(12, 25, 2020);
  reference->SetInt(christmas);
  EXPECT_EQ(std::string(storage, 10), "12/25/2020");
  EXPECT_EQ(reference->GetInt(), christmas);
  auto clone = reference->Clone();
  EXPECT_EQ(clone->GetInt(), christmas);
  EXPECT_EQ(clone->ArithmeticType(), 29);
}

TEST_F(PicturedReferenceTest, AnInvalidPictureGivesNoReference) {
  char storage[4];
  EXPECT_EQ(Make("@Q", storage), nullptr);
}

}  // namespace
}  // namespace vel::values
