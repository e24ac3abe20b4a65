// How a button fits its picture: a picture larger than the button is scaled down whole, keeping
// its proportions.

#include "runtime/controls/button_look.h"

#include <gtest/gtest.h>

namespace vel::controls {
namespace {

bool operator==(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

TEST(ButtonPictureFit, APictureThatFitsKeepsItsSizeALargerOneShrinksInProportion) {
  EXPECT_TRUE(FitPicture(SIZE{16, 16}, SIZE{20, 30}) == (SIZE{16, 16}));
  EXPECT_TRUE(FitPicture(SIZE{32, 32}, SIZE{40, 9}) == (SIZE{9, 9}));
  EXPECT_TRUE(FitPicture(SIZE{32, 16}, SIZE{8, 20}) == (SIZE{8, 4}));
  EXPECT_TRUE(FitPicture(SIZE{32, 16}, SIZE{20, 5}) == (SIZE{10, 5}));
  // A very thin picture never vanishes on its short side.
  EXPECT_TRUE(FitPicture(SIZE{1000, 1}, SIZE{10, 10}) == (SIZE{10, 1}));
  // No room, or no picture: nothing is drawn.
  EXPECT_TRUE(FitPicture(SIZE{32, 32}, SIZE{0, 9}) == (SIZE{0, 0}));
  EXPECT_TRUE(FitPicture(SIZE{0, 32}, SIZE{40, 40}) == (SIZE{0, 0}));
}

}  // namespace
}  // namespace vel::controls
