#include "runtime/windows/window_status_text.h"

#include "runtime/windows/status_bar.h"
#include "runtime/windows/window_menu_bar.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

constexpr WORD kMenuClosed = 0xFFFF;

std::string MessageOf(const WindowObject& window, const WindowControl* control) {
  std::string own = control != nullptr ? control->MessageText() : std::string();
  return own.empty() ? window.defaultMessage.value_or(std::string()) : own;
}

// The menu item WM_MENUSELECT names: a command by its identifier, a popup by its position.
const MenuItem* SelectedMenuItem(const WindowObject& window, WPARAM wParam, LPARAM lParam) {
  if (window.menuBar == nullptr) return nullptr;
  auto menu = reinterpret_cast<HMENU>(lParam);
  WORD identifier = LOWORD(wParam);
  HMENU popup = (HIWORD(wParam) & MF_POPUP) ? GetSubMenu(menu, identifier) : nullptr;
  for (const auto& item : window.menuBar->items) {
    if (popup != nullptr ? item->Submenu() == popup
                         : (!item->IsPopup() && item->CommandIdentifier() == identifier)) {
      return item.get();
    }
  }
  return nullptr;
}

}  // namespace

void ShowMessageText(WindowObject& window, const WindowControl* control) {
  if (window.statusBar == nullptr) return;
  window.statusBar->SetText(0, MessageOf(window, control != nullptr ? control : window.FocusControl()));
}

void ShowMenuMessageText(WindowObject& window, WPARAM wParam, LPARAM lParam) {
  if (window.statusBar == nullptr) return;
  if (HIWORD(wParam) == kMenuClosed && lParam == 0) {
    ShowMessageText(window, nullptr);
    return;
  }
  window.statusBar->SetText(0, MessageOf(window, SelectedMenuItem(window, wParam, lParam)));
}

std::string StatusText(const WindowObject& window, std::int32_t zone) {
  if (window.statusBar == nullptr || zone < 0) return std::string();
  return window.statusBar->Text(static_cast<std::size_t>(zone));
}

void SetStatusText(WindowObject& window, std::int32_t zone, std::string_view text) {
  if (window.statusBar == nullptr || zone < 0) return;
  window.statusBar->SetText(static_cast<std::size_t>(zone), std::string(text));
}

}  // namespace vel::windows
