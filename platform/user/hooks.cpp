#include "platform/user/hooks.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/user/message_queue.h"
#include "platform/user/win32_errors.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

struct Hook {
  HHOOK handle;
  int kind;
  HOOKPROC procedure;
  DWORD threadId;
};

std::mutex g_mutex;
std::vector<Hook> g_hooks;  // newest last
uintptr_t g_nextHook = 0x5000;

// The hook installed before `hook` for the same thread and kind.
const Hook* NextInChain(HHOOK hook) {
  auto at = std::find_if(g_hooks.begin(), g_hooks.end(), [&](const Hook& entry) { return entry.handle == hook; });
  if (at == g_hooks.end()) return nullptr;
  int kind = at->kind;
  DWORD threadId = at->threadId;
  while (at != g_hooks.begin()) {
    --at;
    if (at->kind == kind && at->threadId == threadId) return &*at;
  }
  return nullptr;
}

}  // namespace

bool MouseHookSwallows(const MSG& msg, bool removing) {
  Hook newest{};
  {
    std::lock_guard lock(g_mutex);
    auto at = std::find_if(g_hooks.rbegin(), g_hooks.rend(), [](const Hook& entry) {
      return entry.kind == WH_MOUSE && entry.threadId == CurrentThreadId();
    });
    if (at == g_hooks.rend()) return false;
    newest = *at;
  }
  bool nonClient = msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK;
  MOUSEHOOKSTRUCT info{msg.pt, msg.hwnd, nonClient ? static_cast<UINT>(msg.wParam) : static_cast<UINT>(HTCLIENT), 0};
  LRESULT answer = newest.procedure(removing ? HC_ACTION : HC_NOREMOVE, msg.message, reinterpret_cast<LPARAM>(&info));
  return answer != 0;
}

}  // namespace vel::platform

using namespace vel::platform;

HHOOK WINAPI SetWindowsHookExA(int idHook, HOOKPROC lpfn, HINSTANCE, DWORD dwThreadId) {
  // Only hooks of the calling thread are kept: a system-wide hook has no meaning here.
  if (lpfn == nullptr || (dwThreadId != 0 && dwThreadId != CurrentThreadId()) || idHook != WH_MOUSE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::lock_guard lock(g_mutex);
  HHOOK handle = reinterpret_cast<HHOOK>(g_nextHook);
  g_nextHook += 4;
  g_hooks.push_back({handle, idHook, lpfn, CurrentThreadId()});
  return handle;
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hhk) {
  std::lock_guard lock(g_mutex);
  auto removed = std::erase_if(g_hooks, [&](const Hook& entry) { return entry.handle == hhk; });
  if (removed == 0) {
    SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
  }
  return TRUE;
}

LRESULT WINAPI CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam) {
  HOOKPROC next = nullptr;
  {
    std::lock_guard lock(g_mutex);
    const Hook* hook = NextInChain(hhk);
    if (hook != nullptr) next = hook->procedure;
  }
  return next != nullptr ? next(nCode, wParam, lParam) : 0;
}
