// The custom-control bridge: placeholders, the errors of its creation, and the conversation
// with a stand-in server program found on PATH (or none). Waits run on the virtual clock.

#include "runtime/ipc/vbx_bridge.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/user/foreign_windows.h"
#include "platform/user/message_box_script.h"
#include "runtime/services/error_state.h"
#include "runtime/services/runtime_running.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window_object_controls.h"
#include "tests/runtime/ipc/ipc_harness.h"

namespace vel::ipc {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class VbxBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    m_harness.Open(m_window, "Holder");
    ASSERT_EQ(testing::NextEvent(m_window), testing::Number(windows::EVENT_OpenWindow));
    platform::ClearMessageBoxLog();
    char directory[] = "/tmp/velvbx.XXXXXX";
    ASSERT_NE(mkdtemp(directory), nullptr);
    m_directory = directory;
    m_log = m_directory + "/commands.txt";
    m_savedPath = getenv("PATH");
    // Only the test's own directory is searched for the server.
    setenv("PATH", m_directory.c_str(), 1);
    setenv("VBX_STAND_IN_LOG", m_log.c_str(), 1);
    unsetenv("VBX_STAND_IN_MODE");
  }
  void TearDown() override {
    std::string log = ReadFile(m_log);
    if (log.rfind("pid ", 0) == 0) kill(static_cast<pid_t>(std::stol(log.substr(4))), SIGKILL);
    setenv("PATH", m_savedPath.c_str(), 1);
    unlink(m_log.c_str());
    unlink((m_directory + "/VXVBX32.EXE").c_str());
    rmdir(m_directory.c_str());
  }

  void InstallStandIn() { ASSERT_EQ(symlink(VEL_VBX_STAND_IN, (m_directory + "/VXVBX32.EXE").c_str()), 0); }

  CustomControlRequest Request(const char* file, const char* className) {
    CustomControlRequest request;
    request.field = 7;
    request.fileName = file;
    request.className = className;
    request.parent = m_window.Object().client;
    request.rect = {10, 20, 110, 70};
    request.style = WS_VISIBLE | WS_TABSTOP;
    request.instance = GetModuleHandleA(nullptr);
    request.control = reinterpret_cast<windows::WindowControl*>(std::uintptr_t{0x123456789ABC});
    return request;
  }

  testing::RuntimeHarness m_harness;
  windows::ProcedureWindow m_window;
  std::string m_directory;
  std::string m_log;
  std::string m_savedPath;
};

TEST_F(VbxBridge, AControlWithoutAFileGetsAHiddenPlaceholderCarryingItsControl) {
  HWND placeholder = CreateCustomControlWindow(Request("", "Grid"));
  ASSERT_NE(placeholder, nullptr);
  char className[32] = {};
  GetClassNameA(placeholder, className, sizeof className);
  EXPECT_STREQ(className, "VelVBDummy");
  EXPECT_EQ(GetParent(placeholder), m_window.Object().client);
  EXPECT_EQ(GetDlgCtrlID(placeholder), 7 + 0x4000);
  EXPECT_FALSE(IsWindowVisible(placeholder));
  EXPECT_NE(GetWindowLongPtrA(placeholder, GWL_STYLE) & WS_CHILD, 0);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(GetPropA(placeholder, "lo_pfield")), 0x56789ABCu);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(GetPropA(placeholder, "hi_pfield")), 0x1234u);
  EXPECT_EQ(ControlOfWindow(placeholder), Request("", "").control);
  EXPECT_TRUE(platform::MessageBoxLog().empty());
}

TEST_F(VbxBridge, AControlOfAnotherTypeIsRuntimeError501) {
  services::SetRuntimeRunning(false);  // The report returns instead of ending the test program.
  CustomControlRequest request = Request("GRID.VBX", "Grid");
  request.typeCode = 14;
  EXPECT_EQ(CreateCustomControlWindow(request), nullptr);
  auto boxes = platform::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Runtime error");
  EXPECT_EQ(boxes[0].text, "Internal error 01 : CTLCUST");
  services::SetRuntimeRunning(true);
}

TEST_F(VbxBridge, WithNoServerOnPathEachControlSaysTheServerIsNotRespondingAfterOneSecond) {
  for (int control = 0; control < 2; ++control) {
    DWORD before = GetTickCount();
    EXPECT_EQ(CreateCustomControlWindow(Request("GRID.VBX", "Grid")), nullptr);
    EXPECT_EQ(GetTickCount() - before, 1000u);
  }
  auto boxes = platform::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 2u);
  for (const auto& box : boxes) {
    EXPECT_EQ(box.caption, "Open Velmora VBX Server");
    EXPECT_EQ(box.text,
              "The Velmora VBX Server is NOT responding. Please terminate the application and check your "
              "installation.");
  }
}

TEST_F(VbxBridge, AStandInServerIsStartedAndGetsTheExactCommands) {
  if (platform::CurrentForeignWindows() == nullptr) GTEST_SKIP() << "no message bus";
  InstallStandIn();
  HWND control = CreateCustomControlWindow(Request("GRID.VBX", "Grid"));
  ASSERT_NE(control, nullptr);
  HWND server = VbxServerWindow();
  EXPECT_TRUE(platform::IsForeignHandle(server));
  EXPECT_EQ(control, server) << "the stand-in shows its controls in its own window";
  EXPECT_EQ(ControlOfWindow(control), Request("", "").control);
  unsigned parent = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(m_window.Object().client));
  std::string log = ReadFile(m_log);
  std::string commands = log.substr(log.find('\n') + 1);
  EXPECT_EQ(commands,
            "[load(\"GRID.VBX;Grid;\", 10, 20, 110, 70)]\n[attach(" + std::to_string(parent) + ")]\n");

  // A second control uses the conversation that stands; a file the server cannot load is said so.
  DWORD before = GetTickCount();
  EXPECT_EQ(CreateCustomControlWindow(Request("MISSING.VBX", "Chart")), nullptr);
  EXPECT_LT(GetTickCount() - before, 1000u) << "no new initiate was waited for";
  EXPECT_EQ(VbxServerWindow(), server);
  auto boxes = platform::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Load Custom Control");
  EXPECT_EQ(
      boxes[0].text,
      "The Velmora VBX Server is NOT able to load 'MISSING.VBX'. Please terminate the application and check "
      "your installation.");
}

TEST_F(VbxBridge, AServerThatStartsButNeverAnswersCostsElevenSecondsOfTheVirtualClock) {
  if (platform::CurrentForeignWindows() == nullptr) GTEST_SKIP() << "no message bus";
  InstallStandIn();
  setenv("VBX_STAND_IN_MODE", "silent", 1);
  DWORD before = GetTickCount();
  EXPECT_EQ(CreateCustomControlWindow(Request("GRID.VBX", "Grid")), nullptr);
  EXPECT_EQ(GetTickCount() - before, 1000u + 20u * 500u);
  auto boxes = platform::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Open Velmora VBX Server");
}

}  // namespace
}  // namespace vel::ipc
