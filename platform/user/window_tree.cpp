#include "platform/user/window_tree.h"

#include <algorithm>
#include <unordered_map>

#include "platform/display/display_backend.h"

namespace vel::platform {
namespace {

std::recursive_mutex& TreeMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

std::unordered_map<HWND, std::unique_ptr<Window>>& Table() {
  static auto* table = new std::unordered_map<HWND, std::unique_ptr<Window>>();
  return *table;
}

// Handles are even numbers counting up from a base that stays clear of the special values
// (HWND_BOTTOM, HWND_BROADCAST, HWND_TOPMOST...); they are never reused.
uintptr_t g_nextHandle = 0x20000;

}  // namespace

TreeLock::TreeLock() : m_lock(TreeMutex()) {}
TreeLock::~TreeLock() = default;

Window& Desktop() {
  static Window* desktop = [] {
    auto* window = new Window();
    window->handle = reinterpret_cast<HWND>(uintptr_t{0x10010});
    window->style = WS_VISIBLE | WS_CLIPCHILDREN;
    SIZE screen = CurrentDisplay().ScreenSize();
    window->rect = {0, 0, screen.cx, screen.cy};
    window->client = window->rect;
    window->text = "";
    window->windowClass = std::make_shared<WindowClass>();
    window->windowClass->name = "#32769";
    return window;
  }();
  return *desktop;
}

Window* LookupWindow(HWND handle) {
  if (handle == nullptr) return nullptr;
  if (handle == Desktop().handle) return &Desktop();
  auto& table = Table();
  auto found = table.find(handle);
  return found == table.end() ? nullptr : found->second.get();
}

Window* AddWindow(std::unique_ptr<Window> window) {
  window->handle = reinterpret_cast<HWND>(g_nextHandle);
  g_nextHandle += 2;
  Window* record = window.get();
  record->parent->children.insert(record->parent->children.begin(), record);
  Table().emplace(record->handle, std::move(window));
  return record;
}

void RemoveWindow(Window* window) {
  if (window->parent != nullptr) std::erase(window->parent->children, window);
  for (auto& [handle, other] : Table()) {
    if (other->owner == window) other->owner = nullptr;
  }
  Table().erase(window->handle);
}

void RemoveSubtree(Window* window) {
  while (!window->children.empty()) RemoveSubtree(window->children.front());
  window->windowClass->windowCount--;
  RemoveWindow(window);
}

bool IsTopLevel(const Window& window) { return window.parent == &Desktop(); }

bool IsShowing(const Window& window) {
  for (const Window* at = &window; at != nullptr; at = at->parent) {
    if (!(at->style & WS_VISIBLE)) return false;
  }
  return true;
}

POINT ClientOrigin(const Window& window) {
  POINT origin{window.client.left, window.client.top};
  for (const Window* at = window.parent; at != nullptr; at = at->parent) {
    origin.x += at->client.left;
    origin.y += at->client.top;
  }
  return origin;
}

RECT ScreenRect(const Window& window) {
  RECT rect = window.rect;
  if (window.parent != nullptr) {
    POINT origin = ClientOrigin(*window.parent);
    OffsetRect(&rect, origin.x, origin.y);
  }
  return rect;
}

RECT ScreenClientRect(const Window& window) {
  POINT origin = ClientOrigin(window);
  return {origin.x, origin.y, origin.x + (window.client.right - window.client.left),
          origin.y + (window.client.bottom - window.client.top)};
}

bool IsSelfOrAncestor(const Window* ancestor, const Window* window) {
  for (const Window* at = window; at != nullptr; at = at->parent) {
    if (at == ancestor) return true;
  }
  return false;
}

Window* TopLevelOf(Window* window) {
  while (window != nullptr && window->parent != nullptr && !IsTopLevel(*window)) window = window->parent;
  return window;
}

std::vector<HWND> WindowsOfThread(DWORD threadId) {
  std::vector<HWND> result;
  auto visit = [&](auto&& self, Window* window) -> void {
    for (Window* child : window->children) self(self, child);
    if (window != &Desktop() && window->threadId == threadId) result.push_back(window->handle);
  };
  visit(visit, &Desktop());
  return result;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> result;
  for (Window* child : Desktop().children) result.push_back(child->handle);
  return result;
}

void PlaceInZOrder(Window* window, Window* insertAfter, bool bottom) {
  auto& siblings = window->parent->children;
  std::erase(siblings, window);
  if (bottom) {
    siblings.push_back(window);
    return;
  }
  auto position = siblings.begin();
  if (insertAfter != nullptr) {
    auto found = std::find(siblings.begin(), siblings.end(), insertAfter);
    if (found != siblings.end()) position = found + 1;
  } else if (!(window->exStyle & WS_EX_TOPMOST)) {
    // Topmost windows stay above the others.
    while (position != siblings.end() && ((*position)->exStyle & WS_EX_TOPMOST)) ++position;
  }
  siblings.insert(position, window);
}

}  // namespace vel::platform
