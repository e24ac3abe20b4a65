#include "runtime/windows/window_properties.h"

#include <string>

#include "runtime/values/decimal_string_stack.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/property_values.h"
#include "runtime/windows/window_icons.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_errors.h"
#include "runtime/windows/window_object_fields.h"
#include "runtime/windows/window_state.h"
#include "runtime/windows/window_timers.h"

namespace vel::windows {
namespace {

WindowObject* Resolve(WindowObject* window) {
  WindowObject* target = window != nullptr ? window : TargetWindow();
  return IsOpenWindow(target) && target->handle != nullptr ? target : nullptr;
}

std::string OptionalText(const std::optional<std::string>& text) { return text.value_or(std::string()); }

std::optional<std::string> TextOrNone(std::string text) {
  if (text.empty()) return std::nullopt;
  return text;
}

bool IsGeometry(std::int32_t property) { return property >= kPropX && property <= kPropHeight; }

bool IsNumeric(std::int32_t property) {
  switch (property) {
    case kPropIconized:
    case kPropMaximized:
    case kPropTimer:
    case kPropThread:
    case kPropAcceptAll:
      return true;
    default:
      return IsGeometry(property);
  }
}

// The value of a text property, or nullopt for a property that is not one.
std::optional<std::string> TextValue(const WindowObject& window, std::int32_t property) {
  switch (property) {
    case kPropCursor: return window.cursorName;
    case kPropIcon: return window.iconName;
    case kPropHelp: return OptionalText(window.defaultHelp);
    case kPropMessage: return OptionalText(window.defaultMessage);
    case kPropTitle: return window.title;
    default: return std::nullopt;
  }
}

std::int64_t NumericValue(const WindowObject& window, std::int32_t property) {
  if (IsGeometry(property)) return WindowGeometry(window, property - kPropX);
  switch (property) {
    case kPropIconized: return IsWindowMinimised(window) ? 1 : 0;
    case kPropMaximized: return IsWindowMaximised(window) ? 1 : 0;
    case kPropTimer: return window.timerInterval;
    case kPropThread: return window.threadSlot + 1;
    case kPropAcceptAll: return window.acceptAll ? 1 : 0;
    default: return 0;
  }
}

void SetText(WindowObject& window, std::int32_t property, std::string text) {
  switch (property) {
    case kPropCursor: ReplaceWindowCursor(window, text); break;
    case kPropIcon: ReplaceWindowIcon(window, text); break;
    case kPropHelp: window.defaultHelp = TextOrNone(std::move(text)); break;
    case kPropMessage: window.defaultMessage = TextOrNone(std::move(text)); break;
    case kPropTitle: SetWindowTitle(window, std::move(text)); break;
    default: break;
  }
}

void SetNumber(WindowObject& window, std::int32_t property, std::int32_t value) {
  if (IsGeometry(property)) {
    SetWindowGeometry(window, property - kPropX, value);
    return;
  }
  switch (property) {
    case kPropIconized: SetWindowMinimised(window, value != 0); break;
    case kPropMaximized: SetWindowMaximised(window, value != 0); break;
    case kPropTimer: RestartWindowTimer(window, value); break;
    case kPropAcceptAll:
      if (value != 0) {
        SelectWindowField(window, 0, 0, -1);
      } else {
        window.acceptAll = false;
        window.acceptAllField = 0;
      }
      break;
    default: break;  // read only
  }
}

}  // namespace

void GetWindowProperty(WindowObject* window, std::int32_t property) {
  WindowObject* target = Resolve(window);
  if (target == nullptr) {
    values::PushEmpty();
    ReportWindowError(kErrorWindowNotOpen);
    return;
  }
  if (std::optional<std::string> text = TextValue(*target, property)) {
    PushPropertyText(*text);
  } else if (IsNumeric(property)) {
    PushPropertyNumber(NumericValue(*target, property));
  } else if (property == kPropHandle) {
    PushPropertyNumber(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(target->handle)));
  } else if (property == kPropWindowProcedure || property == kPropWindowProcedure2) {
    PushPropertyNumber(static_cast<std::int64_t>(GetWindowLongPtrA(target->handle, GWLP_WNDPROC)));
  } else {
    values::PushEmpty();
  }
}

void SetWindowProperty(WindowObject* window, std::int32_t property) {
  WindowObject* target = Resolve(window);
  if (target == nullptr) {
    values::DropTop();
    ReportWindowError(kErrorWindowNotOpen);
    return;
  }
  if (TextValue(*target, property)) {
    SetText(*target, property, PopPropertyText());
  } else if (IsNumeric(property)) {
    SetNumber(*target, property, values::PopToLong());
  } else if (property == kPropWindowProcedure || property == kPropWindowProcedure2) {
    std::int64_t procedure = PopPropertyNumber();
    if (procedure != 0) SetWindowLongPtrA(target->handle, GWLP_WNDPROC, static_cast<LONG_PTR>(procedure));
  } else {
    values::DropTop();
  }
}

}  // namespace vel::windows
