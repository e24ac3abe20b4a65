// The PRESS queue: its growth and its limit, and keys replayed to the focus window as if typed.

#include "runtime/windows/press_queue.h"

#include <gtest/gtest.h>

#include "runtime/services/error_state.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/key_codes.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

TEST(PressRing, GrowsByDoublingInRingOrderUpTo1024) {
  PressRing ring;
  std::uint16_t key = 0;
  // Wrap the ring round before it grows, so growing must unroll it.
  for (std::uint16_t i = 0; i < 10; ++i) ASSERT_TRUE(ring.Append(i));
  for (std::uint16_t i = 0; i < 10; ++i) ASSERT_TRUE(ring.Take(&key));
  std::vector<std::size_t> capacities{ring.Capacity()};
  for (std::uint16_t i = 0; i < 1024; ++i) {
    ASSERT_TRUE(ring.Append(i));
    if (ring.Capacity() != capacities.back()) capacities.push_back(ring.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<std::size_t>{16, 32, 64, 128, 256, 512, 1024}));
  EXPECT_FALSE(ring.Append(9999)) << "full at its largest";
  EXPECT_EQ(ring.Size(), 1024u);
  for (std::uint16_t i = 0; i < 1024; ++i) {
    ASSERT_TRUE(ring.Take(&key));
    ASSERT_EQ(key, i);
  }
  EXPECT_FALSE(ring.Take(&key));
}

const char kPressWindow[] =
    "definition \"test$PRESS\"\n"
    "window \"W\" title(\"Press\") flags(pixel) at(10, 10, 300, 200)\n"
    "  button \"One\" at(10, 10, 80, 24)\n"
    "  button \"Two\" at(10, 40, 80, 24)\n"
    "end\n";

class PressQueue : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ResetPressQueue();
    UseRecordingControls();
    AddDefinitions("test$PRESS", kPressWindow);
    m_window.Open("test$PRESS", "W");
    ASSERT_TRUE(m_window.IsOpen());
    ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
    SelectField(1);
    EventsWhileInputIsTaken(m_window);
  }
  void TearDown() override {
    ResetPressQueue();
    WindowTest::TearDown();
  }
  RecordingControl& Control(std::int32_t field) { return *RecordingControlOf(m_window, field); }

  ProcedureWindow m_window;
};

TEST_F(PressQueue, AKeyBeyond1024SetsError534AndIsDropped) {
  std::vector<std::uint16_t> keys(1024, 'A');
  PressKeys(keys);
  EXPECT_EQ(services::ERRORCODE(), 0);
  EXPECT_EQ(PressQueueCapacity(), 1024u);
  PressKeys({'B'});
  EXPECT_EQ(services::ERRORCODE(), kErrorTooManyKeys);
  EXPECT_EQ(services::ClippedErrorText(), "Too many keystrokes PRESSed");
  EXPECT_EQ(PressedKeyCount(), 1024u);
  ResetPressQueue();
  EXPECT_EQ(PressQueueCapacity(), 16u);
}

TEST_F(PressQueue, CapsLockEntriesFlipTheRuntimesFlag) {
  EXPECT_FALSE(PressCapsLock());
  PressKeys({VK_CAPITAL, 'A'});
  EXPECT_TRUE(PressCapsLock());
  PressKeys({VK_CAPITAL | kKeyShift});
  EXPECT_FALSE(PressCapsLock());
}

TEST_F(PressQueue, PressedKeysAreTypedIntoTheFocusWindowWithTheirShiftState) {
  PressText("aB");
  EventsWhileInputIsTaken(m_window);
  EXPECT_EQ(Control(1).characters, "aB");
  EXPECT_EQ(PressedKeyCount(), 0u);
  EXPECT_GE(GetAsyncKeyState(VK_SHIFT), 0) << "Shift is let go again after the B";
}

TEST_F(PressQueue, EachKeyWaitsForTheOneBeforeSoAKeyThatMovesTheFocusMovesTheRest) {
  PressKeys({'X', VK_TAB, 'Y'});
  EventsWhileInputIsTaken(m_window);
  EXPECT_EQ(Control(1).characters, "x");
  EXPECT_EQ(Control(2).characters, "y");
  EXPECT_EQ(GetFocus(), Control(2).Handle());
}

}  // namespace
}  // namespace vel::windows::testing
