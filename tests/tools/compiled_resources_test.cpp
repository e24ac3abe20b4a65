// Resources compiled by vel-rc into this test program (tests/tools/data/program.rc) and into
// its resource module VELTEST.DLL (extra.rc), read back through the Win32 resource calls.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "win32.h"

namespace {

using std::string;

string DataFile(const string& name) {
  string here = __FILE__;
  std::ifstream in(here.substr(0, here.rfind('/')) + "/data/" + name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

string Bytes(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC found = FindResourceA(module, name, type);
  if (found == nullptr) return "<missing>";
  const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
  return string(data, SizeofResource(module, found));
}

uint16_t Word(const string& data, size_t offset) {
  return static_cast<uint16_t>(static_cast<unsigned char>(data[offset]) | (static_cast<unsigned char>(data[offset + 1]) << 8));
}
uint32_t Dword(const string& data, size_t offset) { return Word(data, offset) | (static_cast<uint32_t>(Word(data, offset + 2)) << 16); }

HMODULE Extra() { return GetModuleHandleA("veltest.dll"); }

TEST(CompiledResources, IconsBecomeAGroupDirectoryAndNumberedImages) {
  string file = DataFile("get.ico");
  string group = Bytes(nullptr, "GetIcon", RT_GROUP_ICON);
  ASSERT_EQ(group.size(), 6u + 2 * 14);
  EXPECT_EQ(Word(group, 2), 1);
  ASSERT_EQ(Word(group, 4), 2);
  for (int i = 0; i < 2; ++i) {
    size_t entry = 6 + 14 * static_cast<size_t>(i);
    size_t fileEntry = 6 + 16 * static_cast<size_t>(i);
    EXPECT_EQ(group.substr(entry, 12), file.substr(fileEntry, 12)) << "size, colours, planes, bits and length";
    uint16_t id = Word(group, entry + 12);
    EXPECT_EQ(Bytes(nullptr, MAKEINTRESOURCEA(id), RT_ICON), file.substr(Dword(file, fileEntry + 12), Dword(file, fileEntry + 8)));
  }
  // A #define names the second icon; "#7" is the same number written as text.
  EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(7), RT_GROUP_ICON), nullptr);
  EXPECT_EQ(FindResourceA(nullptr, "#7", MAKEINTRESOURCEA(14)), FindResourceA(nullptr, MAKEINTRESOURCEA(7), RT_GROUP_ICON));
  EXPECT_EQ(Word(Bytes(nullptr, "#7", RT_GROUP_ICON), 6 + 12), 3) << "images are numbered across the script";
}

TEST(CompiledResources, CursorsCarryTheirHotSpotAndDoubledHeight) {
  string file = DataFile("arrow.cur");
  string group = Bytes(nullptr, "ARROW", RT_GROUP_CURSOR);
  ASSERT_EQ(group.size(), 6u + 14);
  EXPECT_EQ(Word(group, 2), 2);
  EXPECT_EQ(Word(group, 6), 32);
  EXPECT_EQ(Word(group, 8), 64);
  EXPECT_EQ(Word(group, 10), 1);
  EXPECT_EQ(Word(group, 12), 32);
  uint32_t imageSize = Dword(file, 6 + 8);
  EXPECT_EQ(Dword(group, 14), imageSize + 4);
  string image = Bytes(nullptr, MAKEINTRESOURCEA(Word(group, 18)), RT_CURSOR);
  EXPECT_EQ(Word(image, 0), 3);
  EXPECT_EQ(Word(image, 2), 5);
  EXPECT_EQ(image.substr(4), file.substr(Dword(file, 6 + 12), imageSize));
}

TEST(CompiledResources, FilesDataBlocksAndBitmapsKeepTheirBytes) {
  EXPECT_EQ(Bytes(nullptr, "search_rsc", "vizorar"), DataFile("window.vz"));
  EXPECT_EQ(Bytes(nullptr, "BANNER", "IMAGE"), DataFile("window.vz"));
  EXPECT_EQ(Bytes(nullptr, MAKEINTRESOURCEA(42), RT_RCDATA), string("\1\0\2\0\0\0abc\0", 10));
  EXPECT_EQ(Bytes(nullptr, "LOGO", RT_BITMAP), DataFile("logo.bmp").substr(14));

  SetLastError(0);
  EXPECT_EQ(FindResourceA(nullptr, "NOSUCH", "VIZORAR"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(FindResourceA(nullptr, "SEARCH_RSC", "NOTYPE"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  // A handle from one module means nothing to another.
  HRSRC own = FindResourceA(nullptr, "SEARCH_RSC", "VIZORAR");
  EXPECT_EQ(LoadResource(Extra(), own), nullptr);
  EXPECT_EQ(SizeofResource(Extra(), own), 0u);
}

TEST(CompiledResources, StringsLoadFromBlocksOfSixteenWithCutAndTerminator) {
  char buffer[64];
  EXPECT_EQ(LoadStringA(nullptr, 0x101, buffer, sizeof buffer), 15);
  EXPECT_STREQ(buffer, "Hello, \"world\"\n");
  EXPECT_EQ(LoadStringA(nullptr, 17, buffer, sizeof buffer), 17);
  EXPECT_STREQ(buffer, "tab\there and more");
  EXPECT_EQ(LoadStringA(nullptr, 31, buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "\xe9t\xe9");
  EXPECT_EQ(LoadStringA(nullptr, 1, buffer, sizeof buffer), 3);

  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(LoadStringA(nullptr, 17, buffer, 4), 3);
  EXPECT_EQ(string(buffer, 5), string("tab\0z", 5));
  // Missing ids, in a present block (16) and an absent one, give 0 and an empty buffer.
  buffer[0] = 'x';
  EXPECT_EQ(LoadStringA(nullptr, 16, buffer, sizeof buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(LoadStringA(nullptr, 5000, buffer, sizeof buffer), 0);
  EXPECT_EQ(LoadStringA(nullptr, 1, nullptr, 10), 0);
}

TEST(CompiledResources, EachModuleHasItsOwnResourcesAndIsListed) {
  HMODULE own = GetModuleHandleA(nullptr);
  HMODULE extra = Extra();
  ASSERT_NE(extra, nullptr);
  EXPECT_NE(extra, own);
  char path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(extra, path, sizeof path), 0u);
  EXPECT_EQ(string(path).substr(string(path).rfind('/') + 1), "VELTEST.DLL");

  char buffer[64];
  EXPECT_EQ(LoadStringA(extra, 1, buffer, sizeof buffer), 14);
  EXPECT_STREQ(buffer, "one from extra");
  EXPECT_EQ(LoadStringA(own, 2, buffer, sizeof buffer), 0);
  EXPECT_EQ(Bytes(extra, "SEARCH_RSC", "VIZORAR"), DataFile("other.vz"));

  // The lookup order a runtime uses: its own module first, then every other module.
  std::vector<HMODULE> modules(8);
  DWORD needed = 0;
  ASSERT_TRUE(EnumProcessModules(GetCurrentProcess(), modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed));
  modules.resize(needed / sizeof(HMODULE));
  ASSERT_GE(modules.size(), 2u);
  EXPECT_EQ(modules[0], own);
  EXPECT_NE(std::find(modules.begin(), modules.end(), extra), modules.end());
  auto firstWith = [&](UINT id) -> HMODULE {
    for (HMODULE module : modules) {
      if (LoadStringA(module, id, buffer, sizeof buffer) > 0) return module;
    }
    return nullptr;
  };
  EXPECT_EQ(firstWith(1), own);
  EXPECT_EQ(firstWith(2), extra);
  EXPECT_EQ(firstWith(3), nullptr);
}

}  // namespace
