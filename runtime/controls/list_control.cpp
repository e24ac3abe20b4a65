#include "runtime/controls/list_control.h"

#include <algorithm>

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/drop_list_control.h"
#include "runtime/controls/list_drawing.h"
#include "runtime/values/char_tables.h"
#include "runtime/windows/drag_source.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_open.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_listClass{"VelList", nullptr, CS_DBLCLKS};

/// Rows one turn of the mouse wheel scrolls.
constexpr int kWheelRows = 3;

std::unique_ptr<ControlBase> CreateListOrDropList(const windows::Record& record) {
  if (record.dropRows != 0) return std::make_unique<DropListControl>(record);
  return std::make_unique<ListControl>(record);
}

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

ListControl::ListControl(const windows::Record& record) : WindowedControl(record), m_values(record.values) {
  // The FROM string is a constant of the definition: read it as the value runtime reads any
  // constant of its kind (a fixed string without its padding).
  if (m_values && m_values->data) {
    if (std::unique_ptr<UseLink> constant = CreateUseLink(*m_values, *m_window)) {
      m_items = FromSource(constant->DisplayText());
    }
  }
}

void ListControl::Construct(const windows::Record& record) {
  DWORD exStyle = 0;
  DWORD style = WS_VISIBLE | WS_TABSTOP;
  if (!HasAttribute(kAttrTransparent)) {
    if (HasAttribute(kAttrThreeDimensional)) {
      exStyle = WS_EX_CLIENTEDGE;
    } else {
      style |= WS_BORDER;
    }
  }
  CreateControlWindow(&record, g_listClass, ControlWindowProcedure<g_listClass>, exStyle, std::nullopt, style);
  m_dragIdentifiers.AppendAll(record.dragIds, nullptr);
  FitRows();
}

void ListControl::CreatePopupWindow(HWND owner, UseLink* sharedUse) {
  RegisterControlClass(g_listClass, ControlWindowProcedure<g_listClass>);
  m_class = &g_listClass;
  m_owner = owner;
  m_sharedUse = sharedUse;
  m_listFlags |= kListOwnedByDrop;
  CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, g_listClass.className, "", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                  owner, nullptr, windows::WindowInstance(), this);
  if (m_handle == nullptr) return;
  if (m_font) SendMessageA(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(m_font->Handle()), FALSE);
  FitRows();
}

void ListControl::MeasureRows() { m_rowHeight = std::max(1, FontHeight()); }

void ListControl::FitRows() {
  MeasureRows();
  ScrollTo(m_top);
  ScrollIntoView(m_selected);
  UpdateScrollBar();
}

int ListControl::DefaultHeight() {
  MeasureRows();
  return m_headerHeight + m_footerHeight + std::max(Count(), 1) * m_rowHeight + 2 * GetSystemMetrics(SM_CYBORDER);
}

int ListControl::VisibleRows() const {
  if (m_handle == nullptr) return 1;
  RECT client{};
  GetClientRect(m_handle, &client);
  int rowsHeight = client.bottom - client.top - m_headerHeight - m_footerHeight;
  return std::max(1, rowsHeight / m_rowHeight);
}

void ListControl::SetListFlag(std::uint32_t bits, bool on) {
  m_listFlags = on ? (m_listFlags | bits) : (m_listFlags & ~bits);
}

std::string ListControl::SelectedText() const {
  if (m_selected < 0) return std::string();
  return m_items.Item(static_cast<std::size_t>(m_selected));
}

void ListControl::DisplayUseValue() {
  UseLink* use = ListUse();
  if (use == nullptr) return;
  std::string value = use->DisplayText();
  // The window text follows the value, as for every control that shows its variable.
  if (m_handle != nullptr && !(m_listFlags & kListOwnedMask)) SetWindowTextA(m_handle, value.c_str());
  for (int row = 0; row < Count(); ++row) {
    std::string item = m_items.Item(static_cast<std::size_t>(row));
    while (!item.empty() && item.back() == ' ') item.pop_back();
    if (item != value) continue;
    if (row != m_selected) {
      InvalidateRow(m_selected);
      m_selected = row;
      InvalidateRow(m_selected);
    }
    ScrollIntoView(row);
    return;
  }
  // A value that is no row's shows no selection.
  InvalidateRow(m_selected);
  m_selected = -1;
}

void ListControl::SelectRow(int index, bool completes) {
  if (Count() == 0) return;
  int row = std::clamp(index, 0, Count() - 1);
  bool changed = row != m_selected;
  if (changed) {
    InvalidateRow(m_selected);
    m_selected = row;
    InvalidateRow(m_selected);
  }
  ScrollIntoView(row);
  if (changed) {
    if (UseLink* use = ListUse()) use->Assign(SelectedText());
  }
  if (changed || completes) Notify(completes);
}

void ListControl::Notify(bool completes) {
  if ((m_listFlags & kListOwnedMask) && m_owner != nullptr) {
    SendMessageA(m_owner, kListSelectionMessage, completes ? 1 : 0, 0);
    return;
  }
  PostFieldEvent(windows::EVENT_NewSelection);
}

RECT ListControl::RowRect(int row) const {
  RECT client{};
  if (m_handle != nullptr) GetClientRect(m_handle, &client);
  int top = client.top + m_headerHeight + (row - m_top) * m_rowHeight;
  return RECT{client.left, top, client.right, top + m_rowHeight};
}

int ListControl::RowAt(POINT point) const {
  RECT client{};
  GetClientRect(m_handle, &client);
  if (!PtInRect(&client, point)) return -1;
  int offset = point.y - client.top - m_headerHeight;
  if (offset < 0) return -1;
  int row = m_top + offset / m_rowHeight;
  return row < Count() ? row : -1;
}

void ListControl::InvalidateRow(int row) {
  if (m_handle == nullptr || row < 0) return;
  RECT area = RowRect(row);
  InvalidateRect(m_handle, &area, FALSE);
}

void ListControl::ScrollTo(int row) {
  int last = std::max(0, Count() - VisibleRows());
  int top = std::clamp(row, 0, last);
  if (top == m_top) return;
  m_top = top;
  if (m_handle != nullptr) InvalidateRect(m_handle, nullptr, FALSE);
  UpdateScrollBar();
}

void ListControl::ScrollIntoView(int row) {
  if (row < 0) return;
  int visible = VisibleRows();
  if (row < m_top) {
    ScrollTo(row);
  } else if (row >= m_top + visible) {
    ScrollTo(row - visible + 1);
  }
}

void ListControl::UpdateScrollBar() {
  // Showing or hiding the bar resizes the client area, which fits the rows again and comes back
  // here; the outer call has the final word.
  if (m_handle == nullptr || m_updatingScroll) return;
  m_updatingScroll = true;
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, Count() - 1),
                  static_cast<UINT>(VisibleRows()), m_top, 0};
  SetScrollInfo(m_handle, SB_VERT, &info, TRUE);
  m_updatingScroll = false;
}

void ListControl::Paint(HDC dc) {
  ListLook look;
  GetClientRect(m_handle, &look.client);
  look.client.top += m_headerHeight;
  look.client.bottom -= m_footerHeight;
  look.rowHeight = m_rowHeight;
  look.top = m_top;
  look.selected = m_trackRow >= 0 ? m_trackRow : m_selected;
  look.focused = (m_listFlags & kListOwnedMask) ? (m_listFlags & kListOwnerFocused) != 0 : GetFocus() == m_handle;
  look.enabled = IsWindowEnabled(m_handle) != FALSE;
  look.font = m_font ? m_font->Handle() : nullptr;
  look.text = ColourOfValue(m_font ? m_font->TextColour() : kWindowTextColourValue);
  HBRUSH brush = HasAttribute(kAttrTransparent) ? nullptr : BackgroundBrush();
  look.background = brush != nullptr ? brush : GetSysColorBrush(COLOR_WINDOW);
  DrawListRows(dc, look, m_items);
}

LRESULT ListControl::OnKeyDown(WPARAM key) {
  bool scrollEvents = HasAttribute(kAttrImmediate) && !(m_listFlags & kListOwnedMask);
  bool control = KeyHeld(VK_CONTROL);
  int page = std::max(1, VisibleRows() - 1);
  auto scrollEvent = [&](std::int32_t event) {
    PostFieldEvent(event);
    return 0;
  };
  switch (key) {
    case VK_HOME:
      if (scrollEvents) return scrollEvent(windows::EVENT_ScrollTop);
      SelectRow(0, false);
      return 0;
    case VK_END:
      if (scrollEvents) return scrollEvent(windows::EVENT_ScrollBottom);
      SelectRow(Count() - 1, false);
      return 0;
    case VK_UP:
      if (scrollEvents) return scrollEvent(windows::EVENT_ScrollUp);
      SelectRow(m_selected < 0 ? 0 : m_selected - 1, false);
      return 0;
    case VK_DOWN:
      if (scrollEvents) return scrollEvent(windows::EVENT_ScrollDown);
      SelectRow(m_selected + 1, false);
      return 0;
    case VK_PRIOR:
      if (scrollEvents) return scrollEvent(control ? windows::EVENT_ScrollTop : windows::EVENT_PageUp);
      SelectRow(m_selected < 0 ? 0 : m_selected - page, false);
      return 0;
    case VK_NEXT:
      if (scrollEvents) return scrollEvent(control ? windows::EVENT_ScrollBottom : windows::EVENT_PageDown);
      SelectRow(m_selected < 0 ? 0 : m_selected + page, false);
      return 0;
    case VK_LEFT:
    case VK_RIGHT:
      if (m_listFlags & kListColumnMode) {
        m_column = std::max(0, m_column + (key == VK_LEFT ? -1 : 1));
      } else {
        SendMessageA(m_handle, WM_HSCROLL, key == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT, 0);
      }
      return 0;
    case VK_RETURN:
      // A plain list has no choice to close: Enter accepts the selected row.
      if (!(m_listFlags & kListOwnedMask) && m_selected >= 0) PostFieldEvent(windows::EVENT_Accepted);
      return 0;
    default: return 0;
  }
}

void ListControl::OnCharacter(unsigned char character) {
  if (character < 33 || Count() == 0) return;
  unsigned char wanted = values::ToUpperChar(character);
  for (int step = 1; step <= Count(); ++step) {
    int row = (std::max(m_selected, -1) + step) % Count();
    const std::string& item = m_items.Item(static_cast<std::size_t>(row));
    if (!item.empty() && values::ToUpperChar(static_cast<unsigned char>(item[0])) == wanted) {
      SelectRow(row, true);
      return;
    }
  }
}

void ListControl::SetDragIdentifier(std::size_t index, std::string_view text) {
  m_dragIdentifiers.Set(index, text, nullptr);
}

void ListControl::OnDragButton(UINT message, LPARAM lParam) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != m_handle && (GetWindowLongPtrA(m_handle, GWL_STYLE) & WS_TABSTOP)) SetFocus(m_handle);
      if (int row = RowAt(point); row >= 0) SelectRow(row, false);
      m_dragging = true;
      SetCapture(m_handle);
      return;
    case WM_MOUSEMOVE:
      if (!m_dragging || GetCapture() != m_handle) return;
      ClientToScreen(m_handle, &point);
      windows::DragMove(*m_window, *this, m_dragIdentifiers, point);
      return;
    case WM_LBUTTONUP:
      if (!m_dragging) return;
      m_dragging = false;
      if (GetCapture() == m_handle) ReleaseCapture();
      windows::DragRelease(*m_window, *this, m_dragIdentifiers, SelectedText());
      return;
    default: return;
  }
}

void ListControl::OnDragOver(LPARAM screenPosition) {
  POINT point{GET_X_LPARAM(screenPosition), GET_Y_LPARAM(screenPosition)};
  ScreenToClient(m_handle, &point);
  int row = RowAt(point);
  if (row < 0) return;
  if (row == m_top && m_top > 0) {
    ScrollTo(m_top - 1);
  } else if (row >= m_top + VisibleRows() - 1) {
    ScrollTo(m_top + 1);
  }
}

void ListControl::OnButton(UINT message, LPARAM lParam) {
  // A list with drag identifiers drags its rows instead of tracking the selection.
  if (!m_dragIdentifiers.Empty() && !(m_listFlags & kListOwnedMask)) {
    OnDragButton(message, lParam);
    return;
  }
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  int row = RowAt(point);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (m_listFlags & kListOwnedMask) {
        if (m_owner != nullptr && GetFocus() != m_owner) SendMessageA(m_owner, kTakeFocusMessage, 0, 0);
      } else if (GetFocus() != m_handle && (GetWindowLongPtrA(m_handle, GWL_STYLE) & WS_TABSTOP)) {
        SetFocus(m_handle);
      }
      SetCapture(m_handle);
      m_trackRow = row >= 0 ? row : m_selected;
      InvalidateRect(m_handle, nullptr, FALSE);
      if (message == WM_LBUTTONDBLCLK && row >= 0 && !(m_listFlags & kListOwnedMask)) {
        ReleaseCapture();
        m_trackRow = -1;
        SelectRow(row, true);
        PostFieldEvent(windows::EVENT_Accepted);
      }
      return;
    case WM_MOUSEMOVE:
      if (GetCapture() != m_handle || row < 0 || row == m_trackRow) return;
      m_trackRow = row;
      ScrollIntoView(row);
      InvalidateRect(m_handle, nullptr, FALSE);
      return;
    case WM_LBUTTONUP: {
      if (GetCapture() != m_handle) return;
      m_trackRow = -1;
      ReleaseCapture();
      InvalidateRect(m_handle, nullptr, FALSE);
      // Only a release over a row completes the choice; elsewhere the press is taken back.
      if (row >= 0) SelectRow(row, true);
      return;
    }
    default: return;
  }
}

void ListControl::OnVerticalScroll(WORD code, int thumb) {
  int visible = VisibleRows();
  switch (code) {
    case SB_LINEUP: ScrollTo(m_top - 1); break;
    case SB_LINEDOWN: ScrollTo(m_top + 1); break;
    case SB_PAGEUP: ScrollTo(m_top - visible); break;
    case SB_PAGEDOWN: ScrollTo(m_top + visible); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(thumb); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(Count()); break;
    default: break;
  }
}

LRESULT ListControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  switch (message) {
    case WM_PAINT:
      passOn = false;
      return PaintBetweenBeginAndEnd([this](HDC dc) { Paint(dc); });
    case WM_ERASEBKGND: passOn = false; return 1;
    case WM_SIZE: FitRows(); return 0;
    case WM_SETFONT:
      passOn = false;
      FitRows();
      if (LOWORD(lParam) != 0) InvalidateRect(m_handle, nullptr, TRUE);
      return 0;
    case WM_GETFONT: passOn = false; return m_font ? reinterpret_cast<LRESULT>(m_font->Handle()) : 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: InvalidateRect(m_handle, nullptr, FALSE); return 0;
    case WM_GETDLGCODE: passOn = false; return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: passOn = false; return OnKeyDown(wParam);
    case WM_CHAR: passOn = false; OnCharacter(static_cast<unsigned char>(wParam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: OnButton(message, lParam); return 0;
    case windows::kDragOverMessage: OnDragOver(lParam); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != m_handle && m_dragging) {
        m_dragging = false;
        windows::CancelDrag();
      }
      if (reinterpret_cast<HWND>(lParam) != m_handle && m_trackRow >= 0) {
        m_trackRow = -1;
        InvalidateRect(m_handle, nullptr, FALSE);
      }
      return 0;
    case WM_VSCROLL:
      passOn = false;
      OnVerticalScroll(LOWORD(wParam), HIWORD(wParam));
      return 0;
    // Rows are as wide as the list: there is nothing to scroll sideways.
    case WM_HSCROLL: passOn = false; return 0;
    case WM_MOUSEWHEEL: {
      passOn = false;
      int notches = static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA;
      ScrollTo(m_top - notches * kWheelRows);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      // The popup list never takes the activation from the window its drop field is in.
      if (m_listFlags & kListOwnedMask) {
        passOn = false;
        return MA_NOACTIVATE;
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT) return 0;
      passOn = false;
      SetCursor(LoadCursorA(nullptr, IDC_ARROW));
      return 1;
    default: return 0;
  }
}

void RegisterListKind() { RegisterControlKind(windows::kKindList, CreateListOrDropList); }

}  // namespace vel::controls
