#pragma once
// The list (control type 14 without a drop-down row count): "VelList", a class of its own with
// CS_DBLCLKS, showing the rows of its FROM source one under the other. The user selects a row
// with the keys, the mouse or by typing its first character; the selected row's text goes into
// the USE variable. A list also serves as the popup list of a drop list, reporting to it.

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/controls/from_source.h"
#include "runtime/controls/windowed_control.h"

namespace vel::controls {

/// List flags.
/// Left and Right move between columns.
inline constexpr std::uint32_t kListColumnMode = 0x0002;
/// The list belongs to a drop list (or a combination) and reports to its owner.
inline constexpr std::uint32_t kListOwnedMask = 0x000C;
inline constexpr std::uint32_t kListOwnedByDrop = 0x0004;
inline constexpr std::uint32_t kListHorizontalScroll = 0x0010;
/// The owning drop field has the focus (the selected row shows the focus colours).
inline constexpr std::uint32_t kListOwnerFocused = 0x0400;

/// From the list to its owner when the selection changed: wParam 1 when the change completes
/// the choice.
inline constexpr unsigned kListSelectionMessage = 0x2411;
/// From a list (or an attached field) to the drop field: take the focus.
inline constexpr unsigned kTakeFocusMessage = 0x240F;

class ListControl : public WindowedControl {
 public:
  explicit ListControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;
  /// Selects the row whose text is the variable's value, without reporting it.
  void DisplayUseValue() override;
  int DefaultHeight() override;

  /// The constant USE descriptor of the values (the FROM source), when the definition has one.
  const std::optional<windows::UseDescriptor>& Values() const { return m_values; }
  const FromSource& Items() const { return m_items; }
  int Count() const { return static_cast<int>(m_items.Count()); }
  /// The selected row, or -1.
  int Selected() const { return m_selected; }
  /// The text of the selected row (empty without one).
  std::string SelectedText() const;
  /// The first row shown.
  int TopRow() const { return m_top; }
  /// Whole rows the client area shows (at least 1).
  int VisibleRows() const;
  int RowHeight() const { return m_rowHeight; }
  int HeaderHeight() const { return m_headerHeight; }
  int FooterHeight() const { return m_footerHeight; }
  std::uint32_t ListFlags() const { return m_listFlags; }
  void SetListFlag(std::uint32_t bits, bool on);

  /// Moves the selection to `index` (below 0 the first row, at or past the count the last),
  /// repaints, scrolls it into view and stores its text in the USE variable; reports it when
  /// the row changed or when `completes` (a click, a located character).
  void SelectRow(int index, bool completes);
  /// Makes `row` the first row shown, as far as the rows allow.
  void ScrollTo(int row);
  /// Scrolls as little as needed for `row` to show.
  void ScrollIntoView(int row);

  /// Makes this list the popup list of `owner` (a drop field): a top-level window it owns,
  /// hidden, taking the owner's variable through `sharedUse`.
  void CreatePopupWindow(HWND owner, UseLink* sharedUse);
  /// The drop field that owns the popup list, or null.
  HWND Owner() const { return m_owner; }

  /// The list's drag identifiers: a list with any is a drag source.
  const windows::IdentifierList& DragIdentifiers() const { return m_dragIdentifiers; }
  /// Sets the drag identifier at `index` as SetDropIdentifier does.
  void SetDragIdentifier(std::size_t index, std::string_view text);
  /// True while the button held down on the list drags its selected row.
  bool Dragging() const { return m_dragging; }

 protected:
  /// The link the selected text is stored through: the list's own, or its drop list's.
  UseLink* ListUse() const { return m_use ? m_use.get() : m_sharedUse; }

 private:
  void Paint(HDC dc);
  LRESULT OnKeyDown(WPARAM key);
  void OnCharacter(unsigned char character);
  void OnButton(UINT message, LPARAM lParam);
  /// The button, moves and release of a drag from the list.
  void OnDragButton(UINT message, LPARAM lParam);
  /// The pointer of a drag moves over the list: near its top or bottom row it scrolls.
  void OnDragOver(LPARAM screenPosition);
  /// A WM_VSCROLL request from the scroll bar: `thumb` is where its thumb was dragged to.
  void OnVerticalScroll(WORD code, int thumb);
  /// Reports a selection change to the owner (message 2411h) or as EVENT:NewSelection.
  void Notify(bool completes);
  /// The row under a client point, or -1 outside the rows.
  int RowAt(POINT point) const;
  RECT RowRect(int row) const;
  void InvalidateRow(int row);
  /// Sets the scroll bar to the rows, showing it only when they do not all fit.
  void UpdateScrollBar();
  void MeasureRows();
  /// After a change of size or font: measures the rows, keeps the selection in view and sets
  /// the scroll bar.
  void FitRows();

  std::optional<windows::UseDescriptor> m_values;
  FromSource m_items;
  int m_top = 0;
  int m_selected = -1;
  int m_column = 0;
  std::uint32_t m_listFlags = 0;
  int m_rowHeight = 1;
  int m_headerHeight = 0;
  int m_footerHeight = 0;
  HWND m_owner = nullptr;
  UseLink* m_sharedUse = nullptr;
  /// The row under the held mouse button, shown selected until the button comes up.
  int m_trackRow = -1;
  bool m_updatingScroll = false;
  windows::IdentifierList m_dragIdentifiers;
  bool m_dragging = false;
};

/// Stores the creation function of lists and drop lists in the control factory (type 14): a
/// record with a drop-down row count makes a drop list.
void RegisterListKind();

}  // namespace vel::controls
