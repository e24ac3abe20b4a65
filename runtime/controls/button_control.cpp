#include "runtime/controls/button_control.h"

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_fields.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_buttonClass{"VelButton", "button", 0};

}  // namespace

ButtonControl::ButtonControl(const windows::Record& record)
    : WindowedControl(record),
      m_definitionFlags(record.buttonFlags),
      m_delay(windows::HundredthsToMilliseconds(record.delay)),
      m_repeat(windows::HundredthsToMilliseconds(record.repeat)) {
  SetState(kStateTabStopFollowsSkip | kStateHotKeyOwner, true);
  if (m_definitionFlags & windows::kButtonRequired) m_buttonFlags |= kButtonChecksRequired;
  // Skip buttons are toolbar buttons, which the desktop draws flat.
  if ((m_definitionFlags & windows::kButtonFlat) || HasAttribute(kAttrSkip)) {
    m_buttonFlags |= kButtonFlat | kButtonDrawnByRuntime;
    m_drawState |= kDrawFlat;
  }
  if (record.icon) {
    m_buttonFlags |= kButtonDrawnByRuntime;
    m_iconName = record.icon->text;
    m_icon = windows::LoadNamedIcon(*record.icon, m_window->resourceModule);
  }
}

ButtonControl::~ButtonControl() { windows::ReleaseHeldIcon(m_icon, false); }

bool ButtonControl::IsDefaultButton() const {
  return (m_definitionFlags & windows::kButtonDefault) != 0 && !HasAttribute(kAttrSkip) &&
         !HasState(kStateToolbar);
}

void ButtonControl::Construct(const windows::Record& record) {
  DWORD style = WS_VISIBLE | WS_TABSTOP | (IsDefaultButton() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  CreateButtonWindow(record, g_buttonClass, ControlWindowProcedure<g_buttonClass>, style);
}

void ButtonControl::CreateButtonWindow(const windows::Record& record, ControlClassDescriptor& descriptor,
                                       WNDPROC procedure, DWORD style) {
  CreateControlWindow(&record, descriptor, procedure, 0, record.text, style);
  if (m_handle == nullptr) return;
  if (record.icon && m_icon.handle != nullptr) {
    // A button lower than the standard icon shows the icon's smaller image, scaled to fit.
    RECT client{};
    GetClientRect(m_handle, &client);
    int room = client.bottom - client.top - 2 * kPictureInset;
    if (room > 0 && room < GetSystemMetrics(SM_CYICON)) {
      windows::HeldIcon smaller = windows::LoadNamedIconNear(*record.icon, m_window->resourceModule, room);
      if (smaller.handle != nullptr) {
        windows::ReleaseHeldIcon(m_icon, false);
        m_icon = smaller;
      }
    }
  }
  if (!IsWindowEnabled(m_handle)) m_drawState |= kDrawDisabled;
  if (!IsDefaultButton()) return;
  // The window's earlier default button gives up its look when the dialog takes the new one.
  m_drawState |= kDrawDefault;
  SendMessageA(GetParent(m_handle), DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(m_handle)), 0);
}

std::uint32_t ButtonControl::ClassBackgroundValue() const {
  // A flat button shows the window behind it.
  if ((m_buttonFlags & kButtonFlat) && m_window->colours.values[0] != windows::kNoColour)
    return m_window->colours.values[0];
  return kSystemColour | COLOR_BTNFACE;
}

LRESULT ButtonControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  LRESULT result = HandleCommonButtonMessage(message, wParam, lParam, passOn);
  if ((m_buttonFlags & kButtonDrawnByRuntime) && message < windows::kPrivateMessageBase && !m_foreignWindow)
    result = HandleDrawnButtonMessage(message, wParam, lParam, passOn);
  return result;
}

LRESULT ButtonControl::HandleCommonButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  switch (message) {
    case windows::QUERY_COMMAND: passOn = false; return Act(wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (m_keyDown != 0) {
        m_keyDown = 0;
        ShowPressed(false);
      }
      if (message == WM_SETFOCUS && HasAttribute(kAttrSkip)) {
        passOn = false;
        AnnounceFocus();
      }
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) {
        passOn = false;
        OnRepeatTimer();
      } else if (wParam == kHoverTimer) {
        passOn = false;
        OnHoverTimer();
      }
      return 0;
    case BM_SETSTATE:
    case kPrivateSetState:
      RecordPressState(wParam != 0);
      if (message == kPrivateSetState && passOn && m_class != nullptr && m_class->baseProcedure != nullptr &&
          !(m_buttonFlags & kButtonDrawnByRuntime)) {
        // The standard class knows only BM_SETSTATE.
        passOn = false;
        return CallWindowProcA(m_class->baseProcedure, m_handle, BM_SETSTATE, wParam, lParam);
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != m_handle) SetFocus(m_handle);
      return 0;
    case WM_LBUTTONUP: NotifySkipControlUsed(); return 0;
    case WM_DESTROY:
      StopTimer(m_hoverTimer);
      StopTimer(m_repeatTimer);
      return 0;
    default: return 0;
  }
}

LRESULT ButtonControl::Act(WPARAM wParam, LPARAM lParam) {
  WORD notification = HIWORD(wParam);
  if (notification != BN_CLICKED && notification != BN_DOUBLECLICKED) return 0;
  if (lParam == 0) ShowPress();
  if (m_buttonFlags & kButtonChecksRequired) {
    if (std::int32_t field = FieldNeedingValue()) {
      MessageBeep(0);
      windows::SelectWindowField(*m_window, field, 0, -1);
      return 0;
    }
  }
  if (!HasAttribute(kAttrImmediate)) PostFieldEvent(windows::EVENT_Accepted);
  return 0;
}

std::int32_t ButtonControl::FieldNeedingValue() const {
  std::int32_t lowest = 0;
  for (const auto& control : m_window->controls) {
    auto* candidate = dynamic_cast<ControlBase*>(control.get());
    if (candidate == nullptr || candidate->FieldNumber() <= 0 || !candidate->NeedsValue()) continue;
    if (lowest == 0 || candidate->FieldNumber() < lowest) lowest = candidate->FieldNumber();
  }
  return lowest;
}

void ButtonControl::ShowPressed(bool pressed) {
  if (m_handle != nullptr) SendMessageA(m_handle, BM_SETSTATE, pressed ? TRUE : FALSE, 0);
}

void ButtonControl::ShowPress() {
  ShowPressed(true);
  PressAction();
  ShowPressed(false);
}

void ButtonControl::RecordPressState(bool pressed) {
  bool wasPressed = HasDrawState(kDrawPressed);
  SetDrawState(kDrawPressed, pressed);
  // Only a change counts: a held button is told it is pressed at every move of the mouse.
  if (!HasAttribute(kAttrImmediate) || wasPressed == pressed) return;
  if (!pressed) {
    StopTimer(m_repeatTimer);
    return;
  }
  PostFieldEvent(windows::EVENT_Accepted);
  m_repeating = false;
  UINT first = m_delay != 0 ? m_delay : m_repeat;
  if (first != 0 && m_handle != nullptr) m_repeatTimer = SetTimer(m_handle, kRepeatTimer, first, nullptr);
}

void ButtonControl::OnRepeatTimer() {
  if (!HasDrawState(kDrawPressed)) {
    StopTimer(m_repeatTimer);
    return;
  }
  if (!m_repeating) {
    m_repeating = true;
    if (m_repeat != 0 && m_repeat != m_delay) m_repeatTimer = SetTimer(m_handle, kRepeatTimer, m_repeat, nullptr);
  }
  PostFieldEvent(windows::EVENT_Accepted);
}

void ButtonControl::OnHoverTimer() {
  POINT pointer{};
  GetCursorPos(&pointer);
  bool over = WindowFromPoint(pointer) == m_handle;
  if (over) {
    SetDrawState(kDrawHot, true);
  } else if (!m_captured) {
    StopTimer(m_hoverTimer);
    SetDrawState(kDrawHot, false);
  }
}

void ButtonControl::StopTimer(UINT_PTR& timer) {
  if (timer != 0 && m_handle != nullptr) KillTimer(m_handle, timer);
  timer = 0;
}

void ButtonControl::SetDrawState(std::uint32_t bits, bool on) {
  std::uint32_t state = on ? (m_drawState | bits) : (m_drawState & ~bits);
  if (state == m_drawState) return;
  m_drawState = state;
  if ((m_buttonFlags & kButtonDrawnByRuntime) && m_handle != nullptr) InvalidateRect(m_handle, nullptr, FALSE);
}

void RegisterButtonKind() { RegisterControlKind(windows::kKindButton, CreateKind<ButtonControl>); }

}  // namespace vel::controls
