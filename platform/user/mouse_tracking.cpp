// TrackMouseEvent with TME_LEAVE (optionally TME_NONCLIENT), TME_CANCEL and TME_QUERY. Hover
// tracking (TME_HOVER) is not provided: a request for it fails.

#include "platform/user/mouse_tracking.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/user/input_state.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

struct Tracked {
  HWND window;
  bool nonClient;
};

std::mutex g_mutex;
std::vector<Tracked>& TrackedWindows() {
  static auto* tracked = new std::vector<Tracked>();
  return *tracked;
}

bool PointerIsOver(HWND window, bool nonClient, HWND under, LRESULT hit) {
  if (under != window) return false;
  return nonClient ? hit != HTCLIENT : hit == HTCLIENT;
}

void PostLeave(const Tracked& tracked) {
  PostMessageA(tracked.window, tracked.nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

}  // namespace

void UpdateMouseTracking(POINT screenPoint) {
  // Destroying a window ends its tracking, as on Win32: such entries go first, so that a
  // stale one neither costs a hit test nor posts to a handle that may have been reused.
  std::vector<HWND> trackedWindows;
  {
    std::lock_guard lock(g_mutex);
    if (TrackedWindows().empty()) return;
    for (const Tracked& entry : TrackedWindows()) trackedWindows.push_back(entry.window);
  }
  std::erase_if(trackedWindows, [](HWND window) { return IsWindow(window) != FALSE; });
  {
    std::lock_guard lock(g_mutex);
    auto& tracked = TrackedWindows();
    std::erase_if(tracked, [&](const Tracked& entry) {
      return std::find(trackedWindows.begin(), trackedWindows.end(), entry.window) != trackedWindows.end();
    });
    if (tracked.empty()) return;
  }
  LRESULT hit = HTNOWHERE;
  HWND under = WindowUnderPoint(screenPoint, &hit);
  std::vector<Tracked> left;
  {
    std::lock_guard lock(g_mutex);
    auto& tracked = TrackedWindows();
    auto gone = std::stable_partition(tracked.begin(), tracked.end(), [&](const Tracked& entry) {
      return PointerIsOver(entry.window, entry.nonClient, under, hit);
    });
    left.assign(gone, tracked.end());
    tracked.erase(gone, tracked.end());
  }
  for (const Tracked& entry : left) {
    if (IsWindow(entry.window)) PostLeave(entry);
  }
}

}  // namespace vel::platform

using namespace vel::platform;

BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) {
  if (lpEventTrack == nullptr || lpEventTrack->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
  TRACKMOUSEEVENT& request = *lpEventTrack;
  bool nonClient = (request.dwFlags & TME_NONCLIENT) != 0;
  if (request.dwFlags & TME_QUERY) {
    std::lock_guard lock(g_mutex);
    const auto& tracked = TrackedWindows();
    auto found = std::find_if(tracked.begin(), tracked.end(),
                              [&](const Tracked& entry) { return entry.window == request.hwndTrack; });
    request.dwFlags = found == tracked.end() ? 0 : TME_LEAVE | (found->nonClient ? TME_NONCLIENT : 0);
    request.dwHoverTime = 0;
    return TRUE;
  }
  if (!IsWindow(request.hwndTrack)) return FALSE;
  if (request.dwFlags & TME_CANCEL) {
    std::lock_guard lock(g_mutex);
    std::erase_if(TrackedWindows(), [&](const Tracked& entry) {
      return entry.window == request.hwndTrack && entry.nonClient == nonClient;
    });
    return TRUE;
  }
  if (request.dwFlags & TME_HOVER) return FALSE;
  if (!(request.dwFlags & TME_LEAVE)) return TRUE;
  // A window the pointer is not over hears at once that it has left.
  LRESULT hit = HTNOWHERE;
  HWND under = WindowUnderPoint(CursorPosition(), &hit);
  Tracked entry{request.hwndTrack, nonClient};
  if (!PointerIsOver(entry.window, nonClient, under, hit)) {
    PostLeave(entry);
    return TRUE;
  }
  std::lock_guard lock(g_mutex);
  auto& tracked = TrackedWindows();
  bool known = std::any_of(tracked.begin(), tracked.end(), [&](const Tracked& existing) {
    return existing.window == entry.window && existing.nonClient == nonClient;
  });
  if (!known) tracked.push_back(entry);
  return TRUE;
}
