#include "runtime/services/data_area_registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

#include "runtime/services/startup_step.h"
#include "tests/runtime/services/call_recorder.h"

namespace vel::services {
namespace {

TEST(DataAreaRegistry, KeepsAreasAndASnapshotOnlyWhenAskedAndIgnoresEmptyOnes) {
  DataAreaRegistry registry;
  std::byte globals[4] = {std::byte{1}, std::byte{2}, std::byte{3}, std::byte{4}};
  std::byte second[3]{};
  registry.Register(globals, sizeof globals, true);
  registry.Register(second, sizeof second, false);
  registry.Register(second, 0, true);
  registry.Register(nullptr, 16, true);

  globals[0] = std::byte{99};
  ASSERT_EQ(registry.Areas().size(), 2u);
  const DataAreaRegistry::Area& kept = registry.Areas()[0];
  EXPECT_TRUE(kept.hasInitialCopy);
  ASSERT_EQ(kept.initialContents.size(), 4u);
  EXPECT_EQ(kept.initialContents[0], std::byte{1});
  EXPECT_EQ(kept.initialContents[3], std::byte{4});
  EXPECT_FALSE(registry.Areas()[1].hasInitialCopy);
  EXPECT_TRUE(registry.Areas()[1].initialContents.empty());
}

TEST(DataAreaRegistry, TheStartUpPassVisitsEachAreaOnceIncludingLateOnes) {
  DataAreaRegistry registry;
  std::byte first[8]{}, second[8]{}, late[8]{}, fromHandler[8]{};
  std::string visits;
  auto name = [&](const std::byte* start) {
    return start == first ? "first " : start == second ? "second " : start == late ? "late " : "handler ";
  };
  registry.Register(first, sizeof first, true);
  registry.Register(second, sizeof second, false);
  registry.AddStartUpPassHandler([&](const DataAreaRegistry::Area& area) {
    visits += name(area.start);
    // A handler that registers an area while the pass runs gets that area too, once.
    if (area.start == second) registry.Register(fromHandler, sizeof fromHandler, true);
  });
  EXPECT_EQ(visits, "");

  registry.RunStartUpPass();
  registry.RunStartUpPass();
  EXPECT_TRUE(registry.StartUpPassDone());
  EXPECT_EQ(visits, "first second handler ");

  registry.Register(late, sizeof late, true);
  EXPECT_EQ(visits, "first second handler late ");
}

TEST(StartUpStep, HandsEveryModulesAreasToTheRegistryWithACopyOfTheGlobals) {
  std::uint32_t globalsA[3] = {7, 8, 9};
  std::byte secondA[16]{};
  std::uint32_t globalsB[1] = {5};
  ModuleDescriptor a = testing::DescriptorWithTable(nullptr, nullptr);
  a.globalDataStart = reinterpret_cast<std::byte*>(globalsA);
  a.globalDataEnd = reinterpret_cast<std::byte*>(std::end(globalsA));
  a.secondDataStart = secondA;
  a.secondDataEnd = secondA + sizeof secondA;
  ModuleDescriptor b = testing::DescriptorWithTable(nullptr, nullptr);
  b.globalDataStart = reinterpret_cast<std::byte*>(globalsB);
  b.globalDataEnd = reinterpret_cast<std::byte*>(std::end(globalsB));

  ModuleList modules;
  modules.Register(&a, reinterpret_cast<HINSTANCE>(0x1000));
  modules.Register(&b, reinterpret_cast<HINSTANCE>(0x2000));
  DataAreaRegistry registry;
  HandModuleDataAreas(modules, registry);

  EXPECT_TRUE(registry.StartUpPassDone());
  // b has no second area, so three areas: b's globals, a's second area, a's globals.
  ASSERT_EQ(registry.Areas().size(), 3u);
  EXPECT_EQ(registry.Areas()[0].start, b.globalDataStart);
  EXPECT_TRUE(registry.Areas()[0].hasInitialCopy);
  EXPECT_EQ(registry.Areas()[1].start, secondA);
  EXPECT_EQ(registry.Areas()[1].length, 16u);
  EXPECT_FALSE(registry.Areas()[1].hasInitialCopy);
  const DataAreaRegistry::Area& globals = registry.Areas()[2];
  EXPECT_EQ(globals.length, 12u);
  ASSERT_TRUE(globals.hasInitialCopy);
  std::uint32_t copied[3];
  std::memcpy(copied, globals.initialContents.data(), sizeof copied);
  EXPECT_EQ(copied[0], 7u);
  EXPECT_EQ(copied[2], 9u);
}

}  // namespace
}  // namespace vel::services
