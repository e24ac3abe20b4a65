#include "runtime/controls/prompt_control.h"

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_promptClass{"VelPrompt", "Static", 0};

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

LRESULT PromptControl::HandleMessage(UINT, WPARAM, LPARAM, bool&) { return 0; }

int PromptControl::DefaultWidth() { return TextExtent(CurrentText()); }

int PromptControl::DefaultHeight() { return FontHeight(); }

void RegisterPromptKind() { RegisterControlKind(windows::kKindPrompt, CreateKind<PromptControl>); }

}  // namespace vel::controls
