#include "runtime/services/runtime_version.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/user/message_box_script.h"

namespace vel::services {
namespace {

using platform::ClearMessageBoxLog;
using platform::MessageBoxLog;

constexpr const char* kRequiresFourThree =
    "This program or a component DLL requires D4IRAX version 4.003.00 or later\r\nThis version is 4.002.00";
constexpr const char* kPreRelease =
    "This program or a component DLL was built using the beta release of Velmora 4\r\n"
    "It will not operate correctly with this copy of D4IRAX\r\n"
    "Please obtain a new version of this program";

/// Every refusal is a stop box with an OK button and no owner under the runtime's caption.
void ExpectRefusalBox(const platform::MessageBoxRecord& box, const std::string& text) {
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.caption, "Velmora 4 Runtime Library");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

class RuntimeVersionCheck : public ::testing::Test {
 protected:
  void SetUp() override { ClearMessageBoxLog(); }
};

TEST_F(RuntimeVersionCheck, AcceptsTheReleaseWordUpToThisMinorAndRecordsTheRequest) {
  EXPECT_TRUE(CheckRuntimeVersion(0x104, 2, 5));
  EXPECT_EQ(RuntimeVersion().requestedMajor, 4u);
  EXPECT_EQ(RuntimeVersion().requestedMinor, 2u);
  EXPECT_EQ(RuntimeVersion().requestedSubRelease, 5u);
  EXPECT_EQ(RuntimeVersionNumber(), 4002u);
  EXPECT_EQ(RequestedVersionNumber(), 4002u);

  EXPECT_TRUE(CheckRuntimeVersion(RequestedVersion{0x104, 0, 99}));
  EXPECT_EQ(RequestedVersionNumber(), 4000u);
  EXPECT_EQ(RuntimeVersion().requestedSubRelease, 99u);
  EXPECT_TRUE(MessageBoxLog().empty());
}

TEST_F(RuntimeVersionCheck, ANewerMinorIsRefusedWithTheRequiresMessage) {
  EXPECT_TRUE(CheckRuntimeVersion(0x104, 1, 0));
  EXPECT_FALSE(CheckRuntimeVersion(0x104, 3, 0));

  auto log = MessageBoxLog();
  ASSERT_EQ(log.size(), 1u);
  ExpectRefusalBox(log[0], kRequiresFourThree);
  // A refusal leaves the last accepted request in place.
  EXPECT_EQ(RequestedVersionNumber(), 4001u);
}

TEST_F(RuntimeVersionCheck, OtherReleaseWordsShowTheirOwnMajorAndTheFullNumbers) {
  EXPECT_FALSE(CheckRuntimeVersion(0x105, 0, 7));
  EXPECT_FALSE(CheckRuntimeVersion(0x11F, 12, 34));
  // The comparison is unsigned: a minor that would be negative as a signed number is refused
  // and printed as the number it is.
  EXPECT_FALSE(CheckRuntimeVersion(0x104, 0xFFFFFFFFu, 0xFFFFFFFFu));

  auto log = MessageBoxLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].text,
            "This program or a component DLL requires D4IRAX version 5.000.07 or later\r\nThis version is 4.002.00");
  EXPECT_EQ(log[1].text,
            "This program or a component DLL requires D4IRAX version 15.012.34 or later\r\nThis version is 4.002.00");
  EXPECT_EQ(log[2].text,
            "This program or a component DLL requires D4IRAX version 4.4294967295.4294967295 or later\r\n"
            "This version is 4.002.00");
}

TEST_F(RuntimeVersionCheck, AWordWithoutTheReleaseBitGivesThePreReleaseMessage) {
  EXPECT_FALSE(CheckRuntimeVersion(0x004, 2, 0));
  EXPECT_FALSE(CheckRuntimeVersion(0x204, 0, 0));

  auto log = MessageBoxLog();
  ASSERT_EQ(log.size(), 2u);
  ExpectRefusalBox(log[0], kPreRelease);
  ExpectRefusalBox(log[1], kPreRelease);
}

}  // namespace
}  // namespace vel::services
