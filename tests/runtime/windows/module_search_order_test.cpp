#include "runtime/windows/module_search_order.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vel::windows {
namespace {

HINSTANCE Handle(std::uintptr_t value) { return reinterpret_cast<HINSTANCE>(value); }

services::ModuleDescriptor EmptyDescriptor() { return services::ModuleDescriptor{}; }

TEST(DefinitionSearchOrder, ProgramFirstThenTheOtherModulesInListOrder) {
  services::ModuleList empty;
  EXPECT_EQ(DefinitionSearchOrder(empty), std::vector<HMODULE>{GetModuleHandleA(nullptr)});

  services::ModuleList modules;
  services::ModuleDescriptor program = EmptyDescriptor();
  services::ModuleDescriptor first = EmptyDescriptor();
  services::ModuleDescriptor second = EmptyDescriptor();
  ASSERT_TRUE(modules.Register(&program, Handle(0x1000)));
  ASSERT_TRUE(modules.Register(&first, Handle(0x2000)));
  ASSERT_TRUE(modules.Register(&second, Handle(0x3000)));
  // The list holds the most recent registration first; the program is searched before it all
  // and only once.
  EXPECT_EQ(DefinitionSearchOrder(modules), (std::vector<HMODULE>{Handle(0x1000), Handle(0x3000), Handle(0x2000)}));
}

}  // namespace
}  // namespace vel::windows
