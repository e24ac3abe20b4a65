// A stand-in for the custom-control server, built as "VXVBX32.EXE" and found on PATH by the
// bridge tests. It is a runtime program with a DDE server for the bridge's application and
// topic; it writes its process id and every command it is sent to the file named by
// VBX_STAND_IN_LOG, refuses to load files whose name contains "MISSING", and with
// VBX_STAND_IN_MODE=silent it starts but answers nothing.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/ipc/dde_procedures.h"
#include "runtime/ipc/vbx_bridge.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/accept_step.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "tests/runtime/ipc/ipc_harness.h"

namespace {

using namespace vel;

void Log(const std::string& line) {
  const char* path = std::getenv("VBX_STAND_IN_LOG");
  if (path == nullptr) return;
  if (FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

}  // namespace

int main() {
  const char* mode = std::getenv("VBX_STAND_IN_MODE");
  bool silent = mode != nullptr && std::string(mode) == "silent";
  Log("pid " + std::to_string(GetCurrentProcessId()));
  ipc::testing::RuntimeHarness harness;
  windows::ProcedureWindow window;
  harness.Open(window, "VBX server");
  if (!silent) {
    values::PushCString(ipc::kVbxApplication);
    values::PushCString(ipc::kVbxTopic);
    ipc::DDESERVER();
  }
  while (window.Accept()) {
    if (windows::EventNumber() + windows::kEventBase != windows::EVENT_DDEexecute) continue;
    ipc::DDEVALUE();
    values::StringView top = values::TopView();
    std::string command(top.data, top.length);
    values::DropTop();
    Log(command);
    if (command.find("MISSING") != std::string::npos) windows::RefuseCurrentEvent();
  }
  window.Close();
  return 0;
}
