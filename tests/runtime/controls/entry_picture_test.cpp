// An entry's picture on its own: kinds and edit modes, the display and editing forms of a
// value, and reading typed text back (numbers without grouping, dates typed loosely, patterns,
// refusals).

#include "runtime/controls/entry_picture.h"

#include <gtest/gtest.h>

#include "runtime/controls/keyin_template.h"
#include "runtime/values/date_calendar.h"

namespace vel::controls {
namespace {

std::string Read(const EntryPicture& picture, std::string_view typed, std::int32_t expectedError = 0) {
  std::string value;
  EXPECT_EQ(picture.Read(typed, value), expectedError) << typed;
  return value;
}

TEST(EntryPicture, KindsDefaultsAndEditModes) {
  EXPECT_EQ(EntryPicture(std::nullopt).Kind(), 'S');
  EXPECT_EQ(EntryPicture(std::nullopt).DeclaredWidth(), 20);
  EXPECT_EQ(EntryPicture(std::string("@x12")).DeclaredWidth(), 20);  // does not compile: S20
  EXPECT_EQ(EntryPicture(std::string("s40")).DeclaredWidth(), 40);
  EXPECT_TRUE(EntryPicture(std::string("s40")).IsStringData());
  EXPECT_EQ(EntryPicture(std::string("@n10.2")).Kind(), 'N');
  EXPECT_FALSE(EntryPicture(std::string("@n10.2")).IsStringData());
  EXPECT_EQ(EntryPicture(std::string("@D2")).Kind(), 'D');
  EXPECT_EQ(EntryPicture(std::string("@K###K")).Kind(), 'K');
  EXPECT_TRUE(EntryPicture(std::string("@K###K")).IsStringData());

  const std::uint8_t all = kModePassword | kModeUpperCase | kModeCapitalise;
  EXPECT_EQ(EntryPicture(std::string("N5")).AdjustMode(all), kModePassword);
  EXPECT_EQ(EntryPicture(std::string("E12.2")).AdjustMode(0), kModeCapitalise);
  EXPECT_EQ(EntryPicture(std::string("S5")).AdjustMode(all), all);
}

TEST(EntryPicture, DisplayAndEditingForms) {
  EntryPicture number(std::string("@N10.2"));
  EXPECT_EQ(number.DisplayText("1234.5"), "  1,234.50");
  EXPECT_EQ(number.EditingText("1234.5"), "1,234.50");
  EntryPicture text(std::string("s10"));
  EXPECT_EQ(text.DisplayText("abc       "), "abc");
  EXPECT_EQ(text.EditingText("  abc     "), "  abc");
  EntryPicture date(std::string("@D2"));
  const std::int32_t july4 = values::DateToSerial(7, 4, 1999);
  EXPECT_EQ(date.DisplayText(std::to_string(july4)), " 7/04/1999");
  EXPECT_EQ(date.EditingText(std::to_string(july4)), "7/04/1999");
}

TEST(EntryPicture, NumbersReadWithTheirGroupingSignsAndDecimalCharacter) {
  EntryPicture number(std::string("@N-10.2"));
  EXPECT_EQ(Read(number, "1,234.50"), "1234.50");
  EXPECT_EQ(Read(number, "  -12.5 "), "-12.5");
  EXPECT_EQ(Read(number, ""), "0");
  Read(number, "12a", kErrorInvalidInput);
  Read(number, "1.2.3", kErrorInvalidInput);
  // A grave accent as decimal character makes "," the point and "." the grouping.
  EntryPicture european(std::string("@N12`2"));
  EXPECT_EQ(Read(european, "1.234,5"), "1234.5");
  EntryPicture scientific(std::string("@E12.2"));
  EXPECT_EQ(Read(scientific, "1.5E+003"), "1.5E+003");
  Read(scientific, "x", kErrorInvalidInput);
}

TEST(EntryPicture, DatesAndTimesReadFieldByFieldAndRefuseWhatDoesNotExist) {
  EntryPicture date(std::string("@D2"));
  const std::string july4 = std::to_string(values::DateToSerial(7, 4, 1999));
  EXPECT_EQ(Read(date, " 7/04/1999"), july4);
  EXPECT_EQ(Read(date, "7/4/1999"), july4);
  EXPECT_EQ(Read(date, "07-04-1999"), july4);
  EXPECT_EQ(Read(date, ""), "0");
  Read(date, "2/30/1999", kErrorInvalidInput);
  Read(date, "7/4/1999/5", kErrorInvalidInput);
  Read(date, "July 4 1999", kErrorInvalidInput);
  EntryPicture named(std::string("@D8"));
  EXPECT_EQ(Read(named, "4 jul 1999"), july4);

  EntryPicture time(std::string("@T3"));
  EXPECT_EQ(Read(time, "2:05PM"), std::to_string(14 * 360000 + 5 * 6000 + 1));
  Read(time, "25:00", kErrorInvalidInput);
}

TEST(EntryPicture, PatternsTakeTheirDigitsWithOrWithoutTheLiterals) {
  EntryPicture pattern(std::string("@P###-##P"));
  EXPECT_EQ(Read(pattern, "123-45"), "12345");
  EXPECT_EQ(Read(pattern, "12345"), "12345");
  Read(pattern, "1234567", kErrorInvalidInput);
  EntryPicture keyIn(std::string("@K###-@@K"));
  EXPECT_EQ(Read(keyIn, "123-ab"), "123-ab");
}

TEST(KeyInTemplate, TypingSkipsLiteralsAndPositionsThatRefuseTheCharacter) {
  EntryPicture picture(std::string("@K(###) ^_?K"));
  KeyInTemplate keyIn(picture.Compiled());
  std::string text = keyIn.Fill("");
  EXPECT_EQ(text, "(   )    ");
  EXPECT_EQ(keyIn.FirstEditable(), 1);
  int caret = keyIn.FirstEditable();
  EXPECT_TRUE(keyIn.Type(text, caret, '5'));
  EXPECT_TRUE(keyIn.Type(text, caret, '5'));
  EXPECT_TRUE(keyIn.Type(text, caret, '1'));
  EXPECT_EQ(caret, 6);  // over ") "
  EXPECT_TRUE(keyIn.Type(text, caret, 'a'));
  EXPECT_TRUE(keyIn.Type(text, caret, 'B'));
  EXPECT_TRUE(keyIn.Type(text, caret, '#'));
  EXPECT_EQ(text, "(551) Ab#");
  EXPECT_FALSE(keyIn.Type(text, caret, 'x'));  // past the end

  // A letter typed at a digit position goes to the first letter position after it.
  caret = 1;
  EXPECT_TRUE(keyIn.Type(text, caret, 'z'));
  EXPECT_EQ(text, "(551) Zb#");

  caret = 6;
  EXPECT_TRUE(keyIn.ClearBefore(text, caret));
  EXPECT_EQ(caret, 3);
  EXPECT_EQ(text, "(55 ) Zb#");
  EXPECT_TRUE(keyIn.ClearAt(text, 4));
  EXPECT_EQ(text, "(55 )  b#");
  keyIn.ClearRange(text, 0, 9);
  EXPECT_EQ(text, "(   )    ");
  // Laying text over the template keeps what each position takes.
  EXPECT_EQ(keyIn.Fill("(12x) aBc"), "(12 ) Abc");
}

}  // namespace
}  // namespace vel::controls
