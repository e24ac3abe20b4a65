#include "runtime/controls/drop_list_control.h"

#include "runtime/controls/control_dispatcher.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_dropClass{"VelDrop", nullptr, CS_HREDRAW | CS_VREDRAW};

}  // namespace

DropListControl::DropListControl(const windows::Record& record)
    : ListControl(record), m_dropRows(record.dropRows) {
  SetState(kStateTabStopFollowsSkip, true);
}

void DropListControl::Construct(const windows::Record& record) {
  CreateControlWindow(&record, g_dropClass, ControlWindowProcedure<g_dropClass>, 0, std::nullopt,
                      WS_VISIBLE | WS_TABSTOP);
}

}  // namespace vel::controls
