#include "runtime/controls/option_control.h"

#include "runtime/controls/control_chain.h"
#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/radio_control.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_optionClass{"VelOption", "Button", 0};

}  // namespace

OptionControl::OptionControl(const windows::Record& record) : WindowedControl(record) {}

void OptionControl::CreateContainerWindow(const windows::Record& record, ControlClassDescriptor& descriptor,
                                          WNDPROC procedure) {
  DWORD style = BS_GROUPBOX | (HasAttribute(kAttrBoxed) ? WS_VISIBLE : 0);
  CreateControlWindow(&record, descriptor, procedure, 0, record.text, style);
  BuildControlChain(this, record.firstChild, m_messageText, m_helpKeyword);
  // The radio buttons did not exist when the window first showed the variable.
  if (m_use) DisplayUseValue();
}

void OptionControl::Construct(const windows::Record& record) {
  CreateContainerWindow(record, g_optionClass, ControlWindowProcedure<g_optionClass>);
}

LRESULT OptionControl::HandleMessage(UINT, WPARAM, LPARAM, bool&) { return 0; }

void OptionControl::DisplayUseValue() {
  if (!m_use) return;
  bool byText = m_use->Reference().ArithmeticType() == values::kArithmeticText;
  std::string text = byText ? m_use->DisplayText() : std::string();
  std::int32_t ordinal = byText ? 0 : m_use->Reference().GetInt();
  for (ControlBase* child : Children()) {
    auto* radio = dynamic_cast<RadioControl*>(child);
    if (radio == nullptr || radio->Handle() == nullptr) continue;
    bool chosen = byText ? radio->Value() == text : radio->Ordinal() == ordinal;
    SendMessageA(radio->Handle(), BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void RegisterOptionKind() { RegisterControlKind(windows::kKindOption, CreateKind<OptionControl>); }

}  // namespace vel::controls
