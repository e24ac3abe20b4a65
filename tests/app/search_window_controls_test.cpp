// The application module fills the control factory: the search window opens from its own
// declaration with every one of its controls, each of its kind's class, with its variables.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/application_module.h"
#include "runtime/controls/control_framework_service.h"
#include "runtime/controls/windowed_control.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/runtime_running.h"
#include "runtime/windows/procedure_window.h"
#include "runtime/windows/resource_names.h"
#include "runtime/windows/resource_source.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object_open.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::app {
namespace {

std::string ReadSource(const std::string& relative) {
  std::ifstream in(std::string(VEL_SOURCE_DIR) + "/" + relative);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[128] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST(SearchWindowControls, TheApplicationsKindsBuildEveryControlOfTheSearchWindow) {
  // The application's own routines, without the rest of its initialisers (the settings set-up
  // runs once per process).
  controls::ControlFrameworkService(services::kInitialiseCall);
  StoreFirstControlKinds(services::kInitialiseCall);
  StoreFurtherControlKinds(services::kInitialiseCall);
  services::SetRuntimeRunning(true);
  windows::MemoryResourceSource source;
  source.Add(GetModuleHandleA(nullptr), windows::DefinitionResourceName("skarvine$SKARV001"),
             tools::WriteDefinitionResource(tools::ParseDeclarations(ReadSource("app/skarv001.wdc"))));
  windows::SetDefinitionSource(&source);
  ASSERT_GE(windows::EnterRuntimeThread(), 0);
  {
    char searchText[20];
    char author[20];
    char format[20];
    std::int16_t hits = 50;
    char andOr[20];
    std::memcpy(searchText, "usenet archive      ", 20);
    std::memcpy(author, "                    ", 20);
    std::memcpy(format, "threaded            ", 20);
    std::memcpy(andOr, "AND                 ", 20);
    windows::ProcedureWindow window;
    window.Open("skarvine$SKARV001", "P1$WINNAME", {searchText, author, format, &hits, andOr});
    ASSERT_TRUE(window.IsOpen());
    const char* expected[] = {"VelPrompt", "VelEdit",   "VelButton", "VelButton", "VelButton",
                              "VelPrompt", "VelEdit",   "VelPrompt", "VelDrop",   "VelPrompt",
                              "VelDrop",   "VelOption", "VelRadio",  "VelRadio"};
    ASSERT_EQ(window.Object().controls.size(), std::size(expected));
    for (std::int32_t field = 1; field <= 14; ++field) {
      windows::WindowControl* control = window.Object().ControlOfField(field);
      ASSERT_NE(control, nullptr) << field;
      EXPECT_EQ(ClassOf(control->Handle()), expected[field - 1]) << field;
    }
    EXPECT_EQ(TextOf(window.Object().ControlOfField(1)->Handle()), "Search String:");
    EXPECT_EQ(TextOf(window.Object().ControlOfField(2)->Handle()), "usenet archive");
    EXPECT_EQ(TextOf(window.Object().ControlOfField(9)->Handle()), "threaded");
    EXPECT_EQ(TextOf(window.Object().ControlOfField(11)->Handle()), "50");
    EXPECT_EQ(SendMessageA(window.Object().ControlOfField(14)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED)
        << "AND";
    EXPECT_EQ(SendMessageA(window.Object().ControlOfField(13)->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    window.Close();
  }
  windows::LeaveRuntimeThread();
  windows::ResetThreadTable();
  windows::SetDefinitionSource(nullptr);
  services::SetRuntimeRunning(false);
  controls::ControlFrameworkService(services::kTerminateCall);
}

}  // namespace
}  // namespace vel::app
