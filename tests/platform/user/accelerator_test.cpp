#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

using ::testing::ElementsAre;

class Accelerators : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    m_window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HMENU bar = CreateMenu();
    m_file = CreatePopupMenu();
    AppendMenuA(m_file, MF_STRING, 101, "&Open\tCtrl+O");
    AppendMenuA(m_file, MF_STRING | MF_GRAYED, 102, "&Go\tCtrl+G");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_file), "&File");
    SetMenu(m_window, bar);
    SetActiveWindow(m_window);
    SetFocus(m_window);
    ACCEL entries[] = {
        {FVIRTKEY | FCONTROL, 'O', 101},          {FVIRTKEY | FCONTROL | FSHIFT, 'S', 103},
        {FVIRTKEY | FALT, VK_F5, 104},            {FVIRTKEY, VK_F2, 105},
        {0, 'q', 106},                            {FALT, 'z', 107},
        {FVIRTKEY | FCONTROL, 'G', 102},
    };
    m_table = CreateAcceleratorTableA(entries, static_cast<int>(std::size(entries)));
    ASSERT_NE(m_table, nullptr);
    Pump();
    MessageLog::Clear();
  }
  void TearDown() override {
    DestroyAcceleratorTable(m_table);
    WindowTest::TearDown();
  }

  // Takes every queued message through TranslateAcceleratorA the way a program's loop does.
  void PumpWithTable() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (TranslateAcceleratorA(m_window, m_table, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  std::vector<WPARAM> Commands() {
    std::vector<WPARAM> commands;
    for (const LoggedMessage& entry : MessageLog::Find(m_window, WM_COMMAND)) {
      EXPECT_EQ(entry.lParam, 0);
      commands.push_back(entry.wParam);
    }
    return commands;
  }

  HWND m_window = nullptr;
  HMENU m_file = nullptr;
  HACCEL m_table = nullptr;
};

TEST_F(Accelerators, EachEntryMatchesOnlyItsExactModifiers) {
  Display().PressKey('O', kControl);
  Display().PressKey('O', kControl | kShift);  // not Ctrl+O
  Display().PressKey('O');                      // a plain letter
  Display().PressKey('S', kControl | kShift);
  Display().PressKey('S', kControl);            // Shift missing
  Display().PressKey(VK_F5, kAlt);
  Display().PressKey(VK_F5);
  Display().PressKey(VK_F2);
  Display().PressKey(VK_F2, kControl);
  PumpWithTable();
  EXPECT_THAT(Commands(), ElementsAre(MAKEWPARAM(101, 1), MAKEWPARAM(103, 1), MAKEWPARAM(104, 1), MAKEWPARAM(105, 1)));
  // A key that was translated never reaches the window as a key: only Ctrl+F2 did.
  int f2Downs = 0;
  for (const LoggedMessage& entry : MessageLog::Find(m_window, WM_KEYDOWN)) f2Downs += entry.wParam == VK_F2;
  EXPECT_EQ(f2Downs, 1);
}

TEST_F(Accelerators, CharacterEntriesMatchTypedCharactersAndAltOnesOnlyWithAlt) {
  Display().PressKey('Q');          // 'q' typed
  Display().PressKey('Q', kShift);  // 'Q' is another character
  Display().PressKey('Z');          // 'z' without Alt
  Display().PressKey('Z', kAlt);    // WM_SYSCHAR 'z'
  PumpWithTable();
  EXPECT_THAT(Commands(), ElementsAre(MAKEWPARAM(106, 1), MAKEWPARAM(107, 1)));
  ASSERT_EQ(MessageLog::Find(m_window, WM_CHAR).size(), 2u);
  EXPECT_EQ(MessageLog::Find(m_window, WM_CHAR)[0].wParam, static_cast<WPARAM>('Q'));
}

TEST_F(Accelerators, AMenuCommandIsInitialisedFirstAndADisabledOneSendsNothing) {
  Display().PressKey('O', kControl);
  PumpWithTable();
  EXPECT_THAT(MessageLog::Tagged({{m_window, "w"}}, {WM_INITMENU, WM_INITMENUPOPUP, WM_COMMAND}),
              ElementsAre("0x0116@w", "0x0117@w", "WM_COMMAND@w"));
  EXPECT_EQ(MessageLog::Find(m_window, WM_INITMENUPOPUP)[0].wParam, reinterpret_cast<WPARAM>(m_file));

  // The greyed item's key is still taken (no WM_KEYDOWN for 'G'), but no command is sent.
  MessageLog::Clear();
  Display().PressKey('G', kControl);
  PumpWithTable();
  EXPECT_TRUE(MessageLog::Find(m_window, WM_COMMAND).empty());
  for (const LoggedMessage& entry : MessageLog::Find(m_window, WM_KEYDOWN)) EXPECT_NE(entry.wParam, 'G');
  // Enabled again, it goes through.
  EnableMenuItem(m_file, 102, MF_BYCOMMAND | MF_ENABLED);
  Display().PressKey('G', kControl);
  PumpWithTable();
  EXPECT_THAT(Commands(), ElementsAre(MAKEWPARAM(102, 1)));
}

TEST_F(Accelerators, BadWindowsTablesAndMessagesAreNotTranslated) {
  MSG keyDown{m_window, WM_KEYDOWN, VK_F2, 0, 0, {}};
  EXPECT_EQ(TranslateAcceleratorA(reinterpret_cast<HWND>(uintptr_t{0x22}), m_table, &keyDown), 0);
  EXPECT_EQ(TranslateAcceleratorA(m_window, reinterpret_cast<HACCEL>(uintptr_t{0x33}), &keyDown), 0);
  EXPECT_EQ(TranslateAcceleratorA(m_window, m_table, nullptr), 0);
  MSG keyUp{m_window, WM_KEYUP, VK_F2, 0, 0, {}};
  EXPECT_EQ(TranslateAcceleratorA(m_window, m_table, &keyUp), 0);
  EXPECT_EQ(TranslateAcceleratorA(m_window, m_table, &keyDown), 1);
  EXPECT_THAT(Commands(), ElementsAre(MAKEWPARAM(105, 1)));

  ACCEL copy[2] = {};
  EXPECT_EQ(CopyAcceleratorTableA(m_table, nullptr, 0), 7);
  EXPECT_EQ(CopyAcceleratorTableA(m_table, copy, 2), 2);
  EXPECT_EQ(copy[1].cmd, 103);
  EXPECT_EQ(copy[1].fVirt, FVIRTKEY | FCONTROL | FSHIFT);

  EXPECT_EQ(CreateAcceleratorTableA(nullptr, 3), nullptr);
  ACCEL one{FVIRTKEY, VK_F3, 9};
  HACCEL temporary = CreateAcceleratorTableA(&one, 1);
  EXPECT_TRUE(DestroyAcceleratorTable(temporary));
  EXPECT_FALSE(DestroyAcceleratorTable(temporary));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ACCEL_HANDLE));
  EXPECT_EQ(CopyAcceleratorTableA(temporary, nullptr, 0), 0);
}

}  // namespace
}  // namespace vel::platform::usertest
