// A control's font measures a character when it is first asked for, with the widths the font
// itself gives; building a control must not rasterise every glyph of its font.

#include "runtime/controls/control_font.h"

#include <gtest/gtest.h>

#include "platform/gdi/font_instance.h"
#include "platform/gdi/font_resolver.h"
#include "tests/platform/gdi/private_cache_folder.h"
#include "runtime/windows/screen_context.h"

namespace vel::controls {
namespace {

// The width GetCharWidth32A gives for one character of `font`.
int ReferenceWidth(HFONT font, unsigned char character) {
  windows::ScreenContext screen;
  HGDIOBJ previous = SelectObject(screen.Get(), font);
  int width = -1;
  GetCharWidth32A(screen.Get(), character, character, &width);
  SelectObject(screen.Get(), previous);
  return width;
}

TEST(ControlFont, MeasuresEachCharacterOnceWhenFirstAskedFor) {
  // Glyphs kept by earlier runs would be taken instead of rasterised.
  platform::testing::PrivateCacheFolder cache("vel_control_font");
  FontColourData data;
  data.face = "Arial";
  data.points = 37;  // a size no other test asks for, so its glyphs are not cached yet
  const std::uint64_t before = platform::FontInstance::RasterisedCount();
  FontObject font(data);
  ASSERT_GT(font.CharHeight(), 0);
  EXPECT_EQ(platform::FontInstance::RasterisedCount(), before) << "no glyph is rasterised to build the font";

  const int searchWidth = font.TextWidth("Search");
  EXPECT_EQ(platform::FontInstance::RasterisedCount(), before + 6) << "S, e, a, r, c, h once each";
  int expected = 0;
  for (unsigned char c : std::string_view("Search")) expected += ReferenceWidth(font.Handle(), c);
  EXPECT_EQ(searchWidth, expected);
  EXPECT_GT(searchWidth, 0);

  const std::uint64_t measured = platform::FontInstance::RasterisedCount();
  EXPECT_EQ(font.CharWidth('e'), ReferenceWidth(font.Handle(), 'e'));
  EXPECT_EQ(font.TextWidth("each"), font.CharWidth('e') + font.CharWidth('a') + font.CharWidth('c') + font.CharWidth('h'));
  EXPECT_EQ(platform::FontInstance::RasterisedCount(), measured) << "widths once measured are kept";
  EXPECT_EQ(font.CharWidth('W'), ReferenceWidth(font.Handle(), 'W'));
  EXPECT_EQ(font.TextWidth(""), 0);
  // Later tests' matches belong in their own cache folder, not in this one.
  platform::ForgetFontMatches();
}

TEST(ControlFont, CharactersOutsideTheFontsRangeHaveNoWidth) {
  FontColourData data;
  data.face = "Arial";
  data.points = 10;
  FontObject font(data);
  ASSERT_GT(font.FirstChar(), 0);
  const auto below = static_cast<std::uint8_t>(font.FirstChar() - 1);
  EXPECT_EQ(font.CharWidth(below), 0);
  const std::string text{static_cast<char>(below), 'A'};
  EXPECT_EQ(font.TextWidth(text), font.CharWidth('A'));
}

}  // namespace
}  // namespace vel::controls
