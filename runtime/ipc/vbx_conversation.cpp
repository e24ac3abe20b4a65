#include "runtime/ipc/vbx_conversation.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/ipc/dde_data.h"
#include "runtime/ipc/timed_message_wait.h"

namespace vel::ipc {
namespace {

// The program has one conversation with its server, whichever control opened it.
HWND g_server = nullptr;
ATOM g_itemAtoms[3] = {};

std::uintptr_t Half(std::uintptr_t value, bool high) { return high ? value >> 32 : value & 0xFFFFFFFFu; }

void AddItemAtoms() {
  if (g_itemAtoms[0] != 0) return;
  g_itemAtoms[0] = GlobalAddAtomA(kVbxDataItem);
  g_itemAtoms[1] = GlobalAddAtomA(kVbxEventItem);
  g_itemAtoms[2] = GlobalAddAtomA(kVbxChangeItem);
}

// The server's acknowledgement of the initiate: the first server becomes the program's.
void InitiateAnswered(BridgeRecord& record, HWND server, LPARAM lParam) {
  GlobalDeleteAtom(LOWORD(lParam));
  GlobalDeleteAtom(HIWORD(lParam));
  if (g_server != nullptr && g_server != server && IsWindow(g_server)) {
    PostMessageA(server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(record.client), 0);
    return;
  }
  g_server = server;
  record.server = server;
  record.state = kVbxConnected;
}

void CommandAnswered(BridgeRecord& record, HWND from, LPARAM lParam) {
  UINT_PTR status = 0;
  UINT_PTR block = 0;
  if (!UnpackDDElParam(WM_DDE_ACK, lParam, &status, &block)) return;
  FreeDDElParam(WM_DDE_ACK, lParam);
  if (block != 0 && reinterpret_cast<HGLOBAL>(block) == record.lastCommand) {
    GlobalFree(record.lastCommand);
    record.lastCommand = nullptr;
  }
  bool positive = IsPositiveAck(static_cast<WORD>(status));
  if (record.state == kVbxLoadSent) {
    record.state = positive ? kVbxLoaded : kVbxLoadFailed;
  } else if (record.state == kVbxAttachSent) {
    // The server acknowledges an attach from the window the control shows in.
    if (positive) record.controlWindow = from;
    record.state = positive ? kVbxAttached : kVbxIdle;
  }
}

// Data from the server: control events and property changes.
void DataArrived(BridgeRecord& record, HWND from, LPARAM lParam) {
  std::optional<ArrivedData> arrived = UnpackArrivedData(WM_DDE_DATA, lParam);
  if (!arrived) return;
  const std::optional<DataBlock>& contents = arrived->contents;
  std::string name = AtomName(arrived->item);
  if (contents && name == kVbxEventItem && record.holder != nullptr) {
    PostMessageA(record.holder, WM_VBXEVENT, reinterpret_cast<WPARAM>(record.controlWindow),
                 std::strtol(contents->value.c_str(), nullptr, 10));
  } else if (contents && name == kVbxChangeItem) {
    std::size_t equals = contents->value.find('=');
    long slot = std::strtol(contents->value.c_str(), nullptr, 10);
    if (equals != std::string::npos && slot >= 0 && slot < static_cast<long>(kVbxPropertySlots)) {
      GlobalFree(record.properties[static_cast<std::size_t>(slot)]);
      record.properties[static_cast<std::size_t>(slot)] = MakeTextBlock(contents->value.substr(equals + 1));
    }
  }
  if (arrived->Releases()) GlobalFree(arrived->block);
  if (contents && contents->ackRequested) {
    PostMessageA(from, WM_DDE_ACK, reinterpret_cast<WPARAM>(record.client),
                 PackDDElParam(WM_DDE_ACK, AckStatus(true), arrived->item));
  } else {
    GlobalDeleteAtom(arrived->item);
  }
}

LRESULT CALLBACK VbxClientProcedure(HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
  BridgeRecord* record = RecordOfClient(client);
  auto from = reinterpret_cast<HWND>(wParam);
  if (record == nullptr || message < WM_DDE_FIRST || message > WM_DDE_LAST) {
    return DefWindowProcA(client, message, wParam, lParam);
  }
  switch (message) {
    case WM_DDE_ACK:
      // Only the initiate is answered while the state is 1; commands are answered later.
      if (record->state == kVbxInitiateSent)
        InitiateAnswered(*record, from, lParam);
      else
        CommandAnswered(*record, from, lParam);
      return 0;
    case WM_DDE_DATA: DataArrived(*record, from, lParam); return 0;
    case WM_DDE_TERMINATE:
      if (from == g_server) g_server = nullptr;
      if (from == record->server) record->server = nullptr;
      PostMessageA(from, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(client), 0);
      return 0;
    default: return 0;
  }
}

void Broadcast(BridgeRecord& record, ATOM application, ATOM topic) {
  record.state = kVbxInitiateSent;
  SendMessageA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(record.client),
               MAKELPARAM(application, topic));
}

}  // namespace

bool RegisterVbxClientClass(HINSTANCE instance) {
  WNDCLASSA existing{};
  if (GetClassInfoA(instance, kVbxClientClass, &existing)) return true;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = VbxClientProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kVbxClientClass;
  return RegisterClassA(&windowClass) != 0;
}

HWND CreateVbxClientWindow(BridgeRecord& record, HWND parent) {
  if (!RegisterVbxClientClass(record.instance)) return nullptr;
  HWND client = CreateWindowExA(0, kVbxClientClass, kVbxClientTitle, parent != nullptr ? WS_CHILD : WS_POPUP,
                                0, 0, 0, 0, parent, nullptr, record.instance, nullptr);
  if (client == nullptr) return nullptr;
  auto address = reinterpret_cast<std::uintptr_t>(&record);
  SetPropA(client, "lo_this", reinterpret_cast<HANDLE>(Half(address, false)));
  SetPropA(client, "hi_this", reinterpret_cast<HANDLE>(Half(address, true)));
  ShowWindow(client, SW_HIDE);
  record.client = client;
  return client;
}

BridgeRecord* RecordOfClient(HWND client) {
  auto low = reinterpret_cast<std::uintptr_t>(GetPropA(client, "lo_this"));
  auto high = reinterpret_cast<std::uintptr_t>(GetPropA(client, "hi_this"));
  return reinterpret_cast<BridgeRecord*>((high << 32) | low);
}

bool ConnectVbxServer(BridgeRecord& record) {
  if (g_server != nullptr && IsWindow(g_server)) {
    record.server = g_server;
    record.state = kVbxConnected;
    return true;
  }
  g_server = nullptr;
  ATOM application = GlobalAddAtomA(kVbxApplication);
  ATOM topic = GlobalAddAtomA(kVbxTopic);
  Broadcast(record, application, topic);
  WaitForVbxServer(record, kInitiateWait, kVbxInitiateSent);
  if (record.state != kVbxConnected) {
    if (WinExec(kVbxServerProgram, SW_HIDE) < 32) {
      GlobalDeleteAtom(application);
      GlobalDeleteAtom(topic);
      return false;
    }
    for (int attempt = 0; attempt < kInitiateRetries && record.state != kVbxConnected; ++attempt) {
      Broadcast(record, application, topic);
      WaitForVbxServer(record, kInitiateRetryWait, kVbxInitiateSent);
    }
    if (record.state != kVbxConnected) {
      GlobalDeleteAtom(application);
      GlobalDeleteAtom(topic);
      return false;
    }
  }
  AddItemAtoms();
  return true;
}

bool SendVbxCommand(BridgeRecord& record, std::string_view command, int state) {
  if (record.server == nullptr) return false;
  HGLOBAL block = MakeTextBlock(command);
  if (block == nullptr) return false;
  record.lastCommand = block;
  record.state = state;
  if (PostMessageA(record.server, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(record.client),
                   reinterpret_cast<LPARAM>(block))) {
    return true;
  }
  record.lastCommand = nullptr;
  GlobalFree(block);
  return false;
}

void WaitForVbxServer(BridgeRecord& record, DWORD milliseconds, int waitingState) {
  TimedMessageWait wait(record.client, milliseconds);
  MSG message{};
  while (record.state == waitingState) {
    if (!wait.Next(WM_DDE_FIRST, WM_DDE_LAST, message)) {
      record.state = kVbxNoAnswer;
      return;
    }
    DispatchMessageA(&message);
  }
}

HWND VbxServerWindow() { return g_server; }

HWND TakeVbxServerWindow() {
  HWND server = g_server;
  g_server = nullptr;
  return server;
}

}  // namespace vel::ipc
