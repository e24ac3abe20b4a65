// vel-preview's procedure in the test process: the window opens from its file, script steps of
// the headless display drive it, and the log shows what a procedure would see.

#include "tools/vel-preview/lib/preview_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sstream>

#include "app/application_module.h"
#include "platform/display/headless/headless_display.h"
#include "runtime/controls/control_framework_service.h"
#include "runtime/printing/common_dialogs.h"
#include "runtime/printing/printer_object.h"
#include "runtime/services/error_state.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/services/runtime_running.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_services.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object_close.h"
#include "runtime/windows/standard_actions.h"
#include "runtime/windows/window_object_controls.h"
#include "tests/support/dialog_steps.h"
#include "tests/support/print_server.h"

namespace vel::tools {
namespace {

std::string SourcePath(const std::string& relative) { return std::string(VEL_SOURCE_DIR) + "/" + relative; }

class PreviewSession : public ::testing::Test {
 protected:
  void SetUp() override {
    services::SetRuntimeRunning(true);
    services::ClearError();
    ASSERT_GE(windows::EnterRuntimeThread(), 0);
  }

  void TearDown() override {
    windows::CloseOpenWindowsAtShutdown();
    windows::LeaveRuntimeThread();
    windows::ResetThreadTable();
    services::SetRuntimeRunning(false);
  }

  /// Runs the tool's procedure on `file` with `arguments` (options after the file) while the
  /// headless display plays `script`; the log's lines.
  std::vector<std::string> Run(const std::string& file, std::vector<std::string> arguments,
                               const std::string& script) {
    arguments.insert(arguments.begin(), file);
    PreviewOptions options = ParsePreviewArguments(arguments);
    DefinitionFile definitions = LoadDefinitionFile(options.file);
    ChosenWindow window = ChooseWindow(definitions, options.label);
    PreviewVariables variables(definitions.path, window.bindings);
    CheckFieldValues(options, definitions, variables);
    std::string error;
    EXPECT_TRUE(platform::CurrentHeadlessDisplay()->QueueScript(script, &error)) << error;

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::tmpfile(), &std::fclose);
    m_status = RunPreviewProcedure(definitions, window, options, variables, out.get());
    std::rewind(out.get());
    std::vector<std::string> lines;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, out.get()) != nullptr) {
      std::string line(buffer);
      if (!line.empty() && line.back() == '\n') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  int m_status = -1;
};

std::vector<std::string> WithPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == line) return i;
  }
  return lines.size();
}

TEST_F(PreviewSession, TheSearchWindowOpensFilledAndClosesFromTheKeyboard) {
  std::vector<std::string> lines =
      Run(SourcePath("app/skarv001.wdc"), {"--set", "2=caf\xC3\xA9 news", "--set", "11=50", "--layout"},
          "key F4 alt");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "EVENT:OpenWindow");
  EXPECT_LT(IndexOf(lines, "EVENT:CloseWindow"), lines.size());
  EXPECT_EQ(m_status, 0);

  std::vector<std::string> layout = WithPrefix(lines, "layout ");
  ASSERT_FALSE(layout.empty());
  EXPECT_EQ(layout[0].rfind("layout field 0 VelWin", 0), 0u) << layout[0];
  int x = 0, y = 0, width = 0, height = 0;
  char className[64] = {};
  ASSERT_EQ(
      std::sscanf(layout[0].c_str(), "layout field 0 %63s %d %d %d %d", className, &x, &y, &width, &height),
      5);
  EXPECT_GT(width, 400) << "439 dialog units of an 8-point font";
  EXPECT_GT(height, 0);

  EXPECT_EQ(
      WithPrefix(lines, "final "),
      (std::vector<std::string>{"final field 2 = \"caf\xC3\xA9 news\"", "final field 7 = \"\"",
                                "final field 9 = \"\"", "final field 11 = 50", "final field 12 = \"\""}));
}

TEST_F(PreviewSession, TheLayoutListsEveryControlWindowInFieldOrder) {
  // The program's own control kinds, as its initialisers register them.
  controls::ControlFrameworkService(services::kInitialiseCall);
  app::StoreFirstControlKinds(services::kInitialiseCall);
  app::StoreFurtherControlKinds(services::kInitialiseCall);
  std::vector<std::string> lines = Run(SourcePath("app/skarv001.wdc"), {"--layout"}, "key F4 alt");
  controls::ControlFrameworkService(services::kTerminateCall);

  std::vector<std::string> layout = WithPrefix(lines, "layout ");
  ASSERT_EQ(layout.size(), 15u);
  const char* classes[] = {"VelPrompt", "VelEdit",   "VelButton", "VelButton", "VelButton",
                           "VelPrompt", "VelEdit",   "VelPrompt", "VelDrop",   "VelPrompt",
                           "VelDrop",   "VelOption", "VelRadio",  "VelRadio"};
  for (int field = 1; field <= 14; ++field) {
    char className[64] = {};
    int listed = 0, x = 0, y = 0, width = 0, height = 0;
    ASSERT_EQ(std::sscanf(layout[field].c_str(), "layout field %d %63s %d %d %d %d", &listed, className, &x,
                          &y, &width, &height),
              6)
        << layout[field];
    EXPECT_EQ(listed, field);
    EXPECT_STREQ(className, classes[field - 1]);
    EXPECT_GE(width, 0);
  }
}

// The File menu's Print Setup item (standard action 0x10) opens the printer dialog of the
// program's printing system; the printer chosen there is the one the runtime prints on.
TEST_F(PreviewSession, PrintSetupFromAMenuItemListsTheDesktopsPrintersAndItsChoiceIsThePrinter) {
  platform::testing::PrintServer server;
  if (!server.Running()) GTEST_SKIP() << server.Problem();
  ASSERT_TRUE(server.AddQueue("Office_Laser"));
  ASSERT_TRUE(server.AddQueue("Draft"));
  ASSERT_TRUE(server.SetDefault("Office_Laser"));
  windows::SetPrintSetupHook(printing::PrintSetupAction);

  std::vector<std::string> listed;
  std::string shownFirst;
  platform::testing::DialogSteps steps(
      {[&](HWND dialog) {
         HWND printers = GetDlgItem(dialog, cmb1);
         LRESULT count = SendMessageA(printers, CB_GETCOUNT, 0, 0);
         for (LRESULT row = 0; row < count; ++row) {
           char text[128] = {};
           if (SendMessageA(printers, CB_GETLBTEXTLEN, row, 0) < static_cast<LRESULT>(sizeof text)) {
             SendMessageA(printers, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text));
           }
           listed.push_back(text);
         }
         shownFirst = platform::testing::ControlText(dialog, cmb1);
         SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(printers), TRUE);
         platform::CurrentHeadlessDisplay()->PressKey(VK_UP, platform::kNoModifier);
       },
       [&](HWND) { platform::CurrentHeadlessDisplay()->PressKey(VK_RETURN, platform::kNoModifier); }});
  std::vector<std::string> lines = Run(SourcePath("examples/print_setup.wdc"), {}, "key F alt; key S; key F4 alt");
  windows::SetPrintSetupHook(nullptr);

  EXPECT_EQ(steps.Ran(), 2u) << "the dialog opened from the menu";
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"Draft", "Office_Laser"}));
  EXPECT_EQ(shownFirst, "Office_Laser") << "the default printer comes first";
  EXPECT_EQ(printing::PrinterName(), "Draft");
  printing::ResetPrinter();
  // The window is active again once the dialog is gone, so Alt+F4 reaches it.
  EXPECT_LT(IndexOf(lines, "EVENT:CloseWindow"), lines.size());
  EXPECT_EQ(m_status, 0);
}

TEST_F(PreviewSession, ARefusedEventIsNotCarriedOut) {
  // The window menu's Minimize asks first (the window raises size events); refused, the window
  // is never minimised, and the Close after it ends the loop.
  std::vector<std::string> lines =
      Run(SourcePath("app/skarv001.wdc"), {"--refuse", "Iconize"}, "key SPACE alt; key N; key F4 alt");
  std::size_t iconize = IndexOf(lines, "EVENT:Iconize");
  ASSERT_LT(iconize + 1, lines.size());
  EXPECT_EQ(lines[iconize + 1], "  refused");
  EXPECT_EQ(IndexOf(lines, "EVENT:Iconized"), lines.size());
  EXPECT_LT(iconize, IndexOf(lines, "EVENT:CloseWindow"));
  EXPECT_EQ(WithPrefix(lines, "final ").size(), 5u);
}

TEST_F(PreviewSession, AnotherWindowOfAFileOpensByItsLabel) {
  std::vector<std::string> lines = Run(SourcePath("app/skarv_sf.wdc"), {"P22$JUMPWINDOW"}, "key F4 alt");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "EVENT:OpenWindow");
  EXPECT_EQ(WithPrefix(lines, "final "), (std::vector<std::string>{"final field 2 = 0"}))
      << "its page spin box";
}

}  // namespace
}  // namespace vel::tools
