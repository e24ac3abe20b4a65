// The property table of windowed controls.

#include <cstdlib>

#include "runtime/controls/control_properties.h"
#include "runtime/controls/windowed_control.h"
#include "runtime/values/decimal_string_stack.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/definition_record.h"
#include "runtime/windows/property_values.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

struct Justification {
  std::int32_t property;
  std::uint32_t bits;
  bool withOffset;
};

constexpr Justification kJustifications[] = {
    {kPropCentre, kAttrJustifyCentre, false},   {kPropCentreOffset, kAttrJustifyCentre, true},
    {kPropLeft, kAttrJustifyLeft, false},       {kPropLeftOffset, kAttrJustifyLeft, true},
    {kPropDecimal, kAttrJustifyDecimal, false}, {kPropDecimalOffset, kAttrJustifyDecimal, true},
    {kPropRight, kAttrJustifyRight, false},     {kPropRightOffset, kAttrJustifyRight, true},
};

const Justification* JustificationOf(std::int32_t property) {
  for (const Justification& justification : kJustifications) {
    if (justification.property == property) return &justification;
  }
  return nullptr;
}

// A property value of 80000000h, however the program wrote it.
bool IsDefaultSize(std::int64_t value) { return value == INT32_MIN || value == 0x80000000LL; }

windows::UnitConverter WindowUnits(const windows::WindowObject& window) {
  return windows::UnitConverter(window.flags, window.metrics);
}

windows::UnitConverter DialogUnits(const windows::WindowObject& window) {
  return windows::UnitConverter(0, window.metrics);
}

WindowedControl* WindowedControlOfField(const windows::WindowObject& window, std::int32_t field) {
  return dynamic_cast<WindowedControl*>(window.ControlOfField(field));
}

}  // namespace

void WindowedControl::SetProperty(std::int32_t property) {
  if (const Justification* justification = JustificationOf(property)) {
    std::int64_t value = windows::PopPropertyNumber();
    bool set = justification->withOffset || value != 0;
    if (justification->withOffset) {
      m_justifyOffset = DialogUnits(*m_window).ToPixelsX(static_cast<std::int32_t>(value));
    }
    if (set) {
      m_attributes = (m_attributes & ~kAttrJustifyMask) | justification->bits;
    } else if ((m_attributes & kAttrJustifyMask) == justification->bits) {
      m_attributes &= ~kAttrJustifyMask;
    }
    Refresh();
    return;
  }
  switch (property) {
    case kPropParent: {
      std::int64_t field = windows::PopPropertyNumber();
      HWND parent = m_homeParent;
      if (field != 0) {
        WindowedControl* image = WindowedControlOfField(*m_window, static_cast<std::int32_t>(field));
        if (image == nullptr || image->TypeCode() != windows::kKindImage || image->Handle() == nullptr)
          return;
        parent = image->Handle();
      }
      if (m_handle == nullptr || parent == nullptr) return;
      // The control keeps its place on the screen under its new parent.
      RECT place{};
      GetWindowRect(m_handle, &place);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
      SetParent(m_handle, parent);
      SetWindowPos(m_handle, nullptr, place.left, place.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }
    case kPropDefaultWidth:
    case kPropDefaultHeight:
      SetState(property == kPropDefaultWidth ? kStateDefaultWidth : kStateDefaultHeight,
               windows::PopPropertyNumber() != 0);
      Relayout();
      return;
    case kPropWidth:
    case kPropHeight: {
      std::int64_t value = windows::PopPropertyNumber();
      std::uint32_t state = property == kPropWidth ? kStateDefaultWidth : kStateDefaultHeight;
      if (IsDefaultSize(value)) {
        SetState(state, true);
        Relayout();
        return;
      }
      SetState(state, false);
      if (m_handle == nullptr) return;
      RECT place{};
      GetWindowRect(m_handle, &place);
      windows::UnitConverter units = WindowUnits(*m_window);
      auto size = static_cast<std::int32_t>(value);
      int width = property == kPropWidth ? units.ToPixelsX(size) : place.right - place.left;
      int height = property == kPropHeight ? units.ToPixelsY(size) : place.bottom - place.top;
      SetWindowPos(m_handle, nullptr, 0, 0, width < 0 ? 0 : width, height < 0 ? 0 : height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }
    case kPropThreeDimensional:
      SetAttribute(kAttrThreeDimensional, windows::PopPropertyNumber() != 0);
      Relayout();
      Refresh();
      return;
    case kPropReportChanges: {
      bool on = windows::PopPropertyNumber() != 0;
      if (!windows::IsOpenWindow(m_window) || m_window->metrics.report) return;
      SetAttribute(kAttrReportChanges, on);
      if (m_handle != nullptr) {
        SendMessageA(GetParent(m_handle), windows::kEntryChangedMessage, reinterpret_cast<WPARAM>(m_handle),
                     reinterpret_cast<LPARAM>(static_cast<ControlBase*>(this)));
      }
      return;
    }
    case kPropSkip: {
      bool skip = windows::PopPropertyNumber() != 0;
      SetAttribute(kAttrSkip, skip);
      if (HasState(kStateTabStopFollowsSkip) && m_handle != nullptr) {
        LONG_PTR style = GetWindowLongPtrA(m_handle, GWL_STYLE);
        style = skip ? (style & ~static_cast<LONG_PTR>(WS_TABSTOP)) : (style | WS_TABSTOP);
        SetWindowLongPtrA(m_handle, GWL_STYLE, style);
      }
      Refresh();
      return;
    }
    case kPropTransparent:
      SetAttribute(kAttrTransparent, windows::PopPropertyNumber() != 0);
      Refresh();
      return;
    case kPropHandle:
      ReplaceWindow(reinterpret_cast<HWND>(static_cast<std::intptr_t>(windows::PopPropertyNumber())));
      return;
    case kPropZOrder: {
      std::int64_t field = windows::PopPropertyNumber();
      if (m_handle == nullptr) return;
      HWND after = HWND_BOTTOM;
      if (field != 0) {
        WindowedControl* other = WindowedControlOfField(*m_window, static_cast<std::int32_t>(field));
        if (other == nullptr || other->Handle() == nullptr || other == this) return;
        after = other->Handle();
      }
      SetWindowPos(m_handle, after, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
      return;
    }
    case kPropWindowProcedure: {
      std::int64_t procedure = windows::PopPropertyNumber();
      if (procedure != 0 && m_handle != nullptr)
        SetWindowLongPtrA(m_handle, GWLP_WNDPROC, static_cast<LONG_PTR>(procedure));
      return;
    }
    case kPropFontFace: {
      std::string face = windows::PopPropertyText();
      m_fontData.face = face.empty() ? std::nullopt : std::optional<std::string>(face);
      break;
    }
    case kPropFontSize: m_fontData.points = static_cast<std::int32_t>(windows::PopPropertyNumber()); break;
    case kPropFontStyle: m_fontData.style = static_cast<std::uint32_t>(windows::PopPropertyNumber()); break;
    default: values::DropTop(); return;
  }
  // A font property changed.
  RebuildFont();
  Relayout();
  Refresh();
}

void WindowedControl::GetProperty(std::int32_t property) {
  if (const Justification* justification = JustificationOf(property)) {
    if (justification->withOffset) {
      windows::PushPropertyNumber(DialogUnits(*m_window).FromPixelsX(m_justifyOffset));
    } else {
      windows::PushPropertyNumber((m_attributes & kAttrJustifyMask) == justification->bits ? 1 : 0);
    }
    return;
  }
  RECT place{};
  if (m_handle != nullptr) GetWindowRect(m_handle, &place);
  switch (property) {
    case kPropParent: {
      HWND parent = m_handle != nullptr ? GetParent(m_handle) : nullptr;
      WindowedControl* holder = parent != m_homeParent
                                    ? dynamic_cast<WindowedControl*>(m_window->ControlOfHandle(parent))
                                    : nullptr;
      windows::PushPropertyNumber(holder != nullptr && holder->Handle() == parent ? holder->Field() : 0);
      return;
    }
    case kPropDefaultWidth: windows::PushPropertyNumber(HasState(kStateDefaultWidth) ? 1 : 0); return;
    case kPropDefaultHeight: windows::PushPropertyNumber(HasState(kStateDefaultHeight) ? 1 : 0); return;
    case kPropWidth:
      windows::PushPropertyNumber(WindowUnits(*m_window).FromPixelsX(place.right - place.left));
      return;
    case kPropHeight:
      windows::PushPropertyNumber(WindowUnits(*m_window).FromPixelsY(place.bottom - place.top));
      return;
    case kPropThreeDimensional:
      windows::PushPropertyNumber(HasAttribute(kAttrThreeDimensional) ? 1 : 0);
      return;
    case kPropReportChanges: windows::PushPropertyNumber(HasAttribute(kAttrReportChanges) ? 1 : 0); return;
    case kPropSkip: windows::PushPropertyNumber(HasAttribute(kAttrSkip) ? 1 : 0); return;
    case kPropTransparent: windows::PushPropertyNumber(HasAttribute(kAttrTransparent) ? 1 : 0); return;
    case kPropHandle:
      windows::PushPropertyNumber(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(m_handle)));
      return;
    case kPropZOrder: {
      HWND previous = m_handle != nullptr ? GetWindow(m_handle, GW_HWNDPREV) : nullptr;
      windows::WindowControl* before = previous != nullptr ? m_window->ControlOfHandle(previous) : nullptr;
      windows::PushPropertyNumber(before != nullptr && before->Handle() == previous ? before->FieldNumber()
                                                                                    : 0);
      return;
    }
    case kPropWindowProcedure:
      windows::PushPropertyNumber(
          m_handle != nullptr ? static_cast<std::int64_t>(GetWindowLongPtrA(m_handle, GWLP_WNDPROC)) : 0);
      return;
    case kPropFontFace: windows::PushPropertyText(m_fontData.face.value_or(std::string())); return;
    case kPropFontSize: windows::PushPropertyNumber(m_fontData.points); return;
    case kPropFontStyle:
      windows::PushPropertyNumber(m_fontData.style == windows::kNoColour ? 0 : m_fontData.style);
      return;
    default: values::PushEmpty(); return;
  }
}

}  // namespace vel::controls
