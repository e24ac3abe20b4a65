#include "runtime/windows/menu_item.h"

#include "runtime/values/reference_factory.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/key_codes.h"
#include "runtime/windows/standard_actions.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

std::unique_ptr<values::ValueReference> ReferenceFor(const Record& record, void* address) {
  if (address == nullptr || !record.use || !values::IsStorageTypeCode(record.use->kind)) return nullptr;
  auto size = static_cast<std::uint32_t>(record.use->size > 0 ? record.use->size : 0);
  return values::CreateReference(record.use->kind, address, size, 0, false);
}

}  // namespace

MenuItem::MenuItem(WindowObject& window, const Record& record, HMENU menu, HMENU submenu, void* useAddress)
    : m_window(window),
      m_field(record.field),
      m_text(record.text.value_or(std::string())),
      m_texts(record.textBlock),
      m_flags(record.flags),
      m_keyCode(record.keyCode),
      m_menu(menu),
      m_submenu(submenu),
      m_command(submenu == nullptr && record.field != 0
                    ? static_cast<UINT>(record.field + kCommandIdentifierBase)
                    : 0),
      m_use(ReferenceFor(record, useAddress)) {}

MenuItem::~MenuItem() {
  if (m_use) values::DeleteReference(std::move(m_use));
}

void MenuItem::Redisplay() {
  if (m_use) SetChecked(m_use->GetInt() != 0);
}

void MenuItem::Command(WORD, HWND) {
  if (IsPopup() || !IsEnabled()) return;
  if (std::int32_t action = StandardAction()) {
    CarryOutStandardAction(m_window, action);
    return;
  }
  if (m_use) {
    m_use->SetInt(m_use->GetInt() != 0 ? 0 : 1);
    Redisplay();
  }
  PostEvent(m_window, EVENT_Accepted, this);
}

std::int32_t MenuItem::StandardAction() const {
  return IsStandardAction(m_texts.number) ? m_texts.number : 0;
}

int MenuItem::Position() const {
  int count = GetMenuItemCount(m_menu);
  for (int position = 0; position < count; ++position) {
    if (m_submenu != nullptr ? GetSubMenu(m_menu, position) == m_submenu
                             : GetMenuItemID(m_menu, position) == m_command) {
      return position;
    }
  }
  return -1;
}

void MenuItem::SetEnabled(bool enabled) {
  int position = Position();
  if (position < 0) return;
  EnableMenuItem(m_menu, static_cast<UINT>(position), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
  if (m_window.handle != nullptr && GetMenu(m_window.handle) == m_menu) DrawMenuBar(m_window.handle);
}

bool MenuItem::IsEnabled() const {
  int position = Position();
  if (position < 0) return false;
  return (GetMenuState(m_menu, static_cast<UINT>(position), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
}

void MenuItem::SetChecked(bool checked) {
  int position = Position();
  if (position >= 0) {
    CheckMenuItem(m_menu, static_cast<UINT>(position), MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
  }
}

bool MenuItem::IsChecked() const {
  int position = Position();
  return position >= 0 &&
         (GetMenuState(m_menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_CHECKED) != 0;
}

void MenuItem::SetText(const std::string& text) {
  int position = Position();
  if (position < 0) return;
  m_text = text;
  UINT state = GetMenuState(m_menu, static_cast<UINT>(position), MF_BYPOSITION) &
               (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_RIGHTJUSTIFY);
  UINT_PTR identifier = m_submenu != nullptr ? reinterpret_cast<UINT_PTR>(m_submenu) : m_command;
  UINT kind = m_submenu != nullptr ? MF_POPUP : MF_STRING;
  ModifyMenuA(m_menu, static_cast<UINT>(position), MF_BYPOSITION | kind | state, identifier,
              ShownText().c_str());
  if (m_window.handle != nullptr && GetMenu(m_window.handle) == m_menu) DrawMenuBar(m_window.handle);
}

std::string MenuItem::ShownText() const {
  std::string shortcut = m_keyCode != 0 && m_submenu == nullptr ? KeyCodeName(m_keyCode) : std::string();
  return shortcut.empty() ? m_text : m_text + "\t" + shortcut;
}

}  // namespace vel::windows
