// Resource lookups on hand-made tables, including damaged string blocks.

#include <gtest/gtest.h>

#include <string>

#include "platform/kernel/resource_registry.h"
#include "win32.h"

namespace {

// Block 1: id 0 "hi", id 1 claims 200 characters but the block ends after one.
const unsigned char kDamagedBlock[] = {2, 0, 'h', 0, 'i', 0, 200, 0, 'x', 0};
const unsigned char kEuroBlock[] = {1, 0, 0xAC, 0x20, 1, 0, 0x3B, 0x26};
const unsigned char kPayload[] = {1, 2, 3};

const vel::platform::ResourceEntry kEntries[] = {
    {nullptr, 6, nullptr, 1, 0, kDamagedBlock, sizeof kDamagedBlock},
    {nullptr, 6, nullptr, 2, 0, kEuroBlock, sizeof kEuroBlock},
    {"PAYLOAD", 0, "FIRST", 0, 0, kPayload, sizeof kPayload},
};

HMODULE Module() {
  static HMODULE module = vel::platform::RegisterResources("HANDMADE.DLL", kEntries, 3);
  return module;
}

TEST(ResourceRegistry, DamagedOrUnmappableStringsAreHandledSafely) {
  char buffer[16];
  EXPECT_EQ(LoadStringA(Module(), 0, buffer, sizeof buffer), 2);
  EXPECT_STREQ(buffer, "hi");
  EXPECT_EQ(LoadStringA(Module(), 1, buffer, sizeof buffer), 0) << "a length past the block's end";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(LoadStringA(Module(), 5, buffer, sizeof buffer), 0) << "the block ends before id 5";
  EXPECT_EQ(LoadStringA(Module(), 16, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "\x80") << "the euro sign is 0x80 in the ANSI code page";
  EXPECT_EQ(LoadStringA(Module(), 17, buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "?") << "a character the code page lacks";
}

TEST(ResourceRegistry, ModulesAreFoundByNameAndTheirResourcesByNumberOrName) {
  HMODULE module = Module();
  EXPECT_EQ(GetModuleHandleA("handmade.dll"), module);
  EXPECT_EQ(GetModuleHandleA("/some/dir/HandMade.DLL"), module);
  EXPECT_EQ(vel::platform::RegisterResources("HANDMADE.DLL", nullptr, 0), Module()) << "one module per name";
  HRSRC found = FindResourceA(Module(), "first", "payload");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(SizeofResource(Module(), found), 3u);
  EXPECT_EQ(LockResource(LoadResource(Module(), found)), kPayload);
  EXPECT_EQ(FindResourceA(Module(), "#1", "#6"), FindResourceA(Module(), MAKEINTRESOURCEA(1), RT_STRING));
  EXPECT_EQ(FindResourceA(Module(), "#1x", "#6"), nullptr) << "not a number: a name nobody has";
  EXPECT_EQ(FindResourceA(Module(), "FIRST", nullptr), nullptr);
  EXPECT_EQ(FindResourceA(reinterpret_cast<HMODULE>(0x4242), "FIRST", "PAYLOAD"), nullptr);
  EXPECT_EQ(LoadResource(Module(), reinterpret_cast<HRSRC>(0x4242)), nullptr);
  EXPECT_FALSE(FreeResource(LoadResource(Module(), found)));
}

}  // namespace
