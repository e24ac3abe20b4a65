#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <cstring>
#include <string>
#include <thread>

#include "platform/kernel/last_error.h"
#include "win32.h"

namespace {

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = ::testing::TempDir() + "vel_file_" + std::to_string(GetCurrentProcessId()) + ".bin";
    DeleteFileA(m_path.c_str());
  }
  void TearDown() override { DeleteFileA(m_path.c_str()); }
  std::string m_path;
};

TEST_F(Files, CreateWriteSeekReadAndDispositions) {
  const char* path = m_path.c_str();
  EXPECT_EQ(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD count = 0;
  EXPECT_TRUE(WriteFile(file, "hello world", 11, &count, nullptr));
  EXPECT_EQ(count, 11u);
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(file, &high), 11u);
  EXPECT_EQ(high, 0u);
  EXPECT_EQ(SetFilePointer(file, -5, nullptr, FILE_END), 6u);
  char buffer[32] = {};
  EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
  EXPECT_EQ(count, 5u);
  EXPECT_STREQ(buffer, "world");
  EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
  EXPECT_EQ(count, 0u) << "end of file is a successful empty read";
  EXPECT_EQ(SetFilePointer(file, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  EXPECT_EQ(SetFilePointer(file, 5, nullptr, FILE_BEGIN), 5u);
  EXPECT_TRUE(SetEndOfFile(file));
  EXPECT_EQ(GetFileSize(file, nullptr), 5u);
  EXPECT_TRUE(FlushFileBuffers(file));
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_FALSE(ReadFile(file, buffer, 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  EXPECT_EQ(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(GetFileSize(file, nullptr), 5u);
  CloseHandle(file);
  file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(GetFileSize(file, nullptr), 0u);
  CloseHandle(file);
  EXPECT_TRUE(DeleteFileA(path));
  EXPECT_FALSE(DeleteFileA(path));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  // A directory is neither opened as a file nor deleted as one.
  EXPECT_EQ(CreateFileA(::testing::TempDir().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileA(::testing::TempDir().c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(LastError, ErrnoValuesMapToWin32Numbers) {
  using vel::platform::Win32ErrorFromErrno;
  EXPECT_EQ(Win32ErrorFromErrno(ENOENT), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(Win32ErrorFromErrno(ENOTDIR), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(Win32ErrorFromErrno(EACCES), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Win32ErrorFromErrno(ENOSPC), static_cast<DWORD>(ERROR_DISK_FULL));
  EXPECT_EQ(Win32ErrorFromErrno(EEXIST), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(Win32ErrorFromErrno(EPROTO), static_cast<DWORD>(ERROR_GEN_FAILURE));
  SetLastError(5);
  std::thread other([] { EXPECT_EQ(GetLastError(), 0u) << "the last error is per thread"; });
  other.join();
  EXPECT_EQ(GetLastError(), 5u);
}

TEST(Strings, CopyCompareAndFormatLikeWin32) {
  char buffer[1100];
  EXPECT_EQ(lstrlenA(nullptr), 0);
  EXPECT_EQ(lstrlenA("abc"), 3);
  EXPECT_STREQ(lstrcpynA(buffer, "abcdef", 4), "abc");
  EXPECT_STREQ(lstrcpynA(buffer, "ab", 10), "ab");
  EXPECT_EQ(lstrcmpiA("Straße", "STRAßE"), 0);
  EXPECT_EQ(lstrcmpiA("\xe9t\xe9", "\xc9T\xc9"), 0);
  EXPECT_LT(lstrcmpiA("abc", "ABD"), 0);

  EXPECT_EQ(wsprintfA(buffer, "%d|%5d|%-5d|%05d|%u|%x|%#X|%c|%s|%.2s|%%", -42, 7, 7, -7, 4000000000u, 255, 255, 'Z',
                      "text", "cut"),
            52);
  EXPECT_STREQ(buffer, "-42|    7|7    |-0007|4000000000|ff|0XFF|Z|text|cu|%");
  // "l" is 32 bits, "h" 16 bits; a null string prints as (null).
  LONG negative = -1;
  EXPECT_EQ(wsprintfA(buffer, "%ld %lu %hd %s", negative, static_cast<ULONG>(3), 65535, static_cast<const char*>(nullptr)),
            14);
  EXPECT_STREQ(buffer, "-1 3 -1 (null)");
  std::string longText(2000, 'x');
  EXPECT_EQ(wsprintfA(buffer, "%s", longText.c_str()), 1023) << "output stops at 1024 bytes";
  EXPECT_EQ(std::strlen(buffer), 1023u);
}

TEST(LocalTime, MatchesTheCalendar) {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  time_t now = time(nullptr);
  tm parts{};
  localtime_r(&now, &parts);
  EXPECT_EQ(local.wYear, parts.tm_year + 1900);
  EXPECT_EQ(local.wMonth, parts.tm_mon + 1);
  EXPECT_EQ(local.wDayOfWeek, parts.tm_wday);
  EXPECT_LE(local.wMilliseconds, 999);
  SYSTEMTIME utc{};
  GetSystemTime(&utc);
  EXPECT_LE(utc.wHour, 23);
}

}  // namespace
