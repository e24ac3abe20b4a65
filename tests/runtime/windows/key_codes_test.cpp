// Key codes from messages, the thread's last key, and key tables, with the keyboard state of
// the headless display.

#include "runtime/windows/key_codes.h"

#include <gtest/gtest.h>

#include "platform/display/headless/headless_display.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/key_table.h"
#include "runtime/windows/thread_table.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

// A window that takes the keys the display sends and counts the commands it receives.
std::vector<WPARAM> g_commands;
LRESULT CALLBACK CommandCounter(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) g_commands.push_back(wParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

class KeyCodes : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    m_display = platform::CurrentHeadlessDisplay();
    ASSERT_NE(m_display, nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CommandCounter;
    windowClass.lpszClassName = "KeyCodesTestWindow";
    RegisterClassA(&windowClass);
    m_window = CreateWindowExA(0, "KeyCodesTestWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
    SetActiveWindow(m_window);
    SetFocus(m_window);
    g_commands.clear();
  }
  void TearDown() override {
    DestroyWindow(m_window);
    UnregisterClassA("KeyCodesTestWindow", nullptr);
    WindowTest::TearDown();
  }

  // Lets the thread's queue see every key the display sent, as the ACCEPT loop would.
  void TakeInput() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  // Turns a toggle key (Caps Lock) on or off with a press and a release.
  void Toggle(BYTE key) {
    m_display->KeyDown(key);
    m_display->KeyUp(key);
    TakeInput();
  }
  static MSG Message(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    return MSG{nullptr, message, wParam, lParam, 0, {}};
  }

  platform::HeadlessDisplay* m_display = nullptr;
  HWND m_window = nullptr;
};

TEST_F(KeyCodes, ModifiersAndTogglesAddTheirBitsButTheAccessorKeepsElevenBits) {
  m_display->KeyDown(VK_SHIFT);
  TakeInput();
  int slot = FindSlotOfCallingThread();
  EXPECT_EQ(RecordMessageKey(Message(WM_KEYDOWN, VK_F2, 0x003C0001), slot), 0x171);
  Toggle(VK_CAPITAL);
  EXPECT_EQ(RecordMessageKey(Message(WM_KEYDOWN, VK_F2, 0x003C0001), slot), 0x1171);
  EXPECT_EQ(SlotAt(slot)->lastScanCode, 0x3C);
  EXPECT_EQ(KeyCode(), 0x171) << "with no window open the thread's last key, in 11 bits";
  Toggle(VK_CAPITAL);
  m_display->KeyUp(VK_SHIFT);
  TakeInput();

  m_display->KeyDown(VK_CONTROL);
  m_display->KeyDown(VK_MENU);
  TakeInput();
  EXPECT_EQ(KeyCodeOf(Message(WM_SYSKEYDOWN, VK_DELETE, 1L << 24)),
            VK_DELETE | kKeyControl | kKeyAlt | kKeyExtended);
  m_display->KeyUp(VK_MENU);
  m_display->KeyUp(VK_CONTROL);
  TakeInput();
}

TEST_F(KeyCodes, MouseButtonsHaveCodesAndOnlyKeyDownsAndButtonDownsMakeOne) {
  int slot = FindSlotOfCallingThread();
  EXPECT_EQ(KeyCodeOf(Message(WM_LBUTTONDOWN, 0)), kMouseLeft);
  EXPECT_EQ(KeyCodeOf(Message(WM_MBUTTONDOWN, 0)), kMouseMiddle);
  EXPECT_EQ(KeyCodeOf(Message(WM_RBUTTONDBLCLK, 0)), 6);
  EXPECT_EQ(KeyCodeOf(Message(WM_LBUTTONDBLCLK, 0)), 5);
  EXPECT_EQ(KeyCodeOf(Message(WM_KEYUP, 'A')), 0);
  EXPECT_EQ(KeyCodeOf(Message(WM_LBUTTONUP, 0)), 0);
  EXPECT_EQ(KeyCodeOf(Message(WM_MOUSEMOVE, 0)), 0);

  // A character is remembered until the next key down clears it; it makes no key code.
  RecordMessageKey(Message(WM_KEYDOWN, 'Q', 0x00100001), slot);
  EXPECT_EQ(RecordMessageKey(Message(WM_CHAR, 'q'), slot), 0);
  EXPECT_EQ(SlotAt(slot)->lastCharacter, 'q');
  EXPECT_EQ(SlotAt(slot)->lastKeyCode, 'Q');
  RecordMessageKey(Message(WM_RBUTTONDBLCLK, 0), slot);
  EXPECT_EQ(SlotAt(slot)->lastCharacter, 0);
  EXPECT_EQ(SlotAt(slot)->lastKeyCode, kMouseRightDouble);
  EXPECT_EQ(SlotAt(slot)->lastScanCode, 0);
}

TEST_F(KeyCodes, KeyTablesMatchOnKeyAndModifiersAndCommandTablesSendTheAcceleratorForm) {
  KeyTable alerts;
  alerts.Add(VK_NEXT);
  alerts.Add(VK_F2 | kKeyShift);
  EXPECT_NE(alerts.Find(VK_NEXT | kKeyExtended | kKeyNumLock), nullptr)
      << "toggles and the extended bit do not count";
  EXPECT_EQ(alerts.Find(VK_NEXT | kKeyControl), nullptr);
  EXPECT_EQ(alerts.Find(VK_F2), nullptr);
  EXPECT_TRUE(alerts.Match(m_window, Message(WM_KEYDOWN, VK_NEXT)));
  EXPECT_TRUE(g_commands.empty()) << "a plain key set only matches";

  KeyTable commands;
  commands.Add(HotKeyCodeOf('g'), 0x4007);
  EXPECT_FALSE(commands.Match(m_window, Message(WM_SYSKEYDOWN, 'G'))) << "the hot key needs Alt";
  m_display->KeyDown(VK_MENU);
  TakeInput();
  EXPECT_TRUE(commands.Match(m_window, Message(WM_SYSKEYDOWN, 'G')));
  m_display->KeyUp(VK_MENU);
  TakeInput();
  ASSERT_EQ(g_commands.size(), 1u);
  EXPECT_EQ(g_commands[0], MAKEWPARAM(0x4007, 1));
}

TEST_F(KeyCodes, HotKeysComeFromTheMarkedCharacterAndKeysHaveMenuNames) {
  EXPECT_EQ(HotKeyCharacterOf("E&xit"), 'x');
  EXPECT_EQ(HotKeyCharacterOf("Save && &Close"), 'C');
  EXPECT_EQ(HotKeyCharacterOf("Fish && Chips"), 0);
  EXPECT_EQ(HotKeyCharacterOf("Trailing&"), 0);
  EXPECT_EQ(HotKeyCodeOf('x'), 'X' | kKeyAlt);
  EXPECT_EQ(HotKeyCodeOf('5'), '5' | kKeyAlt);
  EXPECT_EQ(HotKeyCodeOf(0), 0);
  EXPECT_EQ(KeyCodeName(VK_F2 | kKeyShift | kKeyControl), "Ctrl+Shift+F2");
  EXPECT_EQ(KeyCodeName('P' | kKeyControl | kKeyCapsLock), "Ctrl+P");
  EXPECT_EQ(KeyCodeName(VK_DELETE | kKeyAlt), "Alt+Del");
  EXPECT_EQ(KeyCodeName(kMouseRightDouble), "");
}

}  // namespace
}  // namespace vel::windows::testing
