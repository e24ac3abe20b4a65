#include "runtime/controls/option_control.h"

#include "runtime/controls/control_chain.h"
#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/radio_control.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_optionClass{"VelOption", "Button", 0};

/// Storage kinds below this are numbers; from it up, strings.
constexpr int kFirstStringKind = 18;

bool IsNumeric(UseLink& use) { return use.Reference().TypeCode() < kFirstStringKind; }

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

LRESULT OptionControl::HandleMessage(UINT message, WPARAM, LPARAM, bool& passOn) {
  if (message != WM_SETFOCUS) return 0;
  passOn = false;
  HWND target = FocusTarget();
  if (target != nullptr) SetFocus(target);
  return 0;
}

HWND OptionControl::FocusTarget() const {
  HWND first = nullptr;
  for (ControlBase* child : Children()) {
    auto* radio = dynamic_cast<RadioControl*>(child);
    if (radio == nullptr || radio->Handle() == nullptr) continue;
    if (radio->Ordinal() == m_ordinal) return radio->Handle();
    if (first == nullptr) first = radio->Handle();
  }
  return first;
}

void OptionControl::ChooseRadio(RadioControl& radio) {
  m_ordinal = radio.Ordinal();
  if (!m_use) return;
  if (radio.ValueString()) {
    m_use->Assign(*radio.ValueString());
  } else if (IsNumeric(*m_use)) {
    m_use->Reference().SetInt(m_ordinal);
  } else {
    m_use->Assign(radio.CurrentText());
  }
  RefreshChecks();
}

void OptionControl::DisplayUseValue() {
  m_ordinal = 0;
  if (!m_use) return;
  std::string value = m_use->DisplayText();
  const std::vector<ControlBase*>& children = Children();
  for (auto child = children.rbegin(); child != children.rend() && m_ordinal == 0; ++child) {
    auto* radio = dynamic_cast<RadioControl*>(*child);
    if (radio != nullptr && radio->ComparedValue() == value) m_ordinal = radio->Ordinal();
  }
  if (m_ordinal == 0) m_ordinal = OrdinalByPrefixOrNumber(IsNumeric(*m_use));
  RefreshChecks();
}

int OptionControl::OrdinalByPrefixOrNumber(bool numeric) {
  int radios = 0;
  for (ControlBase* child : Children()) {
    if (dynamic_cast<RadioControl*>(child) != nullptr) ++radios;
  }
  if (numeric) {
    std::int32_t value = m_use->Reference().GetInt();
    return value >= 1 && value <= radios ? value : 0;
  }
  std::string prefix = m_use->DisplayText();
  if (prefix.empty()) return 0;
  const std::vector<ControlBase*>& children = Children();
  for (auto child = children.rbegin(); child != children.rend(); ++child) {
    auto* radio = dynamic_cast<RadioControl*>(*child);
    if (radio != nullptr && radio->ComparedValue().starts_with(prefix)) return radio->Ordinal();
  }
  return 0;
}

void OptionControl::RefreshChecks() {
  // The box's ordinal is set first, so checking its choice is no new choice.
  for (ControlBase* child : Children()) {
    auto* radio = dynamic_cast<RadioControl*>(child);
    if (radio == nullptr || radio->Handle() == nullptr) continue;
    SendMessageA(radio->Handle(), BM_SETCHECK, radio->Ordinal() == m_ordinal ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void RegisterOptionKind() { RegisterControlKind(windows::kKindOption, CreateKind<OptionControl>); }

}  // namespace vel::controls
