// Where an entry's text goes for each justification, and the room left after it, with every
// character 6 pixels wide in a 100-pixel client area (98 inside a plain frame).

#include "runtime/controls/entry_painter.h"

#include <gtest/gtest.h>

#include "runtime/controls/control_flags.h"

namespace vel::controls {
namespace {

const CharWidthFunction kSixPixels = [](unsigned char) { return 6; };

EntryPlacement Place(std::string_view text, std::uint32_t justification, int offset = 0, int decimalIndex = -1) {
  EntryLook look;
  look.area = RECT{0, 0, 100, 20};
  look.text = text;
  look.justification = justification;
  look.offset = offset;
  look.decimalIndex = decimalIndex < 0 ? static_cast<int>(text.size()) : decimalIndex;
  return PlaceEntryText(look, kSixPixels);
}

TEST(EntryPlacement, EachJustificationPlacesTheTextAndLeavesTheRestAsRoom) {
  EntryPlacement left = Place("abcd", kAttrJustifyLeft, 3);
  EXPECT_EQ(left.textArea.left, 1);
  EXPECT_EQ(left.textArea.right, 99);
  EXPECT_EQ(left.textX, 1 + 3 + 2);
  EXPECT_EQ(left.room, 98 - (5 + 24));

  EXPECT_EQ(Place("abcd", kAttrJustifyCentre).textX, 1 + (98 - 24) / 2);
  EXPECT_EQ(Place("abcd", kAttrJustifyCentre, 4).textX, 1 + (98 - 24) / 2 + 4);
  EntryPlacement right = Place("abcd", kAttrJustifyRight, 5);
  EXPECT_EQ(right.textX, 1 + 98 - 24 - 2 - 5);
  EXPECT_EQ(right.room, 2 + 5);
  // Decimal: the point stands at the width less the offset.
  EXPECT_EQ(Place("12.50", kAttrJustifyDecimal, 10, 2).textX, 1 + 98 - 10 - 12);
  EXPECT_EQ(Place("1250", kAttrJustifyDecimal, 0).textX, 1 + 98 - 24);
}

TEST(EntryPlacement, TextWiderThanTheFieldStartsTwoPixelsIn) {
  const std::string wide(30, 'x');
  EXPECT_EQ(Place(wide, kAttrJustifyRight).textX, 1 + 2);
  EXPECT_EQ(Place(wide, kAttrJustifyCentre).textX, 1 + 2);
  EXPECT_LT(Place(wide, kAttrJustifyRight).room, 0);
}

TEST(EntryPlacement, TransparentAndUnframedEntriesUseTheWholeClientArea) {
  EntryLook look;
  look.area = RECT{0, 0, 100, 20};
  look.transparent = true;
  EXPECT_EQ(PlaceEntryText(look, kSixPixels).textArea.left, 0);
  look.transparent = false;
  look.threeDimensional = true;
  EXPECT_EQ(PlaceEntryText(look, kSixPixels).textArea.left, 2);
  look.framed = false;
  EXPECT_EQ(PlaceEntryText(look, kSixPixels).textArea.left, 0);
}

}  // namespace
}  // namespace vel::controls
