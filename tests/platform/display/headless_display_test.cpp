#include <gtest/gtest.h>

#include "platform/display/headless/headless_display.h"
#include "platform/display/keyboard_layout.h"
#include "platform/kernel/clock.h"
#include "win32.h"

namespace vel::platform {
namespace {

TEST(KeyboardLayout, CharactersKeysAndScanCodesAgree) {
  for (char c : std::string("azAZ09!@#;:'\",.<>/?[]{}\\|`~-_=+ ")) {
    SHORT scan = KeyForCharacter(c);
    ASSERT_NE(scan, -1) << c;
    EXPECT_EQ(CharacterForKey(static_cast<BYTE>(scan & 0xFF), (scan & 0x100) != 0, false, false), c) << c;
  }
  EXPECT_EQ(CharacterForKey('A', false, false, true), 'A');
  EXPECT_EQ(CharacterForKey('A', true, false, true), 'a');
  EXPECT_EQ(CharacterForKey('1', false, false, true), '1');
  EXPECT_EQ(CharacterForKey('C', false, true, false), '\x03');
  EXPECT_EQ(CharacterForKey(VK_F1, false, false, false), '\0');
  EXPECT_EQ(KeyForCharacter('\xE9'), -1);
  EXPECT_EQ(KeyForScanCode(ScanCodeForKey(VK_F12)), VK_F12);
  EXPECT_EQ(ScanCodeForKey(VK_LSHIFT), ScanCodeForKey(VK_SHIFT));
  EXPECT_EQ(KeyByName("tab"), VK_TAB);
  EXPECT_EQ(KeyByName("F10"), VK_F10);
  EXPECT_EQ(KeyByName("F13"), 0);
  EXPECT_EQ(KeyByName("0x41"), 'A');
  EXPECT_EQ(KeyByName("0x1FF"), 0);
  EXPECT_EQ(KeyByName("x"), 'X');
  EXPECT_EQ(KeyByName(""), 0);
  EXPECT_EQ(KeyByName("bogus"), 0);
}

TEST(HeadlessDisplay, IsChosenByDefaultAndOwnsTheClock) {
  HeadlessDisplay* display = CurrentHeadlessDisplay();
  ASSERT_NE(display, nullptr);
  EXPECT_STREQ(display->Name(), "headless");
  display->Clock().SetManual(true);
  DWORD before = GetTickCount();
  display->AdvanceClock(250);
  EXPECT_EQ(GetTickCount() - before, 250u);
  // Sleeping on the headless clock passes its time without waiting for it.
  Sleep(10000);
  EXPECT_EQ(GetTickCount() - before, 10250u);
  uint64_t now = CurrentClock().NowMilliseconds();
  display->Clock().AdvanceTo(now - 5);
  EXPECT_EQ(CurrentClock().NowMilliseconds(), now);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), display->ScreenSize().cx);
}

TEST(HeadlessDisplay, ScriptsAreCheckedBeforeAnyStepRuns) {
  HeadlessDisplay* display = CurrentHeadlessDisplay();
  ASSERT_NE(display, nullptr);
  std::string error;
  EXPECT_FALSE(display->QueueScript("key TAB; click 10", &error));
  EXPECT_NE(error.find("needs X and Y"), std::string::npos);
  EXPECT_FALSE(display->ScriptPending());
  EXPECT_FALSE(display->QueueScript("wait -5", &error));
  EXPECT_FALSE(display->QueueScript("key A meta", &error));
  EXPECT_FALSE(display->QueueScript("jump 1 2", &error));
  EXPECT_FALSE(display->QueueScript("drop 1 2", &error));
  EXPECT_FALSE(display->QueueScript("click 99999999999 2", &error));
  EXPECT_FALSE(display->QueueScript(std::string("key A;\v;key B"), &error));
  EXPECT_NE(error.find("empty step"), std::string::npos);
  EXPECT_TRUE(display->QueueScript("# a comment; key F2 shift ctrl; text hello there;; move 5 5", &error));
  EXPECT_TRUE(display->ScriptPending());
  int steps = 0;
  while (display->ScriptPending()) {
    EXPECT_TRUE(display->Idle(std::nullopt));
    ++steps;
  }
  EXPECT_EQ(steps, 3);
}

TEST(HeadlessDisplay, MirrorsTopLevelWindows) {
  HeadlessDisplay* display = CurrentHeadlessDisplay();
  ASSERT_NE(display, nullptr);
  WNDCLASSA description{0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "MirrorKind"};
  RegisterClassA(&description);
  HWND window = CreateWindowExA(0, "MirrorKind", "Mirror", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowExA(0, "MirrorKind", "", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  auto find = [&]() -> const HeadlessDisplay::TopLevel* {
    static std::vector<HeadlessDisplay::TopLevel> all;
    all = display->TopLevels();
    for (const auto& entry : all) {
      if (entry.window == window) return &entry;
    }
    return nullptr;
  };
  ASSERT_NE(find(), nullptr);
  EXPECT_EQ(display->TopLevels().size(), 1u);
  EXPECT_TRUE(find()->visible);
  EXPECT_EQ(find()->title, "Mirror");
  EXPECT_EQ(find()->rect.right, 310);
  SetWindowTextA(window, "Renamed");
  MoveWindow(window, 0, 0, 100, 100, TRUE);
  EXPECT_EQ(find()->title, "Renamed");
  EXPECT_EQ(find()->rect.right, 100);
  DestroyWindow(window);
  EXPECT_EQ(find(), nullptr);
}

}  // namespace
}  // namespace vel::platform
