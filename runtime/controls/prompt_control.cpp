#include "runtime/controls/prompt_control.h"

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/option_control.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_promptClass{"VelPrompt", "Static", 0};

bool NeverTakesFocus(std::uint8_t typeCode) {
  return typeCode == windows::kKindPrompt || typeCode == windows::kKindGroup || typeCode == windows::kKindBox ||
         typeCode == windows::kKindImage;
}

bool CanTakeFocus(HWND window) { return window != nullptr && IsWindowVisible(window) && IsWindowEnabled(window); }

}  // namespace

PromptControl::PromptControl(const windows::Record& record) : WindowedControl(record) {
  SetState(kStateHotKeyOwner, true);
}

void PromptControl::Construct(const windows::Record& record) {
  DWORD style = WS_VISIBLE;
  switch (m_attributes & kAttrJustifyMask) {
    case kAttrJustifyCentre: style |= SS_CENTER; break;
    case kAttrJustifyRight: style |= SS_RIGHT; break;
    default: break;
  }
  CreateControlWindow(&record, g_promptClass, ControlWindowProcedure<g_promptClass>, 0, record.text, style);
}

LRESULT PromptControl::HandleMessage(UINT message, WPARAM, LPARAM, bool& passOn) {
  switch (message) {
    case windows::QUERY_COMMAND:
    case WM_SETFOCUS:
      // Selecting a prompt, as its hot key does, leaves the focus with the control it labels.
      passOn = false;
      PassFocusOn();
      return 0;
    default: return 0;
  }
}

HWND PromptControl::NextFocusWindow() const {
  bool after = false;
  for (const auto& control : m_window->controls) {
    if (control.get() == static_cast<const windows::WindowControl*>(this)) {
      after = true;
      continue;
    }
    auto* next = dynamic_cast<WindowedControl*>(control.get());
    if (!after || next == nullptr || next->Handle() == nullptr || NeverTakesFocus(next->TypeCode())) continue;
    HWND target = next->Handle();
    if (next->TypeCode() == windows::kKindOption) {
      auto* option = dynamic_cast<OptionControl*>(next);
      target = option != nullptr ? option->FocusTarget() : nullptr;
    }
    if (CanTakeFocus(target)) return target;
  }
  return nullptr;
}

void PromptControl::PassFocusOn() {
  HWND target = NextFocusWindow();
  if (target == nullptr) return;
  SendMessageA(GetParent(target), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

int PromptControl::DefaultWidth() { return TextExtent(CurrentText()); }

int PromptControl::DefaultHeight() { return FontHeight(); }

void RegisterPromptKind() { RegisterControlKind(windows::kKindPrompt, CreateKind<PromptControl>); }

}  // namespace vel::controls
