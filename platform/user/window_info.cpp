// What a window is and how it relates to others: state queries, rectangles and coordinates,
// the family (parent, owner, siblings, children), window longs and properties.

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <cstring>

#include "platform/gdi/window_framebuffers.h"
#include "platform/display/display_backend.h"
#include "platform/user/focus.h"
#include "platform/user/foreign_windows.h"
#include "platform/user/win32_errors.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

// Looks a window up for a query; the desktop counts unless excluded.
Window* Find(HWND handle, bool allowDesktop = true) {
  Window* window = LookupWindow(handle);
  if (window == nullptr || (!allowDesktop && window == &Desktop())) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return window;
}

std::string PropertyKey(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
  std::string key(name);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

using Properties = std::vector<std::pair<std::string, HANDLE>>;

// The property list of a window, or null for a bad window or name. Tree lock held.
Properties* PropertiesOf(HWND handle, LPCSTR name) {
  if (name == nullptr) return nullptr;
  if (IsForeignHandle(handle)) {
    ForeignWindows* foreign = CurrentForeignWindows();
    return foreign != nullptr ? foreign->Properties(handle) : nullptr;
  }
  Window* window = Find(handle, false);
  return window != nullptr ? &window->properties : nullptr;
}

Properties::iterator FindProperty(Properties& properties, LPCSTR name) {
  std::string key = PropertyKey(name);
  return std::find_if(properties.begin(), properties.end(), [&](const auto& entry) { return entry.first == key; });
}

bool ExtraRange(const Window& window, int offset, size_t size) {
  return offset >= 0 && static_cast<size_t>(offset) + size <= window.extra.size();
}

// Reads a value from a window's extra bytes and, given a replacement, writes that in its
// place. Offsets outside the bytes the class asked for fail with ERROR_INVALID_INDEX.
template <typename Value>
Value AccessExtra(HWND handle, int offset, const Value* replacement) {
  TreeLock lock;
  Window* window = Find(handle, false);
  if (window == nullptr) return 0;
  if (!ExtraRange(*window, offset, sizeof(Value))) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  Value old = 0;
  std::memcpy(&old, window->extra.data() + offset, sizeof(old));
  if (replacement != nullptr) std::memcpy(window->extra.data() + offset, replacement, sizeof(Value));
  return old;
}

}  // namespace

// The deepest visible, enabled window under a screen point inside `parent`, skipping windows
// of this thread that answer WM_NCHITTEST with HTTRANSPARENT.
HWND WindowUnderPoint(POINT screen, LRESULT* hit) {
  HWND parentHandle = Desktop().handle;
  LRESULT parentHit = HTNOWHERE;
  for (;;) {
    std::vector<HWND> candidates;
    {
      TreeLock lock;
      Window* parent = LookupWindow(parentHandle);
      if (parent == nullptr) return nullptr;
      RECT client = ScreenClientRect(*parent);
      if (parent != &Desktop() && !PtInRect(&client, screen)) {
        if (hit != nullptr) *hit = parentHit;
        return parentHandle;
      }
      for (Window* child : parent->children) {
        RECT rect = ScreenRect(*child);
        if ((child->style & WS_VISIBLE) && PtInRect(&rect, screen) &&
            !((child->style & WS_CHILD) && (child->style & WS_DISABLED))) {
          candidates.push_back(child->handle);
        }
      }
    }
    HWND next = nullptr;
    for (HWND candidate : candidates) {
      bool sameThread = false;
      {
        TreeLock lock;
        Window* window = LookupWindow(candidate);
        sameThread = window != nullptr && window->threadId == CurrentThreadId();
      }
      LRESULT answer = sameThread ? SendMessageA(candidate, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y))
                                  : HTCLIENT;
      if (answer == HTTRANSPARENT) continue;
      next = candidate;
      parentHit = answer;
      break;
    }
    if (next == nullptr) {
      if (hit != nullptr) *hit = parentHit;
      return parentHandle == Desktop().handle ? nullptr : parentHandle;
    }
    parentHandle = next;
  }
}

}  // namespace vel::platform

using namespace vel::platform;

BOOL WINAPI IsWindow(HWND hWnd) {
  if (IsForeignHandle(hWnd)) {
    ForeignWindows* foreign = CurrentForeignWindows();
    return foreign != nullptr && foreign->IsWindow(hWnd) ? TRUE : FALSE;
  }
  TreeLock lock;
  return LookupWindow(hWnd) != nullptr ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  TreeLock lock;
  Window* window = LookupWindow(hWnd);
  return window != nullptr && IsShowing(*window) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  TreeLock lock;
  Window* window = LookupWindow(hWnd);
  return window != nullptr && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  TreeLock lock;
  Window* parent = LookupWindow(hWndParent);
  Window* window = LookupWindow(hWnd);
  if (parent == nullptr || window == nullptr || parent == window) return FALSE;
  for (Window* at = window; at != nullptr && (at->style & WS_CHILD); at = at->parent) {
    if (at->parent == parent) return TRUE;
  }
  return FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  bool wasDisabled = false;
  {
    TreeLock lock;
    Window* window = Find(hWnd, false);
    if (window == nullptr) return FALSE;
    wasDisabled = (window->style & WS_DISABLED) != 0;
  }
  if (wasDisabled == !bEnable) return wasDisabled;
  if (!bEnable) {
    SendMessageA(hWnd, WM_CANCELMODE, 0, 0);
    HWND focus = CurrentInputWindows().focus;
    {
      TreeLock lock;
      Window* window = LookupWindow(hWnd);
      Window* focused = LookupWindow(focus);
      if (window == nullptr) return wasDisabled;
      if (focused == nullptr || !IsSelfOrAncestor(window, focused)) focus = nullptr;
    }
    // A disabled window cannot keep the keyboard focus.
    if (focus != nullptr) SetFocus(nullptr);
  }
  {
    TreeLock lock;
    Window* window = LookupWindow(hWnd);
    if (window == nullptr) return wasDisabled;
    if (bEnable) window->style &= ~WS_DISABLED;
    else window->style |= WS_DISABLED;
  }
  SendMessageA(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  TreeLock lock;
  Window* window = Find(hWnd);
  if (window == nullptr || lpRect == nullptr) return FALSE;
  *lpRect = ScreenRect(*window);
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  TreeLock lock;
  Window* window = Find(hWnd);
  if (window == nullptr || lpRect == nullptr) return FALSE;
  *lpRect = {0, 0, window->client.right - window->client.left, window->client.bottom - window->client.top};
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  TreeLock lock;
  Window* window = Find(hWnd);
  if (window == nullptr || lpPoint == nullptr) return FALSE;
  POINT origin = ClientOrigin(*window);
  lpPoint->x += origin.x;
  lpPoint->y += origin.y;
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  TreeLock lock;
  Window* window = Find(hWnd);
  if (window == nullptr || lpPoint == nullptr) return FALSE;
  POINT origin = ClientOrigin(*window);
  lpPoint->x -= origin.x;
  lpPoint->y -= origin.y;
  return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
  TreeLock lock;
  POINT from{};
  POINT to{};
  if (hWndFrom != nullptr) {
    Window* window = Find(hWndFrom);
    if (window == nullptr) return 0;
    from = ClientOrigin(*window);
  }
  if (hWndTo != nullptr) {
    Window* window = Find(hWndTo);
    if (window == nullptr) return 0;
    to = ClientOrigin(*window);
  }
  LONG dx = from.x - to.x;
  LONG dy = from.y - to.y;
  for (UINT index = 0; lpPoints != nullptr && index < cPoints; ++index) {
    lpPoints[index].x += dx;
    lpPoints[index].y += dy;
  }
  SetLastError(0);
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

HWND WINAPI WindowFromPoint(POINT Point) { return WindowUnderPoint(Point, nullptr); }

HWND WINAPI ChildWindowFromPointEx(HWND hwnd, POINT pt, UINT flags) {
  // On the desktop, another program's window may lie above this program's at the point. The
  // desktop is asked before the tree is locked: the answer may take a round trip to it.
  if (hwnd == GetDesktopWindow()) {
    ForeignWindows* foreign = CurrentForeignWindows();
    if (HWND other = foreign != nullptr ? foreign->OtherProgramTopLevelAt(pt) : nullptr) return other;
  }
  TreeLock lock;
  Window* parent = Find(hwnd);
  if (parent == nullptr) return nullptr;
  RECT client{0, 0, parent->client.right - parent->client.left, parent->client.bottom - parent->client.top};
  if (!PtInRect(&client, pt)) return nullptr;
  for (Window* child : parent->children) {
    if ((flags & CWP_SKIPINVISIBLE) && !(child->style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (child->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (child->exStyle & WS_EX_TRANSPARENT)) continue;
    if (PtInRect(&child->rect, pt)) return child->handle;
  }
  return hwnd;
}

HWND WINAPI ChildWindowFromPoint(HWND hWndParent, POINT Point) {
  return ChildWindowFromPointEx(hWndParent, Point, CWP_ALL);
}

BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  if (lpEnumFunc == nullptr) return FALSE;
  std::vector<HWND> windows;
  {
    TreeLock lock;
    Window* parent = hWndParent == nullptr ? &Desktop() : Find(hWndParent);
    if (parent == nullptr) return FALSE;
    auto collect = [&](auto&& self, Window* at) -> void {
      for (Window* child : at->children) {
        windows.push_back(child->handle);
        self(self, child);
      }
    };
    collect(collect, parent);
  }
  // Windows destroyed by an earlier callback are skipped.
  for (HWND window : windows) {
    if (IsWindow(window) && !lpEnumFunc(window, lParam)) return FALSE;
  }
  return TRUE;
}

BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  if (lpEnumFunc == nullptr) return FALSE;
  std::vector<HWND> windows;
  {
    TreeLock lock;
    windows = TopLevelWindows();
  }
  for (HWND window : windows) {
    if (IsWindow(window) && !lpEnumFunc(window, lParam)) return FALSE;
  }
  return TRUE;
}

BOOL WINAPI EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam) {
  if (lpfn == nullptr) return FALSE;
  std::vector<HWND> windows;
  {
    TreeLock lock;
    for (Window* window : Desktop().children) {
      if (window->threadId == dwThreadId) windows.push_back(window->handle);
    }
  }
  for (HWND window : windows) {
    if (IsWindow(window) && !lpfn(window, lParam)) return FALSE;
  }
  return TRUE;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  TreeLock lock;
  Window* window = Find(hWnd);
  if (window == nullptr) return nullptr;
  if (uCmd == GW_CHILD) return window->children.empty() ? nullptr : window->children.front()->handle;
  if (uCmd == GW_OWNER) return window->owner != nullptr ? window->owner->handle : nullptr;
  if (uCmd == GW_ENABLEDPOPUP) return nullptr;
  if (window->parent == nullptr) return nullptr;
  auto& siblings = window->parent->children;
  auto at = std::find(siblings.begin(), siblings.end(), window);
  switch (uCmd) {
    case GW_HWNDFIRST: return siblings.front()->handle;
    case GW_HWNDLAST: return siblings.back()->handle;
    case GW_HWNDNEXT: return at + 1 != siblings.end() ? (*(at + 1))->handle : nullptr;
    case GW_HWNDPREV: return at != siblings.begin() ? (*(at - 1))->handle : nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND WINAPI GetTopWindow(HWND hWnd) { return GetWindow(hWnd != nullptr ? hWnd : GetDesktopWindow(), GW_CHILD); }

HWND WINAPI GetParent(HWND hWnd) {
  TreeLock lock;
  Window* window = Find(hWnd, false);
  if (window == nullptr) return nullptr;
  if (window->style & WS_CHILD) return window->parent->handle;
  if ((window->style & WS_POPUP) && window->owner != nullptr) return window->owner->handle;
  return nullptr;
}

HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent) {
  HWND previous = nullptr;
  bool wasTopLevel = false;
  bool isTopLevel = false;
  {
    TreeLock lock;
    Window* window = Find(hWndChild, false);
    Window* parent = hWndNewParent == nullptr ? &Desktop() : Find(hWndNewParent);
    if (window == nullptr || parent == nullptr) return nullptr;
    if (IsSelfOrAncestor(window, parent)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    previous = window->parent->handle;
    wasTopLevel = IsTopLevel(*window);
    std::erase(window->parent->children, window);
    window->parent = parent;
    parent->children.insert(parent->children.begin(), window);
    isTopLevel = IsTopLevel(*window);
    if (isTopLevel) window->owner = nullptr;
  }
  if (wasTopLevel && !isTopLevel) {
    CurrentDisplay().TopLevelDestroyed(hWndChild);
    DropTopLevelFramebuffer(hWndChild);
  }
  if (!wasTopLevel && isTopLevel) CurrentDisplay().TopLevelCreated(hWndChild);
  if (IsWindowVisible(hWndChild)) InvalidateRect(hWndChild, nullptr, TRUE);
  return previous;
}

HWND WINAPI GetDesktopWindow(void) {
  EnsureWindowManager();
  return Desktop().handle;
}

HWND WINAPI FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName) {
  TreeLock lock;
  auto wanted = lpClassName != nullptr ? FindWindowClass(lpClassName) : nullptr;
  if (lpClassName != nullptr && wanted == nullptr) return nullptr;
  for (Window* window : Desktop().children) {
    if (wanted != nullptr && window->windowClass != wanted) continue;
    if (lpWindowName != nullptr && window->text != lpWindowName) continue;
    return window->handle;
  }
  return nullptr;
}

DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
  if (IsForeignHandle(hWnd)) {
    // The thread of another program's window is not known here; its process is.
    ForeignWindows* foreign = CurrentForeignWindows();
    DWORD process = foreign != nullptr ? foreign->ProcessOf(hWnd) : 0;
    if (lpdwProcessId != nullptr) *lpdwProcessId = process;
    if (process == 0) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  TreeLock lock;
  Window* window = Find(hWnd);
  if (window == nullptr) return 0;
  if (lpdwProcessId != nullptr) *lpdwProcessId = static_cast<DWORD>(getpid());
  return window == &Desktop() ? 0 : window->threadId;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  if (lpString == nullptr || nMaxCount <= 0) return 0;
  lpString[0] = '\0';
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                       reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
  TreeLock lock;
  Window* window = Find(hWnd, false);
  if (window == nullptr) return 0;
  switch (nIndex) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->procedure);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT:
      if (window->style & WS_CHILD) return reinterpret_cast<LONG_PTR>(window->parent->handle);
      return window->owner != nullptr ? reinterpret_cast<LONG_PTR>(window->owner->handle) : 0;
    case GWLP_ID: return window->id;
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
    case GWLP_USERDATA: return window->userData;
    default: break;
  }
  return AccessExtra<LONG_PTR>(hWnd, nIndex, nullptr);
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  if (nIndex == GWL_STYLE || nIndex == GWL_EXSTYLE) {
    STYLESTRUCT change{};
    {
      TreeLock lock;
      Window* window = Find(hWnd, false);
      if (window == nullptr) return 0;
      DWORD old = nIndex == GWL_STYLE ? window->style : window->exStyle;
      change = {old, static_cast<DWORD>(dwNewLong)};
    }
    SendMessageA(hWnd, WM_STYLECHANGING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&change));
    {
      TreeLock lock;
      Window* window = LookupWindow(hWnd);
      if (window == nullptr) return 0;
      if (nIndex == GWL_STYLE) window->style = change.styleNew;
      else window->exStyle = change.styleNew;
    }
    SendMessageA(hWnd, WM_STYLECHANGED, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&change));
    return static_cast<LONG>(change.styleOld);
  }
  TreeLock lock;
  Window* window = Find(hWnd, false);
  if (window == nullptr) return 0;
  LONG_PTR old = 0;
  switch (nIndex) {
    case GWLP_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(window->procedure);
      window->procedure = reinterpret_cast<WNDPROC>(dwNewLong);
      return old;
    case GWLP_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(window->instance);
      window->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
      return old;
    case GWLP_HWNDPARENT: {
      if (window->style & WS_CHILD) return 0;
      old = window->owner != nullptr ? reinterpret_cast<LONG_PTR>(window->owner->handle) : 0;
      Window* owner = LookupWindow(reinterpret_cast<HWND>(dwNewLong));
      window->owner = owner != nullptr && owner != &Desktop() ? TopLevelOf(owner) : nullptr;
      return old;
    }
    case GWLP_ID:
      old = window->id;
      window->id = dwNewLong;
      return old;
    case GWLP_USERDATA:
      old = window->userData;
      window->userData = dwNewLong;
      return old;
    default: break;
  }
  return AccessExtra<LONG_PTR>(hWnd, nIndex, &dwNewLong);
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
  if (nIndex < 0) return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex));
  return AccessExtra<LONG>(hWnd, nIndex, nullptr);
}

LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
  if (nIndex < 0) return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, dwNewLong));
  return AccessExtra<LONG>(hWnd, nIndex, &dwNewLong);
}

BOOL WINAPI SetPropA(HWND hWnd, LPCSTR lpString, HANDLE hData) {
  TreeLock lock;
  auto* properties = PropertiesOf(hWnd, lpString);
  if (properties == nullptr) return FALSE;
  auto found = FindProperty(*properties, lpString);
  if (found != properties->end()) found->second = hData;
  else properties->emplace_back(PropertyKey(lpString), hData);
  return TRUE;
}

HANDLE WINAPI GetPropA(HWND hWnd, LPCSTR lpString) {
  TreeLock lock;
  auto* properties = PropertiesOf(hWnd, lpString);
  if (properties == nullptr) return nullptr;
  auto found = FindProperty(*properties, lpString);
  return found != properties->end() ? found->second : nullptr;
}

HANDLE WINAPI RemovePropA(HWND hWnd, LPCSTR lpString) {
  TreeLock lock;
  auto* properties = PropertiesOf(hWnd, lpString);
  if (properties == nullptr) return nullptr;
  auto found = FindProperty(*properties, lpString);
  if (found == properties->end()) return nullptr;
  HANDLE data = found->second;
  properties->erase(found);
  return data;
}
