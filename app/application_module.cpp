#include "app/application_module.h"

#include <iterator>

#include "runtime/controls/box_control.h"
#include "runtime/controls/button_control.h"
#include "runtime/controls/control_framework_service.h"
#include "runtime/controls/entry_control.h"
#include "runtime/controls/group_control.h"
#include "runtime/controls/image_control.h"
#include "runtime/controls/list_control.h"
#include "runtime/controls/option_control.h"
#include "runtime/controls/prompt_control.h"
#include "runtime/controls/radio_control.h"
#include "runtime/controls/spin_control.h"
#include "runtime/controls/toolbar_control.h"
#include "runtime/ipc/ipc_services.h"
#include "runtime/ipc/vbx_bridge.h"
#include "runtime/printing/common_dialogs.h"
#include "runtime/services/service_routines.h"
#include "runtime/services/settings_setup.h"
#include "runtime/windows/standard_actions.h"
#include "runtime/windows/thread_services.h"

namespace vel::app {
namespace {

using services::InitialiserEntry;

ApplicationGlobals g_programWideValues{};

// Both routine fields hold the same routine; it tells initialise from terminate by its argument.
constexpr InitialiserEntry Entry(std::int32_t priority, services::ModuleRoutine routine) {
  return InitialiserEntry{priority, routine, routine};
}

// Every service the program uses, by priority: the highest initialise first and terminate last.
// The runtime walks the table from 255 down, so the order of the rows only matters within a
// priority.
const InitialiserEntry g_initialiserTable[] = {
    Entry(255, services::TraceLogLockService),
    Entry(150, services::ImageSupportService),
    Entry(150, services::FontService),
    Entry(28, services::CharacterTablesService),
    Entry(16, services::StringStackService),
    Entry(16, services::DecimalStackService),
    Entry(16, services::PictureService),
    Entry(16, services::NameBindingService),
    Entry(16, services::ValueReferenceService),
    Entry(16, services::ProgramInstanceRecordService),
    Entry(16, services::WindowDefinitionBufferService),
    Entry(16, services::WindowClassService),
    Entry(16, windows::OpenWindowListService),
    Entry(16, services::EventQueueService),
    Entry(16, services::MenuService),
    Entry(16, services::KeyboardService),
    Entry(16, services::GlobalTimerService),
    Entry(16, services::ClientAreaLayoutService),
    Entry(16, ipc::DdeService),
    Entry(16, windows::ThreadTableService),
    Entry(16, windows::RuntimeLockService),
    Entry(16, controls::ControlFrameworkService),
    Entry(16, services::TooltipService),
    Entry(16, services::ToolbarService),
    Entry(16, services::DragAndDropService),
    Entry(16, ipc::CustomControlBridgeService),
    Entry(16, services::PrinterTargetService),
    Entry(16, services::PrintDialogService),
    Entry(5, StoreFirstControlKinds),
    Entry(5, InitialiseProgramWideValues),
    Entry(5, StoreFurtherControlKinds),
};

static_assert(std::size(g_initialiserTable) == 31, "the program initialises 31 services");

services::ModuleDescriptor g_applicationModule{
    nullptr,
    std::begin(g_initialiserTable),
    std::end(g_initialiserTable),
    nullptr,
    // No second data area, no data-import fixups and no import area.
    nullptr,
    nullptr,
    reinterpret_cast<std::byte*>(&g_programWideValues),
    reinterpret_cast<std::byte*>(&g_programWideValues) + sizeof g_programWideValues,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace

ApplicationGlobals& ProgramWideValues() { return g_programWideValues; }

services::ModuleDescriptor& ApplicationModule() { return g_applicationModule; }

void StoreFirstControlKinds(int call) {
  // Called on terminate as well; the factory keeps its slots until the program ends.
  if (call != services::kInitialiseCall) return;
  controls::RegisterBoxKind();
  controls::RegisterImageKind();
  controls::RegisterEntryKind();
  controls::RegisterButtonKind();
  controls::RegisterPromptKind();
  controls::RegisterOptionKind();
}

void InitialiseProgramWideValues(int call) {
  if (call != services::kInitialiseCall) return;
  services::RunRuntimeSettingsSetUpOnce();
  windows::SetPrintSetupHook(printing::PrintSetupAction);
  g_programWideValues = ApplicationGlobals{0, 0, 0};
}

void StoreFurtherControlKinds(int call) {
  if (call != services::kInitialiseCall) return;
  controls::RegisterGroupKind();
  controls::RegisterListKind();
  controls::RegisterSpinKind();
  controls::RegisterRadioKind();
  controls::RegisterToolbarKind();
}

}  // namespace vel::app
