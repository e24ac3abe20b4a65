// MessageBoxA: the record kept of every box, and the modal run of the box's window.

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <optional>

#include "platform/display/headless/headless_display.h"
#include "platform/user/message_box_script.h"
#include "platform/user/message_box_window.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

std::mutex g_mutex;
MessageBoxAnswerer g_answerer;
std::vector<MessageBoxRecord> g_log;

MessageBoxAnswerer CurrentAnswerer() {
  std::lock_guard lock(g_mutex);
  return g_answerer;
}

void RememberBoxWindow(size_t logIndex, HWND box) {
  std::lock_guard lock(g_mutex);
  if (logIndex < g_log.size()) g_log[logIndex].box = box;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Disables what the box is modal to: its owner, or every top-level window of the thread when
// the box is task modal or has no owner. Returns the windows it disabled, in order.
std::vector<HWND> DisableForBox(HWND owner, UINT flags) {
  std::vector<HWND> candidates;
  if (owner == nullptr || (flags & MB_MODEMASK) == MB_TASKMODAL) {
    EnumThreadWindows(GetCurrentThreadId(), CollectTopLevel, reinterpret_cast<LPARAM>(&candidates));
  }
  if (owner != nullptr && std::find(candidates.begin(), candidates.end(), owner) == candidates.end()) {
    candidates.insert(candidates.begin(), owner);
  }
  std::vector<HWND> disabled;
  for (HWND window : candidates) {
    if (IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      disabled.push_back(window);
    }
  }
  return disabled;
}

void Reenable(const std::vector<HWND>& disabled) {
  for (auto at = disabled.rbegin(); at != disabled.rend(); ++at) {
    if (IsWindow(*at)) EnableWindow(*at, TRUE);
  }
}

// The owner the box belongs to: the top-level window of a live hWnd; null for none or for a
// window already destroyed (a box shown while the program shuts down).
HWND OwnerTopLevel(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  TreeLock lock;
  Window* window = LookupWindow(hWnd);
  if (window == nullptr || window == &Desktop() || window->destroying) return nullptr;
  Window* top = TopLevelOf(window);
  return top->destroying ? nullptr : top->handle;
}

struct LoopOutcome {
  int answer = 0;
  std::optional<int> quitCode;
};

void Deliver(HWND box, MSG& msg) {
  if (PressMessageBoxMnemonic(box, msg)) return;
  if (IsDialogMessageA(box, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

// The box's own message loop: runs until a button answers, the answerer answers, the headless
// display has nothing more to give, or WM_QUIT arrives. A box that ends without an answer (quit,
// or its window destroyed under it) gives its default button's, as an unattended one does.
LoopOutcome RunBoxLoop(HWND box, MessageBoxContent& content, MessageBoxRecord record) {
  record.box = box;
  LoopOutcome outcome;
  for (;;) {
    if (content.answer != 0) {
      outcome.answer = content.answer;
      return outcome;
    }
    if (!IsWindow(box)) {
      outcome.answer = DefaultButtonAnswer(content.flags);
      return outcome;
    }
    MSG msg{};
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // Quiet: every input handled, the box painted.
      if (MessageBoxAnswerer answerer = CurrentAnswerer()) {
        if (int chosen = answerer(record)) {
          outcome.answer = chosen;
          return outcome;
        }
        // The answerer may have sent input, answered through the box or even destroyed it.
        if (content.answer != 0 || !IsWindow(box) || PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) continue;
      }
      if (HeadlessDisplay* headless = CurrentHeadlessDisplay()) {
        if (headless->ScriptPending()) {
          headless->Idle(std::nullopt);
          continue;
        }
        outcome.answer = DefaultButtonAnswer(content.flags);
        return outcome;
      }
      if (!GetMessageA(&msg, nullptr, 0, 0)) msg.message = WM_QUIT;
    }
    if (msg.message == WM_QUIT) {
      outcome.quitCode = static_cast<int>(msg.wParam);
      outcome.answer = DefaultButtonAnswer(content.flags);
      return outcome;
    }
    Deliver(box, msg);
  }
}

int RunMessageBox(MessageBoxContent& content, const MessageBoxRecord& record, size_t logIndex) {
  HWND owner = OwnerTopLevel(record.owner);
  // Only a window of this thread becomes the box's owner in the window tree; a box over another
  // thread's window is still modal to it and centred on it.
  HWND treeOwner = owner != nullptr && GetWindowThreadProcessId(owner, nullptr) == GetCurrentThreadId() ? owner : nullptr;
  // A quit already waiting (a box shown while the program shuts down) is set aside, so that the
  // box is really shown, and posted again afterwards.
  std::optional<int> quitBefore;
  if (MSG quit{}; PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) quitBefore = static_cast<int>(quit.wParam);
  std::vector<HWND> disabled = DisableForBox(owner, content.flags);
  HWND box = CreateMessageBoxWindow(content, record.caption, treeOwner, owner);
  if (box == nullptr) {
    Reenable(disabled);
    if (quitBefore) PostQuitMessage(*quitBefore);
    MessageBoxAnswerer answerer = CurrentAnswerer();
    int chosen = answerer ? answerer(record) : 0;
    return chosen != 0 ? chosen : DefaultButtonAnswer(content.flags);
  }
  RememberBoxWindow(logIndex, box);
  ShowMessageBoxWindow(box, content);
  LoopOutcome outcome = RunBoxLoop(box, content, record);
  // The owner is enabled again before the box goes, so that activation returns to it.
  Reenable(disabled);
  if (IsWindow(box)) DestroyWindow(box);
  if (outcome.quitCode || quitBefore) PostQuitMessage(outcome.quitCode ? *outcome.quitCode : *quitBefore);
  return outcome.answer;
}

}  // namespace

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
  std::lock_guard lock(g_mutex);
  g_answerer = std::move(answerer);
}

std::vector<MessageBoxRecord> MessageBoxLog() {
  std::lock_guard lock(g_mutex);
  return g_log;
}

void ClearMessageBoxLog() {
  std::lock_guard lock(g_mutex);
  g_log.clear();
}

int FirstButtonAnswer(UINT flags) { return MessageBoxButtons(flags).front().id; }

int DefaultButtonAnswer(UINT flags) {
  std::vector<MessageBoxButton> buttons = MessageBoxButtons(flags);
  return buttons[DefaultButtonIndex(flags, buttons.size())].id;
}

}  // namespace vel::platform

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  using namespace vel::platform;
  EnsureWindowManager();
  MessageBoxRecord record{hWnd, lpCaption != nullptr ? lpCaption : "Error", lpText != nullptr ? lpText : "", uType};
  size_t logIndex = 0;
  {
    std::lock_guard lock(g_mutex);
    logIndex = g_log.size();
    g_log.push_back(record);
  }
  std::fprintf(stderr, "[%s] %s\n", record.caption.c_str(), record.text.c_str());
  std::fflush(stderr);
  MessageBoxContent content;
  content.flags = uType;
  content.text = record.text;
  return RunMessageBox(content, record, logIndex);
}
