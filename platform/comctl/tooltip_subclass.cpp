#include "platform/comctl/tooltip_subclass.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace vel::platform {
namespace {

struct Subclass {
  WNDPROC previous = nullptr;
  /// One entry per relay asked for (a tooltip may relay the same window for several tools).
  std::vector<HWND> tooltips;
};

std::mutex g_mutex;
std::unordered_map<HWND, Subclass>& Subclasses() {
  static auto* subclasses = new std::unordered_map<HWND, Subclass>();
  return *subclasses;
}

LRESULT CALLBACK RelayingProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Subclass subclass;
  {
    std::lock_guard lock(g_mutex);
    auto found = Subclasses().find(hWnd);
    if (found != Subclasses().end()) subclass = found->second;
  }
  if (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST) {
    MSG msg{hWnd, Msg, wParam, lParam, GetMessageTime(), {}};
    std::vector<HWND> told;
    for (HWND tooltip : subclass.tooltips) {
      if (std::find(told.begin(), told.end(), tooltip) != told.end()) continue;
      told.push_back(tooltip);
      SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
  }
  if (Msg == WM_NCDESTROY) {
    std::lock_guard lock(g_mutex);
    Subclasses().erase(hWnd);
  }
  return subclass.previous != nullptr ? CallWindowProcA(subclass.previous, hWnd, Msg, wParam, lParam)
                                      : DefWindowProcA(hWnd, Msg, wParam, lParam);
}

}  // namespace

void RelayMouseOf(HWND window, HWND tooltip) {
  if (!IsWindow(window)) return;
  std::lock_guard lock(g_mutex);
  auto found = Subclasses().find(window);
  if (found == Subclasses().end()) {
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RelayingProcedure)));
    found = Subclasses().emplace(window, Subclass{previous, {}}).first;
  }
  found->second.tooltips.push_back(tooltip);
}

void StopRelayingMouse(HWND window, HWND tooltip) {
  std::lock_guard lock(g_mutex);
  auto found = Subclasses().find(window);
  if (found == Subclasses().end()) return;
  std::vector<HWND>& tooltips = found->second.tooltips;
  auto entry = std::find(tooltips.begin(), tooltips.end(), tooltip);
  if (entry != tooltips.end()) tooltips.erase(entry);
  // A procedure put in front of ours later still calls ours, so ours stays until then.
  if (tooltips.empty() &&
      GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(RelayingProcedure)) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.previous));
    Subclasses().erase(found);
  }
}

}  // namespace vel::platform
