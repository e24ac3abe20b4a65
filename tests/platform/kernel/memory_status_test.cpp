#include <gtest/gtest.h>

#include "win32.h"

namespace {

TEST(GlobalMemoryStatusEx, FillsConsistentFiguresAndChecksTheLength) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  ASSERT_TRUE(GlobalMemoryStatusEx(&status));
  EXPECT_GT(status.ullTotalPhys, 0u);
  EXPECT_LE(status.ullAvailPhys, status.ullTotalPhys);
  EXPECT_GE(status.ullTotalPageFile, status.ullTotalPhys);
  EXPECT_LE(status.dwMemoryLoad, 100u);

  MEMORYSTATUSEX wrong{};
  wrong.dwLength = sizeof wrong - 1;
  SetLastError(0);
  EXPECT_FALSE(GlobalMemoryStatusEx(&wrong));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(GlobalMemoryStatusEx(nullptr));
}

}  // namespace
