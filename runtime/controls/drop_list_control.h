#pragma once
// The drop list (control type 14 with a drop-down row count): "VelDrop", a class of its own
// with CS_HREDRAW and CS_VREDRAW: a closed one-line field showing the current value beside a
// drop button, which opens its popup list (a "VelList" of the same record) below it, or above
// it near the bottom of the desktop.

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/controls/list_control.h"

namespace vel::controls {

/// Drop flags.
/// The drop field belongs to another control (a combination) and forwards to it.
inline constexpr std::uint32_t kDropAttached = 0x0001;
/// The popup list is showing.
inline constexpr std::uint32_t kDropDropped = 0x0002;
inline constexpr std::uint32_t kDropFocused = 0x0004;
inline constexpr std::uint32_t kDropCaptured = 0x0008;
inline constexpr std::uint32_t kDropButtonPressed = 0x0010;
/// The value changed while the list was open: EVENT:Accepted is still owed.
inline constexpr std::uint32_t kDropChangeOwed = 0x0080;
/// Up and Down (and PageUp, PageDown, Home, End) open the closed list instead of moving.
inline constexpr std::uint32_t kDropKeysOpen = 0x0100;

/// What the drop list's drop count is when the control is made at run time.
inline constexpr std::uint8_t kRunTimeDropRows = 4;

class DropListControl : public ListControl {
 public:
  explicit DropListControl(const windows::Record& record);
  ~DropListControl() override;
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;
  /// Shows the variable's value and selects its row in the popup list, without reporting it.
  void DisplayUseValue() override;
  /// One line of text, as any one-line field.
  int DefaultHeight() override { return WindowedControl::DefaultHeight(); }

  /// Opens (true) or closes the popup list (CB_SHOWDROPDOWN).
  void ShowDropDown(bool open);
  bool IsDropped() const { return (m_dropFlags & kDropDropped) != 0; }

  /// Rows the opened list shows.
  std::uint8_t DropRows() const { return m_dropRows; }
  /// The popup list's width in pixels (0: the field's width).
  int DropWidth() const { return m_dropWidth; }
  std::uint32_t DropFlags() const { return m_dropFlags; }
  /// The text the closed field shows.
  const std::string& ValueText() const { return m_valueText; }
  ListControl* Popup() const { return m_popup.get(); }

 private:
  void Paint(HDC dc);
  LRESULT OnKey(WPARAM key, bool alt, bool& passOn);
  void OnSelectionChanged(bool completes);
  void OnKillFocus();
  /// Records whether the field has the focus and tells the popup list; both repaint.
  void ShowOwnerFocus(bool focused);
  void SetDropFlag(std::uint32_t bits, bool on);
  /// Draws the drop button pressed or released.
  void PressButton(bool pressed);
  /// The popup list's rectangle on the screen for the field's present place.
  RECT PopupPlace() const;
  /// Moves and sizes the popup list to where it belongs now.
  void PlacePopup();
  /// Posts EVENT:Accepted for the field and clears the change owed.
  void PostAccepted();

  std::unique_ptr<ListControl> m_popup;
  std::uint8_t m_dropRows = 0;
  HWND m_attachedTo = nullptr;
  int m_dropWidth = 0;
  std::string m_valueText;
  std::uint32_t m_dropFlags = 0;
};

/// The drop list the runtime opened last and has not closed since, or null.
DropListControl* OpenDropList();

/// Closes the open drop list, if any (a click on an empty part of a toolbar does this).
void CloseOpenDropList();

/// Where a popup list of `height` and `width` pixels goes for a drop field at `field` (screen
/// coordinates) on a desktop of `desktop` size: below the field, or above it when it would pass
/// the bottom (never above 0); its right edge on the field's right edge, moved left to end at
/// the desktop's right edge, never left of 0.
RECT PlacePopupList(const RECT& field, int width, int height, SIZE desktop);

}  // namespace vel::controls
