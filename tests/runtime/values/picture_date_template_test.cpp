// Date pictures with a template are written and read a field at a time; the same picture with
// its template removed goes through the general walk over every position. Both must agree on
// every layout, fill, separator and date, valid or not.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/values/date_calendar.h"
#include "tests/runtime/values/picture_test_support.h"

namespace vel::values {
namespace {

using testing::Compile;

std::vector<std::string> DatePictures() {
  std::vector<std::string> pictures;
  for (int layout = 1; layout <= 18; ++layout) {
    for (const char* fill : {"", "0", "*", "_"}) {
      for (const char* separator : {"", ".", "-", "_", "`"}) {
        pictures.push_back("@D" + std::string(fill) + std::to_string(layout) + separator);
      }
    }
  }
  pictures.push_back("@D2B");
  pictures.push_back("@D1<30");
  pictures.push_back("@D5>10");
  return pictures;
}

CompiledPicture WithoutTemplate(CompiledPicture picture) {
  picture.dateRunCount = 0;
  return picture;
}

std::string FormatThrough(const CompiledPicture& picture, int32_t serial, size_t capacity = 64) {
  char out[64];
  return std::string(out, FormatDate(picture, serial, out, capacity));
}

TEST(DateTemplate, DigitLayoutsNarrowEnoughHaveOneAndMonthNamesDoNot) {
  EXPECT_GT(Compile("@D2").dateRunCount, 0);
  EXPECT_GT(Compile("@D12").dateRunCount, 0);
  EXPECT_GT(Compile("@D*1-").dateRunCount, 0);
  EXPECT_EQ(Compile("@D3").dateRunCount, 0);   // month name
  EXPECT_EQ(Compile("@D4").dateRunCount, 0);
  EXPECT_EQ(Compile("@T3").dateRunCount, 0);   // not a date
  EXPECT_EQ(Compile("@N10.2").dateRunCount, 0);
}

TEST(DateTemplate, FormatsEveryDateAsTheGeneralWalkDoes) {
  std::vector<int32_t> serials = {0, -1, 1, 3, kFirstSerialDate, kLastSerialDate, kLastSerialDate + 1,
                                  72506, 36529 /* 2000 */, 36588, 72200};
  for (int32_t serial = kFirstSerialDate; serial <= kLastSerialDate; serial += 997) serials.push_back(serial);
  for (const std::string& text : DatePictures()) {
    const CompiledPicture picture = Compile(text.c_str());
    const CompiledPicture general = WithoutTemplate(picture);
    for (const int32_t serial : serials) {
      ASSERT_EQ(FormatThrough(picture, serial), FormatThrough(general, serial)) << text << " " << serial;
    }
    // A caller's buffer narrower than the picture receives the same first characters.
    for (size_t capacity = 0; capacity <= static_cast<size_t>(picture.Width()); ++capacity) {
      ASSERT_EQ(FormatThrough(picture, 72506, capacity), FormatThrough(general, 72506, capacity))
          << text << " capacity " << capacity;
    }
  }
}

TEST(DateTemplate, ReadsTypedDatesAsTheGeneralWalkDoes) {
  const std::vector<std::string> typed = {
      "", " ", " 7/04/1999", "7/4/1999", "07/04/99", "12/31/9999", "1/1/1801", "2/29/1900",
      "2/29/2000", "13/01/1999", "4.7.1999", "19990704", "990704", "07/99", "1999/07", "  /  /    ",
      "x7/04/1999", "7//4//99", "99999999999", "-7/04/1999", "7/04/1999 trailing"};
  for (const std::string& text : DatePictures()) {
    const CompiledPicture picture = Compile(text.c_str());
    const CompiledPicture general = WithoutTemplate(picture);
    for (const std::string& input : typed) {
      ASSERT_EQ(DeformatDate(picture, input.data(), input.size()),
                DeformatDate(general, input.data(), input.size()))
          << text << " '" << input << "'";
    }
    // What a picture writes it reads back.
    for (int32_t serial = kFirstSerialDate; serial <= kLastSerialDate; serial += 104729) {
      const std::string shown = FormatThrough(picture, serial);
      ASSERT_EQ(DeformatDate(picture, shown.data(), shown.size()),
                DeformatDate(general, shown.data(), shown.size()))
          << text << " '" << shown << "'";
    }
  }
}

TEST(DateTemplate, ReadsTextWithAnyOnePositionChangedAsTheGeneralWalkDoes) {
  // Text in the picture's own shape is read at fixed positions; changing any one position to a
  // blank, digit, separator, letter or byte above 127 must either keep that shape or fall back,
  // never read differently. Blanks after a field's digits, inside fields that follow a field,
  // and fields left blank are the boundaries of the shape.
  // The bytes next to digits and blanks in value, and the same with the top bit set, catch a
  // check made eight positions at a time that lets a neighbour or a carry through.
  const char replacements[] = {' ', '0', '7', '/', '.', 'a', 'Z', '\t', '\0', '\xE9',
                               ':', '\x1F', '!', '\xA0', '\xB0', '\xB9', '\xFF'};
  for (const std::string& text : DatePictures()) {
    const CompiledPicture picture = Compile(text.c_str());
    const CompiledPicture general = WithoutTemplate(picture);
    for (const int32_t serial : {72506, 36529, kFirstSerialDate + 40}) {
      const std::string shown = FormatThrough(picture, serial);
      for (size_t at = 0; at < shown.size(); ++at) {
        for (const char replacement : replacements) {
          std::string input = shown;
          input[at] = replacement;
          ASSERT_EQ(DeformatDate(picture, input.data(), input.size()),
                    DeformatDate(general, input.data(), input.size()))
              << text << " '" << input << "'";
          input[at == 0 ? shown.size() - 1 : at - 1] = ' ';
          ASSERT_EQ(DeformatDate(picture, input.data(), input.size()),
                    DeformatDate(general, input.data(), input.size()))
              << text << " '" << input << "'";
        }
      }
    }
  }
}

// Month ends and leap days, each written by the picture and then typed one character short,
// one character long, and with a field's first digit left blank.
TEST(DateTemplate, ReadsMonthEndsAndLeapDaysTypedShortLongOrBlankLedAsTheGeneralWalkDoes) {
  std::vector<int32_t> serials;
  for (const int year : {1801, 1900, 1999, 2000, 2024, 9999}) {
    for (int month = 1; month <= 12; ++month) {
      serials.push_back(DateToSerial(month, 1, year));
      serials.push_back(DateToSerial(month, DaysInMonth(month, year), year));
    }
  }
  for (const std::string& text : DatePictures()) {
    const CompiledPicture picture = Compile(text.c_str());
    const CompiledPicture general = WithoutTemplate(picture);
    const auto expectSame = [&](const std::string& input) {
      ASSERT_EQ(DeformatDate(picture, input.data(), input.size()), DeformatDate(general, input.data(), input.size()))
          << text << " '" << input << "'";
    };
    for (const int32_t serial : serials) {
      const std::string shown = FormatThrough(picture, serial);
      std::vector<std::string> inputs = {shown, shown.substr(0, shown.size() - 1), shown + "5", shown + " ", shown + "/"};
      for (const PositionRun& field : picture.dateFields) {
        if (field.count == 0) continue;
        std::string blankLed = shown;
        blankLed[field.first] = ' ';
        inputs.push_back(blankLed);
        inputs.push_back(blankLed + "5");
      }
      for (const std::string& input : inputs) expectSame(input);
    }
  }
  // Pictures showing the whole date with four-digit years read every one of them back.
  for (const char* text : {"@D2", "@D6", "@D10", "@D12", "@D02-"}) {
    const CompiledPicture picture = Compile(text);
    for (const int32_t serial : serials) {
      const std::string shown = FormatThrough(picture, serial);
      EXPECT_EQ(DeformatDate(picture, shown.data(), shown.size()), serial) << text << " '" << shown << "'";
    }
  }
  const CompiledPicture usDate = Compile("@D2");
  for (const std::string typed : {"2/29/1900", "2/29/2023", "02/29/2100", "2/30/2024", "4/31/2024", "0/15/2024",
                                  "13/01/2024", " 1/00/2024", " 1/01/1800"}) {
    EXPECT_EQ(DeformatDate(usDate, typed.data(), typed.size()),
              DeformatDate(WithoutTemplate(usDate), typed.data(), typed.size()))
        << typed;
  }
  EXPECT_EQ(DeformatDate(usDate, " 2/29/2000", 10), DateToSerial(2, 29, 2000));
  EXPECT_EQ(DeformatDate(usDate, " 2/29/1900", 10), -1);
  EXPECT_EQ(DeformatDate(usDate, "12/31/9999", 10), kLastSerialDate);
  EXPECT_EQ(DeformatDate(usDate, " 1/01/1801", 10), kFirstSerialDate);
  EXPECT_EQ(DeformatDate(usDate, "12/31/1800", 10), -1);
}

// Two-digit years take the century that the picture's window gives, on both sides of the
// window's edge.
TEST(DateTemplate, ReadsTwoDigitYearsThroughTheCenturyWindow) {
  for (const char* text : {"@D1", "@D1<30", "@D1>10", "@D5", "@D9", "@D11"}) {
    const CompiledPicture picture = Compile(text);
    const int low = CurrentYear() - picture.centuryWindow;
    for (const int year : {low - 1, low, low + 1, low + 98, low + 99, low + 100}) {
      const int yy = (year % 100 + 100) % 100;
      const int32_t serial = DateToSerial(7, 4, ExpandYear(yy, picture.centuryWindow));
      const std::string shown = FormatThrough(picture, serial);
      EXPECT_EQ(DeformatDate(picture, shown.data(), shown.size()), serial) << text << " '" << shown << "'";
      EXPECT_EQ(DeformatDate(picture, shown.data(), shown.size()),
                DeformatDate(WithoutTemplate(picture), shown.data(), shown.size()))
          << text << " '" << shown << "'";
    }
  }
}

}  // namespace
}  // namespace vel::values
