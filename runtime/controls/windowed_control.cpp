#include "runtime/controls/windowed_control.h"

#include <algorithm>

#include "runtime/controls/control_chain.h"
#include "runtime/controls/control_container.h"
#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_tooltips.h"
#include "runtime/controls/hot_control.h"
#include "runtime/controls/toolbar_control.h"
#include "runtime/windows/drag_state.h"
#include "runtime/windows/key_table.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_key_tables.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_open.h"
#include "runtime/windows/window_status_text.h"

namespace vel::controls {
namespace {

constexpr int kDefaultMarginX = 4;
constexpr int kDefaultMarginY = 3;
/// Child identifiers are the field number plus this, as menu commands are.
constexpr std::int32_t kChildIdentifierBase = 0x4000;

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN + 1, INT32_MAX));
}

std::optional<std::string> TooltipOf(const windows::TextBlock& block,
                                     const std::optional<std::string>& message) {
  if (!block.tooltip || block.tooltip->empty()) return std::nullopt;
  if ((*block.tooltip)[0] == '~' && message) return message;
  return block.tooltip;
}

}  // namespace

WindowedControl::WindowedControl(const windows::Record& record) : ControlBase(record) {
  m_colours = record.colours.value_or(windows::ColourTriple{});
  m_tooltip = TooltipOf(record.textBlock, m_messageText);
  m_alertKeys = record.textBlock.keys;
  m_fontData = FontColourData::Merge(record.font, m_window->font);
  if (record.font) {
    m_font = std::make_unique<FontObject>(m_fontData);
  } else if (m_window->fontHandle != nullptr) {
    m_font = std::make_unique<FontObject>(m_fontData, m_window->fontHandle);
  }
  if (record.justify != 0) {
    windows::UnitConverter dialogUnits(0, m_window->metrics);
    m_justifyOffset = dialogUnits.ToPixelsX(record.justify);
  }
}

WindowedControl::~WindowedControl() {
  ForgetHotControl(*this);
  windows::ForgetDragControl(*this);
  if (m_handle == nullptr || !IsWindow(m_handle)) return;
  RemoveControlTip(*this);
  // The window goes after this object: its last messages must not find the object any more.
  if (m_class != nullptr && !m_foreignWindow) DetachControlObject(*m_class, m_handle);
  HWND handle = m_handle;
  m_handle = nullptr;
  DestroyWindow(handle);
}

void WindowedControl::CreateControlWindow(const windows::Record* record, ControlClassDescriptor& descriptor,
                                          WNDPROC procedure, DWORD exStyle,
                                          const std::optional<std::string>& text, DWORD style) {
  RegisterControlClass(descriptor, procedure);
  m_class = &descriptor;
  ChainContext* chain = CurrentChain();

  const ControlContainer* holder = m_container != nullptr ? m_container->AsContainer() : nullptr;
  if (m_container == nullptr || (holder != nullptr && holder->Children().empty()) ||
      m_container->TypeCode() == 38) {
    style |= WS_GROUP;
  }
  if (record != nullptr) {
    if (EffectivelyDisabled()) style |= WS_DISABLED;
    if (EffectivelyHidden() || HasState(kStateShowDeferred)) style &= ~WS_VISIBLE;
  } else {
    style &= ~WS_VISIBLE;
    m_attributes |= kAttrHidden;
  }

  m_creationText = text.value_or(std::string());
  windows::Rect at = record != nullptr ? record->at : windows::Rect{0, 0, kDefaultSize, kDefaultSize};
  RECT place = PlaceFromDefinition(at);

  style = ComputeStyle(style);
  if (HasAttribute(kAttrSkip)) style &= ~WS_TABSTOP;

  HWND parent = chain != nullptr ? chain->parent : m_window->client;
  m_homeParent = parent;
  auto identifier = reinterpret_cast<HMENU>(static_cast<std::intptr_t>(m_field + kChildIdentifierBase));
  CreateWindowExA(exStyle, descriptor.className, "", style | WS_CHILD, place.left, place.top,
                  place.right - place.left, place.bottom - place.top, parent, identifier,
                  windows::WindowInstance(), this);
  if (m_handle == nullptr) return;

  if (text) SetText(*text);
  m_creationText.clear();
  if (chain != nullptr) {
    chain->extent.cx = std::max<LONG>(chain->extent.cx, place.right);
    chain->extent.cy = std::max<LONG>(chain->extent.cy, place.bottom);
  }
  if (m_font) SendMessageA(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(m_font->Handle()), FALSE);
  if (m_tooltip) RegisterControlTip(*this);
  if (record != nullptr && m_use) DisplayUseValue();
  if (record != nullptr) m_dropIdentifiers.AppendAll(record->dropIds, m_handle);
}

RECT WindowedControl::PlaceFromDefinition(const windows::Rect& at) {
  windows::UnitConverter converter(m_window->flags, m_window->metrics);
  ChainContext* chain = CurrentChain();
  POINT origin = chain != nullptr ? chain->origin : POINT{0, 0};
  std::int32_t x = at.x == windows::kNotGiven ? 0 : at.x;
  std::int32_t y = at.y == windows::kNotGiven ? 0 : at.y;
  RECT place{};
  place.left = converter.ToPixelsX(x) + origin.x;
  place.top = converter.ToPixelsY(y) + origin.y;
  if (at.width == kDefaultSize) {
    m_state |= kStateDefaultWidth;
    place.right = place.left + std::max(0, DefaultWidth());
  } else {
    place.right = converter.ToPixelsX(ClampToInt32(std::int64_t{x} + at.width)) + origin.x;
  }
  if (at.height == kDefaultSize) {
    m_state |= kStateDefaultHeight;
    place.bottom = place.top + std::max(0, DefaultHeight());
  } else {
    place.bottom = converter.ToPixelsY(ClampToInt32(std::int64_t{y} + at.height)) + origin.y;
  }
  place.right = std::max(place.right, place.left);
  place.bottom = std::max(place.bottom, place.top);
  return place;
}

std::string WindowedControl::CurrentText() const {
  if (m_handle == nullptr) return m_creationText;
  int length = GetWindowTextLengthA(m_handle);
  std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  int copied = GetWindowTextA(m_handle, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

char WindowedControl::HotKeyCharacter() const {
  if (!HasState(kStateHotKeyOwner) || HasState(kStateToolbar)) return 0;
  return windows::HotKeyCharacterOf(CurrentText());
}

void WindowedControl::SetText(std::string_view text) {
  if (m_handle == nullptr) return;
  std::string terminated(text);
  SendMessageA(m_handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()));
  Relayout();
  if (!HasState(kStateHotKeyOwner)) return;
  // A new text may mark a different letter.
  if (HasState(kStateToolbar)) {
    SendMessageA(GetParent(m_handle), windows::QUERY_HOTCHANGE, 0, reinterpret_cast<LPARAM>(this));
  } else if (m_window != nullptr) {
    windows::RebuildHotKeys(*m_window);
  }
}

void WindowedControl::DisplayUseValue() {
  if (m_use) SetText(m_use->DisplayText());
}

void WindowedControl::ShowOrHide(bool show) {
  SetAttribute(kAttrHidden, !show);
  ApplyEffectiveState();
  if (HasState(kStateToolbar) && HasState(kStateHotKeyOwner) && m_handle != nullptr) {
    SendMessageA(GetParent(m_handle), windows::QUERY_HOTCHANGE, 0, reinterpret_cast<LPARAM>(this));
  }
}

bool WindowedControl::HoldsFocus(HWND focus) const {
  if (focus == nullptr) return false;
  if (m_handle != nullptr && (focus == m_handle || IsChild(m_handle, focus))) return true;
  if (const ControlContainer* holder = const_cast<WindowedControl*>(this)->AsContainer()) {
    for (ControlBase* child : holder->Children()) {
      auto* windowed = dynamic_cast<WindowedControl*>(child);
      if (windowed != nullptr && windowed->HoldsFocus(focus)) return true;
    }
  }
  return false;
}

void WindowedControl::EnableOrDisable(bool enable) {
  HWND focus = GetFocus();
  bool hadFocus = HoldsFocus(focus);
  SetAttribute(kAttrDisabled, !enable);
  ApplyEffectiveState();
  HWND client = m_window->client;
  if (!enable && hadFocus && client != nullptr) {
    HWND next = GetNextDlgTabItem(client, focus, FALSE);
    if (next != nullptr && next != focus && IsWindowEnabled(next)) {
      SendMessageA(client, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
    } else {
      SetFocus(client);
    }
  }
  if (HasState(kStateToolbar) && HasState(kStateHotKeyOwner) && m_handle != nullptr) {
    SendMessageA(GetParent(m_handle), windows::QUERY_HOTCHANGE, 0, reinterpret_cast<LPARAM>(this));
  }
}

void WindowedControl::ApplyEffectiveState() {
  if (m_handle != nullptr) {
    EnableWindow(m_handle, EffectivelyDisabled() ? FALSE : TRUE);
    bool show = !EffectivelyHidden() && !HasState(kStateShowDeferred);
    SetWindowPos(
        m_handle, nullptr, 0, 0, 0, 0,
        (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (const ControlContainer* holder = AsContainer()) {
    for (ControlBase* child : holder->Children()) {
      if (auto* windowed = dynamic_cast<WindowedControl*>(child)) windowed->ApplyEffectiveState();
    }
  }
}

void WindowedControl::Relayout() {
  if (m_handle == nullptr || !HasState(kStateDefaultWidth | kStateDefaultHeight)) return;
  RECT window{};
  GetWindowRect(m_handle, &window);
  int width = HasState(kStateDefaultWidth) ? std::max(0, DefaultWidth()) : window.right - window.left;
  int height = HasState(kStateDefaultHeight) ? std::max(0, DefaultHeight()) : window.bottom - window.top;
  SetWindowPos(m_handle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowedControl::RebuildFont() {
  m_font = std::make_unique<FontObject>(m_fontData);
  if (m_handle != nullptr)
    SendMessageA(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(m_font->Handle()), FALSE);
}

void WindowedControl::Refresh() {
  if (m_handle != nullptr) InvalidateRect(m_handle, nullptr, TRUE);
}

int WindowedControl::TextExtent(std::string_view text) const {
  if (m_font) return m_font->TextWidth(text);
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 0;
  SIZE extent{};
  HGDIOBJ previous = SelectObject(screen, GetStockObject(SYSTEM_FONT));
  GetTextExtentPoint32A(screen, text.data(), static_cast<int>(text.size()), &extent);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return extent.cx;
}

int WindowedControl::FontHeight() const {
  return m_font ? m_font->CharHeight() : m_window->metrics.charHeight;
}

int WindowedControl::DefaultWidth() { return TextExtent(CurrentText()) + 2 * kDefaultMarginX; }

int WindowedControl::DefaultHeight() { return FontHeight() + 2 * kDefaultMarginY; }

HBRUSH WindowedControl::BackgroundBrush() {
  std::uint32_t value =
      m_colours.values[0] != windows::kNoColour ? m_colours.values[0] : ClassBackgroundValue();
  return BrushForColourValue(value);
}

std::uint32_t WindowedControl::SurfaceColourValue() const {
  if (HasState(kStateToolbar)) {
    if (const auto* toolbar = dynamic_cast<const ToolbarControl*>(m_window->toolbarControl))
      return toolbar->BackgroundValue();
  }
  return m_window->colours.values[0];
}

void WindowedControl::SetDropIdentifier(std::size_t index, std::string_view text) {
  m_dropIdentifiers.Set(index, text, m_handle);
}

void WindowedControl::NotifySkipControlUsed() {
  if (HasAttribute(kAttrSkip) && m_window->client != nullptr) {
    PostMessageA(m_window->client, windows::QUERY_LOSEFOCUS, 0, 0);
  }
}

void WindowedControl::PointerOver() {
  if (!m_messageText || !(HasAttribute(kAttrSkip) || HasState(kStateToolbar))) return;
  if (!m_messageShownOver) {
    m_messageShownOver = true;
    windows::ShowMessageText(*m_window, this);
  }
  MakeHotControl(*this);
}

void WindowedControl::LeaveHotState() {
  ForgetHotControl(*this);
  if (!m_messageShownOver) return;
  m_messageShownOver = false;
  windows::ShowMessageText(*m_window, nullptr);
}

bool WindowedControl::PointerIsOver(POINT point) const {
  HWND under = WindowFromPoint(point);
  return m_handle != nullptr && under != nullptr && (under == m_handle || IsChild(m_handle, under));
}

void WindowedControl::HotMouseMessage(UINT, const MOUSEHOOKSTRUCT& mouse) {
  if (PointerIsOver(mouse.pt)) return;
  ReleaseHotControl(*this);
  LeaveHotState();
}

void WindowedControl::AnnounceFocus() {
  if (m_handle == nullptr) return;
  if (!HasAttribute(kAttrSkip)) m_window->lastFocusWindow = m_handle;
  SendMessageA(GetParent(m_handle), windows::QUERY_SELECTED, reinterpret_cast<WPARAM>(m_handle),
               reinterpret_cast<LPARAM>(static_cast<ControlBase*>(this)));
}

void WindowedControl::PaintBaseWindow(HDC dc) {
  RECT area{};
  GetClientRect(m_handle, &area);
  bool transparent = HasAttribute(kAttrTransparent);
  if (!transparent) {
    FillRect(dc, &area, BackgroundBrush());
    if (HasAttribute(kAttrThreeDimensional)) {
      DrawEdge(dc, &area, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    } else {
      FrameRect(dc, &area, GetSysColorBrush(COLOR_WINDOWFRAME));
      InflateRect(&area, -1, -1);
    }
  }
  HGDIOBJ previousFont = m_font ? SelectObject(dc, m_font->Handle()) : nullptr;
  bool disabled = !IsWindowEnabled(m_handle);
  SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT)
                            : ColourOfValue(m_font ? m_font->TextColour() : kWindowTextColourValue));
  SetBkMode(dc, TRANSPARENT);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  switch (m_attributes & kAttrJustifyMask) {
    case kAttrJustifyRight:
    case kAttrJustifyDecimal: format |= DT_RIGHT; break;
    case kAttrJustifyCentre: format |= DT_CENTER; break;
    default: break;
  }
  RECT textArea{area.left + 2 + m_justifyOffset, area.top, area.right - 2 - m_justifyOffset, area.bottom};
  std::string text = CurrentText();
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textArea, format);
  if (previousFont != nullptr) SelectObject(dc, previousFont);
}

}  // namespace vel::controls
