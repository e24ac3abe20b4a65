#include "runtime/windows/window_object.h"

#include <algorithm>

#include "runtime/windows/status_bar.h"
#include "runtime/windows/window_menu_bar.h"
#include "runtime/windows/window_object_close.h"

namespace vel::windows {

WindowObject::WindowObject() = default;

WindowObject::~WindowObject() {
  if (IsOpenWindow(this)) ReleaseWindow(*this);
}

WindowControl* WindowObject::ControlOfField(std::int32_t field) const {
  if (field == 0) return nullptr;
  for (const auto& control : controls) {
    if (control->FieldNumber() == field) return control.get();
  }
  return menuBar != nullptr ? menuBar->ItemOfField(field) : nullptr;
}

void* WindowObject::TakeUseAddress() {
  return useCursor < useAddresses.size() ? useAddresses[useCursor++] : nullptr;
}

WindowControl* WindowObject::FocusControl() const { return ControlOfHandle(GetFocus()); }

WindowControl* WindowObject::ControlOfHandle(HWND handle) const {
  if (handle == nullptr) return nullptr;
  WindowControl* found = nullptr;
  for (const auto& control : controls) {
    HWND own = control->Handle();
    if (own == handle) return control.get();
    // A control inside another (a radio button in its option box) is the closer match.
    if (own != nullptr && IsChild(own, handle) && (found == nullptr || IsChild(found->Handle(), own))) {
      found = control.get();
    }
  }
  return found;
}

std::int32_t WindowObject::FieldOf(const WindowControl* control) {
  return control != nullptr && control->IsField() ? control->FieldNumber() : 0;
}

std::vector<WindowObject*>& OpenWindows() {
  static std::vector<WindowObject*> windows;
  return windows;
}

bool IsOpenWindow(const WindowObject* window) {
  const std::vector<WindowObject*>& windows = OpenWindows();
  return window != nullptr && std::find(windows.begin(), windows.end(), window) != windows.end();
}

WindowObject* WindowObjectOf(HWND window) {
  if (window == nullptr) return nullptr;
  auto* object = reinterpret_cast<WindowObject*>(GetWindowLongPtrA(window, 0));
  return IsOpenWindow(object) ? object : nullptr;
}

}  // namespace vel::windows
