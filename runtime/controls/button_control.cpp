#include "runtime/controls/button_control.h"

#include <algorithm>

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/control_flags.h"
#include "runtime/controls/entry_control.h"
#include "runtime/images/icon_image.h"
#include "runtime/images/standard_image_kinds.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_fields.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_buttonClass{"VelButton", "button", 0};

std::int32_t ClampedSum(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{a} + b, INT32_MIN + 1, INT32_MAX));
}

// The size a definition gives in pixels, as the window will place it; -1 for an open side.
SIZE DefinedSize(const windows::Rect& at, const windows::WindowObject& window) {
  windows::UnitConverter converter(window.flags, window.metrics);
  std::int32_t x = at.x == windows::kNotGiven ? 0 : at.x;
  std::int32_t y = at.y == windows::kNotGiven ? 0 : at.y;
  SIZE size{-1, -1};
  if (at.width != kDefaultSize) size.cx = converter.ToPixelsX(ClampedSum(x, at.width)) - converter.ToPixelsX(x);
  if (at.height != kDefaultSize) size.cy = converter.ToPixelsY(ClampedSum(y, at.height)) - converter.ToPixelsY(y);
  return size;
}

}  // namespace

ButtonControl::ButtonControl(const windows::Record& record)
    : WindowedControl(record),
      m_definitionFlags(record.buttonFlags),
      m_delay(windows::HundredthsToMilliseconds(record.delay)),
      m_repeat(windows::HundredthsToMilliseconds(record.repeat)),
      m_definedSize(DefinedSize(record.at, *m_window)) {
  SetState(kStateTabStopFollowsSkip | kStateHotKeyOwner, true);
  if (m_definitionFlags & windows::kButtonRequired) m_buttonFlags |= kButtonChecksRequired;
  // Skip buttons are toolbar buttons, which the desktop draws flat.
  if ((m_definitionFlags & windows::kButtonFlat) || HasAttribute(kAttrSkip)) {
    m_buttonFlags |= kButtonFlat | kButtonDrawnByRuntime;
    m_drawState |= kDrawFlat;
  }
  if (record.icon) {
    // An icon name that opens nothing still makes the runtime draw the button, without a picture.
    m_buttonFlags |= kButtonDrawnByRuntime;
    m_iconName = windows::RuntimeNameOf(*record.icon);
    // Opened before the window exists: a button of default size is measured by its picture.
    m_picture = OpenPicture(0);
  }
}

ButtonControl::~ButtonControl() {
  if (m_picture && m_handle != nullptr) m_picture->RemoveViewer(m_handle);
}

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
  if (m_picture) {
    FitIconToRoom();
    m_picture->AddViewer(m_handle);
  }
  if (!IsWindowEnabled(m_handle)) m_drawState |= kDrawDisabled;
  if (!IsDefaultButton()) return;
  // The window's earlier default button gives up its look when the dialog takes the new one.
  m_drawState |= kDrawDefault;
  SendMessageA(GetParent(m_handle), DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(m_handle)), 0);
}

std::unique_ptr<images::Image> ButtonControl::OpenPicture(int iconSize) const {
  images::ImageOwner owner;
  owner.window = m_window->handle;
  owner.module = m_window->resourceModule;
  owner.iconSize = iconSize;
  // A definition names the program's own pictures as the window's icon does, by their resource
  // name; a name the program holds no picture of is a file.
  bool plainText = !m_iconName.empty() && m_iconName.front() != '~' &&
                   static_cast<unsigned char>(m_iconName.front()) != 0xFF;
  if (plainText) {
    if (std::unique_ptr<images::Image> own = images::OpenImage(owner, "~" + m_iconName)) return own;
  }
  return images::OpenImage(owner, m_iconName);
}

void ButtonControl::FitIconToRoom() {
  auto* icon = dynamic_cast<images::IconImage*>(m_picture.get());
  if (icon == nullptr || m_handle == nullptr) return;
  RECT client{};
  GetClientRect(m_handle, &client);
  RECT room = ButtonContentArea(client, SizingDrawState());
  int side = std::min(room.right - room.left, room.bottom - room.top);
  SIZE loaded = icon->PixelSize();
  if (side <= 0 || (loaded.cx == side && loaded.cy == side)) return;
  std::unique_ptr<images::Image> nearer = OpenPicture(side);
  if (nearer) m_picture = std::move(nearer);
}

SIZE ButtonControl::PictureSize() const {
  if (!m_picture) return SIZE{0, 0};
  if (auto* icon = dynamic_cast<const images::IconImage*>(m_picture.get())) return icon->PixelSize();
  return m_picture->NaturalSize();
}

std::uint32_t ButtonControl::SizingDrawState() const {
  return IsDefaultButton() ? (m_drawState | kDrawDefault) : m_drawState;
}

SIZE ButtonControl::StandardClassSize(SIZE text) const {
  // The standard push button: a raised edge, the focus rectangle inside it and a margin.
  constexpr int kEdgeAndMarginX = 6;
  constexpr int kEdgeAndMarginY = 4;
  int frame = IsDefaultButton() ? 1 : 0;
  return SIZE{text.cx + 2 * (kEdgeAndMarginX + frame), text.cy + 2 * (kEdgeAndMarginY + frame)};
}

SIZE ButtonControl::PreferredSize() {
  SIZE text = ButtonTextSize(m_font ? m_font->Handle() : nullptr, CurrentText());
  if (!(m_buttonFlags & kButtonDrawnByRuntime)) {
    if (text.cx == 0) text.cy = FontHeight();
    return StandardClassSize(text);
  }
  std::uint32_t state = SizingDrawState();
  SIZE picture = PictureSize();
  // A picture that could not be opened keeps the room of a standard icon, so that a window
  // is laid out the same whether its pictures are there or not.
  if (!m_picture && !m_iconName.empty()) picture = SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  if (picture.cx > 0) {
    // A side the definition gives limits the picture, which then sets the other side.
    SIZE given = m_definedSize;
    if (m_handle != nullptr) {
      RECT client{};
      GetClientRect(m_handle, &client);
      given = SIZE{HasState(kStateDefaultWidth) ? -1 : client.right, HasState(kStateDefaultHeight) ? -1 : client.bottom};
    }
    // What a one-pixel picture needs beyond its pixel: the border, the text and the gap.
    SIZE besideText = RuntimeButtonSize(SIZE{1, 1}, text, state);
    SIZE alone = RuntimeButtonSize(SIZE{1, 1}, SIZE{0, 0}, state);
    constexpr LONG kUnbounded = 1 << 20;
    SIZE room{kUnbounded, kUnbounded};
    if (given.cx >= 0) room.cx = given.cx - (besideText.cx - 1);
    if (given.cy >= 0) room.cy = given.cy - (alone.cy - 1);
    picture = FitPicture(picture, room);
  }
  return RuntimeButtonSize(picture, text, state);
}

int ButtonControl::DefaultWidth() { return PreferredSize().cx; }

int ButtonControl::DefaultHeight() { return PreferredSize().cy; }

std::uint32_t ButtonControl::ClassBackgroundValue() const {
  // A flat button shows the window (or the toolbar) behind it.
  if ((m_buttonFlags & kButtonFlat) && SurfaceColourValue() != windows::kNoColour) return SurfaceColourValue();
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
  // Enter or a hot key presses the button while the entry being edited keeps the focus; its text
  // is completed first, as the click that takes the focus completes it, so that the entry's
  // EVENT:Accepted comes before the button's. Skip and toolbar buttons leave the edit open.
  if (!HasAttribute(kAttrSkip) && !InToolbar()) {
    if (auto* editing = dynamic_cast<EntryControl*>(m_window->FocusControl())) editing->CompleteEditing();
  }
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
    LeaveHotState();
  }
}

void ButtonControl::HotMouseMessage(UINT message, const MOUSEHOOKSTRUCT& mouse) {
  if (m_captured || PointerIsOver(mouse.pt)) return;
  StopTimer(m_hoverTimer);
  SetDrawState(kDrawHot, false);
  WindowedControl::HotMouseMessage(message, mouse);
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
