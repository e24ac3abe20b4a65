#include <gtest/gtest.h>

#include "platform/gdi/region.h"
#include "win32.h"

namespace vel::platform {
namespace {

int Area(const Region& region) {
  int area = 0;
  for (const RECT& r : region.Rects()) area += (r.right - r.left) * (r.bottom - r.top);
  return area;
}

TEST(RegionCombine, SetOperationsGiveTheRightAreasAndMembership) {
  Region a(RECT{0, 0, 10, 10});
  Region b(RECT{5, 5, 15, 15});
  EXPECT_EQ(Area(Region::Combine(a, b, RGN_AND)), 25);
  EXPECT_EQ(Area(Region::Combine(a, b, RGN_OR)), 175);
  EXPECT_EQ(Area(Region::Combine(a, b, RGN_XOR)), 150);
  Region diff = Region::Combine(a, b, RGN_DIFF);
  EXPECT_EQ(Area(diff), 75);
  EXPECT_TRUE(diff.Contains(4, 9));
  EXPECT_FALSE(diff.Contains(5, 5));
  EXPECT_FALSE(diff.Contains(10, 0));  // Right edges are outside.
  EXPECT_EQ(diff.Complexity(), COMPLEXREGION);
  // Rectangles of a combined region never overlap.
  Region all = Region::Combine(diff, Region(RECT{2, 2, 8, 12}), RGN_OR);
  for (size_t i = 0; i < all.Rects().size(); ++i) {
    for (size_t j = i + 1; j < all.Rects().size(); ++j) {
      EXPECT_TRUE(IsEmptyRect(IntersectRects(all.Rects()[i], all.Rects()[j])));
    }
  }
}

TEST(RegionCombine, TouchingBandsMergeAndEqualityIgnoresHowAreasAreCut) {
  Region top(RECT{0, 0, 10, 5});
  Region bottom(RECT{0, 5, 10, 10});
  Region joined = Region::Combine(top, bottom, RGN_OR);
  EXPECT_EQ(joined.Rects().size(), 1u);
  EXPECT_EQ(joined.Complexity(), SIMPLEREGION);
  EXPECT_TRUE(joined == Region(RECT{0, 0, 10, 10}));
  Region hole = Region::Combine(Region(RECT{0, 0, 10, 10}), Region(RECT{3, 3, 6, 6}), RGN_DIFF);
  EXPECT_FALSE(hole == joined);
  EXPECT_TRUE(Region::Combine(hole, Region(RECT{3, 3, 6, 6}), RGN_OR) == joined);
  EXPECT_EQ(Region::Combine(top, bottom, RGN_AND).Complexity(), NULLREGION);
}

TEST(RegionApi, HandlesCombineOffsetAndQuery) {
  HRGN a = CreateRectRgn(0, 0, 20, 20);
  HRGN b = CreateRectRgn(10, 10, 30, 30);
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(result, a, b, RGN_AND), SIMPLEREGION);
  RECT box{};
  EXPECT_EQ(GetRgnBox(result, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.bottom, 20);
  EXPECT_EQ(CombineRgn(result, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(OffsetRgn(result, 5, 0), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(result, 34, 29));
  EXPECT_FALSE(PtInRegion(result, 4, 0));
  RECT probe{0, 25, 9, 30};
  EXPECT_FALSE(RectInRegion(result, &probe));
  EXPECT_EQ(CombineRgn(result, a, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(result, a));
  // Bad handles and modes fail rather than touching anything.
  EXPECT_EQ(CombineRgn(result, a, b, 99), ERROR);
  EXPECT_EQ(CombineRgn(reinterpret_cast<HRGN>(&box), a, b, RGN_OR), ERROR);
  for (HRGN r : {a, b, result}) EXPECT_TRUE(DeleteObject(r));
  EXPECT_FALSE(PtInRegion(a, 1, 1));
}

}  // namespace
}  // namespace vel::platform
