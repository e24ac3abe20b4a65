#include "platform/user/menu_tracking.h"

#include <atomic>
#include <cctype>
#include <memory>
#include <vector>

#include "platform/user/menu_bar.h"
#include "platform/user/menu_popup.h"
#include "platform/user/menu_store.h"
#include "platform/user/win32_errors.h"

namespace vel::platform {
namespace {

std::atomic<bool> g_loopActive{false};
std::atomic<bool> g_endRequested{false};

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

bool IsMouseMessage(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool IsButtonDown(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK: return true;
    default: return false;
  }
}

bool IsButtonUp(UINT message) {
  switch (message) {
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
    case WM_NCLBUTTONUP: case WM_NCRBUTTONUP: case WM_NCMBUTTONUP: return true;
    default: return false;
  }
}

bool Selectable(const MenuItem& item) { return !item.IsSeparator(); }

// The next item after `from` (or before it) that can be selected, wrapping around; -1 if none.
int StepSelection(const std::vector<MenuItem>& items, int from, int step) {
  int count = static_cast<int>(items.size());
  if (count == 0) return -1;
  int at = from;
  for (int tries = 0; tries < count; ++tries) {
    at = at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
    if (Selectable(items[static_cast<size_t>(at)])) return at;
  }
  return -1;
}

class MenuLoop {
 public:
  /// `bar` is the owner's menu bar; null for a popup tracked on its own.
  MenuLoop(HWND owner, HMENU bar, bool notify) : m_owner(owner), m_bar(bar), m_notify(notify) {}

  /// Sends the opening messages; false when the loop cannot start.
  bool Begin(HMENU initMenu);
  /// Takes and handles messages until the loop ends; returns the chosen command or 0.
  UINT Run();

  void SelectBarItem(int item, bool open, bool mouse, bool selectFirst);
  /// Opens a popup tracked on its own, aligned to a screen point as TPM_* flags say.
  void OpenTrackedPopup(HMENU menu, POINT at, UINT flags);
  /// Handles a mnemonic character in the innermost open menu.
  void Mnemonic(char character);

 private:
  void End() { m_done = true; }
  bool OwnerGone() { return !IsWindow(m_owner); }
  void Notify(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_notify && IsWindow(m_owner)) SendMessageA(m_owner, message, wParam, lParam);
  }
  void NotifySelect(HMENU menu, const MenuItem& item, int index, bool mouse);

  void OpenSubmenu(size_t level, bool selectFirst);
  void ClosePopupsFrom(size_t level);
  void SelectInPopup(size_t level, int item, bool mouse);
  /// Chooses an item of the innermost level (a popup item opens its submenu instead).
  void Activate(size_t level, int item, bool mouse);
  void ChooseCommand(const MenuItem& item);

  void OnMouse(const MSG& msg);
  int BarItemAt(POINT screenPoint) const;
  void OnKeyDown(const MSG& msg);
  void OnEscape();
  void MoveAcrossBar(int step);

  HWND m_owner;
  HMENU m_bar;
  bool m_notify;
  std::vector<MenuItem> m_barItems;
  int m_barItem = -1;
  bool m_barOpen = false;
  std::vector<std::unique_ptr<PopupView>> m_popups;
  bool m_menuKeyDown = false;
  bool m_done = false;
  UINT m_command = 0;
};

void MenuLoop::NotifySelect(HMENU menu, const MenuItem& item, int index, bool mouse) {
  UINT flags = (item.flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_POPUP | MF_BITMAP | MF_OWNERDRAW)) |
               MF_HILITE | (mouse ? MF_MOUSESELECT : 0);
  // A popup item is named by its position, a command by its identifier.
  UINT id = item.IsPopup() ? static_cast<UINT>(index) : static_cast<UINT>(item.id);
  Notify(WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(menu));
}

bool MenuLoop::Begin(HMENU initMenu) {
  Notify(WM_ENTERMENULOOP, m_bar == nullptr ? TRUE : FALSE, 0);
  if (OwnerGone()) return false;
  SetCapture(m_owner);
  Notify(WM_INITMENU, reinterpret_cast<WPARAM>(initMenu), 0);
  if (OwnerGone()) return false;
  // The owner may have changed the bar while it initialised it.
  if (m_bar != nullptr) m_barItems = CopyMenuItems(m_bar);
  return true;
}

void MenuLoop::ClosePopupsFrom(size_t level) {
  while (m_popups.size() > level) {
    ClosePopupWindow(*m_popups.back());
    m_popups.pop_back();
  }
}

void MenuLoop::OpenTrackedPopup(HMENU menu, POINT at, UINT flags) {
  Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
  if (OwnerGone()) return;
  auto view = std::make_unique<PopupView>();
  view->menu = menu;
  LoadPopupView(*view);
  if (flags & TPM_RIGHTALIGN) {
    at.x -= view->size.cx;
  } else if (flags & TPM_CENTERALIGN) {
    at.x -= view->size.cx / 2;
  }
  if (flags & TPM_BOTTOMALIGN) {
    at.y -= view->size.cy;
  } else if (flags & TPM_VCENTERALIGN) {
    at.y -= view->size.cy / 2;
  }
  OpenPopupWindow(m_owner, *view, at, at.x);
  m_popups.push_back(std::move(view));
}

void MenuLoop::SelectBarItem(int item, bool open, bool mouse, bool selectFirst) {
  if (item < 0 || item >= static_cast<int>(m_barItems.size())) return;
  ClosePopupsFrom(0);
  const MenuItem entry = m_barItems[static_cast<size_t>(item)];
  bool moved = m_barItem != item;
  m_barItem = item;
  m_barOpen = open && entry.IsPopup();
  SetMenuBarHighlight(m_owner, item, m_barOpen);
  // Opening the selected item's popup is no new selection.
  if (moved) NotifySelect(m_bar, entry, item, mouse);
  if (!m_barOpen || OwnerGone()) return;
  Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(entry.submenu), MAKELPARAM(item, FALSE));
  if (OwnerGone()) return;
  RECT strip = MenuBarStrip(m_owner);
  std::vector<RECT> boxes = LayoutMenuBar(m_barItems, strip);
  RECT box = static_cast<size_t>(item) < boxes.size() ? boxes[static_cast<size_t>(item)] : strip;
  auto view = std::make_unique<PopupView>();
  view->menu = entry.submenu;
  LoadPopupView(*view);
  OpenPopupWindow(m_owner, *view, POINT{box.left, strip.bottom}, box.right);
  m_popups.push_back(std::move(view));
  if (selectFirst) SelectInPopup(0, StepSelection(m_popups[0]->items, -1, 1), false);
}

void MenuLoop::SelectInPopup(size_t level, int item, bool mouse) {
  if (level >= m_popups.size() || item < 0) return;
  PopupView& view = *m_popups[level];
  if (view.selected == item) return;
  ClosePopupsFrom(level + 1);
  SelectPopupItem(view, item);
  NotifySelect(view.menu, view.items[static_cast<size_t>(item)], item, mouse);
}

void MenuLoop::OpenSubmenu(size_t level, bool selectFirst) {
  if (level >= m_popups.size()) return;
  PopupView& parent = *m_popups[level];
  if (parent.selected < 0) return;
  size_t index = static_cast<size_t>(parent.selected);
  const MenuItem item = parent.items[index];
  if (!item.IsPopup() || m_popups.size() > level + 1) return;
  Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(item.submenu), MAKELPARAM(index, FALSE));
  if (OwnerGone() || level >= m_popups.size()) return;
  RECT outer{};
  GetWindowRect(m_popups[level]->window, &outer);
  POINT at{outer.right - 3, outer.top + m_popups[level]->boxes[index].top - 3};
  auto view = std::make_unique<PopupView>();
  view->menu = item.submenu;
  LoadPopupView(*view);
  OpenPopupWindow(m_owner, *view, at, outer.left + 3);
  m_popups.push_back(std::move(view));
  if (selectFirst) SelectInPopup(level + 1, StepSelection(m_popups.back()->items, -1, 1), false);
}

void MenuLoop::ChooseCommand(const MenuItem& item) {
  // Greyed and disabled items can be selected but never chosen.
  if (!item.IsEnabled() || item.IsSeparator()) return;
  m_command = static_cast<UINT>(item.id);
  End();
}

void MenuLoop::Activate(size_t level, int item, bool mouse) {
  if (level >= m_popups.size() || item < 0) return;
  const MenuItem entry = m_popups[level]->items[static_cast<size_t>(item)];
  SelectInPopup(level, item, mouse);
  if (entry.IsPopup()) {
    OpenSubmenu(level, !mouse);
  } else {
    ChooseCommand(entry);
  }
}

void MenuLoop::OnMouse(const MSG& msg) {
  POINT point = msg.pt;
  bool down = IsButtonDown(msg.message);
  bool up = IsButtonUp(msg.message);
  // The innermost popup under the point wins.
  for (size_t level = m_popups.size(); level-- > 0;) {
    bool inside = false;
    int item = PopupItemAt(*m_popups[level], point, &inside);
    if (!inside) continue;
    if (item < 0 || !Selectable(m_popups[level]->items[static_cast<size_t>(item)])) return;
    const MenuItem entry = m_popups[level]->items[static_cast<size_t>(item)];
    if (up) {
      Activate(level, item, true);
    } else {
      SelectInPopup(level, item, true);
      if (entry.IsPopup()) OpenSubmenu(level, false);
    }
    return;
  }
  int barItem = BarItemAt(point);
  if (barItem >= 0) {
    const MenuItem entry = m_barItems[static_cast<size_t>(barItem)];
    if (down) {
      // A second click on the open item closes the menu.
      if (barItem == m_barItem && m_barOpen) {
        End();
      } else {
        SelectBarItem(barItem, true, true, false);
      }
    } else if (up) {
      if (barItem == m_barItem && !entry.IsPopup()) ChooseCommand(entry);
    } else if (barItem != m_barItem) {
      SelectBarItem(barItem, m_barOpen, true, false);
    }
    return;
  }
  // A click anywhere else closes the menu; the click itself goes nowhere.
  if (down) End();
}

int MenuLoop::BarItemAt(POINT screenPoint) const {
  if (m_bar == nullptr) return -1;
  // The loop's own copy of the bar decides, so that an index always fits it even when the
  // owner changed the bar meanwhile.
  RECT strip = MenuBarStrip(m_owner);
  if (!PtInRect(&strip, screenPoint)) return -1;
  std::vector<RECT> boxes = LayoutMenuBar(m_barItems, strip);
  for (size_t index = 0; index < boxes.size(); ++index) {
    if (!m_barItems[index].IsSeparator() && PtInRect(&boxes[index], screenPoint)) return static_cast<int>(index);
  }
  return -1;
}

void MenuLoop::OnEscape() {
  if (m_popups.size() > 1) {
    ClosePopupsFrom(m_popups.size() - 1);
  } else if (m_popups.size() == 1 && m_bar != nullptr) {
    ClosePopupsFrom(0);
    m_barOpen = false;
    SetMenuBarHighlight(m_owner, m_barItem, false);
  } else {
    End();
  }
}

void MenuLoop::MoveAcrossBar(int step) {
  if (m_bar == nullptr) return;
  int next = StepSelection(m_barItems, m_barItem, step);
  if (next >= 0) SelectBarItem(next, m_barOpen || !m_popups.empty(), false, true);
}

void MenuLoop::OnKeyDown(const MSG& msg) {
  size_t innermost = m_popups.empty() ? 0 : m_popups.size() - 1;
  PopupView* view = m_popups.empty() ? nullptr : m_popups.back().get();
  switch (msg.wParam) {
    case VK_MENU:
    case VK_F10: m_menuKeyDown = true; return;
    case VK_ESCAPE: OnEscape(); return;
    case VK_UP:
    case VK_DOWN: {
      int step = msg.wParam == VK_DOWN ? 1 : -1;
      if (view != nullptr) {
        SelectInPopup(innermost, StepSelection(view->items, view->selected, step), false);
      } else if (m_barItem >= 0) {
        SelectBarItem(m_barItem, true, false, false);
        if (!m_popups.empty()) SelectInPopup(0, StepSelection(m_popups[0]->items, -1, step), false);
      }
      return;
    }
    case VK_RIGHT:
      if (view != nullptr && view->selected >= 0 && view->items[static_cast<size_t>(view->selected)].IsPopup()) {
        OpenSubmenu(innermost, true);
      } else {
        MoveAcrossBar(1);
      }
      return;
    case VK_LEFT:
      if (m_popups.size() > 1) {
        ClosePopupsFrom(m_popups.size() - 1);
      } else {
        MoveAcrossBar(-1);
      }
      return;
    case VK_RETURN:
      if (view != nullptr) {
        Activate(innermost, view->selected, false);
      } else if (m_barItem >= 0) {
        const MenuItem entry = m_barItems[static_cast<size_t>(m_barItem)];
        if (entry.IsPopup()) {
          SelectBarItem(m_barItem, true, false, true);
        } else {
          ChooseCommand(entry);
        }
      }
      return;
    default:
      // Other keys may type a mnemonic.
      TranslateMessage(&msg);
      return;
  }
}

void MenuLoop::Mnemonic(char character) {
  char wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
  PopupView* view = m_popups.empty() ? nullptr : m_popups.back().get();
  const std::vector<MenuItem>& items = view != nullptr ? view->items : m_barItems;
  int current = view != nullptr ? view->selected : m_barItem;
  std::vector<int> matches;
  for (size_t index = 0; index < items.size(); ++index) {
    if (Selectable(items[index]) && MnemonicOf(items[index].text) == wanted) matches.push_back(static_cast<int>(index));
  }
  size_t level = m_popups.empty() ? 0 : m_popups.size() - 1;
  if (matches.size() == 1) {
    int item = matches[0];
    if (view != nullptr) {
      Activate(level, item, false);
    } else if (items[static_cast<size_t>(item)].IsPopup()) {
      SelectBarItem(item, true, false, true);
    } else {
      SelectBarItem(item, false, false, false);
      ChooseCommand(items[static_cast<size_t>(item)]);
    }
    return;
  }
  if (matches.size() > 1) {
    // Several items share the letter: the selection moves to the next of them.
    int next = matches[0];
    for (int match : matches) {
      if (match > current) {
        next = match;
        break;
      }
    }
    if (view != nullptr) {
      SelectInPopup(level, next, false);
    } else {
      SelectBarItem(next, false, false, false);
    }
    return;
  }
  HMENU menu = view != nullptr ? view->menu : m_bar;
  LRESULT answer = m_notify ? SendMessageA(m_owner, WM_MENUCHAR,
                                           MAKEWPARAM(static_cast<unsigned char>(character), view != nullptr ? MF_POPUP : 0),
                                           reinterpret_cast<LPARAM>(menu))
                            : 0;
  int item = LOWORD(answer);
  switch (HIWORD(answer)) {
    case MNC_CLOSE: End(); return;
    case MNC_EXECUTE:
    case MNC_SELECT:
      if (item < 0 || item >= static_cast<int>(items.size())) return;
      if (view != nullptr) {
        if (HIWORD(answer) == MNC_EXECUTE) {
          Activate(level, item, false);
        } else {
          SelectInPopup(level, item, false);
        }
      } else {
        SelectBarItem(item, HIWORD(answer) == MNC_EXECUTE, false, true);
        if (HIWORD(answer) == MNC_EXECUTE && !items[static_cast<size_t>(item)].IsPopup()) {
          ChooseCommand(items[static_cast<size_t>(item)]);
        }
      }
      return;
    default: MessageBeep(0); return;
  }
}

UINT MenuLoop::Run() {
  while (!m_done && !g_endRequested) {
    if (OwnerGone() || GetCapture() != m_owner) break;
    MSG msg;
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      // The quit request belongs to the program's own loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (IsMouseMessage(msg.message)) {
      OnMouse(msg);
    } else if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
      OnKeyDown(msg);
    } else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
      // Alt or F10 pressed again while the menu is open closes it when released.
      if ((msg.wParam == VK_MENU || msg.wParam == VK_F10) && m_menuKeyDown) End();
    } else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
      Mnemonic(static_cast<char>(msg.wParam));
    } else if (!IsKeyMessage(msg.message)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  ClosePopupsFrom(0);
  SetMenuBarHighlight(nullptr, -1, false);
  if (IsWindow(m_owner) && GetCapture() == m_owner) ReleaseCapture();
  Notify(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  Notify(WM_EXITMENULOOP, m_bar == nullptr ? TRUE : FALSE, 0);
  return m_command;
}

// Marks the loop running for its lifetime; a second loop is refused while one runs.
class LoopGuard {
 public:
  LoopGuard() : m_entered(!g_loopActive.exchange(true)) {
    if (m_entered) g_endRequested = false;
  }
  ~LoopGuard() {
    if (m_entered) g_loopActive = false;
  }
  LoopGuard(const LoopGuard&) = delete;
  LoopGuard& operator=(const LoopGuard&) = delete;
  bool Entered() const { return m_entered; }

 private:
  bool m_entered;
};

HMENU UsableBar(HWND window) {
  HMENU bar = GetMenu(window);
  MenuLock lock;
  Menu* menu = LookupMenu(bar);
  return menu != nullptr && !menu->items.empty() ? bar : nullptr;
}

void RunBarLoop(HWND window, MenuLoop& loop) {
  UINT command = loop.Run();
  if (command != 0 && IsWindow(window)) PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

}  // namespace

bool MenuLoopActive() { return g_loopActive; }

void TrackMenuBarFromMouse(HWND window, POINT screenPoint) {
  HMENU bar = UsableBar(window);
  if (bar == nullptr) return;
  int item = MenuBarItemAt(window, screenPoint);
  if (item < 0) return;
  LoopGuard guard;
  if (!guard.Entered()) return;
  MenuLoop loop(window, bar, true);
  if (!loop.Begin(bar)) return;
  loop.SelectBarItem(item, true, true, false);
  RunBarLoop(window, loop);
}

void TrackMenuBarFromKeyboard(HWND window, char character) {
  HMENU bar = UsableBar(window);
  if (bar == nullptr) {
    if (character != 0) MessageBeep(0);
    return;
  }
  std::vector<MenuItem> items = CopyMenuItems(bar);
  char wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
  if (character != 0) {
    bool known = false;
    for (const MenuItem& item : items) known = known || (!item.IsSeparator() && MnemonicOf(item.text) == wanted);
    if (!known) {
      MessageBeep(0);
      return;
    }
  }
  LoopGuard guard;
  if (!guard.Entered()) return;
  MenuLoop loop(window, bar, true);
  if (!loop.Begin(bar)) return;
  if (character != 0) {
    loop.Mnemonic(character);
  } else {
    loop.SelectBarItem(StepSelection(CopyMenuItems(bar), -1, 1), false, false, false);
  }
  RunBarLoop(window, loop);
}

UINT TrackPopupMenuAt(HWND owner, HMENU menu, POINT screenPoint, UINT flags) {
  LoopGuard guard;
  if (!guard.Entered()) return 0;
  MenuLoop loop(owner, nullptr, !(flags & TPM_NONOTIFY));
  if (!loop.Begin(menu)) return 0;
  loop.OpenTrackedPopup(menu, screenPoint, flags);
  return loop.Run();
}

}  // namespace vel::platform

using namespace vel::platform;

BOOL WINAPI TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*) {
  if (!IsMenu(hMenu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (MenuLoopActive()) return FALSE;
  UINT command = TrackPopupMenuAt(hWnd, hMenu, POINT{x, y}, uFlags);
  if (uFlags & TPM_RETURNCMD) return static_cast<BOOL>(command);
  if (command != 0 && IsWindow(hWnd)) PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return TRUE;
}

BOOL WINAPI EndMenu(void) {
  if (!MenuLoopActive()) return FALSE;
  g_endRequested = true;
  return TRUE;
}
