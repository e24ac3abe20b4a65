#include "runtime/controls/group_control.h"

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_groupClass{"VelGroup", "Button", 0};

}  // namespace

GroupControl::GroupControl(const windows::Record& record) : OptionControl(record) {}

void GroupControl::Construct(const windows::Record& record) {
  CreateContainerWindow(record, g_groupClass, ControlWindowProcedure<g_groupClass>);
}

void RegisterGroupKind() { RegisterControlKind(windows::kKindGroup, CreateKind<GroupControl>); }

}  // namespace vel::controls
