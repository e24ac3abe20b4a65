#include "runtime/controls/list_control.h"

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/drop_list_control.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_listClass{"VelList", nullptr, CS_DBLCLKS};

std::unique_ptr<ControlBase> CreateListOrDropList(const windows::Record& record) {
  if (record.dropRows != 0) return std::make_unique<DropListControl>(record);
  return std::make_unique<ListControl>(record);
}

}  // namespace

ListControl::ListControl(const windows::Record& record) : WindowedControl(record), m_values(record.values) {}

void ListControl::Construct(const windows::Record& record) {
  CreateControlWindow(&record, g_listClass, ControlWindowProcedure<g_listClass>, 0, std::nullopt,
                      WS_VISIBLE | WS_TABSTOP);
}

LRESULT ListControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  return HandleBaseWindowMessage(message, wParam, lParam, passOn);
}

void RegisterListKind() { RegisterControlKind(windows::kKindList, CreateListOrDropList); }

}  // namespace vel::controls
