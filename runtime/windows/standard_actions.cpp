#include "runtime/windows/standard_actions.h"

#include <atomic>
#include <string>

#include "runtime/windows/help_requests.h"
#include "runtime/windows/window_object.h"

namespace vel::windows {
namespace {

// QUERY_PFIELD: a runtime control answers it with its control object.
constexpr UINT kQueryControlObject = 0x240A;

std::atomic<PrintSetupHook> g_printSetup{nullptr};
std::atomic<HWND> g_lastFocus{nullptr};

// A runtime control keeps its object in the "lo_pfield"/"hi_pfield" properties or answers
// QUERY_PFIELD; any other window is left alone by the edit actions.
bool IsRuntimeControl(HWND window) {
  if (GetPropA(window, "lo_pfield") != nullptr || GetPropA(window, "hi_pfield") != nullptr) return true;
  return SendMessageA(window, kQueryControlObject, 0, 0) != 0;
}

UINT EditMessageOf(std::int32_t action) {
  switch (action) {
    case kActionCut: return WM_CUT;
    case kActionCopy: return WM_COPY;
    case kActionPaste: return WM_PASTE;
    case kActionClear: return WM_CLEAR;
    default: return WM_UNDO;
  }
}

void EditLastFocusControl(std::int32_t action) {
  HWND target = LastFocusWindow();
  if (target == nullptr || !IsWindow(target) || !IsRuntimeControl(target)) return;
  SendMessageA(target, EditMessageOf(action), 0, 0);
}

// Context help: the focus control's help keyword, else the window's default.
std::string ContextHelpKeyword(const WindowObject& window) {
  if (const WindowControl* focus = window.FocusControl()) {
    std::string own = focus->HelpKeyword();
    if (!own.empty()) return own;
  }
  return window.defaultHelp.value_or(std::string());
}

void Help(WindowObject& window, std::int32_t action) {
  std::string file = ThreadHelpFile();
  switch (action) {
    case kActionHelpIndex:
      if (!file.empty()) WinHelpA(window.handle, file.c_str(), HELP_INDEX, 0);
      return;
    case kActionHelpOnHelp: WinHelpA(window.handle, file.c_str(), HELP_HELPONHELP, 0); return;
    case kActionHelpSearch: ShowHelp(window.handle, HelpRequestsForKeyword(file, "")); return;
    default: ShowHelp(window.handle, HelpRequestsForKeyword(file, ContextHelpKeyword(window))); return;
  }
}

}  // namespace

bool IsStandardAction(std::int32_t number) {
  switch (number) {
    case kActionTile:
    case kActionCascade:
    case kActionArrangeIcons:
    case kActionHelpIndex:
    case kActionHelpOnHelp:
    case kActionHelpSearch:
    case kActionContextHelp:
    case kActionCut:
    case kActionCopy:
    case kActionPaste:
    case kActionClear:
    case kActionUndo:
    case kActionClose:
    case kActionPrintSetup:
    case kActionTileHorizontal:
    case kActionTileVertical: return true;
    default: return false;
  }
}

void CarryOutStandardAction(WindowObject& window, std::int32_t action) {
  switch (action) {
    case kActionHelpIndex:
    case kActionHelpOnHelp:
    case kActionHelpSearch:
    case kActionContextHelp: Help(window, action); return;
    case kActionCut:
    case kActionCopy:
    case kActionPaste:
    case kActionClear:
    case kActionUndo: EditLastFocusControl(action); return;
    case kActionClose:
      if (window.handle != nullptr) SendMessageA(window.handle, WM_CLOSE, 0, 0);
      return;
    case kActionPrintSetup:
      if (PrintSetupHook hook = g_printSetup.load()) hook(window.handle);
      return;
    default: return;
  }
}

void SetPrintSetupHook(PrintSetupHook hook) { g_printSetup.store(hook); }

PrintSetupHook InstalledPrintSetupHook() { return g_printSetup.load(); }

void RememberLastFocusWindow(HWND control) { g_lastFocus.store(control); }

HWND LastFocusWindow() { return g_lastFocus.load(); }

}  // namespace vel::windows
