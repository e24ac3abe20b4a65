#include "runtime/windows/win32_resource_source.h"

#include <gtest/gtest.h>

#include "runtime/windows/current_definition.h"
#include "runtime/windows/definition_record.h"

namespace vel::windows {
namespace {

// The test program holds "skarvine$SKARV_SF" as SKARV_SF_RSC; the module VELWIN2.DLL holds a
// resource of the same name that belongs to "other$SKARV_SF" (tests/runtime/windows/data).
TEST(Win32ResourceSource, FindsTheProgramsDefinitionsThroughItsResources) {
  services::ModuleList modules;
  Win32ResourceSource source(modules);
  ASSERT_EQ(source.SearchOrder(), std::vector<HMODULE>{GetModuleHandleA(nullptr)});
  CurrentDefinition current;
  std::uint32_t offset = current.Find(source, "skarvine$SKARV_SF", "P23$SELECTWINDOW");
  ASSERT_NE(offset, 0u);
  EXPECT_EQ(current.Module(), GetModuleHandleA(nullptr));
  std::optional<Record> window = ReadRecord(current.View(), offset);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->title, "Change the Report Display");
  EXPECT_EQ(current.Find(source, "skarvine$SKARV_SF", "P99$NONE"), 0u);
  EXPECT_EQ(current.Find(source, "skarvine$SKARV404", "P23$SELECTWINDOW"), 0u);
}

TEST(Win32ResourceSource, SkipsTheSecondModulesResourceOfTheSameName) {
  HMODULE second = GetModuleHandleA("VELWIN2.DLL");
  ASSERT_NE(second, nullptr);
  services::ModuleDescriptor program{};
  services::ModuleDescriptor other{};
  services::ModuleList modules;
  // The second module registered as the program: its resource is tried first and skipped.
  ASSERT_TRUE(modules.Register(&other, second));
  ASSERT_TRUE(modules.Register(&program, GetModuleHandleA(nullptr)));
  Win32ResourceSource source(modules);
  ASSERT_EQ(source.SearchOrder(), (std::vector<HMODULE>{second, GetModuleHandleA(nullptr)}));
  ASSERT_TRUE(source.FindDefinitionResource(second, "SKARV_SF_RSC"));

  CurrentDefinition current;
  std::uint32_t offset = current.Find(source, "skarvine$SKARV_SF", "P23$SELECTWINDOW");
  ASSERT_NE(offset, 0u);
  EXPECT_EQ(current.Module(), GetModuleHandleA(nullptr));
  EXPECT_EQ(ReadRecord(current.View(), offset)->title, "Change the Report Display");

  offset = current.Find(source, "other$SKARV_SF", "P23$SELECTWINDOW");
  ASSERT_NE(offset, 0u);
  EXPECT_EQ(current.Module(), second);
  EXPECT_EQ(ReadRecord(current.View(), offset)->title, "Not this one");
}

}  // namespace
}  // namespace vel::windows
