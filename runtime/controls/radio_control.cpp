#include "runtime/controls/radio_control.h"

#include <algorithm>

#include "runtime/controls/control_container.h"
#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/option_control.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/query_messages.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_radioClass{"VelRadio", "button", 0};

}  // namespace

RadioControl::RadioControl(const windows::Record& record) : ButtonControl(record), m_value(record.value) {
  if (m_container != nullptr) {
    if (const ControlContainer* holder = m_container->AsContainer())
      m_ordinal = static_cast<int>(holder->Children().size()) + 1;
  }
}

void RadioControl::Construct(const windows::Record& record) {
  DWORD style = WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;
  if ((m_attributes & kAttrJustifyMask) == kAttrJustifyLeft) style |= BS_LEFTTEXT;
  CreateButtonWindow(record, g_radioClass, ControlWindowProcedure<g_radioClass>, style);
}

std::string RadioControl::ComparedValue() const { return m_value ? *m_value : CurrentText(); }

OptionControl* RadioControl::Box() const { return dynamic_cast<OptionControl*>(m_container); }

LRESULT RadioControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  if ((message == BM_SETCHECK || message == kPrivateSetCheck) && wParam != 0) {
    // Checking a radio button other than the box's choice is choosing it; the check itself is
    // drawn by the class as usual.
    OptionControl* box = Box();
    if (box != nullptr && box->CurrentOrdinal() != m_ordinal) {
      box->PostFieldEvent(windows::EVENT_Accepted);
      box->ChooseRadio(*this);
    }
  }
  return ButtonControl::HandleMessage(message, wParam, lParam, passOn);
}

LRESULT RadioControl::Act(WPARAM wParam, LPARAM lParam) {
  WORD notification = HIWORD(wParam);
  if (notification != BN_CLICKED && notification != BN_DOUBLECLICKED) return 0;
  if (lParam == 0) {
    ShowPress();
  } else {
    PressAction();
  }
  return 0;
}

SIZE RadioControl::StandardClassSize(SIZE text) const {
  constexpr int kMarkSize = 13;
  constexpr int kMarkGap = 4;
  constexpr int kFocusRoom = 1;
  if (text.cx == 0) return SIZE{kMarkSize, kMarkSize};
  return SIZE{kMarkSize + kMarkGap + text.cx + 2 * kFocusRoom, std::max<LONG>(kMarkSize, text.cy + 2 * kFocusRoom)};
}

void RadioControl::PressAction() {
  if (m_handle == nullptr) return;
  if (OptionControl* box = Box()) {
    for (ControlBase* child : box->Children()) {
      auto* other = dynamic_cast<RadioControl*>(child);
      if (other != nullptr && other != this && other->Handle() != nullptr)
        SendMessageA(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
  SendMessageA(m_handle, BM_SETCHECK, BST_CHECKED, 0);
}

void RegisterRadioKind() { RegisterControlKind(windows::kKindRadio, CreateKind<RadioControl>); }

}  // namespace vel::controls
