#include "runtime/windows/window_object_open.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "runtime/services/module_list.h"
#include "runtime/windows/client_window.h"
#include "runtime/windows/current_definition.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/procedure_definition_source.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_font.h"
#include "runtime/windows/window_font_metrics.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_errors.h"
#include "runtime/windows/window_object_procedure.h"
#include "runtime/windows/window_timers.h"

namespace vel::windows {
namespace {

constexpr DWORD kModalFrameStyle = 0x80L;  // DS_MODALFRAME

const ResourceSource* g_source = nullptr;
WindowMetricsSource g_metricsSource;
unsigned g_classCounter = 0;
int g_modalWindows = 0;

// Resets every per-window field for a new opening.
void ResetWindowState(WindowObject& window) {
  window.queue.clear();
  window.currentEvent.reset();
  window.eventWithProcedure = false;
  window.eventRefused = false;
  window.controls.clear();
  window.lastFocusWindow = nullptr;
  window.lastSelectedField = 0;
  window.acceptAll = false;
  window.acceptAllField = 0;
  window.closingState = kNotClosing;
  window.nesting = 0;
  window.shown = false;
  window.suspended = false;
  window.modal = false;
  window.opened = false;
  window.carryingOutCommand = false;
  window.wasIconic = false;
  window.wasZoomed = false;
  window.timerRunning = false;
  window.timerPending = false;
  window.idleEvent = 0;
  window.idleInterval = 0;
  window.handlers.clear();
  window.useCursor = 0;
}

void CopyDefinition(WindowObject& window, const Record& record) {
  window.flags = record.flags;
  window.attributes = record.attributes;
  window.colours = record.colours.value_or(ColourTriple{});
  window.font = record.font;
  CreateWindowFont(window);
  window.title = record.title.value_or(std::string());
  window.defaultMessage = record.textBlock.message;
  window.defaultHelp = record.textBlock.help;
  window.keys = record.textBlock.keys;
  window.palette = record.palette;
  window.timerInterval = record.timer;
  window.statusZones = record.zones;
  window.metrics = g_metricsSource ? g_metricsSource(record) : MeasureWindowFont(window.font);
}

bool RegisterWindowClass(WindowObject& window) {
  window.classNumber = ++g_classCounter;
  window.className = WindowClassNameFor(WindowInstance(), window.classNumber);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RuntimeWindowProcedure;
  windowClass.cbWndExtra = sizeof(WindowObject*);
  windowClass.hInstance = WindowInstance();
  windowClass.hIcon = window.icon.handle;
  windowClass.hCursor = window.cursor.handle;
  windowClass.lpszClassName = window.className.c_str();
  return RegisterClassA(&windowClass) != 0;
}

// Builds the controls. The window then sizes itself by them: a width or height the definition
// leaves open is the controls' extent, and a given one grows to the extent when the controls
// reach beyond it (the search window is declared 3 units high for a row of controls 8 units
// high), but never beyond the screen.
void CreateControls(WindowObject& window, const DefinitionView& view, const Record& record) {
  ControlChainBuilder builder = InstalledControlChainBuilder();
  if (builder == nullptr || record.firstChild == 0) return;
  SIZE extent = builder(window, view, record.firstChild);
  RECT client{};
  GetClientRect(window.handle, &client);
  LONG width = record.at.width == kNotGiven ? extent.cx : std::max(client.right, extent.cx);
  LONG height = record.at.height == kNotGiven ? extent.cy : std::max(client.bottom, extent.cy);
  width = std::min<LONG>(width, GetSystemMetrics(SM_CXSCREEN));
  height = std::min<LONG>(height, GetSystemMetrics(SM_CYSCREEN));
  if (width == client.right && height == client.bottom) return;
  RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window.handle, GWL_STYLE)), FALSE, 0);
  SetWindowPos(window.handle, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Gives up an opening after the object was made the thread's current window.
void AbandonOpening(WindowObject& window, ThreadSlot& slot) {
  std::vector<WindowObject*>& open = OpenWindows();
  std::erase(open, &window);
  if (slot.currentWindow == &window) slot.currentWindow = window.opener;
  if (!window.className.empty()) UnregisterClassA(window.className.c_str(), WindowInstance());
  window.className.clear();
  ReleaseWindowIcons(window);
  ReleaseWindowFont(window);
  window.handle = nullptr;
  window.client = nullptr;
}

}  // namespace

void SetDefinitionSource(const ResourceSource* source) { g_source = source; }

HINSTANCE WindowInstance() {
  HINSTANCE instance = services::ProgramInstance();
  return instance != nullptr ? instance : GetModuleHandleA(nullptr);
}

void SetWindowMetricsSource(WindowMetricsSource source) { g_metricsSource = std::move(source); }

int ModalWindowCount() { return g_modalWindows; }

void ReleaseModalWindow() {
  if (g_modalWindows > 0) --g_modalWindows;
}

DWORD WindowStyleFor(std::uint32_t attributes, bool hasTitle, bool hasIcon, bool hasMenu) {
  DWORD style = WS_CLIPCHILDREN;
  bool boxes = hasIcon || (attributes & kAttrMaximiseBox) != 0;
  switch (attributes & kAttrFrameMask) {
    case 0: style |= WS_BORDER; break;
    case kAttrFrameResizable: style |= WS_THICKFRAME | WS_CAPTION; break;
    case kAttrFrameDouble:
      style |= WS_BORDER;
      if (!boxes && !hasMenu) style |= kModalFrameStyle;
      break;
    default: break;
  }
  if (attributes & kAttrSystemMenu) style |= WS_SYSMENU;
  if (hasIcon) style |= WS_MINIMIZEBOX | WS_SYSMENU;
  if (attributes & kAttrMaximiseBox) style |= WS_MAXIMIZEBOX | WS_SYSMENU;
  if (attributes & kAttrMinimised) style |= WS_MINIMIZE;
  else if (attributes & kAttrMaximised) style |= WS_MAXIMIZE;
  if (hasTitle) style |= WS_CAPTION;
  return style;
}

std::string WindowClassNameFor(HINSTANCE instance, unsigned classNumber) {
  char name[64];
  std::snprintf(name, sizeof name, "VelWin%uClass%lu",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(instance)),
                static_cast<unsigned long>(classNumber));
  return name;
}

void OpenWindow(WindowObject& window, std::string_view label, std::string_view qualifiedName,
                std::span<void* const> useAddresses) {
  if (window.handle != nullptr || IsOpenWindow(&window)) {
    ReportWindowError(kErrorWindowAlreadyOpen);
    return;
  }
  int slotNumber = EnterRuntimeThread();
  ThreadSlot* slot = SlotAt(slotNumber);
  if (slot == nullptr) {
    ReportWindowError(kErrorUnableToOpenWindow);
    return;
  }
  CurrentDefinition& definition = CurrentDefinitionBuffer();
  const ResourceSource& source = g_source != nullptr ? *g_source : ProgramDefinitionSource();
  std::uint32_t offset = definition.Find(source, qualifiedName, label);
  std::optional<Record> record = offset != 0 ? ReadRecord(definition.View(), offset) : std::nullopt;
  if (!record || record->kind != kKindWindow) {
    definition.Release();
    ReportWindowError(kErrorDefinitionNotFound);
    return;
  }

  ResetWindowState(window);
  window.definitionOffset = offset;
  window.useAddresses.assign(useAddresses.begin(), useAddresses.end());
  window.threadSlot = slotNumber;
  window.opener = slot->currentWindow;
  slot->currentWindow = &window;
  window.resourceModule = definition.Module();
  CopyDefinition(window, *record);
  window.definitionHasIcon = record->icon.has_value();
  TakeDefinitionIcons(window, record->icon, record->cursor);

  // A top-level window without WS_POPUP is an overlapped window, which the platform always
  // gives a caption and border; the popup style lets the attributes alone decide the frame.
  DWORD style = WS_POPUP | WindowStyleFor(window.attributes, !window.title.empty(), window.definitionHasIcon, false);
  window.modal = ModalWindowCount() > 0 || (window.attributes & kAttrModal) != 0;
  if (window.modal) ++g_modalWindows;

  if (!RegisterWindowClass(window)) {
    if (window.modal) --g_modalWindows;
    AbandonOpening(window, *slot);
    definition.Release();
    ReportWindowError(kErrorClassRegistration);
    return;
  }

  // AT gives the client area; the outer size adds the frame the styles ask for.
  UnitConverter converter(window.flags, window.metrics);
  Rect at = converter.ToPixels(record->at);
  RECT outer{0, 0, at.width == kNotGiven ? 0 : at.width, at.height == kNotGiven ? 0 : at.height};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  int x = at.x == kNotGiven ? CW_USEDEFAULT : at.x;
  int y = at.y == kNotGiven ? CW_USEDEFAULT : at.y;
  int width = at.width == kNotGiven ? CW_USEDEFAULT : outer.right - outer.left;
  int height = at.height == kNotGiven ? CW_USEDEFAULT : outer.bottom - outer.top;
  HWND parent = window.opener != nullptr ? window.opener->handle : nullptr;

  OpenWindows().push_back(&window);
  window.handle = CreateWindowExA(0, window.className.c_str(), window.title.c_str(), style, x, y, width, height,
                                  parent, nullptr, WindowInstance(), &window);
  if (window.handle == nullptr) {
    if (window.modal) --g_modalWindows;
    AbandonOpening(window, *slot);
    definition.Release();
    ReportWindowError(kErrorUnableToOpenWindow);
    return;
  }

  RestartWindowTimer(window, window.timerInterval);
  CreateControls(window, definition.View(), *record);
  window.opened = true;
  PostEvent(window, EVENT_OpenWindow);
  definition.Release();
}

}  // namespace vel::windows
