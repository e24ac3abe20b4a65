// Creating a custom control's window through the bridge, and the bridge's module routine.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "runtime/ipc/vbx_bridge.h"
#include "runtime/ipc/vbx_conversation.h"
#include "runtime/services/error_report.h"
#include "runtime/services/module_descriptor.h"

namespace vel::ipc {
namespace {

// The records live as long as the program: their client windows may still hear from the server.
std::vector<std::unique_ptr<BridgeRecord>>& Records() {
  static auto* records = new std::vector<std::unique_ptr<BridgeRecord>>();
  return *records;
}

std::uintptr_t Half(std::uintptr_t value, bool high) { return high ? value >> 32 : value & 0xFFFFFFFFu; }

// The top-level window that holds the control: its message boxes belong to it, and it hears
// of the control's events.
HWND TopLevelOf(HWND parent) {
  HWND top = parent;
  while (top != nullptr && (GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD) != 0) top = GetParent(top);
  return top;
}

void CarryControl(HWND window, windows::WindowControl* control) {
  auto address = reinterpret_cast<std::uintptr_t>(control);
  SetPropA(window, "lo_pfield", reinterpret_cast<HANDLE>(Half(address, false)));
  SetPropA(window, "hi_pfield", reinterpret_cast<HANDLE>(Half(address, true)));
}

HWND CreatePlaceholder(const CustomControlRequest& request) {
  DWORD style = (request.style | WS_CHILD) & ~static_cast<DWORD>(WS_VISIBLE);
  HWND placeholder = CreateWindowExA(
      0, kVbxPlaceholderClass, "", style, request.rect.left, request.rect.top,
      request.rect.right - request.rect.left, request.rect.bottom - request.rect.top, request.parent,
      reinterpret_cast<HMENU>(static_cast<std::intptr_t>(request.field + 0x4000)), request.instance, nullptr);
  if (placeholder == nullptr) {
    services::ReportRuntimeError(kErrorPlaceholderFailed, kCustomControlModule);
    return nullptr;
  }
  CarryControl(placeholder, request.control);
  return placeholder;
}

void ClearProperties(BridgeRecord& record) {
  for (HGLOBAL& slot : record.properties) {
    GlobalFree(slot);
    slot = nullptr;
  }
}

bool Load(BridgeRecord& record, const CustomControlRequest& request) {
  // Built without a fixed buffer: a long file or class name must reach the server whole, not
  // cut into a command it cannot parse.
  const RECT& rect = request.rect;
  std::string command = "[load(\"" + request.fileName + ";" + request.className + ";\", " +
                        std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " +
                        std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + ")]";
  if (!SendVbxCommand(record, command, kVbxLoadSent)) return false;
  WaitForVbxServer(record, kCommandWait, kVbxLoadSent);
  bool loaded = record.state == kVbxLoaded;
  if (loaded)
    record.loaded = 1;
  else
    record.state = kVbxIdle;
  return loaded;
}

bool Attach(BridgeRecord& record, HWND parent) {
  if (record.loaded != 1) return false;
  char command[64];
  std::snprintf(command, sizeof command, "[attach(%u)]",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(parent)));
  record.holder = TopLevelOf(parent);
  if (!SendVbxCommand(record, command, kVbxAttachSent)) {
    record.state = kVbxIdle;
    return false;
  }
  WaitForVbxServer(record, kCommandWait, kVbxAttachSent);
  bool attached = record.state == kVbxAttached;
  record.state = kVbxIdle;
  return attached && record.controlWindow != nullptr;
}

}  // namespace

HWND CreateCustomControlWindow(const CustomControlRequest& request) {
  if (request.typeCode != kCustomControlType) {
    services::ReportRuntimeError(kErrorNotCustomControl, kCustomControlModule);
    return nullptr;
  }
  if (request.fileName.empty() || request.className.empty()) return CreatePlaceholder(request);

  auto owned = std::make_unique<BridgeRecord>();
  BridgeRecord& record = *owned;
  Records().push_back(std::move(owned));
  record.instance = request.instance;
  if (CreateVbxClientWindow(record, request.parent) == nullptr) return nullptr;
  ClearProperties(record);
  if (!ConnectVbxServer(record)) {
    MessageBoxA(TopLevelOf(request.parent), kNotRespondingText, kNotRespondingCaption, MB_OK);
    return nullptr;
  }
  if (!Load(record, request)) {
    std::string text = kCannotLoadText;
    text.replace(text.find("%s"), 2, request.fileName);
    MessageBoxA(TopLevelOf(request.parent), text.c_str(), kCannotLoadCaption, MB_OK);
    return nullptr;
  }
  if (!Attach(record, request.parent)) return CreatePlaceholder(request);
  CarryControl(record.controlWindow, request.control);
  return record.controlWindow;
}

windows::WindowControl* ControlOfWindow(HWND window) {
  auto low = reinterpret_cast<std::uintptr_t>(GetPropA(window, "lo_pfield"));
  auto high = reinterpret_cast<std::uintptr_t>(GetPropA(window, "hi_pfield"));
  return reinterpret_cast<windows::WindowControl*>((high << 32) | low);
}

void CustomControlBridgeService(int call) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (call == services::kInitialiseCall) {
    WNDCLASSA placeholder{};
    placeholder.lpfnWndProc = DefWindowProcA;
    placeholder.hInstance = instance;
    placeholder.lpszClassName = kVbxPlaceholderClass;
    RegisterClassA(&placeholder);
    RegisterVbxClientClass(instance);
    return;
  }
  if (HWND server = TakeVbxServerWindow()) PostMessageA(server, WM_DDE_TERMINATE, 0, 0);
}

}  // namespace vel::ipc
