#pragma once
// The window records and the tree they form: every window has a parent (top-level windows
// have the desktop), children in z-order (topmost first) and an optional owner. The tree is
// guarded by one recursive lock; nobody calls a window procedure while holding it, and code
// that sent a message looks its window up again afterwards, since the window may be gone.

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/user/scroll_bar_state.h"
#include "platform/user/window_class.h"
#include "win32.h"

namespace vel::platform {

/// The part of a window that must be painted again (client coordinates), and what else is due.
struct UpdateState {
  std::vector<RECT> rects;
  bool erase = false;
  bool frame = false;
  bool Empty() const { return rects.empty(); }
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> windowClass;
  DWORD threadId = 0;
  Window* parent = nullptr;
  Window* owner = nullptr;
  /// Children, topmost first.
  std::vector<Window*> children;
  DWORD style = 0;
  DWORD exStyle = 0;
  /// Window and client rectangles in the parent's client coordinates (screen for top-level).
  RECT rect{};
  RECT client{};
  std::string text;
  WNDPROC procedure = nullptr;
  /// Child id, or the menu handle of a top-level window.
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  std::vector<BYTE> extra;
  std::vector<std::pair<std::string, HANDLE>> properties;
  /// Where a minimised or maximised window returns to, and whether a restored minimised
  /// window goes back to maximised.
  RECT restoreRect{};
  bool restoreMaximized = false;
  UpdateState update;
  /// The frame shows the active look (set by the default WM_NCACTIVATE).
  bool frameActive = false;
  bool destroying = false;
  /// The window's own scroll bars (WS_VSCROLL, WS_HSCROLL).
  ScrollBarState verticalScroll;
  ScrollBarState horizontalScroll;
};

/// Holds the tree lock for its lifetime.
class TreeLock {
 public:
  TreeLock();
  ~TreeLock();
  TreeLock(const TreeLock&) = delete;
  TreeLock& operator=(const TreeLock&) = delete;

 private:
  std::unique_lock<std::recursive_mutex> m_lock;
};

/// The window of a handle (desktop included), or null. Needs the tree lock.
Window* LookupWindow(HWND handle);
/// The desktop window: parent of every top-level window, as large as the screen.
Window& Desktop();
/// Enters a new record into the tree under its parent (at the top of the z-order) and gives
/// it a handle. Needs the tree lock.
Window* AddWindow(std::unique_ptr<Window> window);
/// Takes a record out of the tree and frees it; its children must be gone. Needs the tree lock.
void RemoveWindow(Window* window);
/// Takes a window and all its descendants out of the tree without messages, children first,
/// releasing their classes. Needs the tree lock.
void RemoveSubtree(Window* window);

bool IsTopLevel(const Window& window);
/// Visible itself and every ancestor visible.
bool IsShowing(const Window& window);
/// Screen position of the window's client origin.
POINT ClientOrigin(const Window& window);
RECT ScreenRect(const Window& window);
RECT ScreenClientRect(const Window& window);
/// True when `ancestor` is `window` or one of its ancestors.
bool IsSelfOrAncestor(const Window* ancestor, const Window* window);
/// The top-level window that contains `window`.
Window* TopLevelOf(Window* window);
/// Windows of a thread, children before their parents (the order in which they may go).
std::vector<HWND> WindowsOfThread(DWORD threadId);
/// Every top-level window, topmost first.
std::vector<HWND> TopLevelWindows();
/// Moves a window within its parent's z-order: after `insertAfter` (null = top).
void PlaceInZOrder(Window* window, Window* insertAfter, bool bottom);

/// The window under a screen point as WindowFromPoint finds it, with its WM_NCHITTEST answer
/// (HTCLIENT for windows of other threads, which are not asked).
HWND WindowUnderPoint(POINT screenPoint, LRESULT* hit);

/// Thread id of the calling thread: the kernel's GetCurrentThreadId.
DWORD CurrentThreadId();

/// Brings up the window manager on first use: the display backend, its input, the classes.
void EnsureWindowManager();

}  // namespace vel::platform
