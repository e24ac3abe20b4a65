// MulDiv against what a reference implementation answers for the same arguments.

#include <gtest/gtest.h>

#include "win32.h"

namespace {

struct MulDivCase {
  int number;
  int numerator;
  int denominator;
  int expected;
};

TEST(MulDiv, RoundsHalvesAwayFromZeroAndAnswersMinusOneOnOverflowOrZeroDivisor) {
  const MulDivCase cases[] = {
      {5, 3, 2, 8},
      {-5, 3, 2, -8},
      {5, -3, 2, -8},
      {5, 3, -2, -8},
      {-5, -3, -2, -8},
      {7, 1, 3, 2},
      {8, 1, 3, 3},
      {1, 1, 2, 1},
      {-1, 1, 2, -1},
      {-1, 1, -2, 1},
      {-2, 3, 4, -2},
      {2, 3, 4, 2},
      {10, 8, 72, 1},
      {1, 1, 0, -1},
      {0, 5, 0, -1},
      {2147483647, 2, 2, 2147483647},
      {2147483647, 2, 1, -1},
      {46341, 46341, 1, -1},
      {-1073741823, 2, 1, -2147483646},
      // The most negative int is an overflow too.
      {-2147483647 - 1, 1, 1, -1},
      {-1073741824, 2, 1, -1},
      {-2147483647 - 1, 2, 2, -1},
  };
  for (const MulDivCase& c : cases) {
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
        << "MulDiv(" << c.number << ", " << c.numerator << ", " << c.denominator << ")";
  }
}

}  // namespace
