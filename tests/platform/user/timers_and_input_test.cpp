#include <gtest/gtest.h>

#include "platform/user/input_state.h"
#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

using ::testing::ElementsAre;

class TimersAndInput : public WindowTest {};

std::vector<std::pair<HWND, UINT_PTR>> g_timerCalls;
void CALLBACK RecordTimer(HWND window, UINT message, UINT_PTR id, DWORD) {
  if (message == WM_TIMER) g_timerCalls.emplace_back(window, id);
}

TEST_F(TimersAndInput, TimersFireOnTheHeadlessClockOnlyWhenItMoves) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(SetTimer(window, 1, 100, nullptr), 1u);
  Pump();
  Display().AdvanceClock(99);
  Pump();
  EXPECT_TRUE(MessageLog::Find(window, WM_TIMER).empty());
  Display().AdvanceClock(1);
  Pump();
  ASSERT_EQ(MessageLog::Find(window, WM_TIMER).size(), 1u);
  EXPECT_EQ(MessageLog::Find(window, WM_TIMER)[0].wParam, 1u);
  // A timer that fell far behind fires once, not once per missed period.
  Display().AdvanceClock(1000);
  Pump();
  EXPECT_EQ(MessageLog::Find(window, WM_TIMER).size(), 2u);
  // Setting the same id again restarts it with the new period.
  SetTimer(window, 1, 50, nullptr);
  Display().AdvanceClock(50);
  Pump();
  EXPECT_EQ(MessageLog::Find(window, WM_TIMER).size(), 3u);
  EXPECT_TRUE(KillTimer(window, 1));
  EXPECT_FALSE(KillTimer(window, 1));
  Display().AdvanceClock(500);
  Pump();
  EXPECT_EQ(MessageLog::Find(window, WM_TIMER).size(), 3u);
}

TEST_F(TimersAndInput, ThreadTimersAndTimerProceduresAreCalledByDispatch) {
  g_timerCalls.clear();
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
  UINT_PTR threadTimer = SetTimer(nullptr, 0, 20, RecordTimer);
  ASSERT_NE(threadTimer, 0u);
  SetTimer(window, 5, 20, RecordTimer);
  Display().AdvanceClock(20);
  Pump();
  EXPECT_THAT(g_timerCalls, ::testing::UnorderedElementsAre(std::make_pair(HWND{nullptr}, threadTimer),
                                                            std::make_pair(window, UINT_PTR{5})));
  // The window procedure never saw WM_TIMER: the procedure took it.
  EXPECT_TRUE(MessageLog::Find(window, WM_TIMER).empty());
  // A forged WM_TIMER naming a procedure that belongs to no timer calls nothing.
  g_timerCalls.clear();
  MSG forged{window, WM_TIMER, 99, reinterpret_cast<LPARAM>(&RecordTimer), 0, {}};
  DispatchMessageA(&forged);
  EXPECT_TRUE(g_timerCalls.empty());
  KillTimer(nullptr, threadTimer);
  // Timers of a destroyed window are gone with it.
  DestroyWindow(window);
  Display().AdvanceClock(100);
  Pump();
  EXPECT_TRUE(g_timerCalls.empty());
  EXPECT_EQ(SetTimer(window, 1, 10, nullptr), 0u);
}

TEST_F(TimersAndInput, KeysBecomeCharactersThroughTranslateMessage) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SetFocus(window);
  Pump();
  MessageLog::Clear();
  Display().TypeText("aB!");
  Pump();
  std::vector<WPARAM> characters;
  for (const auto& entry : MessageLog::Find(window, WM_CHAR)) characters.push_back(entry.wParam);
  EXPECT_THAT(characters, ElementsAre('a', 'B', '!'));
  // Each character follows its own key-down, before the key-up.
  EXPECT_THAT(MessageLog::NamesFor(window, {WM_SETCURSOR}),
              ElementsAre("WM_KEYDOWN", "WM_CHAR", "WM_KEYUP", "WM_KEYDOWN", "WM_KEYDOWN", "WM_CHAR", "WM_KEYUP",
                          "WM_KEYUP", "WM_KEYDOWN", "WM_KEYDOWN", "WM_CHAR", "WM_KEYUP", "WM_KEYUP"));
  auto keyUp = MessageLog::Find(window, WM_KEYUP);
  EXPECT_EQ(keyUp[0].wParam, static_cast<WPARAM>('A'));
  EXPECT_EQ((keyUp[0].lParam >> 16) & 0xFF, 0x1E);
  EXPECT_TRUE(keyUp[0].lParam & (1u << 31));
  EXPECT_TRUE(keyUp[0].lParam & (1u << 30));

  // A character no key types arrives as the character alone.
  MessageLog::Clear();
  Display().TypeText("\xE9");
  Pump();
  EXPECT_THAT(MessageLog::NamesFor(window), ElementsAre("WM_CHAR"));
  EXPECT_EQ(MessageLog::Find(window, WM_CHAR)[0].wParam, 0xE9u);

  // Alt combinations are system keys and become WM_SYSCHAR.
  MessageLog::Clear();
  Display().PressKey('X', kAlt);
  Pump();
  EXPECT_EQ(MessageLog::Find(window, WM_SYSKEYDOWN).size(), 2u);
  ASSERT_EQ(MessageLog::Find(window, WM_SYSCHAR).size(), 1u);
  EXPECT_TRUE(MessageLog::Find(window, WM_SYSCHAR)[0].lParam & (1 << 29));
}

TEST_F(TimersAndInput, KeyStateFollowsTheMessagesTakenAndTogglesLocks) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SetFocus(window);
  Pump();
  Display().KeyDown(VK_SHIFT);
  // The physical state changed at once; the thread's state only once it takes the message.
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  Pump();
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  Display().KeyUp(VK_SHIFT);
  Pump();
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);

  bool capsBefore = GetKeyState(VK_CAPITAL) & 1;
  Display().PressKey(VK_CAPITAL);
  Pump();
  EXPECT_NE(static_cast<bool>(GetKeyState(VK_CAPITAL) & 1), capsBefore);
  MessageLog::Clear();
  Display().PressKey('Q');
  Pump();
  ASSERT_EQ(MessageLog::Find(window, WM_CHAR).size(), 1u);
  EXPECT_EQ(MessageLog::Find(window, WM_CHAR)[0].wParam, capsBefore ? static_cast<WPARAM>('q') : 'Q');
  Display().PressKey(VK_CAPITAL);
  Pump();

  EXPECT_EQ(VkKeyScanA('a'), 'A');
  EXPECT_EQ(VkKeyScanA('A'), 0x100 | 'A');
  EXPECT_EQ(VkKeyScanA('?'), 0x100 | VK_OEM_2);
  EXPECT_EQ(VkKeyScanA('\x01'), -1);
  EXPECT_EQ(MapVirtualKeyA(VK_TAB, MAPVK_VK_TO_VSC), 0x0Fu);
  EXPECT_EQ(MapVirtualKeyA(0x0F, MAPVK_VSC_TO_VK), static_cast<UINT>(VK_TAB));
  EXPECT_EQ(MapVirtualKeyA('1', MAPVK_VK_TO_CHAR), static_cast<UINT>('1'));

  // keybd_event feeds the same path.
  MessageLog::Clear();
  keybd_event(VK_F2, 0, 0, 0);
  keybd_event(VK_F2, 0, KEYEVENTF_KEYUP, 0);
  Pump();
  EXPECT_THAT(MessageLog::NamesFor(window), ElementsAre("WM_KEYDOWN", "WM_KEYUP"));
}

TEST_F(TimersAndInput, MouseMessagesCarryHitTestsCursorRequestsAndDoubleClicks) {
  HWND frame = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 300, 300);
  HWND plain = MakeWindow(WS_CHILD | WS_VISIBLE, frame, 150, 0, 100, 100, 2, kPlainLogClass);
  POINT inFrame{20, 20};
  ClientToScreen(frame, &inFrame);
  Pump();
  MessageLog::Clear();
  Display().MoveMouse(inFrame);
  Pump();
  EXPECT_THAT(MessageLog::NamesFor(frame), ElementsAre("WM_NCHITTEST", "WM_SETCURSOR", "WM_MOUSEMOVE"));
  auto cursor = MessageLog::Find(frame, WM_SETCURSOR);
  EXPECT_EQ(LOWORD(cursor[0].lParam), HTCLIENT);
  EXPECT_EQ(HIWORD(cursor[0].lParam), WM_MOUSEMOVE);

  // A child asks its parent about the cursor first (the default procedure passes it up).
  MessageLog::Clear();
  POINT inPlain{5, 5};
  ClientToScreen(plain, &inPlain);
  Display().MoveMouse(inPlain);
  Pump();
  ASSERT_EQ(MessageLog::Find(frame, WM_SETCURSOR).size(), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(MessageLog::Find(frame, WM_SETCURSOR)[0].wParam), plain);

  // The caption answers HTCAPTION and gets non-client messages in screen coordinates.
  MessageLog::Clear();
  Display().Click({150, 10});
  Pump();
  auto ncDown = MessageLog::Find(frame, WM_NCLBUTTONDOWN);
  ASSERT_EQ(ncDown.size(), 1u);
  EXPECT_EQ(ncDown[0].wParam, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(ncDown[0].lParam, MAKELPARAM(150, 10));

  // Two quick clicks are a double click only for a class that asks for them.
  MessageLog::Clear();
  Display().DoubleClick(inFrame);
  Display().DoubleClick(inPlain);
  Pump();
  EXPECT_THAT(MessageLog::NamesFor(frame, {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_MOUSEACTIVATE}),
              ElementsAre("WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_LBUTTONDBLCLK", "WM_LBUTTONUP"));
  EXPECT_THAT(MessageLog::NamesFor(plain, {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_MOUSEACTIVATE}),
              ElementsAre("WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_LBUTTONDOWN", "WM_LBUTTONUP"));
  // Clicks further apart in time are two single clicks.
  MessageLog::Clear();
  Display().Click(inFrame);
  Display().AdvanceClock(GetDoubleClickTime() + 1);
  Display().Click(inFrame);
  Pump();
  EXPECT_TRUE(MessageLog::Find(frame, WM_LBUTTONDBLCLK).empty());
}

HHOOK g_hook = nullptr;
std::vector<std::pair<int, UINT>> g_hookCalls;
LRESULT CALLBACK SwallowButtons(int code, WPARAM wParam, LPARAM lParam) {
  g_hookCalls.emplace_back(code, static_cast<UINT>(wParam));
  auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
  if (wParam == WM_LBUTTONDOWN && info->wHitTestCode == HTCLIENT) return 1;
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_F(TimersAndInput, MouseHookSeesMouseMessagesAndCanSwallowThem) {
  HWND frame = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 300, 300);
  g_hookCalls.clear();
  g_hook = SetWindowsHookExA(WH_MOUSE, SwallowButtons, nullptr, GetWindowThreadProcessId(frame, nullptr));
  ASSERT_NE(g_hook, nullptr);
  EXPECT_EQ(SetWindowsHookExA(WH_MOUSE, SwallowButtons, nullptr, 12345), nullptr);
  POINT inFrame{20, 20};
  ClientToScreen(frame, &inFrame);
  MessageLog::Clear();
  Display().Click(inFrame);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE));
  Pump();
  EXPECT_TRUE(MessageLog::Find(frame, WM_LBUTTONDOWN).empty());
  EXPECT_EQ(MessageLog::Find(frame, WM_LBUTTONUP).size(), 1u);
  EXPECT_EQ(g_hookCalls.front(), std::make_pair(HC_NOREMOVE, static_cast<UINT>(WM_MOUSEMOVE)));
  EXPECT_TRUE(UnhookWindowsHookEx(g_hook));
  EXPECT_FALSE(UnhookWindowsHookEx(g_hook));
  Display().AdvanceClock(1000);
  MessageLog::Clear();
  Display().Click(inFrame);
  Pump();
  EXPECT_EQ(MessageLog::Find(frame, WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(TimersAndInput, DroppedFilesGoToTheWindowThatAcceptsThem) {
  HWND frame = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, 0, 300, 300, 0, nullptr, WS_EX_ACCEPTFILES);
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, frame, 0, 0, 100, 100, 1);
  POINT inChild{10, 10};
  ClientToScreen(child, &inChild);
  Display().DropFiles(inChild, {"/tmp/a.txt", "/tmp/b c.txt"});
  Pump();
  EXPECT_TRUE(MessageLog::Find(child, WM_DROPFILES).empty());
  auto drops = MessageLog::Find(frame, WM_DROPFILES);
  ASSERT_EQ(drops.size(), 1u);
  auto drop = reinterpret_cast<HDROP>(drops[0].wParam);
  const DroppedFiles* files = FindDroppedFiles(drop);
  ASSERT_NE(files, nullptr);
  EXPECT_THAT(files->paths, ElementsAre("/tmp/a.txt", "/tmp/b c.txt"));
  EXPECT_EQ(files->point.x, 10);
  ReleaseDroppedFiles(drop);
  EXPECT_EQ(FindDroppedFiles(drop), nullptr);
}

}  // namespace
}  // namespace vel::platform::usertest
