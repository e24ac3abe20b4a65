#include "tests/runtime/ipc/ipc_harness.h"

#include "runtime/ipc/ipc_services.h"
#include "runtime/ipc/vbx_bridge.h"
#include "runtime/services/error_state.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/runtime_running.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/resource_names.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_services.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object_open.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::ipc::testing {
namespace {

constexpr const char* kDefinitionName = "ipctest$IPC";

}  // namespace

RuntimeHarness::RuntimeHarness() {
  services::SetRuntimeRunning(true);
  services::ClearError();
  windows::SetDefinitionSource(&m_source);
  windows::EnterRuntimeThread();
  DdeService(services::kInitialiseCall);
  CustomControlBridgeService(services::kInitialiseCall);
}

RuntimeHarness::~RuntimeHarness() {
  windows::CloseOpenWindowsAtShutdown();
  windows::WaitForOtherThreads();
  CustomControlBridgeService(services::kTerminateCall);
  DdeService(services::kTerminateCall);
  windows::LeaveRuntimeThread();
  windows::ResetThreadTable();
  windows::SetDefinitionSource(nullptr);
  services::SetRuntimeRunning(false);
}

void RuntimeHarness::Open(windows::ProcedureWindow& window, const std::string& title) {
  std::string label = "W" + std::to_string(reinterpret_cast<std::uintptr_t>(&window) % 100000);
  std::string qualified = kDefinitionName + label;
  std::string declarations =
      "definition \"" + qualified + "\"\nwindow \"" + label + "\" title(\"" + title + "\")\nend\n";
  m_source.Add(GetModuleHandleA(nullptr), windows::DefinitionResourceName(qualified),
               tools::WriteDefinitionResource(tools::ParseDeclarations(declarations)));
  window.Open(qualified, label);
}

std::int32_t NextEvent(windows::ProcedureWindow& window) {
  while (window.Accept()) {
    switch (windows::EventNumber() + windows::kEventBase) {
      case windows::EVENT_Sized:
      case windows::EVENT_Moved:
      case windows::EVENT_LoseFocus:
      case windows::EVENT_GainFocus: continue;
      default: return windows::EventNumber();
    }
  }
  return -1;
}

}  // namespace vel::ipc::testing
