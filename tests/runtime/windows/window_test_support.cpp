#include "tests/runtime/windows/window_test_support.h"

#include <fstream>
#include <sstream>

#include "runtime/services/error_state.h"
#include "runtime/windows/accept_step.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/key_table.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/resource_names.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_services.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_close.h"
#include "runtime/windows/window_object_open.h"
#include "runtime/windows/window_record_order.h"

namespace vel::windows::testing {

std::string ReadSourceFile(const std::string& relativePath) {
  std::ifstream in(std::string(VEL_SOURCE_DIR) + "/" + relativePath);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

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

// Which kinds the test controls record.
bool g_recordButtons = false;
bool g_recordEntries = false;

}  // namespace

RecordingControl::RecordingControl(HWND parent, const Record& record)
    : m_field(record.field), m_text(record.text.value_or("")), m_texts(record.textBlock) {
  auto place = [](std::int32_t value, int fallback) {
    return value == kNotGiven ? fallback : static_cast<int>(value);
  };
  m_handle = CreateWindowExA(
      0, "button", m_text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, place(record.at.x, 0),
      place(record.at.y, 20 * m_field), place(record.at.width, 60), place(record.at.height, 18), parent,
      reinterpret_cast<HMENU>(static_cast<std::intptr_t>(m_field + kCommandIdentifierBase)), nullptr,
      nullptr);
  if (m_handle == nullptr) return;
  SetPropA(m_handle, "RecordingControl", reinterpret_cast<HANDLE>(this));
  m_base = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(m_handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
}

RecordingControl::~RecordingControl() {
  if (m_handle != nullptr && IsWindow(m_handle)) {
    SetWindowLongPtrA(m_handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_base));
    RemovePropA(m_handle, "RecordingControl");
    DestroyWindow(m_handle);
  }
}

char RecordingControl::HotKeyCharacter() const { return HotKeyCharacterOf(m_text); }

LRESULT CALLBACK RecordingControl::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<RecordingControl*>(GetPropA(window, "RecordingControl"));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: self->keysDown.push_back(wParam); break;
    case WM_CHAR: self->characters.push_back(static_cast<char>(wParam)); break;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO: self->editMessages.push_back(message); return 0;
    case QUERY_PFIELD: return reinterpret_cast<LRESULT>(self);
    default: break;
  }
  return CallWindowProcA(self->m_base, window, message, wParam, lParam);
}

namespace {

// Buttons and entries become push buttons, or recording controls where a test asked for them;
// a record with a variable binding takes the next USE address. Other kinds get no control.
SIZE BuildTestControls(WindowObject& window, const DefinitionView& view, std::uint32_t firstRecord) {
  for (const Record& record : ReadChain(view, firstRecord)) {
    void* useAddress = TakesUseAddress(record) ? window.TakeUseAddress() : nullptr;
    bool recording = (record.kind == kKindButton && g_recordButtons) || (record.kind == kKindEntry && g_recordEntries);
    if (recording) {
      window.controls.push_back(std::make_unique<RecordingControl>(window.client, record));
    } else if (record.kind == kKindButton || record.kind == kKindEntry) {
      window.controls.push_back(std::make_unique<ButtonControl>(window.client, record, useAddress));
    }
  }
  return SIZE{0, 0};
}

ProcedureWindow* g_notifyWindow = nullptr;

void CALLBACK NotifyWhenIdle(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (g_notifyWindow != nullptr && g_notifyWindow->IsOpen())
    PostEvent(g_notifyWindow->Object(), EVENT_Notify);
}

}  // namespace

void UseRecordingControls(bool entries) {
  g_recordButtons = true;
  g_recordEntries = entries;
}

RecordingControl* RecordingControlOf(ProcedureWindow& window, std::int32_t field) {
  return dynamic_cast<RecordingControl*>(window.Object().ControlOfField(field));
}

std::vector<std::uint8_t> CompileDefinitions(const std::string& text) {
  return tools::WriteDefinitionResource(tools::ParseDeclarations(text));
}

HMODULE TestModule() { return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x7E570000)); }

void WindowTest::SetUp() {
  services::SetRuntimeRunning(true);
  services::ClearError();
  SetDefinitionSource(&m_source);
  g_recordButtons = false;
  g_recordEntries = false;
  SetControlChainBuilder(BuildTestControls);
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

std::vector<std::int32_t> WindowTest::EventsWhileInputIsTaken(ProcedureWindow& window,
                                                              std::vector<std::int32_t>* keyCodes,
                                                              std::vector<std::int32_t>* fields) {
  // Timers come due only when the queue holds nothing else, so the Notify follows the input.
  g_notifyWindow = &window;
  SetTimer(nullptr, 0, 1, NotifyWhenIdle);
  std::vector<std::int32_t> events;
  for (;;) {
    std::int32_t number = NextEvent(window);
    if (number == -1 || number == Number(EVENT_Notify)) break;
    events.push_back(number);
    if (keyCodes != nullptr) keyCodes->push_back(KeyCode());
    if (fields != nullptr) fields->push_back(EventField());
  }
  g_notifyWindow = nullptr;
  return events;
}

}  // namespace vel::windows::testing
