#include "tests/app/search_window_session.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "app/application_module.h"
#include "app/search_fields.h"
#include "app/search_window_procedure.h"
#include "app/service_address.h"
#include "platform/display/headless/headless_display.h"
#include "runtime/controls/control_base.h"
#include "runtime/controls/control_framework_service.h"
#include "runtime/services/error_state.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/runtime_running.h"
#include "runtime/services/trace_log.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/resource_names.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/thread_services.h"
#include "runtime/windows/window_object_open.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::app::testing {
namespace {

SearchWindowSession* g_session = nullptr;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

void SearchWindowSession::SetUp() {
  SettingsFolderTest::SetUp();
  // The trace log is written in the current folder.
  m_previousDir = std::filesystem::current_path();
  std::filesystem::current_path(m_dir);
  services::RestartTraceLog();

  services::SetRuntimeRunning(true);
  services::ClearError();
  controls::ControlFrameworkService(services::kInitialiseCall);
  StoreFirstControlKinds(services::kInitialiseCall);
  StoreFurtherControlKinds(services::kInitialiseCall);
  AddSearchWindowDefinition(m_definitions);
  windows::SetDefinitionSource(&m_definitions);
  ASSERT_GE(windows::EnterRuntimeThread(), 0);
  g_session = this;
}

void SearchWindowSession::TearDown() {
  g_session = nullptr;
  windows::CloseOpenWindowsAtShutdown();
  windows::LeaveRuntimeThread();
  windows::ResetThreadTable();
  windows::SetDefinitionSource(nullptr);
  controls::ControlFrameworkService(services::kTerminateCall);
  services::SetRuntimeRunning(false);
  services::RestartTraceLog();
  std::filesystem::current_path(m_previousDir);
  SettingsFolderTest::TearDown();
}

namespace {

platform::HeadlessDisplay& Display() { return *platform::CurrentHeadlessDisplay(); }

/// Where a window's middle lies on the screen.
POINT MiddleOf(HWND window) {
  RECT place{};
  GetWindowRect(window, &place);
  return POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

bool IsDropList(std::int32_t field) { return field == kViewFormatField || field == kMaximumHitsField; }

}  // namespace

void SearchWindowSession::Enter(std::int32_t field, const std::string& text) {
  Then([field] {
    HWND control = FieldHandle(field);
    ASSERT_NE(control, nullptr);
    Display().Click(MiddleOf(control));
  });
  if (IsDropList(field)) {
    // The click opened the list; the first character finds the row and closes the list, as a
    // click on the row would. (An Enter after it would press the window's default button.)
    Then([field] { ASSERT_TRUE(SendMessageA(FieldHandle(field), CB_GETDROPPEDSTATE, 0, 0)) << field; });
    Then([text] { Display().TypeText(text.substr(0, 1)); });
    Then([field] { ASSERT_FALSE(SendMessageA(FieldHandle(field), CB_GETDROPPEDSTATE, 0, 0)) << field; });
    return;
  }
  // Whatever the entry holds is replaced; the value is read back when the focus moves on.
  Then([] {
    Display().PressKey(VK_HOME);
    Display().PressKey(VK_END, platform::kShift);
    Display().PressKey(VK_DELETE);
  });
  Then([text] { Display().TypeText(text); });
}

void SearchWindowSession::Press(std::int32_t field) {
  Then([field] { Display().Click(MiddleOf(FieldHandle(field))); });
}

void SearchWindowSession::Key(BYTE virtualKey) {
  Then([virtualKey] { Display().PressKey(virtualKey); });
}

void CALLBACK SearchWindowSession::NextAction(HWND, UINT, UINT_PTR, DWORD) {
  if (g_session == nullptr || windows::TargetWindow() == nullptr) return;
  if (g_session->m_actions.empty()) {
    // Whatever the test left open ends as the desktop ends a window.
    PostMessageA(WindowHandle(), WM_CLOSE, 0, 0);
    return;
  }
  std::function<void()> action = std::move(g_session->m_actions.front());
  g_session->m_actions.pop_front();
  action();
}

void SearchWindowSession::RunProcedure() {
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, &NextAction);
  SKARV001();
  KillTimer(nullptr, timer);
  EXPECT_TRUE(m_actions.empty()) << "the window closed before every action ran";
}

HWND SearchWindowSession::WindowHandle() { return windows::TargetWindow()->handle; }

HWND SearchWindowSession::FieldHandle(std::int32_t field) {
  windows::WindowControl* control = windows::TargetWindow()->ControlOfField(field);
  return control != nullptr ? control->Handle() : nullptr;
}

std::string SearchWindowSession::FieldText(std::int32_t field) {
  char text[128] = {};
  GetWindowTextA(FieldHandle(field), text, sizeof text);
  return text;
}

std::string SearchWindowSession::TraceLog() const { return ReadText(m_dir / "V4LOG.TXT"); }

void AddSearchWindowDefinition(windows::MemoryResourceSource& source) {
  source.Add(GetModuleHandleA(nullptr), windows::DefinitionResourceName("skarvine$SKARV001"),
             tools::WriteDefinitionResource(
                 tools::ParseDeclarations(ReadText(std::filesystem::path(VEL_SOURCE_DIR) / "app/skarv001.wdc"))));
}

std::string ExpectedAddress(const std::string& search, const std::string& andOr, const std::string& format,
                            const std::string& hits, const std::string& author) {
  return std::string(kDefaultServiceAddress) + "/skquery.xp?QRY=" + search + "&DBS=1&ST=PS&defaultOp=" + andOr +
         "&LNG=ALL&format=" + format + "&showsort=score&maxhits=" + hits +
         "&subjects=&groups=comp.lang.velmora&authors=" + author + "&fromdate=&todate=";
}

}  // namespace vel::app::testing
