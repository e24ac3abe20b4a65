#include "platform/user/dialog_navigation.h"

#include <algorithm>

#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

void Collect(Window& parent, std::vector<HWND>* controls) {
  for (Window* child : parent.children) {
    if ((child->exStyle & WS_EX_CONTROLPARENT) && (child->style & WS_VISIBLE) && !(child->style & WS_DISABLED)) {
      Collect(*child, controls);
    } else {
      controls->push_back(child->handle);
    }
  }
}

// The position of a control in the list, or of the list entry that contains it (a control
// inside a container that is not a control parent counts as that container).
std::ptrdiff_t Position(const std::vector<HWND>& controls, HWND control) {
  TreeLock lock;
  for (Window* at = LookupWindow(control); at != nullptr; at = at->parent) {
    auto found = std::find(controls.begin(), controls.end(), at->handle);
    if (found != controls.end()) return found - controls.begin();
  }
  return -1;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)); }

}  // namespace

std::vector<HWND> DialogControls(HWND dialog) {
  std::vector<HWND> controls;
  TreeLock lock;
  if (Window* window = LookupWindow(dialog)) Collect(*window, &controls);
  return controls;
}

bool CanTakeFocus(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

}  // namespace vel::platform

using namespace vel::platform;

HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  std::vector<HWND> controls = DialogControls(hDlg);
  if (controls.empty()) return nullptr;
  auto count = static_cast<std::ptrdiff_t>(controls.size());
  std::ptrdiff_t start = hCtl != nullptr ? Position(controls, hCtl) : -1;
  if (start < 0) start = bPrevious ? 0 : count - 1;
  for (std::ptrdiff_t step = 1; step <= count; ++step) {
    std::ptrdiff_t index = ((start + (bPrevious ? -step : step)) % count + count) % count;
    HWND candidate = controls[static_cast<size_t>(index)];
    if ((StyleOf(candidate) & WS_TABSTOP) && CanTakeFocus(candidate)) return candidate;
  }
  return hCtl;
}

HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  std::vector<HWND> controls = DialogControls(hDlg);
  if (controls.empty()) return nullptr;
  auto count = static_cast<std::ptrdiff_t>(controls.size());
  std::ptrdiff_t at = hCtl != nullptr ? Position(controls, hCtl) : 0;
  if (at < 0) at = 0;
  // The group runs from the nearest WS_GROUP control at or before this one to the control
  // before the next WS_GROUP control (or the end of the list).
  std::ptrdiff_t first = at;
  while (first > 0 && !(StyleOf(controls[static_cast<size_t>(first)]) & WS_GROUP)) --first;
  std::ptrdiff_t last = at;
  while (last + 1 < count && !(StyleOf(controls[static_cast<size_t>(last + 1)]) & WS_GROUP)) ++last;
  std::ptrdiff_t size = last - first + 1;
  for (std::ptrdiff_t step = 1; step < size; ++step) {
    std::ptrdiff_t offset = ((at - first + (bPrevious ? -step : step)) % size + size) % size;
    HWND candidate = controls[static_cast<size_t>(first + offset)];
    if (CanTakeFocus(candidate)) return candidate;
  }
  return hCtl;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  TreeLock lock;
  Window* dialog = LookupWindow(hDlg);
  if (dialog == nullptr) return nullptr;
  for (Window* child : dialog->children) {
    if (child->id == static_cast<LONG_PTR>(nIDDlgItem)) return child->handle;
  }
  return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
  TreeLock lock;
  Window* window = LookupWindow(hWnd);
  if (window == nullptr || !(window->style & WS_CHILD)) return 0;
  return static_cast<int>(window->id);
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  return control != nullptr ? SendMessageA(control, Msg, wParam, lParam) : 0;
}
