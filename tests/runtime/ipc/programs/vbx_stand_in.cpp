// A stand-in for the custom-control server, built as "VXVBX32.EXE" and found on PATH by the
// bridge tests. Like the server it stands in for, it answers the bridge's initiate from its
// one window and then takes commands from every client window of the program that found it
// (each custom control has a client window of its own but shares the one conversation). It
// writes its process id and every command to the file named by VBX_STAND_IN_LOG, refuses to
// load files whose name contains "MISSING", and with VBX_STAND_IN_MODE=silent it starts but
// answers nothing.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/ipc/dde_data.h"
#include "runtime/ipc/vbx_bridge.h"
#include "win32.h"

namespace {

using namespace vel;

bool g_silent = false;

void Log(const std::string& line) {
  const char* path = std::getenv("VBX_STAND_IN_LOG");
  if (path == nullptr) return;
  if (FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

LRESULT CALLBACK ServerProcedure(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
  auto client = reinterpret_cast<HWND>(wParam);
  switch (message) {
    case WM_DDE_INITIATE: {
      if (g_silent || ipc::AtomName(LOWORD(lParam)) != ipc::kVbxApplication ||
          ipc::AtomName(HIWORD(lParam)) != ipc::kVbxTopic) {
        return 0;
      }
      SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self),
                   MAKELPARAM(GlobalAddAtomA(ipc::kVbxApplication), GlobalAddAtomA(ipc::kVbxTopic)));
      return 0;
    }
    case WM_DDE_EXECUTE: {
      auto commands = reinterpret_cast<HGLOBAL>(lParam);
      std::string command = ipc::ReadTextBlock(commands);
      Log(command);
      bool accepted = command.find("MISSING") == std::string::npos;
      PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self),
                   PackDDElParam(WM_DDE_ACK, ipc::AckStatus(accepted), reinterpret_cast<UINT_PTR>(commands)));
      return 0;
    }
    case WM_DDE_TERMINATE:
      // The bridge ends the conversation at shutdown with no client window to answer.
      if (client != nullptr) PostMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(self), 0);
      PostQuitMessage(0);
      return 0;
    default: return DefWindowProcA(self, message, wParam, lParam);
  }
}

}  // namespace

int main() {
  const char* mode = std::getenv("VBX_STAND_IN_MODE");
  g_silent = mode != nullptr && std::string(mode) == "silent";
  Log("pid " + std::to_string(GetCurrentProcessId()));
  // Joins the message bus, so that the bridge's broadcast reaches this program.
  GetSystemMetrics(SM_NETWORK);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ServerProcedure;
  windowClass.lpszClassName = "VbxStandIn";
  RegisterClassA(&windowClass);
  CreateWindowExA(0, "VbxStandIn", "VBX server", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                  nullptr);
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
