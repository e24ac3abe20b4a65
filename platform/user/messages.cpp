// Sending, posting, getting and dispatching messages.

#include <chrono>
#include <cstring>
#include <map>
#include <string>

#include "platform/display/display_backend.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/wait_hub.h"
#include "platform/kernel/wait_objects.h"
#include "platform/user/foreign_windows.h"
#include "platform/user/message_queue.h"
#include "platform/user/win32_errors.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

// Thread of a window; 0, with the last error set, when the handle names none.
DWORD ThreadOfWindow(HWND window) {
  TreeLock lock;
  Window* record = LookupWindow(window);
  if (record == nullptr || record == &Desktop()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return record->threadId;
}

// HWND_BROADCAST reaches the program's top-level windows.
std::vector<HWND> BroadcastTargets() {
  TreeLock lock;
  return TopLevelWindows();
}

LRESULT SendAcrossThreads(DWORD threadId, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto sent = std::make_shared<SentMessage>();
  sent->window = window;
  sent->message = message;
  sent->wParam = wParam;
  sent->lParam = lParam;
  MessageQueue& mine = CurrentQueue();
  WaitHub& hub = WaitHub::Instance();
  if (!QueueSentMessage(threadId, sent)) return 0;
  // While waiting, this thread handles what others send to it, so two threads sending to
  // each other cannot deadlock.
  for (;;) {
    HandleIncomingSentMessages();
    std::unique_lock lock(hub.Mutex());
    hub.Wait(lock, [&] { return sent->done || !mine.incoming.empty(); });
    if (sent->done) return sent->result;
  }
}

}  // namespace

LRESULT CallWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC procedure = nullptr;
  {
    TreeLock lock;
    Window* record = LookupWindow(window);
    if (record == nullptr || record == &Desktop()) return 0;
    procedure = record->procedure;
  }
  return CallWindowProcA(procedure, window, message, wParam, lParam);
}

}  // namespace vel::platform

using namespace vel::platform;

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (lpPrevWndFunc == nullptr) return 0;
  return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (hWnd == HWND_BROADCAST) {
    for (HWND target : BroadcastTargets()) SendMessageA(target, Msg, wParam, lParam);
    if (ForeignWindows* foreign = CurrentForeignWindows()) foreign->Broadcast(true, Msg, wParam, lParam);
    return TRUE;
  }
  if (IsForeignHandle(hWnd)) {
    ForeignWindows* foreign = CurrentForeignWindows();
    if (foreign != nullptr) return foreign->Send(hWnd, Msg, wParam, lParam);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  DWORD threadId = ThreadOfWindow(hWnd);
  if (threadId == 0) return 0;
  if (threadId == CurrentThreadId()) return CallWindowProcedure(hWnd, Msg, wParam, lParam);
  return SendAcrossThreads(threadId, hWnd, Msg, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  POINT cursor{};
  GetCursorPos(&cursor);
  MSG msg{hWnd, Msg, wParam, lParam, GetTickCount(), cursor};
  if (hWnd == nullptr) return PostToThread(CurrentThreadId(), msg, false);
  if (hWnd == HWND_BROADCAST) {
    for (HWND target : BroadcastTargets()) PostMessageA(target, Msg, wParam, lParam);
    if (ForeignWindows* foreign = CurrentForeignWindows()) foreign->Broadcast(false, Msg, wParam, lParam);
    return TRUE;
  }
  if (IsForeignHandle(hWnd)) {
    ForeignWindows* foreign = CurrentForeignWindows();
    if (foreign != nullptr) return foreign->Post(hWnd, Msg, wParam, lParam) ? TRUE : FALSE;
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  DWORD threadId = ThreadOfWindow(hWnd);
  if (threadId == 0) return FALSE;
  return PostToThread(threadId, msg, false);
}

BOOL WINAPI PostThreadMessageA(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
  POINT cursor{};
  GetCursorPos(&cursor);
  if (!PostToThread(idThread, MSG{nullptr, Msg, wParam, lParam, GetTickCount(), cursor}, false)) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
  MessageQueue& queue = CurrentQueue();
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  queue.quit = true;
  queue.quitCode = nExitCode;
  ++queue.changes;
  hub.NotifyLocked();
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (lpMsg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  RetrieveMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE, true);
  return lpMsg->message != WM_QUIT;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  MSG ignored{};
  return RetrieveMessage(lpMsg != nullptr ? lpMsg : &ignored, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg,
                         false);
}

BOOL WINAPI WaitMessage(void) {
  return MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT) != WAIT_FAILED;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
  if (lpMsg == nullptr) return 0;
  if (lpMsg->message == WM_TIMER && lpMsg->lParam != 0) {
    // Only a procedure that belongs to a live timer is called, so a forged WM_TIMER cannot
    // make the dispatcher jump to an arbitrary address.
    auto procedure = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
    bool known = false;
    {
      std::lock_guard lock(WaitHub::Instance().Mutex());
      for (const Timer& timer : CurrentQueue().timers) {
        known = known || (timer.window == lpMsg->hwnd && timer.id == lpMsg->wParam && timer.procedure == procedure);
      }
    }
    if (known) procedure(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
    return 0;
  }
  if (lpMsg->hwnd == nullptr) return 0;
  {
    TreeLock lock;
    Window* record = LookupWindow(lpMsg->hwnd);
    if (record == nullptr || record->threadId != CurrentThreadId()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
  }
  return CallWindowProcedure(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL WINAPI InSendMessage(void) { return CurrentQueue().handling.empty() ? FALSE : TRUE; }

DWORD WINAPI InSendMessageEx(LPVOID) { return CurrentQueue().handling.empty() ? ISMEX_NOSEND : ISMEX_SEND; }

DWORD WINAPI GetQueueStatus(UINT flags) {
  MessageQueue& queue = CurrentQueue();
  std::lock_guard lock(WaitHub::Instance().Mutex());
  UINT current = 0;
  for (const QueuedMessage& queued : queue.posted) {
    if (!queued.input) current |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    else if (queued.msg.message >= WM_KEYFIRST && queued.msg.message <= WM_KEYLAST) current |= QS_KEY;
    else if (queued.msg.message == WM_MOUSEMOVE) current |= QS_MOUSEMOVE;
    else current |= QS_MOUSEBUTTON;
  }
  if (!queue.incoming.empty()) current |= QS_SENDMESSAGE;
  std::optional<uint64_t> due = NextTimerDueLocked(queue);
  if (due && *due <= CurrentClock().NowMilliseconds()) current |= QS_TIMER;
  DWORD result = (static_cast<DWORD>(current & flags) << 16) | (queue.newBits & flags);
  queue.newBits &= ~flags;
  return result;
}

DWORD WINAPI GetMessageTime(void) { return CurrentQueue().lastMessageTime; }

DWORD WINAPI GetMessagePos(void) {
  POINT point = CurrentQueue().lastMessagePoint;
  return static_cast<DWORD>(MAKELONG(point.x, point.y));
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds,
                                       DWORD dwWakeMask) {
  EnsureWindowManager();
  MessageQueue& queue = CurrentQueue();
  // Runs with the WaitHub lock held, inside the kernel's wait.
  auto messagesReady = [&] {
    if ((dwWakeMask & QS_SENDMESSAGE) && !queue.incoming.empty()) return true;
    if (dwWakeMask & QS_TIMER) {
      std::optional<uint64_t> due = NextTimerDueLocked(queue);
      if (due && *due <= CurrentClock().NowMilliseconds()) return true;
    }
    return (queue.newBits & dwWakeMask & ~static_cast<UINT>(QS_SENDMESSAGE)) != 0;
  };
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMilliseconds);
  for (;;) {
    DWORD result = WaitForObjects(pHandles, nCount, fWaitAll != FALSE, 0, messagesReady);
    if (result != WAIT_TIMEOUT || dwMilliseconds == 0) return result;
    std::optional<uint64_t> nextDue;
    uint64_t changesSeen = 0;
    {
      std::lock_guard lock(WaitHub::Instance().Mutex());
      // Something may have arrived since the look above; then this is no idle point.
      if (messagesReady()) continue;
      nextDue = NextTimerDueLocked(queue);
      changesSeen = queue.changes;
    }
    NotifyThreadIdle(changesSeen);
    // A wait for input or timers is an idle point: the display may deliver input or move its
    // clock first.
    if ((dwWakeMask & (QS_TIMER | QS_INPUT)) && CurrentDisplay().Idle(nextDue)) continue;
    uint64_t slice = INFINITE;
    auto now = std::chrono::steady_clock::now();
    if (dwMilliseconds != INFINITE) {
      if (now >= deadline) return WAIT_TIMEOUT;
      slice = static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count()) + 1;
    }
    if ((dwWakeMask & QS_TIMER) && nextDue) {
      // Wake when the next timer is due on a real clock; a virtual clock wakes waiters itself.
      uint64_t clockNow = CurrentClock().NowMilliseconds();
      slice = std::min<uint64_t>(slice, std::max<uint64_t>(*nextDue > clockNow ? *nextDue - clockNow : 0, 1));
    }
    result = WaitForObjects(pHandles, nCount, fWaitAll != FALSE,
                            slice >= INFINITE ? INFINITE : static_cast<DWORD>(slice), messagesReady);
    if (result != WAIT_TIMEOUT) return result;
  }
}

UINT WINAPI RegisterWindowMessageA(LPCSTR lpString) {
  static std::mutex mutex;
  static std::map<std::string, UINT> registered;
  if (lpString == nullptr || *lpString == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string key(lpString);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::lock_guard lock(mutex);
  auto [entry, added] = registered.emplace(key, static_cast<UINT>(0xC000 + registered.size()));
  return entry->second;
}
