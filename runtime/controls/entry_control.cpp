#include "runtime/controls/entry_control.h"

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_editClass{"VelEdit", nullptr, CS_DBLCLKS};

}  // namespace

EntryControl::EntryControl(const windows::Record& record)
    : WindowedControl(record),
      m_picture(record.picture.value_or(std::string())),
      m_editMode(record.editMode) {
  SetState(kStateTabStopFollowsSkip, true);
}

ControlClassDescriptor& EntryControl::EditClass() { return g_editClass; }

void EntryControl::CreateEditWindow(const windows::Record& record) {
  CreateControlWindow(&record, g_editClass, ControlWindowProcedure<g_editClass>, 0, std::nullopt,
                      WS_VISIBLE | WS_TABSTOP);
}

void EntryControl::Construct(const windows::Record& record) { CreateEditWindow(record); }

LRESULT EntryControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  return HandleBaseWindowMessage(message, wParam, lParam, passOn);
}

void RegisterEntryKind() { RegisterControlKind(windows::kKindEntry, CreateKind<EntryControl>); }

}  // namespace vel::controls
