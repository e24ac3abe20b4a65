#include "runtime/services/module_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>

#include "tests/runtime/services/call_recorder.h"

namespace vel::services {
namespace {

using testing::DescriptorWithTable;
using testing::RecordedCalls;
using testing::RecordingRoutine;

HINSTANCE Handle(std::uintptr_t value) { return reinterpret_cast<HINSTANCE>(value); }

const InitialiserEntry kTableA[] = {{16, RecordingRoutine<1>, RecordingRoutine<1>},
                                    {200, RecordingRoutine<2>, RecordingRoutine<2>}};
const InitialiserEntry kTableB[] = {{16, RecordingRoutine<3>, RecordingRoutine<3>}};

class ModuleListTest : public ::testing::Test {
 protected:
  void SetUp() override { RecordedCalls().clear(); }

  ModuleList m_list;
  ModuleDescriptor m_a = DescriptorWithTable(std::begin(kTableA), std::end(kTableA));
  ModuleDescriptor m_b = DescriptorWithTable(std::begin(kTableB), std::end(kTableB));
  ModuleDescriptor m_c = DescriptorWithTable(nullptr, nullptr);
};

TEST_F(ModuleListTest, RegistrationLinksDescriptorsRecordsTheFirstInstanceAndInitialises) {
  ASSERT_TRUE(m_list.Register(&m_a, Handle(0x1000)));
  EXPECT_EQ(RecordedCalls(), "i2 i1");
  ASSERT_TRUE(m_list.Register(&m_b, Handle(0x2000)));
  EXPECT_EQ(RecordedCalls(), "i2 i1 i3");

  EXPECT_EQ(m_a.previousDescriptor, nullptr);
  EXPECT_EQ(m_a.instance, Handle(0x1000));
  EXPECT_EQ(m_b.previousDescriptor, &m_a);
  EXPECT_EQ(m_b.instance, Handle(0x2000));
  EXPECT_EQ(m_list.ProgramInstance(), Handle(0x1000));

  // The program instance stays the first module ever registered, even after it is gone.
  m_list.Terminate(Handle(0x1000));
  EXPECT_EQ(m_list.ProgramInstance(), Handle(0x1000));
}

TEST_F(ModuleListTest, NullInstanceMeansTheProcessModule) {
  ASSERT_TRUE(m_list.Register(&m_c, nullptr));
  EXPECT_EQ(m_c.instance, GetModuleHandleA(nullptr));
  EXPECT_EQ(m_list.ProgramInstance(), GetModuleHandleA(nullptr));
  EXPECT_TRUE(m_list.Contains(GetModuleHandleA(nullptr)));
}

TEST_F(ModuleListTest, TerminationRunsTheReverseOrderUnlinksAndIgnoresUnknownHandles) {
  m_list.Register(&m_a, Handle(0x1000));
  m_list.Register(&m_b, Handle(0x2000));
  m_list.Register(&m_c, Handle(0x3000));
  RecordedCalls().clear();

  m_list.Terminate(Handle(0x9999));
  EXPECT_EQ(RecordedCalls(), "");
  EXPECT_EQ(m_list.Next(nullptr), Handle(0x3000));

  // The middle module goes first, then the head, then the last one.
  m_list.Terminate(Handle(0x2000));
  EXPECT_EQ(RecordedCalls(), "t3");
  EXPECT_FALSE(m_list.Contains(Handle(0x2000)));
  EXPECT_EQ(m_list.Next(Handle(0x3000)), Handle(0x1000));
  m_list.Terminate(Handle(0x3000));
  EXPECT_EQ(m_list.Next(nullptr), Handle(0x1000));
  m_list.Terminate(Handle(0x1000));
  EXPECT_EQ(RecordedCalls(), "t3 t1 t2");
  EXPECT_EQ(m_list.Next(nullptr), nullptr);

  // A second termination of the same handle finds nothing to do.
  m_list.Terminate(Handle(0x1000));
  EXPECT_EQ(RecordedCalls(), "t3 t1 t2");
}

TEST_F(ModuleListTest, NextModuleWalksFromTheMostRecentAndKeepsItsPosition) {
  m_list.Register(&m_a, Handle(0x1000));
  m_list.Register(&m_b, Handle(0x2000));
  m_list.Register(&m_c, Handle(0x3000));

  EXPECT_EQ(m_list.Next(nullptr), Handle(0x3000));
  EXPECT_EQ(m_list.Next(Handle(0x3000)), Handle(0x2000));
  EXPECT_EQ(m_list.Next(Handle(0x2000)), Handle(0x1000));
  EXPECT_EQ(m_list.Next(Handle(0x1000)), nullptr);

  // Any registered handle continues from that module; an unknown one ends the walk.
  EXPECT_EQ(m_list.Next(Handle(0x3000)), Handle(0x2000));
  EXPECT_EQ(m_list.Next(Handle(0x4242)), nullptr);

  // Terminating the module the walk stands on must not leave a dangling position behind.
  EXPECT_EQ(m_list.Next(nullptr), Handle(0x3000));
  m_list.Terminate(Handle(0x3000));
  EXPECT_EQ(m_list.Next(Handle(0x3000)), nullptr);
  EXPECT_EQ(m_list.Next(nullptr), Handle(0x2000));
}

TEST_F(ModuleListTest, UnsoundNullAndRepeatedDescriptorsAreRefused) {
  EXPECT_FALSE(m_list.Register(nullptr, Handle(0x1000)));

  // A table end before its start, a torn table, and a range with only one end set.
  ModuleDescriptor reversed = DescriptorWithTable(std::end(kTableA), std::begin(kTableA));
  EXPECT_FALSE(m_list.Register(&reversed, Handle(0x1000)));
  ModuleDescriptor torn = DescriptorWithTable(
      std::begin(kTableA), reinterpret_cast<const InitialiserEntry*>(reinterpret_cast<const std::byte*>(std::end(kTableA)) - 4));
  EXPECT_FALSE(m_list.Register(&torn, Handle(0x1000)));
  std::byte area[8]{};
  ModuleDescriptor halfArea = DescriptorWithTable(nullptr, nullptr);
  halfArea.globalDataStart = area;
  EXPECT_FALSE(m_list.Register(&halfArea, Handle(0x1000)));
  EXPECT_EQ(RecordedCalls(), "");
  EXPECT_EQ(m_list.Next(nullptr), nullptr);
  EXPECT_EQ(m_list.ProgramInstance(), nullptr);

  // Registering a module twice would run its initialisers twice.
  ASSERT_TRUE(m_list.Register(&m_a, Handle(0x1000)));
  EXPECT_FALSE(m_list.Register(&m_a, Handle(0x5000)));
  EXPECT_EQ(RecordedCalls(), "i2 i1");
  EXPECT_EQ(m_a.instance, Handle(0x1000));
}

TEST_F(ModuleListTest, ADescriptorSpoiledBeforeTerminationOnlyLosesItsNode) {
  m_list.Register(&m_a, Handle(0x1000));
  m_list.Register(&m_b, Handle(0x2000));
  RecordedCalls().clear();

  m_a.initialiserTableEnd = m_a.initialiserTableStart - 1;
  m_list.Terminate(Handle(0x1000));
  m_b.instance = Handle(0x7777);
  m_list.Terminate(Handle(0x2000));

  EXPECT_EQ(RecordedCalls(), "");
  EXPECT_EQ(m_list.Next(nullptr), nullptr);
}

TEST_F(ModuleListTest, DataAreaEnumerationReportsEveryModuleOnce) {
  std::byte globalsA[12]{};
  std::byte secondA[40]{};
  std::byte globalsB[4]{};
  m_a.globalDataStart = globalsA;
  m_a.globalDataEnd = globalsA + sizeof globalsA;
  m_a.secondDataStart = secondA;
  m_a.secondDataEnd = secondA + sizeof secondA;
  m_b.globalDataStart = globalsB;
  m_b.globalDataEnd = globalsB + sizeof globalsB;

  ModuleDataAreas areas;
  EXPECT_FALSE(m_list.FirstDataAreas(areas));
  m_list.Register(&m_a, Handle(0x1000));
  m_list.Register(&m_b, Handle(0x2000));

  ASSERT_TRUE(m_list.FirstDataAreas(areas));
  EXPECT_EQ(areas.instance, Handle(0x2000));
  EXPECT_EQ(areas.globalDataStart, globalsB);
  EXPECT_EQ(areas.globalDataLength, 4u);
  EXPECT_EQ(areas.secondDataLength, 0u);
  ASSERT_TRUE(m_list.NextDataAreas(areas));
  EXPECT_EQ(areas.instance, Handle(0x1000));
  EXPECT_EQ(areas.globalDataLength, 12u);
  EXPECT_EQ(areas.secondDataStart, secondA);
  EXPECT_EQ(areas.secondDataLength, 40u);
  EXPECT_FALSE(m_list.NextDataAreas(areas));
  EXPECT_FALSE(m_list.NextDataAreas(areas));

  // Terminating the module the enumeration stands on ends the enumeration safely.
  ASSERT_TRUE(m_list.FirstDataAreas(areas));
  m_list.Terminate(Handle(0x2000));
  EXPECT_FALSE(m_list.NextDataAreas(areas));
}

}  // namespace
}  // namespace vel::services
