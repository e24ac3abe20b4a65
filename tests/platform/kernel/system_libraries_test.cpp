#include "platform/kernel/system_libraries.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "win32.h"
#include "win32/debugging.h"

namespace {

TEST(SystemLibraries, TheImageHelpLibraryLoadsByAnyOfItsNames) {
  HMODULE library = LoadLibraryA("IMAGEHLP.DLL");
  ASSERT_NE(library, nullptr);
  for (const char* name : {"imagehlp", "ImageHlp.dll", "C:\\WINDOWS\\SYSTEM\\IMAGEHLP.DLL"}) {
    EXPECT_EQ(LoadLibraryA(name), library) << name;
  }
  for (const char* name : {"IMAGEHLPX.DLL", "IMAGEHLP.EXE", "KERNEL32.DLL", ""}) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA(name), nullptr) << name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  }
  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);

  EXPECT_NE(GetProcAddress(library, "EnumerateLoadedModules64"), nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(library, "SymInitialize"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(&library), "EnumerateLoadedModules64"), nullptr);
  EXPECT_TRUE(FreeLibrary(library));
  EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&library)));

  // A withheld library is missing until it is given back.
  vel::platform::WithholdSystemLibrary("IMAGEHLP.DLL", true);
  EXPECT_EQ(LoadLibraryA("IMAGEHLP.DLL"), nullptr);
  vel::platform::WithholdSystemLibrary("IMAGEHLP.DLL", false);
  EXPECT_EQ(LoadLibraryA("IMAGEHLP.DLL"), library);
}

BOOL CALLBACK CollectModule(PCSTR name, DWORD64 base, ULONG size, PVOID context) {
  auto& names = *static_cast<std::vector<std::string>*>(context);
  names.push_back(name);
  return size > 0 && base != 0 && names.size() < 2;
}

TEST(SystemLibraries, ModulesAreEnumeratedProgramFirstUntilTheCallbackStops) {
  auto enumerate = reinterpret_cast<PENUMERATE_LOADED_MODULES64>(
      reinterpret_cast<void (*)()>(GetProcAddress(LoadLibraryA("IMAGEHLP"), "EnumerateLoadedModules64")));
  ASSERT_NE(enumerate, nullptr);
  std::vector<std::string> names;
  EXPECT_TRUE(enumerate(GetCurrentProcess(), CollectModule, &names));
  ASSERT_EQ(names.size(), 2u);
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, sizeof program);
  EXPECT_EQ(names[0], program);
  EXPECT_FALSE(enumerate(reinterpret_cast<HANDLE>(42), CollectModule, &names));
  EXPECT_FALSE(enumerate(GetCurrentProcess(), nullptr, nullptr));
}

TEST(HfileFunctions, CreateWriteReopenAndFailClearly) {
  const std::string path = ::testing::TempDir() + "vel_hfile_" + std::to_string(getpid()) + ".txt";
  EXPECT_EQ(_lopen(path.c_str(), OF_READ), HFILE_ERROR);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  HFILE file = _lcreat(path.c_str(), 0);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lwrite(file, "report\r\n", 8), 8u);
  EXPECT_EQ(_lclose(file), 0);
  // Creating again empties the file.
  file = _lcreat(path.c_str(), 0);
  EXPECT_EQ(_lwrite(file, "x", 1), 1u);
  _lclose(file);
  file = _lopen(path.c_str(), OF_READ);
  ASSERT_NE(file, HFILE_ERROR);
  char bytes[16] = {};
  EXPECT_EQ(read(file, bytes, sizeof bytes), 1);
  EXPECT_EQ(_lwrite(file, "y", 1), static_cast<UINT>(HFILE_ERROR));
  _lclose(file);
  EXPECT_EQ(_lclose(file), HFILE_ERROR);
  EXPECT_EQ(_lopen(nullptr, OF_READ), HFILE_ERROR);
  EXPECT_EQ(_lcreat((::testing::TempDir() + "no/such/dir/x").c_str(), 0), HFILE_ERROR);
  std::remove(path.c_str());
}

}  // namespace
