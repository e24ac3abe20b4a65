#include "runtime/services/fault_library_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/services/error_state.h"
#include "tests/runtime/services/fault_test_support.h"

namespace vel::services {
namespace {

using testing::CaptureReport;
using testing::GuardedPage;

const char* g_unreadableName = nullptr;

void WindowWithAnAcceptedField(FaultLibraryState& state) {
  state.event = 0x1401;
  state.field = {3, "?SearchString"};
  state.focus = {4, nullptr};
  state.accepted = {3, "?SearchString"};
  state.firstField = {1, g_unreadableName};
  state.lastField = {-2, nullptr};
}

class FaultLibraryStateTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetFaultLibraryStateSource(nullptr);
    ClearError();
  }
};

TEST_F(FaultLibraryStateTest, WithoutAWindowEverythingReadsZero) {
  SetFaultLibraryStateSource(nullptr);
  ClearError();
  const std::string text =
      CaptureReport([](HFILE file) { WriteLibraryStateBlock(file, GatherFaultLibraryState(), ErrorStateWithoutWaiting()); });
  EXPECT_EQ(text,
            "Library State:\r\n"
            "  EVENT      = 0\r\n"
            "  FIELD      = 0\r\n"
            "  FOCUS      = 0\r\n"
            "  ACCEPTED   = 0\r\n"
            "  FIRSTFIELD = 0\r\n"
            "  LASTFIELD  = 0\r\n"
            "  ERRORCODE  = 0\r\n"
            "  ERROR      = \r\n");
}

TEST_F(FaultLibraryStateTest, NamesEventsAndFieldsAndShowsTheErrorState) {
  // A name that cannot be read is shown as no name, never followed into a second fault.
  GuardedPage page;
  g_unreadableName = reinterpret_cast<const char*>(page.Unreadable());
  SetFaultLibraryStateSource(WindowWithAnAcceptedField);
  SetError(529);
  const std::string text =
      CaptureReport([](HFILE file) { WriteLibraryStateBlock(file, GatherFaultLibraryState(), ErrorStateWithoutWaiting()); });
  EXPECT_EQ(text,
            "Library State:\r\n"
            "  EVENT      = EVENT:Accepted (5121 (01401H))\r\n"
            "  FIELD      = ?SearchString (3 (03H))\r\n"
            "  FOCUS      = 4 (04H)\r\n"
            "  ACCEPTED   = ?SearchString (3 (03H))\r\n"
            "  FIRSTFIELD = 1 (01H)\r\n"
            "  LASTFIELD  = -2 (0FFFFFFFEH)\r\n"
            "  ERRORCODE  = 529\r\n"
            "  ERROR      = Unable to open WINDOW\r\n");
}

TEST_F(FaultLibraryStateTest, UnknownEventsAreNamedByNumberAndLongErrorsAreCut) {
  FaultLibraryState state;
  state.event = 0x1777;
  ErrorState error;
  error.code = 999;
  const std::string longText = "Unknown Error Posted : 999 and a good deal more text than the report shows";
  std::memcpy(error.text, longText.data(), longText.size());
  const std::string text = CaptureReport([&](HFILE file) { WriteLibraryStateBlock(file, state, error); });
  EXPECT_NE(text.find("  EVENT      = 0x1777 (6007 (01777H))\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  ERROR      = " + longText.substr(0, 59) + "\r\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace vel::services
