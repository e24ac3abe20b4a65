#include "runtime/controls/control_tooltips.h"

#include <array>

#include "runtime/controls/windowed_control.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_open.h"

namespace vel::controls {
namespace {

std::array<HWND, windows::kThreadSlotCount> g_tooltipWindows{};
bool g_enabled = true;

HWND* EntryOfSlot(int slot) {
  if (slot < 0 || slot >= windows::kThreadSlotCount) return nullptr;
  return &g_tooltipWindows[static_cast<std::size_t>(slot)];
}

TOOLINFOA ToolOf(const WindowedControl& control) {
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = control.Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(control.Handle());
  tool.hinst = windows::WindowInstance();
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  return tool;
}

}  // namespace

void RegisterControlTip(WindowedControl& control) {
  HWND* entry = EntryOfSlot(control.Window().threadSlot);
  if (entry == nullptr || control.Handle() == nullptr) return;
  if (*entry == nullptr || !IsWindow(*entry)) {
    InitCommonControls();
    *entry = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | WS_BORDER | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                             windows::WindowInstance(), nullptr);
    if (*entry == nullptr) return;
  }
  TOOLINFOA tool = ToolOf(control);
  SendMessageA(*entry, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void RemoveControlTip(WindowedControl& control) {
  HWND window = TooltipWindowOfSlot(control.Window().threadSlot);
  if (window == nullptr || !control.TooltipText()) return;
  TOOLINFOA tool = ToolOf(control);
  SendMessageA(window, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND TooltipWindowOfSlot(int slot) {
  HWND* entry = EntryOfSlot(slot);
  if (entry == nullptr || *entry == nullptr) return nullptr;
  if (!IsWindow(*entry)) *entry = nullptr;
  return *entry;
}

void DestroyTooltipWindows() {
  for (HWND& window : g_tooltipWindows) {
    if (window != nullptr && IsWindow(window)) DestroyWindow(window);
    window = nullptr;
  }
}

void SetTooltipsEnabled(bool enabled) { g_enabled = enabled; }

bool TooltipsEnabled() { return g_enabled; }

}  // namespace vel::controls
