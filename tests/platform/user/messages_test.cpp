#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/kernel/wait_hub.h"
#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

using ::testing::ElementsAre;

class Messages : public WindowTest {};

TEST_F(Messages, PeekFiltersByWindowAndRangeAndCanLeaveMessagesQueued) {
  HWND first = MakeWindow(WS_OVERLAPPEDWINDOW);
  HWND second = MakeWindow(WS_OVERLAPPEDWINDOW);
  PostMessageA(first, WM_USER + 1, 1, 0);
  PostMessageA(second, WM_USER + 2, 2, 0);
  PostMessageA(first, WM_USER + 3, 3, 0);
  PostThreadMessageA(GetWindowThreadProcessId(first, nullptr), WM_USER + 4, 4, 0);

  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, second, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 3, WM_USER + 4, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 3));
  ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 4));
  EXPECT_EQ(msg.hwnd, nullptr);
  std::vector<UINT> rest;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) rest.push_back(msg.message);
  EXPECT_THAT(rest, ElementsAre(WM_USER + 1, WM_USER + 2));
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));
}

TEST_F(Messages, QuitComesAfterPostedMessagesAndOnlyWithoutAWindowFilter) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
  PostQuitMessage(7);
  PostMessageA(window, WM_USER, 0, 0);
  MSG msg;
  EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, BroadcastReachesEveryTopLevelWindow) {
  HWND first = MakeWindow(WS_OVERLAPPEDWINDOW);
  HWND second = MakeWindow(WS_POPUP);
  HWND child = MakeWindow(WS_CHILD, first, 0, 0, 5, 5);
  UINT message = RegisterWindowMessageA("VelmoraTestBroadcast");
  EXPECT_EQ(message, RegisterWindowMessageA("velmoratestbroadcast"));
  EXPECT_GE(message, 0xC000u);
  SendMessageA(HWND_BROADCAST, message, 1, 2);
  PostMessageA(HWND_BROADCAST, message, 3, 4);
  Pump();
  EXPECT_EQ(MessageLog::Find(first, message).size(), 2u);
  EXPECT_EQ(MessageLog::Find(second, message).size(), 2u);
  EXPECT_TRUE(MessageLog::Find(child, message).empty());
  EXPECT_TRUE(MessageLog::Find(first, message)[1].posted);
}

TEST_F(Messages, SendingToAnotherThreadWaitsWhileItsLoopHandlesTheMessage) {
  std::atomic<HWND> remote{nullptr};
  std::atomic<bool> inSend{false};
  std::thread receiver([&] {
    HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
    remote = window;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
  });
  while (remote.load() == nullptr) std::this_thread::yield();
  HWND window = remote.load();
  DWORD receiverThread = GetWindowThreadProcessId(window, nullptr);
  EXPECT_NE(receiverThread, GetWindowThreadProcessId(MakeWindow(WS_POPUP), nullptr));

  char text[32] = {};
  EXPECT_TRUE(SetWindowTextA(window, "across"));
  EXPECT_EQ(GetWindowTextA(window, text, sizeof(text)), 6);
  EXPECT_STREQ(text, "across");
  EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 6);
  (void)inSend;
  PostThreadMessageA(receiverThread, WM_QUIT, 0, 0);
  receiver.join();
  // The thread's windows went with it; a send to them returns at once.
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 0);
}

// A window whose procedure, on WM_USER, sends WM_USER + 1 back to the window named in wParam
// and answers with that result plus one.
LRESULT CALLBACK PingPong(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_USER) return SendMessageA(reinterpret_cast<HWND>(wParam), WM_USER + 1, 0, 0) + 1;
  if (Msg == WM_USER + 1) return InSendMessage() ? 100 : 200;
  return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

TEST_F(Messages, ASenderHandlesMessagesSentToItWhileItWaitsSoNothingDeadlocks) {
  WNDCLASSA pingClass{0, PingPong, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "PingPongWindow"};
  RegisterClassA(&pingClass);
  HWND local = CreateWindowExA(0, "PingPongWindow", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  std::atomic<HWND> remote{nullptr};
  std::thread receiver([&] {
    remote = CreateWindowExA(0, "PingPongWindow", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
  });
  while (remote.load() == nullptr) std::this_thread::yield();
  // The remote procedure sends back to `local` while this thread waits in SendMessageA: that
  // inner message runs here, reports that it came from another thread, and the outer answer
  // arrives.
  EXPECT_EQ(SendMessageA(remote.load(), WM_USER, reinterpret_cast<WPARAM>(local), 0), 101);
  EXPECT_FALSE(InSendMessage());
  EXPECT_EQ(SendMessageA(local, WM_USER + 1, 0, 0), 200);
  PostThreadMessageA(GetWindowThreadProcessId(remote.load(), nullptr), WM_QUIT, 0, 0);
  receiver.join();
}

TEST_F(Messages, MsgWaitWakesForObjectsAndForSentMessagesButLeavesThemToPeek) {
  HANDLE handle = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &handle, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(handle);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE), WAIT_OBJECT_0);
  // The signal was consumed.
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &handle, FALSE, 0, QS_SENDMESSAGE), static_cast<DWORD>(WAIT_TIMEOUT));

  HWND local = MakeWindow(WS_POPUP);
  std::thread sender([&] { SendMessageA(local, WM_USER + 9, 0, 0); });
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE), WAIT_OBJECT_0 + 1);
  EXPECT_TRUE(MessageLog::Find(local, WM_USER + 9).empty());
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  sender.join();
  EXPECT_EQ(MessageLog::Find(local, WM_USER + 9).size(), 1u);

  PostMessageA(local, WM_USER, 0, 0);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_POSTMESSAGE), WAIT_OBJECT_0);
  HANDLE unknown = reinterpret_cast<HANDLE>(uintptr_t{0xBAD0});
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &unknown, FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
  // A timer that comes due ends a wait for QS_TIMER.
  SetTimer(local, 1, 50, nullptr);
  std::thread clock([] { Display().AdvanceClock(50); });
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_TIMER), WAIT_OBJECT_0 + 1);
  clock.join();
  CloseHandle(handle);
}

TEST_F(Messages, AThreadWaitingForALockStillAnswersMessagesSentToIt) {
  // The pattern of a lock taken with MsgWaitForMultipleObjects: while the lock is held by
  // another thread that sends to the waiter, the waiter lets the sent message through with
  // PeekMessageA and goes back to waiting.
  HANDLE handle = CreateSemaphoreA(nullptr, 0, 1, nullptr);
  HWND waiterWindow = MakeWindow(WS_POPUP);
  std::thread holder([&] {
    EXPECT_EQ(SendMessageA(waiterWindow, WM_GETTEXTLENGTH, 0, 0), 3);
    ReleaseSemaphore(handle, 1, nullptr);
  });
  int wakeUpsForMessages = 0;
  for (;;) {
    DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) break;
    ASSERT_EQ(result, WAIT_OBJECT_0 + 1);
    ++wakeUpsForMessages;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  }
  holder.join();
  EXPECT_GE(wakeUpsForMessages, 1);
  EXPECT_EQ(MessageLog::Find(waiterWindow, WM_GETTEXTLENGTH).size(), 1u);
  CloseHandle(handle);
  EXPECT_FALSE(PostThreadMessageA(0x7FFFFFF0, WM_USER, 0, 0));
}

LRESULT CALLBACK Subclass(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto base = reinterpret_cast<WNDPROC>(GetPropA(hWnd, "base"));
  if (Msg == WM_USER) return 42;
  if (Msg == WM_SETTEXT) return CallWindowProcA(base, hWnd, Msg, wParam, reinterpret_cast<LPARAM>("subclassed"));
  return CallWindowProcA(base, hWnd, Msg, wParam, lParam);
}

TEST_F(Messages, SubclassingThroughTheWindowProcedureSlot) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
  auto base = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
  ASSERT_NE(base, nullptr);
  SetPropA(window, "base", reinterpret_cast<HANDLE>(base));
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(Subclass));
  EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 42);
  SetWindowTextA(window, "original");
  char text[32];
  GetWindowTextA(window, text, sizeof(text));
  EXPECT_STREQ(text, "subclassed");
  // The base procedure saw the messages the subclass passed on.
  EXPECT_EQ(MessageLog::Find(window, WM_SETTEXT).size(), 1u);
  EXPECT_TRUE(MessageLog::Find(window, WM_USER).empty());
}

TEST_F(Messages, WindowLongsExtraBytesAndPropertiesAreBoundsCheckedAndCaseBlind) {
  HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);  // 32 extra bytes
  EXPECT_EQ(SetWindowLongPtrA(window, 24, 0x1234), 0);
  EXPECT_EQ(GetWindowLongPtrA(window, 24), 0x1234);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrA(window, 25), 0);
  EXPECT_EQ(GetLastError(), 1413u);
  EXPECT_EQ(SetWindowLongPtrA(window, -100, 1), 0);
  EXPECT_EQ(SetWindowLongA(window, 28, 77), 0);
  EXPECT_EQ(GetWindowLongA(window, 28), 77);
  EXPECT_EQ(GetWindowLongA(window, 29), 0);

  MessageLog::Clear();
  LONG_PTR oldStyle = SetWindowLongPtrA(window, GWL_STYLE, WS_POPUP | WS_BORDER);
  EXPECT_TRUE(oldStyle & WS_CAPTION);
  EXPECT_THAT(MessageLog::NamesFor(window), ElementsAre("WM_STYLECHANGING", "WM_STYLECHANGED"));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), static_cast<DWORD>(WS_POPUP | WS_BORDER));

  int payload = 0;
  EXPECT_TRUE(SetPropA(window, "Lo_PField", &payload));
  EXPECT_EQ(GetPropA(window, "lo_pfield"), &payload);
  EXPECT_EQ(RemovePropA(window, "LO_PFIELD"), &payload);
  EXPECT_EQ(GetPropA(window, "lo_pfield"), nullptr);
  EXPECT_TRUE(SetPropA(window, MAKEINTATOM(0xC123), &payload));
  EXPECT_EQ(GetPropA(window, MAKEINTATOM(0xC123)), &payload);

  // Text longer than the buffer is cut, always terminated.
  SetWindowTextA(window, "a rather long title");
  char small[6];
  EXPECT_EQ(GetWindowTextA(window, small, sizeof(small)), 5);
  EXPECT_STREQ(small, "a rat");
  EXPECT_EQ(GetWindowTextLengthA(window), 19);
}

}  // namespace
}  // namespace vel::platform::usertest
