// How a button fits its picture: an icon larger than the button is scaled down whole, keeping
// its proportions, and the smaller image of the program's icon is chosen for a low button.

#include "runtime/controls/button_look.h"

#include <gtest/gtest.h>

#include "runtime/windows/window_icons.h"

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

// The size of an icon's colour image.
SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return SIZE{0, 0};
  BITMAP bitmap{};
  GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return SIZE{bitmap.bmWidth, bitmap.bmHeight};
}

TEST(ButtonPictureFit, ALowButtonLoadsTheIconsSmallerImage) {
  windows::ResourceName undo;
  undo.text = "UNDO.ICO";
  HMODULE program = GetModuleHandleA(nullptr);
  windows::HeldIcon standard = windows::LoadNamedIcon(undo, program);
  ASSERT_NE(standard.handle, nullptr) << "the program's icons are resources of the tests";
  EXPECT_FALSE(standard.owned);
  EXPECT_TRUE(IconSize(standard.handle) == (SIZE{32, 32}));

  windows::HeldIcon small = windows::LoadNamedIconNear(undo, program, 9);
  ASSERT_NE(small.handle, nullptr);
  EXPECT_TRUE(small.owned) << "made for this holder, so it is destroyed with it";
  EXPECT_TRUE(IconSize(small.handle) == (SIZE{16, 16}));
  windows::ReleaseHeldIcon(small, false);

  // A name the program does not hold loads nothing, however it is asked for.
  windows::ResourceName missing;
  missing.text = "NOSUCH.ICO";
  EXPECT_EQ(windows::LoadNamedIconNear(missing, program, 9).handle, nullptr);
}

}  // namespace
}  // namespace vel::controls
