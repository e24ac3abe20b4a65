#pragma once
// A menu or menu item of a window's menu bar. Items are fields like controls: they have a
// field number, texts, a shortcut key and, when the definition says so, a USE variable whose
// value shows as the item's check mark. Choosing an item raises EVENT:Accepted for its field,
// or carries out the standard action its text block names.

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/values/value_reference.h"
#include "runtime/windows/definition_record.h"
#include "runtime/windows/window_object_controls.h"
#include "win32.h"

namespace vel::windows {

struct WindowObject;

class MenuItem final : public WindowControl {
 public:
  /// An item of `menu` (or, with `submenu`, the popup it opens) made from its record.
  /// `useAddress` is its variable when the item takes one.
  MenuItem(WindowObject& window, const Record& record, HMENU menu, HMENU submenu, void* useAddress);
  ~MenuItem() override;

  std::int32_t FieldNumber() const override { return m_field; }
  bool IsField() const override { return m_field != 0; }
  /// Menu items have no window of their own.
  HWND Handle() const override { return nullptr; }
  /// Items take no part in the accept-all pass, which validates what the user typed.
  bool HasUseVariable() const override { return false; }
  /// Shows the variable's value as the check mark (non-zero: checked).
  void Redisplay() override;
  void StoreDisplayedValue() override {}
  bool Validate() override { return true; }
  void SetSelection(std::int32_t, std::int32_t) override {}
  bool OnSelected() override { return false; }
  /// Choosing the item: its standard action when it carries one, else its variable (if any)
  /// flips between 1 and 0 and EVENT:Accepted is posted for its field. A greyed item ignores
  /// the command.
  void Command(WORD notification, HWND source) override;
  std::string MessageText() const override { return m_texts.message.value_or(std::string()); }
  std::string HelpKeyword() const override { return m_texts.help.value_or(std::string()); }

  /// The command identifier (field number + 0x4000); 0 for a popup.
  UINT CommandIdentifier() const { return m_command; }
  bool IsPopup() const { return m_submenu != nullptr; }
  HMENU Menu() const { return m_menu; }
  HMENU Submenu() const { return m_submenu; }
  std::int32_t ShortcutKey() const { return m_keyCode; }
  /// The standard action of the text block's number, or 0 when the item raises its own event.
  std::int32_t StandardAction() const;

  /// The menu item operations window properties use.
  void SetEnabled(bool enabled);
  bool IsEnabled() const;
  void SetChecked(bool checked);
  bool IsChecked() const;
  /// The item's text; the shortcut key stays shown beside it.
  void SetText(const std::string& text);
  const std::string& Text() const { return m_text; }
  /// The text the menu shows: the item's text, a tab and the shortcut's name.
  std::string ShownText() const;

 private:
  /// The position of this item in its menu, or -1.
  int Position() const;

  WindowObject& m_window;
  std::int32_t m_field = 0;
  std::string m_text;
  TextBlock m_texts;
  std::uint32_t m_flags = 0;
  std::int32_t m_keyCode = 0;
  HMENU m_menu = nullptr;
  HMENU m_submenu = nullptr;
  UINT m_command = 0;
  std::unique_ptr<values::ValueReference> m_use;
};

}  // namespace vel::windows
