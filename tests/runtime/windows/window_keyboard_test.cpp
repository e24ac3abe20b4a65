// A window's keyboard on the headless display: alert keys with EVENT:PreAlert and
// EVENT:AlertKey, control hot keys, commands routed to fields, and Tab moving the focus.

#include <gtest/gtest.h>

#include "platform/display/headless/headless_display.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/key_codes.h"
#include "runtime/windows/window_key_tables.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

using platform::kAlt;
using platform::kShift;

const char kKeyboardWindow[] =
    "definition \"test$KEYS\"\n"
    "window \"W\" title(\"Keys\") flags(pixel) at(10, 10, 300, 200) keys(0x22, 0x171, 2)\n"
    "  button \"&Go\" at(10, 10, 80, 24)\n"
    "  button \"&Stop\" at(10, 40, 80, 24) keys(0x70)\n"
    "  button \"Plain\" at(10, 70, 80, 24)\n"
    "end\n";

class WindowKeyboard : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    UseRecordingControls();
    AddDefinitions("test$KEYS", kKeyboardWindow);
    m_display = platform::CurrentHeadlessDisplay();
    ASSERT_NE(m_display, nullptr);
    m_window.Open("test$KEYS", "W");
    ASSERT_TRUE(m_window.IsOpen());
    ASSERT_EQ(NextEvent(m_window), Number(EVENT_OpenWindow));
    Focus(1);
  }

  RecordingControl& Control(std::int32_t field) { return *RecordingControlOf(m_window, field); }
  void Focus(std::int32_t field) {
    SelectField(field);
    EventsWhileInputIsTaken(m_window);
  }

  platform::HeadlessDisplay* m_display = nullptr;
  ProcedureWindow m_window;
};

TEST_F(WindowKeyboard, AnAlertKeySendsPreAlertThenQueuesAlertKeyAndTheControlNeverSeesIt) {
  m_display->PressKey(VK_NEXT);
  std::vector<std::int32_t> keys;
  std::vector<std::int32_t> fields;
  std::vector<std::int32_t> events = EventsWhileInputIsTaken(m_window, &keys, &fields);
  ASSERT_EQ(events, (std::vector<std::int32_t>{Number(EVENT_PreAlert), Number(EVENT_AlertKey)}));
  EXPECT_EQ(keys, (std::vector<std::int32_t>{VK_NEXT, VK_NEXT})) << "the alert key's events carry that key";
  EXPECT_EQ(fields, (std::vector<std::int32_t>{1, 1})) << "and name the control that has the focus";
  EXPECT_TRUE(Control(1).keysDown.empty() || Control(1).keysDown.back() != VK_NEXT);

  // Shift+F2 is 0x171; a right click (code 2) is an alert key too.
  m_display->PressKey(VK_F2, kShift);
  keys.clear();
  events = EventsWhileInputIsTaken(m_window, &keys);
  EXPECT_EQ(events, (std::vector<std::int32_t>{Number(EVENT_PreAlert), Number(EVENT_AlertKey)}));
  EXPECT_EQ(keys.back(), 0x171);
  RECT button{};
  GetWindowRect(Control(3).Handle(), &button);
  m_display->Click(POINT{button.left + 5, button.top + 5}, 1);
  keys.clear();
  events = EventsWhileInputIsTaken(m_window, &keys);
  EXPECT_EQ(events, (std::vector<std::int32_t>{Number(EVENT_PreAlert), Number(EVENT_AlertKey)}));
  EXPECT_EQ(keys.back(), kMouseRight);
}

TEST_F(WindowKeyboard, AnAlertKeyRefusedByPreAlertReachesTheControl) {
  std::size_t before = Control(1).keysDown.size();
  m_display->PressKey(VK_NEXT);
  ASSERT_EQ(NextEvent(m_window), Number(EVENT_PreAlert));
  m_window.Refuse();
  std::vector<std::int32_t> events = EventsWhileInputIsTaken(m_window);
  EXPECT_EQ(events, (std::vector<std::int32_t>{Number(EVENT_AlertKey)})) << "AlertKey is queued either way";
  ASSERT_EQ(Control(1).keysDown.size(), before + 1);
  EXPECT_EQ(Control(1).keysDown.back(), static_cast<WPARAM>(VK_NEXT));
}

TEST_F(WindowKeyboard, AControlsAlertKeysCountOnlyWhileItHasTheFocus) {
  m_display->PressKey(VK_F1);
  EXPECT_TRUE(EventsWhileInputIsTaken(m_window).empty());
  EXPECT_EQ(Control(1).keysDown.back(), static_cast<WPARAM>(VK_F1));
  Focus(2);
  m_display->PressKey(VK_F1);
  std::vector<std::int32_t> fields;
  std::vector<std::int32_t> events = EventsWhileInputIsTaken(m_window, nullptr, &fields);
  EXPECT_EQ(events, (std::vector<std::int32_t>{Number(EVENT_PreAlert), Number(EVENT_AlertKey)}));
  EXPECT_EQ(fields, (std::vector<std::int32_t>{2, 2}));
}

TEST_F(WindowKeyboard, AltWithAMarkedLetterCommandsItsControlLikeAClick) {
  m_display->PressKey('S', kAlt);
  EventsWhileInputIsTaken(m_window);
  ASSERT_EQ(Control(2).commands.size(), 1u);
  EXPECT_EQ(Control(2).commands[0], std::make_pair(WORD{0}, HWND{nullptr})) << "a key stands for a click";
  EXPECT_TRUE(Control(1).commands.empty());

  // A disabled control's hot key does nothing.
  EnableWindow(Control(2).Handle(), FALSE);
  m_display->PressKey('S', kAlt);
  EventsWhileInputIsTaken(m_window);
  EXPECT_EQ(Control(2).commands.size(), 1u);
  EnableWindow(Control(2).Handle(), TRUE);

  // A click reaches the control through the client window with its own notification.
  SendMessageA(Control(3).Handle(), BM_CLICK, 0, 0);
  EventsWhileInputIsTaken(m_window);
  ASSERT_EQ(Control(3).commands.size(), 1u);
  EXPECT_EQ(Control(3).commands[0], std::make_pair(WORD{BN_CLICKED}, Control(3).Handle()));
}

TEST_F(WindowKeyboard, CommandsGoToTheirFieldAndIdentifierZeroIsAnAlertKey) {
  SendMessageA(m_window.Handle(), WM_COMMAND, MAKEWPARAM(0x4003, 5), 0);
  ASSERT_EQ(Control(3).commands.size(), 1u);
  EXPECT_EQ(Control(3).commands[0].first, 5);
  SendMessageA(m_window.Handle(), WM_COMMAND, MAKEWPARAM(0x4063, 0), 0);  // no field 99: ignored
  SendMessageA(m_window.Handle(), WM_COMMAND, IDCANCEL, 0);               // the dialog manager's: ignored
  SendMessageA(m_window.Handle(), WM_COMMAND, 0, 0);
  EXPECT_EQ(EventsWhileInputIsTaken(m_window), (std::vector<std::int32_t>{Number(EVENT_AlertKey)}));
}

TEST_F(WindowKeyboard, TabAndShiftTabMoveTheFocusBetweenControls) {
  m_display->PressKey(VK_TAB);
  EventsWhileInputIsTaken(m_window);
  EXPECT_EQ(GetFocus(), Control(2).Handle());
  m_display->PressKey(VK_TAB);
  m_display->PressKey(VK_TAB);
  EventsWhileInputIsTaken(m_window);
  EXPECT_EQ(GetFocus(), Control(1).Handle()) << "Tab wraps round";
  m_display->PressKey(VK_TAB, kShift);
  EventsWhileInputIsTaken(m_window);
  EXPECT_EQ(GetFocus(), Control(3).Handle());
  for (std::int32_t field : {1, 2, 3}) {
    for (WPARAM key : Control(field).keysDown) EXPECT_NE(key, static_cast<WPARAM>(VK_TAB));
  }
}

}  // namespace
}  // namespace vel::windows::testing
