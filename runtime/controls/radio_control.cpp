#include "runtime/controls/radio_control.h"

#include "runtime/controls/control_container.h"
#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_radioClass{"VelRadio", "button", 0};

}  // namespace

RadioControl::RadioControl(const windows::Record& record)
    : ButtonControl(record), m_value(record.value ? *record.value : record.text.value_or(std::string())) {
  if (m_container != nullptr) {
    if (const ControlContainer* holder = m_container->AsContainer())
      m_ordinal = static_cast<int>(holder->Children().size()) + 1;
  }
}

void RadioControl::Construct(const windows::Record& record) {
  DWORD style = WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;
  if ((m_attributes & kAttrJustifyMask) == kAttrJustifyLeft) style |= BS_LEFTTEXT;
  CreateControlWindow(&record, g_radioClass, ControlWindowProcedure<g_radioClass>, 0, record.text, style);
}

void RegisterRadioKind() { RegisterControlKind(windows::kKindRadio, CreateKind<RadioControl>); }

}  // namespace vel::controls
