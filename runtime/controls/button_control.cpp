#include "runtime/controls/button_control.h"

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/windows/unit_conversion.h"

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
}

bool ButtonControl::IsDefaultButton() const {
  return (m_definitionFlags & windows::kButtonDefault) != 0 && !HasAttribute(kAttrSkip) &&
         !HasState(kStateToolbar);
}

void ButtonControl::Construct(const windows::Record& record) {
  DWORD style = WS_VISIBLE | WS_TABSTOP | (IsDefaultButton() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  CreateControlWindow(&record, g_buttonClass, ControlWindowProcedure<g_buttonClass>, 0, record.text, style);
}

LRESULT ButtonControl::HandleMessage(UINT, WPARAM, LPARAM, bool&) { return 0; }

void RegisterButtonKind() { RegisterControlKind(windows::kKindButton, CreateKind<ButtonControl>); }

}  // namespace vel::controls
