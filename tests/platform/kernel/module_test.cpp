#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "win32.h"

TEST(ModuleFileName, NamesTheRunningExecutableAndCutsToTheBuffer) {
  char full[MAX_PATH * 4];
  DWORD length = GetModuleFileNameA(nullptr, full, sizeof full);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::strlen(full), length);
  EXPECT_NE(std::string(full).find("platform_kernel_tests"), std::string::npos);

  char small[5];
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), sizeof small);
  EXPECT_EQ(std::string(small), std::string(full, 4));
  EXPECT_EQ(GetLastError(), 122u);
}

TEST(ModuleHandle, OwnModuleIsStableAndUnknownNamesFail) {
  EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr));
  EXPECT_EQ(GetModuleHandleA("NOSUCH.DLL"), nullptr);
}
