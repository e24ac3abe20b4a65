#include "runtime/values/locale_intl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/values/date_calendar.h"
#include "runtime/values/locale_settings.h"
#include "runtime/values/picture_deformat.h"
#include "runtime/values/picture_format.h"
#include "runtime/values/time_values.h"

namespace vel::values {
namespace {

std::string Show(const CompiledPicture& picture, int32_t value) {
  char out[128];
  return std::string(out, FormatNumber(picture, value, out, sizeof out));
}

const int32_t kJuly4th1999 = 72506;

TEST(ShortDateLayout, OrderFillsAndSeparator) {
  const struct {
    const char* format;
    const char* shown;
  } cases[] = {
      {"MM/dd/yy", "07/04/99"},     {"dd.MM.yyyy", "04.07.1999"}, {"d/M/yy", " 4/ 7/99"},
      {"yyyy-MM-dd", "1999-07-04"}, {"M-d-yyyy", " 7- 4-1999"},   {"ddMMyy", "04/07/99"},
      {"", "07/04/99"},
  };
  for (const auto& c : cases) {
    CompiledPicture picture;
    BuildShortDateLayout(c.format, picture);
    EXPECT_EQ(Show(picture, kJuly4th1999), c.shown) << c.format;
    EXPECT_EQ(picture.pictureNumber, 17);
    // What the layout shows reads back as the same date.
    const std::string shown = Show(picture, kJuly4th1999);
    EXPECT_EQ(DeformatDate(picture, shown.data(), shown.size()), kJuly4th1999) << c.format;
  }
}

TEST(LongDateLayout, PartsLiteralsAndNames) {
  const struct {
    const char* format;
    const char* shown;
  } cases[] = {
      {"ddd', 'MMMM' 'dd', 'yyyy", "July      04, 1999"},
      {"dddd, d. MMMM yyyy", " 4. July      1999"},
      {"yyyy'-'MM'-'dd", "1999-07-04"},
      {"d MMM yyyy", " 4 Jul 1999"},
      {"MMMM d, yyyy 'AD'", "July       4, 1999 AD"},
      {"yy MM dd", "99 07 04"},
  };
  for (const auto& c : cases) {
    CompiledPicture picture;
    BuildLongDateLayout(c.format, picture);
    EXPECT_EQ(Show(picture, kJuly4th1999), c.shown) << c.format;
    EXPECT_EQ(picture.pictureNumber, 18);
  }
  CompiledPicture standard;
  BuildLongDateLayout(IntlSettings{}.sLongDate, standard);
  EXPECT_EQ(standard.Width(), 18);
  // An absurdly long format stops at the record's capacity instead of overrunning it.
  CompiledPicture huge;
  BuildLongDateLayout("d" + std::string(300, '-') + "M", huge);
  EXPECT_LE(huge.Width(), kMaxPicturePositions);
}

TEST(TimeLayouts, ClockFormSeparatorAndLeadingZero) {
  const int32_t morning = PartsToTime(9, 5, 7, 0);
  const int32_t evening = PartsToTime(21, 5, 7, 0);
  IntlSettings twelveHour;
  CompiledPicture shortTime;
  CompiledPicture longTime;
  BuildTimeLayout(twelveHour, false, shortTime);
  BuildTimeLayout(twelveHour, true, longTime);
  EXPECT_EQ(Show(shortTime, morning), "09:05 AM");
  EXPECT_EQ(Show(longTime, evening), "09:05:07 PM");

  IntlSettings european;
  european.iTime = 1;
  european.iTLzero = 0;
  european.sTime = '.';
  BuildTimeLayout(european, false, shortTime);
  BuildTimeLayout(european, true, longTime);
  EXPECT_EQ(Show(shortTime, morning), " 9.05");
  EXPECT_EQ(Show(longTime, evening), "21.05.07");
  EXPECT_EQ(shortTime.pictureNumber, 7);
  EXPECT_EQ(longTime.pictureNumber, 8);
}

TEST(IntlSettings, WindowsAmPmTextsReachTheLayouts) {
  LocaleSettings settings;
  ResetLocaleSettings(settings);
  IntlSettings intl;
  intl.s1159 = "vorm";
  intl.s2359 = "n";
  ApplyIntlSettings(intl, settings);
  EXPECT_EQ(settings.windowsAmText, "vo");
  EXPECT_EQ(settings.windowsPmText, "n");
  EXPECT_EQ(settings.amText, "AM");
}

TEST(IntlSettings, ShortDateFromALocaleSample) {
  EXPECT_EQ(DeriveShortDateFormat("02/03/01"), "MM/dd/yy");
  EXPECT_EQ(DeriveShortDateFormat("03.02.2001"), "dd.MM.yyyy");
  EXPECT_EQ(DeriveShortDateFormat("2001-02-03"), "yyyy-MM-dd");
  EXPECT_EQ(DeriveShortDateFormat("3/2/01"), "d/M/yy");
  EXPECT_EQ(DeriveShortDateFormat("Feb 3, 2001"), "");
  EXPECT_EQ(DeriveShortDateFormat("02/03"), "");
  EXPECT_EQ(DeriveShortDateFormat("07/03/01"), "");
  const IntlSettings read = ReadIntlSettings();
  EXPECT_FALSE(read.sShortDate.empty());
}

// The profile's "intl" keys take precedence over what the library's locale says, key by key.
TEST(IntlSettings, ProfileKeysTakePrecedence) {
  std::string pattern = ::testing::TempDir() + "intl_XXXXXX";
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const char* previous = std::getenv("VELMORA_WINDIR");
  const std::string saved = previous ? previous : "";
  setenv("VELMORA_WINDIR", pattern.c_str(), 1);
  {
    std::ofstream ini(pattern + "/win.ini");
    ini << "[intl]\niTime=1\niTLzero=0\nsTime=.\ns1159=vm\ns2359=nm\nsShortDate=dd.MM.yyyy\n"
           "sLongDate=d. MMMM yyyy\n[other]\nsTime=x\n";
  }
  const IntlSettings intl = ReadIntlSettings();
  EXPECT_EQ(intl.iTime, 1);
  EXPECT_EQ(intl.iTLzero, 0);
  EXPECT_EQ(intl.sTime, '.');
  EXPECT_EQ(intl.s1159, "vm");
  EXPECT_EQ(intl.s2359, "nm");
  EXPECT_EQ(intl.sShortDate, "dd.MM.yyyy");
  EXPECT_EQ(intl.sLongDate, "d. MMMM yyyy");
  {
    std::ofstream ini(pattern + "/win.ini");
    ini << "[intl]\nsShortDate=yyyy-MM-dd\n";
  }
  const IntlSettings partial = ReadIntlSettings();
  EXPECT_EQ(partial.sShortDate, "yyyy-MM-dd");
  EXPECT_EQ(partial.sLongDate, IntlSettings{}.sLongDate);
  if (previous) {
    setenv("VELMORA_WINDIR", saved.c_str(), 1);
  } else {
    unsetenv("VELMORA_WINDIR");
  }
  std::filesystem::remove_all(pattern);
}

// Without profile keys the time formats come from the user's locale as the environment names
// it; a locale the system does not have leaves the defaults.
TEST(IntlSettings, TheUsersLocaleGivesTheTimeFormats) {
  std::string folder = ::testing::TempDir() + "intl_XXXXXX";
  ASSERT_NE(mkdtemp(folder.data()), nullptr);
  const char* previousFolder = std::getenv("VELMORA_WINDIR");
  const std::string savedFolder = previousFolder ? previousFolder : "";
  const char* previousLocale = std::getenv("LC_ALL");
  const std::string savedLocale = previousLocale ? previousLocale : "";
  setenv("VELMORA_WINDIR", folder.c_str(), 1);

  setenv("LC_ALL", "C", 1);
  const IntlSettings plain = ReadIntlSettings();
  EXPECT_EQ(plain.iTime, 1) << "the C locale shows 13:04:05";
  EXPECT_EQ(plain.sTime, ':');
  EXPECT_EQ(plain.iTLzero, 1);
  EXPECT_EQ(plain.sShortDate, "MM/dd/yy");
  EXPECT_EQ(plain.s1159, "AM");
  EXPECT_EQ(plain.s2359, "PM");

  setenv("LC_ALL", "xx_VEL.UTF-8", 1);
  const IntlSettings unknown = ReadIntlSettings();
  EXPECT_EQ(unknown.iTime, IntlSettings{}.iTime);
  EXPECT_EQ(unknown.sShortDate, IntlSettings{}.sShortDate);

  if (previousLocale) {
    setenv("LC_ALL", savedLocale.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
  if (previousFolder) {
    setenv("VELMORA_WINDIR", savedFolder.c_str(), 1);
  } else {
    unsetenv("VELMORA_WINDIR");
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vel::values
