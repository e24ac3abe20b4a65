#include "runtime/services/initialiser_table.h"

#include <gtest/gtest.h>

#include <iterator>

#include "tests/runtime/services/call_recorder.h"

namespace vel::services {
namespace {

using testing::RecordedCalls;
using testing::RecordingRoutine;

InitialiserEntry Both(std::int32_t priority, ModuleRoutine routine) { return {priority, routine, routine}; }

class InitialiserTable : public ::testing::Test {
 protected:
  void SetUp() override { RecordedCalls().clear(); }
};

TEST_F(InitialiserTable, MixedPrioritiesInitialiseDescendingAndTerminateAscending) {
  const InitialiserEntry table[] = {
      Both(5, RecordingRoutine<5>),     Both(28, RecordingRoutine<28>), Both(150, RecordingRoutine<150>),
      Both(255, RecordingRoutine<255>), Both(16, RecordingRoutine<16>),
  };
  RunInitialisers(std::begin(table), std::end(table));
  EXPECT_EQ(RecordedCalls(), "i255 i150 i28 i16 i5");
  RecordedCalls().clear();
  RunTerminators(std::begin(table), std::end(table));
  EXPECT_EQ(RecordedCalls(), "t5 t16 t28 t150 t255");
}

TEST_F(InitialiserTable, EqualPrioritiesRunInTableOrderAndTerminateInReverse) {
  const InitialiserEntry table[] = {
      Both(16, RecordingRoutine<1>), Both(150, RecordingRoutine<2>), Both(16, RecordingRoutine<3>),
      Both(16, RecordingRoutine<4>), Both(150, RecordingRoutine<5>),
  };
  RunInitialisers(std::begin(table), std::end(table));
  EXPECT_EQ(RecordedCalls(), "i2 i5 i1 i3 i4");
  RecordedCalls().clear();
  RunTerminators(std::begin(table), std::end(table));
  EXPECT_EQ(RecordedCalls(), "t4 t3 t1 t5 t2");
}

TEST_F(InitialiserTable, EmptyRoutineFieldsAreSkippedAndEachDirectionUsesItsOwnField) {
  const InitialiserEntry table[] = {
      {16, nullptr, nullptr},
      {16, RecordingRoutine<1>, nullptr},
      {16, nullptr, RecordingRoutine<2>},
      {5, RecordingRoutine<3>, RecordingRoutine<4>},
  };
  RunInitialisers(std::begin(table), std::end(table));
  EXPECT_EQ(RecordedCalls(), "i1 i3");
  RecordedCalls().clear();
  RunTerminators(std::begin(table), std::end(table));
  EXPECT_EQ(RecordedCalls(), "t4 t2");
}

TEST_F(InitialiserTable, PrioritiesOutsideOneTo255NeverRunInEitherDirection) {
  // An entry that was never initialised must not be terminated either.
  const InitialiserEntry table[] = {
      Both(0, RecordingRoutine<0>),     Both(-3, RecordingRoutine<-3>), Both(256, RecordingRoutine<256>),
      Both(1, RecordingRoutine<1>),     Both(255, RecordingRoutine<255>),
  };
  RunInitialisers(std::begin(table), std::end(table));
  EXPECT_EQ(RecordedCalls(), "i255 i1");
  RecordedCalls().clear();
  RunTerminators(std::begin(table), std::end(table));
  EXPECT_EQ(RecordedCalls(), "t1 t255");
}

TEST_F(InitialiserTable, EmptyAndNullTablesCallNothing) {
  const InitialiserEntry table[] = {Both(16, RecordingRoutine<1>)};
  RunInitialisers(table, table);
  RunTerminators(table, table);
  RunInitialisers(nullptr, nullptr);
  RunTerminators(nullptr, nullptr);
  EXPECT_EQ(RecordedCalls(), "");
}

}  // namespace
}  // namespace vel::services
