#include "runtime/services/data_import_fixups.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "tests/runtime/services/call_recorder.h"

namespace vel::services {
namespace {

using Slot = std::uintptr_t;

Slot AddressOf(const void* pointer) { return reinterpret_cast<Slot>(pointer); }

/// A module with a global data area of four slots, a second data area of two slots and an
/// import area of three slots holding the imported addresses.
class DataImportFixups : public ::testing::Test {
 protected:
  void SetUp() override {
    m_import[0] = 0x1111;
    m_import[1] = 0x2222;
    m_import[2] = 0x3333;
    m_descriptor = testing::DescriptorWithTable(nullptr, nullptr);
    m_descriptor.globalDataStart = Bytes(m_globals);
    m_descriptor.globalDataEnd = Bytes(m_globals) + sizeof m_globals;
    m_descriptor.secondDataStart = Bytes(m_second);
    m_descriptor.secondDataEnd = Bytes(m_second) + sizeof m_second;
    m_descriptor.importAreaStart = Bytes(m_import);
    m_descriptor.importAreaEnd = Bytes(m_import) + sizeof m_import;
  }

  static std::byte* Bytes(Slot* slots) { return reinterpret_cast<std::byte*>(slots); }

  FixupOutcome Apply(std::initializer_list<DataImportFixup> fixups) {
    m_fixups.assign(fixups.begin(), fixups.end());
    m_descriptor.fixupListStart = m_fixups.data();
    m_descriptor.fixupListEnd = m_fixups.data() + m_fixups.size();
    return ApplyDataImportFixups(m_descriptor);
  }

  Slot m_globals[4]{};
  Slot m_second[2]{};
  Slot m_import[3]{};
  std::vector<DataImportFixup> m_fixups;
  ModuleDescriptor m_descriptor{};
};

TEST_F(DataImportFixups, SlotsPointingIntoTheImportAreaTakeTheImportedAddress) {
  m_globals[0] = AddressOf(&m_import[2]);
  m_globals[1] = 42;                      // an ordinary value stays
  m_globals[2] = AddressOf(&m_import[0]);
  m_globals[3] = AddressOf(&m_import[3]);  // one past the end is outside
  m_second[1] = AddressOf(&m_import[1]);

  FixupOutcome outcome = Apply({{Bytes(m_globals), sizeof m_globals}, {Bytes(m_second), sizeof m_second}});

  EXPECT_EQ(outcome.slotsReplaced, 3u);
  EXPECT_EQ(outcome.pairsRejected, 0u);
  EXPECT_EQ(m_globals[0], 0x3333u);
  EXPECT_EQ(m_globals[1], 42u);
  EXPECT_EQ(m_globals[2], 0x1111u);
  EXPECT_EQ(m_globals[3], AddressOf(&m_import[3]));
  EXPECT_EQ(m_second[1], 0x2222u);
}

TEST_F(DataImportFixups, OnlyTheListedPartOfAnAreaIsWalked) {
  m_globals[0] = AddressOf(&m_import[0]);
  m_globals[1] = AddressOf(&m_import[1]);
  m_globals[2] = AddressOf(&m_import[2]);

  // Two and a half slots from the second: the half slot at the end is left alone.
  FixupOutcome outcome = Apply({{Bytes(m_globals) + sizeof(Slot), sizeof(Slot) * 2 + sizeof(Slot) / 2}});

  EXPECT_EQ(outcome.slotsReplaced, 2u);
  EXPECT_EQ(m_globals[0], AddressOf(&m_import[0]));
  EXPECT_EQ(m_globals[1], 0x2222u);
  EXPECT_EQ(m_globals[2], 0x3333u);
}

TEST_F(DataImportFixups, PairsOutsideTheDeclaredDataAreasAreRejected) {
  Slot elsewhere[2] = {AddressOf(&m_import[0]), AddressOf(&m_import[1])};
  m_globals[3] = AddressOf(&m_import[2]);

  FixupOutcome outcome = Apply({
      {Bytes(elsewhere), sizeof elsewhere},                       // not the module's data
      {Bytes(m_globals) + 3 * sizeof(Slot), 2 * sizeof(Slot)},    // runs past the global area
      {Bytes(m_import), sizeof m_import},                         // the import area itself
      {nullptr, 16},
  });

  EXPECT_EQ(outcome.pairsRejected, 4u);
  EXPECT_EQ(outcome.slotsReplaced, 0u);
  EXPECT_EQ(elsewhere[0], AddressOf(&m_import[0]));
  EXPECT_EQ(m_globals[3], AddressOf(&m_import[2]));
}

}  // namespace
}  // namespace vel::services
