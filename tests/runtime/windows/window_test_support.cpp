#include "tests/runtime/windows/window_test_support.h"

#include "runtime/services/error_state.h"
#include "runtime/windows/accept_step.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/resource_names.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_services.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_close.h"
#include "runtime/windows/window_object_open.h"

namespace vel::windows::testing {

ButtonControl::ButtonControl(HWND parent, const Record& record, void* useAddress)
    : m_field(record.field), m_useAddress(useAddress) {
  m_handle = CreateWindowExA(0, "button", record.text.value_or("").c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 20 * m_field, 60, 18, parent,
                             reinterpret_cast<HMENU>(static_cast<std::intptr_t>(m_field)), nullptr, nullptr);
}

ButtonControl::~ButtonControl() {
  if (m_handle != nullptr && IsWindow(m_handle)) DestroyWindow(m_handle);
}

bool ButtonControl::Validate() { return Refusing().count(m_field) == 0; }

std::set<std::int32_t>& ButtonControl::Refusing() {
  static std::set<std::int32_t> refusing;
  return refusing;
}

namespace {

// Buttons and entries become push buttons; a record with a variable binding takes the next USE
// address. Other kinds get no control.
SIZE BuildButtons(WindowObject& window, const DefinitionView& view, std::uint32_t firstRecord) {
  for (const Record& record : ReadChain(view, firstRecord)) {
    void* useAddress = nullptr;
    if (record.use && !record.use->data && window.useCursor < window.useAddresses.size()) {
      useAddress = window.useAddresses[window.useCursor++];
    }
    if (record.kind != kKindButton && record.kind != kKindEntry) continue;
    window.controls.push_back(std::make_unique<ButtonControl>(window.client, record, useAddress));
  }
  return SIZE{0, 0};
}

}  // namespace

std::vector<std::uint8_t> CompileDefinitions(const std::string& text) {
  return tools::WriteDefinitionResource(tools::ParseDeclarations(text));
}

HMODULE TestModule() { return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x7E570000)); }

void WindowTest::SetUp() {
  services::SetRuntimeRunning(true);
  services::ClearError();
  SetDefinitionSource(&m_source);
  SetControlChainBuilder(BuildButtons);
  ButtonControl::Refusing().clear();
  ASSERT_GE(EnterRuntimeThread(), 0);
}

void WindowTest::TearDown() {
  // A failed test may leave windows open; they must not leak into the next test. Other
  // threads' windows are asked to close, so those threads end.
  CloseOpenWindowsAtShutdown();
  WaitForOtherThreads();
  LeaveRuntimeThread();
  ResetThreadTable();
  SetControlChainBuilder(nullptr);
  SetDefinitionSource(nullptr);
  services::SetRuntimeRunning(false);
}

void WindowTest::AddDefinitions(const std::string& qualifiedName, const std::string& declarations) {
  m_source.Add(TestModule(), DefinitionResourceName(qualifiedName), CompileDefinitions(declarations));
}

void WindowTest::AddProgramDefinitions(const std::string& qualifiedName, const std::string& declarations) {
  m_source.Add(GetModuleHandleA(nullptr), DefinitionResourceName(qualifiedName), CompileDefinitions(declarations));
}

std::int32_t WindowTest::NextEvent(ProcedureWindow& window) {
  while (window.Accept()) {
    std::int32_t number = EventNumber();
    switch (number + kEventBase) {
      case EVENT_Sized:
      case EVENT_Moved:
      case EVENT_LoseFocus:
      case EVENT_GainFocus:
        continue;
      default:
        return number;
    }
  }
  return -1;
}

std::int32_t WindowTest::NextEventOfAnyKind(ProcedureWindow& window) {
  return window.Accept() ? EventNumber() : -1;
}

}  // namespace vel::windows::testing
