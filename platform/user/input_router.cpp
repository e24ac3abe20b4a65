// The input path: what a backend reports (mouse moves, buttons and wheel, keys, drops, switching
// programs) becomes input messages in the queue of the thread that owns the target window,
// after the hit test, WM_SETCURSOR and mouse activation the original performs.

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "platform/display/display_backend.h"
#include "platform/display/keyboard_layout.h"
#include "platform/kernel/clock.h"
#include "platform/user/focus.h"
#include "platform/user/foreign_windows.h"
#include "platform/user/input_state.h"
#include "platform/user/mouse_tracking.h"
#include "platform/user/termination_signals.h"
#include "platform/user/window_dc.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

struct LastClick {
  HWND window = nullptr;
  UINT message = 0;
  uint64_t time = 0;
  POINT point{};
};

class InputRouter final : public InputSink {
 public:
  void MouseMoved(POINT screenPoint) override;
  void MouseButton(int button, bool down, POINT screenPoint) override;
  void MouseWheel(int delta, POINT screenPoint) override { PostWheel(WM_MOUSEWHEEL, delta, screenPoint); }
  void MouseSidewaysWheel(int delta, POINT screenPoint) override { PostWheel(WM_MOUSEHWHEEL, delta, screenPoint); }
  void Key(BYTE virtualKey, bool down, bool extended) override;
  void Character(char character) override;
  void FilesDropped(POINT screenPoint, const std::vector<std::string>& paths) override;
  void ApplicationActivated(bool active) override { SetApplicationActive(active); }
  bool WriteScreenPicture(const std::string& path) override { return WriteScreenPng(path); }

  BYTE KeyState(BYTE key) {
    std::lock_guard lock(m_mutex);
    return m_keys[key];
  }
  POINT Cursor() {
    std::lock_guard lock(m_mutex);
    return m_cursor;
  }

 private:
  // WM_MOUSEWHEEL or WM_MOUSEHWHEEL for a turn of the wheel.
  void PostWheel(UINT message, int delta, POINT screenPoint);
  // Target window and hit-test code for a screen point: the capture window takes everything.
  HWND Target(POINT screenPoint, LRESULT* hit);
  WPARAM MouseKeyFlags();
  void PostMouse(HWND target, LRESULT hit, UINT clientMessage, UINT nonClientMessage, POINT screenPoint);

  std::mutex m_mutex;
  BYTE m_keys[256] = {};
  POINT m_cursor{};
  LastClick m_lastClick;
};

InputRouter& Router() {
  static InputRouter* router = new InputRouter();
  return *router;
}

DWORD ThreadOf(HWND window) {
  TreeLock lock;
  Window* record = LookupWindow(window);
  return record != nullptr ? record->threadId : 0;
}

HWND InputRouter::Target(POINT screenPoint, LRESULT* hit) {
  HWND capture = CurrentInputWindows().capture;
  if (capture != nullptr) {
    *hit = HTCLIENT;
    return capture;
  }
  *hit = HTNOWHERE;
  return WindowUnderPoint(screenPoint, hit);
}

WPARAM InputRouter::MouseKeyFlags() {
  std::lock_guard lock(m_mutex);
  WPARAM flags = 0;
  if (m_keys[VK_LBUTTON] & 0x80) flags |= MK_LBUTTON;
  if (m_keys[VK_RBUTTON] & 0x80) flags |= MK_RBUTTON;
  if (m_keys[VK_MBUTTON] & 0x80) flags |= MK_MBUTTON;
  if (m_keys[VK_SHIFT] & 0x80) flags |= MK_SHIFT;
  if (m_keys[VK_CONTROL] & 0x80) flags |= MK_CONTROL;
  return flags;
}

void InputRouter::PostMouse(HWND target, LRESULT hit, UINT clientMessage, UINT nonClientMessage, POINT screenPoint) {
  MSG msg{target, 0, 0, 0, GetTickCount(), screenPoint};
  if (hit == HTCLIENT) {
    POINT client = screenPoint;
    ScreenToClient(target, &client);
    msg.message = clientMessage;
    msg.wParam = MouseKeyFlags();
    msg.lParam = MAKELPARAM(client.x, client.y);
  } else {
    msg.message = nonClientMessage;
    msg.wParam = static_cast<WPARAM>(hit);
    msg.lParam = MAKELPARAM(screenPoint.x, screenPoint.y);
  }
  PostToThread(ThreadOf(target), msg, true);
}

void InputRouter::MouseMoved(POINT screenPoint) {
  {
    std::lock_guard lock(m_mutex);
    m_cursor = screenPoint;
  }
  UpdateMouseTracking(screenPoint);
  LRESULT hit = HTNOWHERE;
  HWND target = Target(screenPoint, &hit);
  if (target == nullptr || hit == HTNOWHERE || hit == HTERROR) return;
  if (CurrentInputWindows().capture == nullptr) {
    SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, WM_MOUSEMOVE));
  }
  PostMouse(target, hit, WM_MOUSEMOVE, WM_NCMOUSEMOVE, screenPoint);
}

void InputRouter::MouseButton(int button, bool down, POINT screenPoint) {
  static constexpr BYTE kKeys[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
  static constexpr UINT kDown[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  if (button < 0 || button > 2) return;
  {
    std::lock_guard lock(m_mutex);
    m_cursor = screenPoint;
    BYTE& state = m_keys[kKeys[button]];
    state = down ? static_cast<BYTE>((state ^ 1) | 0x80) : static_cast<BYTE>(state & ~0x80);
  }
  LRESULT hit = HTNOWHERE;
  HWND target = Target(screenPoint, &hit);
  if (target == nullptr || hit == HTNOWHERE || hit == HTERROR) return;
  UINT clientDown = kDown[button];
  // Button messages come in threes: down, up, double-click.
  UINT clientMessage = down ? clientDown : clientDown + 1;
  UINT nonClientMessage = clientMessage - WM_LBUTTONDOWN + WM_NCLBUTTONDOWN;
  bool captured = CurrentInputWindows().capture != nullptr;
  if (down && !captured) {
    HWND topLevel = nullptr;
    bool disabled = false;
    {
      TreeLock lock;
      Window* window = LookupWindow(target);
      if (window == nullptr) return;
      Window* top = TopLevelOf(window);
      topLevel = top->handle;
      disabled = (top->style & WS_DISABLED) != 0;
    }
    if (disabled) {
      MessageBeep(0);
      return;
    }
    if (topLevel != CurrentInputWindows().active) {
      LRESULT answer = SendMessageA(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(topLevel),
                                    MAKELPARAM(hit, clientDown));
      if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT || answer == 0) ActivateWindow(topLevel, true);
      if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return;
      if (!IsWindow(target)) return;
    }
    SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, clientDown));
  }
  if (down) {
    uint64_t now = CurrentClock().NowMilliseconds();
    bool doubleClick = false;
    {
      std::lock_guard lock(m_mutex);
      doubleClick = m_lastClick.window == target && m_lastClick.message == clientDown &&
                    now - m_lastClick.time <= GetDoubleClickTime() &&
                    std::abs(screenPoint.x - m_lastClick.point.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                    std::abs(screenPoint.y - m_lastClick.point.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
      // A double click ends the pair: a third click starts a new one.
      m_lastClick = doubleClick ? LastClick{} : LastClick{target, clientDown, now, screenPoint};
    }
    bool classWantsDouble = (GetClassLongPtrA(target, GCL_STYLE) & CS_DBLCLKS) != 0;
    if (doubleClick && (hit != HTCLIENT || classWantsDouble)) {
      clientMessage = clientDown + 2;
      nonClientMessage = clientMessage - WM_LBUTTONDOWN + WM_NCLBUTTONDOWN;
    }
  }
  PostMouse(target, hit, clientMessage, nonClientMessage, screenPoint);
}

void InputRouter::PostWheel(UINT message, int delta, POINT screenPoint) {
  {
    std::lock_guard lock(m_mutex);
    m_cursor = screenPoint;
  }
  // The wheel goes to the focus (to the active window when nothing has the focus), wherever
  // the mouse is; the default window procedure passes it up to the parents from there.
  InputWindows windows = CurrentInputWindows();
  HWND target = windows.focus != nullptr ? windows.focus : windows.active;
  if (target == nullptr || delta == 0) return;
  const int turn = std::clamp(delta, -32768, 32767);
  const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(MouseKeyFlags()), static_cast<WORD>(static_cast<SHORT>(turn)));
  MSG msg{target, message, wParam, MAKELPARAM(screenPoint.x, screenPoint.y), GetTickCount(), screenPoint};
  PostToThread(ThreadOf(target), msg, true);
}

void InputRouter::Key(BYTE virtualKey, bool down, bool extended) {
  bool wasDown = false;
  bool alt = false;
  bool control = false;
  {
    std::lock_guard lock(m_mutex);
    auto set = [&](BYTE key) {
      BYTE& state = m_keys[key];
      state = down ? static_cast<BYTE>(((state & 0x80) ? state : state ^ 1) | 0x80)
                   : static_cast<BYTE>(state & ~0x80);
    };
    wasDown = (m_keys[virtualKey] & 0x80) != 0;
    set(virtualKey);
    if (virtualKey == VK_SHIFT) set(VK_LSHIFT);
    if (virtualKey == VK_CONTROL) set(VK_LCONTROL);
    if (virtualKey == VK_MENU) set(VK_LMENU);
    alt = (m_keys[VK_MENU] & 0x80) != 0;
    control = (m_keys[VK_CONTROL] & 0x80) != 0;
  }
  InputWindows windows = CurrentInputWindows();
  HWND target = windows.focus != nullptr ? windows.focus : windows.active;
  if (target == nullptr) return;
  // Keys with Alt held (and Alt itself, and F10) are system keys; so is every key when no
  // window has the focus.
  bool system = (alt && !control) || virtualKey == VK_F10 || windows.focus == nullptr;
  UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  if (virtualKey == VK_MENU && !down) message = WM_SYSKEYUP;
  LPARAM lParam = 1 | (static_cast<LPARAM>(ScanCodeForKey(virtualKey)) << 16);
  if (extended) lParam |= 1L << 24;
  if (alt && !control) lParam |= 1L << 29;
  if (wasDown || !down) lParam |= 1L << 30;
  if (!down) lParam |= 1L << 31;
  MSG msg{target, message, virtualKey, static_cast<LPARAM>(static_cast<DWORD>(lParam)), GetTickCount(), Cursor()};
  PostToThread(ThreadOf(target), msg, true);
}

void InputRouter::Character(char character) {
  InputWindows windows = CurrentInputWindows();
  if (windows.focus == nullptr) return;
  MSG msg{windows.focus, WM_CHAR, static_cast<unsigned char>(character), 1, GetTickCount(), Cursor()};
  PostToThread(ThreadOf(windows.focus), msg, false);
}

std::mutex g_dropMutex;
std::unordered_map<HDROP, DroppedFiles>& Drops() {
  static auto* drops = new std::unordered_map<HDROP, DroppedFiles>();
  return *drops;
}
uintptr_t g_nextDrop = 0x7000;

void InputRouter::FilesDropped(POINT screenPoint, const std::vector<std::string>& paths) {
  HWND target = nullptr;
  DroppedFiles files;
  {
    TreeLock lock;
    // The drop goes to the innermost window under the point that accepts files.
    Window* window = LookupWindow(WindowFromPoint(screenPoint));
    while (window != nullptr && window != &Desktop() && !(window->exStyle & WS_EX_ACCEPTFILES)) {
      window = window->parent;
    }
    if (window == nullptr || window == &Desktop()) return;
    target = window->handle;
    RECT client = ScreenClientRect(*window);
    files.inNonClientArea = !PtInRect(&client, screenPoint);
    files.point = {screenPoint.x - client.left, screenPoint.y - client.top};
  }
  files.paths = paths;
  HDROP drop = nullptr;
  {
    std::lock_guard lock(g_dropMutex);
    drop = reinterpret_cast<HDROP>(g_nextDrop);
    g_nextDrop += 4;
    Drops().emplace(drop, std::move(files));
  }
  PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

}  // namespace

void EnsureWindowManager() {
  static std::once_flag once;
  std::call_once(once, [] {
    CurrentDisplay().SetInputSink(&Router());
    RegisterSystemClasses();
    InstallTerminationSignals();
    // Other programs can reach this one's windows from the start, not only once it has
    // reached out to them itself.
    CurrentForeignWindows();
  });
}

BYTE AsyncKeyState(BYTE virtualKey) { return Router().KeyState(virtualKey); }

POINT CursorPosition() { return Router().Cursor(); }

const DroppedFiles* FindDroppedFiles(HDROP drop) {
  std::lock_guard lock(g_dropMutex);
  auto found = Drops().find(drop);
  return found == Drops().end() ? nullptr : &found->second;
}

void ReleaseDroppedFiles(HDROP drop) {
  std::lock_guard lock(g_dropMutex);
  Drops().erase(drop);
}

void ApplyInputToKeyState(MessageQueue& queue, const MSG& msg) {
  auto press = [&](BYTE key, bool down) {
    BYTE& state = queue.keyState[key];
    state = down ? static_cast<BYTE>(((state & 0x80) ? state : state ^ 1) | 0x80) : static_cast<BYTE>(state & ~0x80);
  };
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
      BYTE key = static_cast<BYTE>(msg.wParam);
      press(key, down);
      if (key == VK_SHIFT) press(VK_LSHIFT, down);
      if (key == VK_CONTROL) press(VK_LCONTROL, down);
      if (key == VK_MENU) press(VK_LMENU, down);
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: press(VK_LBUTTON, true); break;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP: press(VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: press(VK_RBUTTON, true); break;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP: press(VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK: press(VK_MBUTTON, true); break;
    case WM_MBUTTONUP:
    case WM_NCMBUTTONUP: press(VK_MBUTTON, false); break;
    default: break;
  }
}

}  // namespace vel::platform

using namespace vel::platform;

void WINAPI keybd_event(BYTE bVk, BYTE, DWORD dwFlags, ULONG_PTR) {
  EnsureWindowManager();
  Router().Key(bVk, !(dwFlags & KEYEVENTF_KEYUP), (dwFlags & KEYEVENTF_EXTENDEDKEY) != 0);
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
  if (lpPoint == nullptr) return FALSE;
  *lpPoint = CursorPosition();
  return TRUE;
}

BOOL WINAPI SetCursorPos(int X, int Y) {
  EnsureWindowManager();
  Router().MouseMoved({X, Y});
  return TRUE;
}
