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
  const char replacements[] = {' ', '0', '7', '/', '.', 'a', 'Z', '\t', '\0', '\xE9'};
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

}  // namespace
}  // namespace vel::values
