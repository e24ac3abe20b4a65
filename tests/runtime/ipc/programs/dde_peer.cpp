// A runtime program that is a DDE server for application "Prices", topic "Today", for the tests
// of two runtime programs in conversation. Its procedure keeps poked items, answers requests for
// them, carries out executes (refusing those that begin with "bad") and prints each event.

#include <cstdio>
#include <map>
#include <string>

#include "runtime/ipc/dde_procedures.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/accept_step.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "tests/runtime/ipc/ipc_harness.h"

namespace {

using namespace vel;

std::string Pop() {
  values::StringView top = values::TopView();
  std::string text(top.data, top.length);
  values::DropTop();
  return text;
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  ipc::testing::RuntimeHarness harness;
  windows::ProcedureWindow window;
  harness.Open(window, "Prices server");
  values::PushCString("Prices");
  values::PushCString("Today");
  ipc::DDESERVER();
  std::map<std::string, std::string> items;
  while (window.Accept()) {
    switch (windows::EventNumber() + windows::kEventBase) {
      case windows::EVENT_OpenWindow: std::printf("ready\n"); break;
      case windows::EVENT_DDEexecute: {
        ipc::DDEVALUE();
        std::string command = Pop();
        std::printf("execute %s\n", command.c_str());
        if (command.rfind("bad", 0) == 0) windows::RefuseCurrentEvent();
        break;
      }
      case windows::EVENT_DDEpoke: {
        ipc::DDEITEM();
        std::string item = Pop();
        ipc::DDEVALUE();
        items[item] = Pop();
        std::printf("poke %s=%s\n", item.c_str(), items[item].c_str());
        break;
      }
      case windows::EVENT_DDErequest: {
        ipc::DDEITEM();
        std::string item = Pop();
        if (items.count(item) == 0) break;
        values::PushCString(item.c_str());
        values::PushCString(items[item].c_str());
        ipc::DDEWRITE(ipc::DDECHANNEL());
        break;
      }
      case windows::EVENT_DDEclosed: std::printf("closed\n"); break;
      default: break;
    }
  }
  window.Close();
  return 0;
}
