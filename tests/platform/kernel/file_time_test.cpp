// File times: GetFileTime on a file, the conversion to local time and to the MS-DOS date and
// time, and MulDiv's rounding.

#include <gtest/gtest.h>
#include <utime.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "win32.h"

namespace {

FILETIME FromUnix(long long seconds) {
  unsigned long long ticks = 116444736000000000ULL + static_cast<unsigned long long>(seconds) * 10000000ULL;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

TEST(FileTimes, TheLastWriteTimeOfAFile) {
  std::string path = ::testing::TempDir() + "file_time_test.txt";
  FILE* file = std::fopen(path.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  utimbuf times{1000000000, 1615735614};
  ASSERT_EQ(utime(path.c_str(), &times), 0);
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  FILETIME access{};
  FILETIME written{};
  ASSERT_TRUE(GetFileTime(handle, nullptr, &access, &written));
  FILETIME expected = FromUnix(1615735614);
  EXPECT_EQ(written.dwLowDateTime, expected.dwLowDateTime);
  EXPECT_EQ(written.dwHighDateTime, expected.dwHighDateTime);
  EXPECT_EQ(access.dwHighDateTime, FromUnix(1000000000).dwHighDateTime);
  CloseHandle(handle);
  EXPECT_FALSE(GetFileTime(nullptr, nullptr, nullptr, &written));
  std::remove(path.c_str());
}

TEST(FileTimes, DosDatesAndTimesFrom1980To2107) {
  WORD date = 0;
  WORD time = 0;
  // Sunday 14 March 2021, 15:26:54.
  FILETIME moment = FromUnix(1615735614);
  ASSERT_TRUE(FileTimeToDosDateTime(&moment, &date, &time));
  EXPECT_EQ(date, ((2021 - 1980) << 9) | (3 << 5) | 14);
  EXPECT_EQ(time, (15 << 11) | (26 << 5) | (54 / 2));
  FILETIME early = FromUnix(300000000);  // 1979.
  EXPECT_FALSE(FileTimeToDosDateTime(&early, &date, &time));
  FILETIME late = FromUnix(4354819200LL);  // 2108.
  EXPECT_FALSE(FileTimeToDosDateTime(&late, &date, &time));
}

TEST(FileTimes, LocalTimeUsesTheOffsetInForceNow) {
  time_t now = ::time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  FILETIME moment = FromUnix(1615735614);
  FILETIME shifted{};
  ASSERT_TRUE(FileTimeToLocalFileTime(&moment, &shifted));
  FILETIME expected = FromUnix(1615735614 + local.tm_gmtoff);
  EXPECT_EQ(shifted.dwLowDateTime, expected.dwLowDateTime);
  EXPECT_EQ(shifted.dwHighDateTime, expected.dwHighDateTime);
}

TEST(MulDiv, RoundsHalfAwayFromZeroAndReportsWhatCannotBe) {
  EXPECT_EQ(MulDiv(1440, 96, 1440), 96);
  EXPECT_EQ(MulDiv(7, 1, 2), 4);
  EXPECT_EQ(MulDiv(-7, 1, 2), -4);
  EXPECT_EQ(MulDiv(7, 1, -2), -4);
  EXPECT_EQ(MulDiv(5, 1, 4), 1);
  EXPECT_EQ(MulDiv(65535, 65535, 1), -1) << "beyond 32 bits";
  EXPECT_EQ(MulDiv(65535, 65535, 65535), 65535) << "the 64-bit product does not overflow";
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
}

}  // namespace
