#include "runtime/controls/drop_list_control.h"

#include <algorithm>

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/list_drawing.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_dropClass{"VelDrop", nullptr, CS_HREDRAW | CS_VREDRAW};

/// WM_GETDLGCODE answers: arrows and characters (81h); every key, Tab too, while the list is
/// open or the field is a skip control (85h).
constexpr LRESULT kClosedDialogCode = DLGC_WANTARROWS | DLGC_WANTCHARS;
constexpr LRESULT kOpenDialogCode = DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTCHARS;

/// The drop list the runtime opened last and has not closed since.
DropListControl* g_openDropList = nullptr;

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

RECT PlacePopupList(const RECT& field, int width, int height, SIZE desktop) {
  int top = field.bottom;
  if (top + height > desktop.cy) top = std::max<int>(0, field.top - height);
  int left = field.right - width;
  if (left + width > desktop.cx) left = desktop.cx - width;
  left = std::max(0, left);
  return RECT{left, top, left + width, top + height};
}

DropListControl* OpenDropList() { return g_openDropList; }

void CloseOpenDropList() {
  if (g_openDropList != nullptr) g_openDropList->ShowDropDown(false);
}

DropListControl::DropListControl(const windows::Record& record)
    : ListControl(record), m_dropRows(record.dropRows), m_dropFlags(kDropKeysOpen) {
  SetState(kStateTabStopFollowsSkip, true);
  windows::UnitConverter dialogUnits(0, m_window->metrics);
  m_dropWidth = record.dropWidth != 0 ? dialogUnits.ToPixelsX(record.dropWidth) : 0;
}

DropListControl::~DropListControl() {
  if (g_openDropList == this) g_openDropList = nullptr;
}

void DropListControl::Construct(const windows::Record& record) {
  // The popup list is built from the same record with its field number set aside, so that only
  // the drop field is the field; it takes the drop field's variable instead of one of its own.
  windows::Record inner = record;
  inner.field = 0;
  inner.use.reset();
  inner.textBlock.tooltip.reset();
  inner.dropIds.clear();
  m_popup = std::make_unique<ListControl>(inner);
  CreateControlWindow(&record, g_dropClass, ControlWindowProcedure<g_dropClass>, 0, std::nullopt,
                      WS_VISIBLE | WS_TABSTOP);
  if (m_handle == nullptr) return;
  m_popup->CreatePopupWindow(m_handle, m_use.get());
  PlacePopup();
  DisplayUseValue();
}

void DropListControl::DisplayUseValue() {
  if (!m_use) return;
  m_valueText = m_use->DisplayText();
  if (m_handle != nullptr) {
    SetWindowTextA(m_handle, m_valueText.c_str());
    InvalidateRect(m_handle, nullptr, FALSE);
  }
  if (m_popup) m_popup->DisplayUseValue();
}

void DropListControl::SetDropFlag(std::uint32_t bits, bool on) {
  m_dropFlags = on ? (m_dropFlags | bits) : (m_dropFlags & ~bits);
}

RECT DropListControl::PopupPlace() const {
  RECT field{};
  GetWindowRect(m_handle, &field);
  int rows = std::min(m_popup->Count(), static_cast<int>(m_dropRows));
  int height = 0;
  if (rows > 0) {
    height = m_popup->HeaderHeight() + m_popup->FooterHeight() + rows * m_popup->RowHeight() +
             2 * GetSystemMetrics(SM_CYBORDER);
    if (m_popup->ListFlags() & kListHorizontalScroll) height += GetSystemMetrics(SM_CYHSCROLL);
  }
  int width = m_dropWidth > 0 ? m_dropWidth : field.right - field.left;
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  return PlacePopupList(field, width, height, SIZE{desktop.right - desktop.left, desktop.bottom - desktop.top});
}

void DropListControl::PlacePopup() {
  if (!m_popup || m_popup->Handle() == nullptr) return;
  RECT place = PopupPlace();
  SetWindowPos(m_popup->Handle(), nullptr, place.left, place.top, place.right - place.left,
               place.bottom - place.top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void DropListControl::ShowDropDown(bool open) {
  if (!m_popup || m_popup->Handle() == nullptr) return;
  HWND popup = m_popup->Handle();
  constexpr UINT kStill = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (!open) {
    SetDropFlag(kDropDropped, false);
    if (g_openDropList == this) g_openDropList = nullptr;
    SetWindowPos(popup, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | kStill);
    return;
  }
  // A drop count of 0 never opens.
  if (m_dropRows == 0) return;
  SetDropFlag(kDropDropped, true);
  PlacePopup();
  m_popup->ScrollIntoView(m_popup->Selected());
  g_openDropList = this;
  ControlBase* target = this;
  if ((m_dropFlags & kDropAttached) && !IsField() && m_attachedTo != nullptr) {
    target = reinterpret_cast<ControlBase*>(SendMessageA(m_attachedTo, windows::QUERY_PFIELD, 0, 0));
  }
  if (target != nullptr) target->PostFieldEvent(windows::EVENT_DroppingDown);
  SetWindowPos(popup, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | kStill);
}

void DropListControl::PressButton(bool pressed) {
  if (((m_dropFlags & kDropButtonPressed) != 0) == pressed) return;
  SetDropFlag(kDropButtonPressed, pressed);
  RECT client{};
  GetClientRect(m_handle, &client);
  RECT button = DropButtonRect(client);
  InvalidateRect(m_handle, &button, FALSE);
}

void DropListControl::PostAccepted() {
  SetDropFlag(kDropChangeOwed, false);
  PostFieldEvent(windows::EVENT_Accepted);
}

void DropListControl::OnSelectionChanged(bool completes) {
  if (m_dropFlags & kDropAttached) {
    if (m_attachedTo != nullptr) SendMessageA(m_attachedTo, kListSelectionMessage, completes ? 1 : 0, 0);
    return;
  }
  m_valueText = m_popup->SelectedText();
  SetWindowTextA(m_handle, m_valueText.c_str());
  InvalidateRect(m_handle, nullptr, FALSE);
  SetDropFlag(kDropChangeOwed, true);
  if (completes) ShowDropDown(false);
  PostFieldEvent(windows::EVENT_NewSelection);
  if (!completes) return;
  NotifySkipControlUsed();
  PostAccepted();
}

void DropListControl::ShowOwnerFocus(bool focused) {
  SetDropFlag(kDropFocused, focused);
  m_popup->SetListFlag(kListOwnerFocused, focused);
  if (m_popup->Handle() != nullptr) InvalidateRect(m_popup->Handle(), nullptr, FALSE);
  InvalidateRect(m_handle, nullptr, FALSE);
}

void DropListControl::OnKillFocus() {
  ShowOwnerFocus(false);
  if (IsDropped() && !(m_dropFlags & kDropAttached)) ShowDropDown(false);
  InvalidateRect(m_handle, nullptr, FALSE);
  PressButton(false);
  if ((m_dropFlags & kDropCaptured) && GetCapture() == m_handle) ReleaseCapture();
  SetDropFlag(kDropCaptured, false);
  if ((m_dropFlags & kDropChangeOwed) && (!(m_dropFlags & kDropAttached) || IsField())) PostAccepted();
}

LRESULT DropListControl::OnKey(WPARAM key, bool alt, bool& passOn) {
  bool open = IsDropped();
  bool keysOpen = (m_dropFlags & kDropKeysOpen) != 0;
  HWND popup = m_popup->Handle();
  passOn = false;
  switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      if (!keysOpen) break;
      [[fallthrough]];
    case VK_UP:
    case VK_DOWN:
      if (alt || (keysOpen && !open)) {
        ShowDropDown(!open);
        return 0;
      }
      break;
    case VK_F4:
      // The desktop's usual key for opening and closing a drop-down list.
      ShowDropDown(!open);
      return 0;
    case VK_RETURN:
      if (!open) {
        passOn = true;
        return 0;
      }
      ShowDropDown(false);
      NotifySkipControlUsed();
      PostAccepted();
      return 0;
    case VK_ESCAPE:
      if (!open) {
        passOn = true;
        return 0;
      }
      ShowDropDown(false);
      return 0;
    case VK_TAB:
      PostMessageA(GetParent(m_handle), WM_NEXTDLGCTL, KeyHeld(VK_SHIFT) ? 1 : 0, 0);
      if (open) {
        ShowDropDown(false);
        PostAccepted();
      }
      return 0;
    default: break;
  }
  if (alt) {
    passOn = true;
    return 0;
  }
  return SendMessageA(popup, WM_KEYDOWN, key, 0);
}

void DropListControl::Paint(HDC dc) {
  DropFieldLook look;
  GetClientRect(m_handle, &look.client);
  look.transparent = HasAttribute(kAttrTransparent);
  look.border = !look.transparent && !HasAttribute(kAttrBoxed);
  look.sunken = HasAttribute(kAttrThreeDimensional);
  look.focused = (m_dropFlags & kDropFocused) != 0;
  look.enabled = IsWindowEnabled(m_handle) != FALSE;
  look.buttonPressed = (m_dropFlags & kDropButtonPressed) != 0;
  look.font = m_font ? m_font->Handle() : nullptr;
  look.text = ColourOfValue(m_font ? m_font->TextColour() : kWindowTextColourValue);
  HBRUSH brush = BackgroundBrush();
  look.background = brush != nullptr ? brush : GetSysColorBrush(COLOR_WINDOW);
  if (!look.transparent) FillRect(dc, &look.client, look.background);
  look.value = m_valueText;
  DrawDropField(dc, look);
}

LRESULT DropListControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  switch (message) {
    case WM_PAINT:
      passOn = false;
      return PaintBetweenBeginAndEnd([this](HDC dc) { Paint(dc); });
    case WM_ERASEBKGND: passOn = false; return 1;
    case WM_SETCURSOR:
      passOn = false;
      SetCursor(LoadCursorA(nullptr, IDC_ARROW));
      return 1;
    case WM_LBUTTONDOWN:
      if (m_dropFlags & kDropAttached) {
        if (m_attachedTo != nullptr) SendMessageA(m_attachedTo, kTakeFocusMessage, 0, 0);
      } else if (!(m_dropFlags & kDropFocused)) {
        SetFocus(m_handle);
      }
      SetCapture(m_handle);
      SetDropFlag(kDropCaptured, true);
      PressButton(true);
      ShowDropDown(!IsDropped());
      return 0;
    case WM_MOUSEMOVE:
      if (m_dropFlags & kDropCaptured) {
        RECT client{};
        GetClientRect(m_handle, &client);
        RECT button = DropButtonRect(client);
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        PressButton(PtInRect(&button, point) != FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      PressButton(false);
      SetDropFlag(kDropCaptured, false);
      if (GetCapture() == m_handle) ReleaseCapture();
      if (!IsDropped()) NotifySkipControlUsed();
      return 0;
    case WM_CAPTURECHANGED:
      // Only a capture taken by another window ends the press.
      if (reinterpret_cast<HWND>(lParam) == m_handle) return 0;
      SetDropFlag(kDropCaptured, false);
      PressButton(false);
      return 0;
    case WM_SETFOCUS:
      ShowOwnerFocus(true);
      if ((m_dropFlags & kDropAttached) && m_attachedTo != nullptr) {
        passOn = false;
        SetFocus(m_attachedTo);
      }
      // Otherwise the common handling tells the window (QUERY_SELECTED).
      return 0;
    case WM_KILLFOCUS: OnKillFocus(); return 0;
    case WM_KEYDOWN: return OnKey(wParam, false, passOn);
    case WM_SYSKEYDOWN:
      if (wParam != VK_UP && wParam != VK_DOWN) return 0;
      return OnKey(wParam, true, passOn);
    case WM_CHAR:
      if (m_dropFlags & kDropAttached) return 0;
      passOn = false;
      return SendMessageA(m_popup->Handle(), WM_CHAR, wParam, lParam);
    case kListSelectionMessage: passOn = false; OnSelectionChanged(wParam == 1); return 0;
    case kTakeFocusMessage:
      passOn = false;
      if (GetFocus() != m_handle) SetFocus(m_handle);
      return 0;
    case WM_GETDLGCODE:
      passOn = false;
      return (!IsDropped() && !HasAttribute(kAttrSkip)) ? kClosedDialogCode : kOpenDialogCode;
    case WM_WINDOWPOSCHANGED:
      // An open list follows its field.
      if (IsDropped()) PlacePopup();
      return 0;
    case WM_SETFONT:
      passOn = false;
      PlacePopup();
      if (LOWORD(lParam) != 0) InvalidateRect(m_handle, nullptr, TRUE);
      return 0;
    case WM_GETFONT: passOn = false; return m_font ? reinterpret_cast<LRESULT>(m_font->Handle()) : 0;
    case WM_MOUSEACTIVATE: passOn = false; return MA_ACTIVATE;
    case WM_ENABLE: InvalidateRect(m_handle, nullptr, FALSE); return 0;
    case WM_MOUSEWHEEL:
      // The wheel scrolls an open list; over a closed one it changes nothing, so that scrolling
      // past the field never changes a choice by accident.
      passOn = false;
      if (IsDropped()) SendMessageA(m_popup->Handle(), WM_MOUSEWHEEL, wParam, lParam);
      return 0;
    case CB_SHOWDROPDOWN: passOn = false; ShowDropDown(wParam != 0); return TRUE;
    case CB_GETDROPPEDSTATE: passOn = false; return IsDropped() ? TRUE : FALSE;
    default: return 0;
  }
}

}  // namespace vel::controls
