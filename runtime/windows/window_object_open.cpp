#include "runtime/windows/window_object_open.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "runtime/services/module_list.h"
#include "runtime/windows/client_layout.h"
#include "runtime/windows/current_definition.h"
#include "runtime/windows/default_placement.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_posting.h"
#include "runtime/windows/procedure_definition_source.h"
#include "runtime/windows/status_bar.h"
#include "runtime/windows/thread_runtime.h"
#include "runtime/windows/thread_table.h"
#include "runtime/windows/window_font.h"
#include "runtime/windows/window_font_metrics.h"
#include "runtime/windows/window_key_tables.h"
#include "runtime/windows/window_menu_bar.h"
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
  window.menuBar.reset();
  window.toolbar = nullptr;
  window.toolbarControl = nullptr;
  window.statusBar.reset();
  window.disabledForModal.clear();
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
  window.alertKeys.Clear();
  for (std::int32_t key : window.keys) window.alertKeys.Add(key);
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

// Builds the controls and answers their extent in client-window pixels ({0, 0}: none).
SIZE CreateControls(WindowObject& window, const DefinitionView& view, const Record& record) {
  ControlChainBuilder builder = InstalledControlChainBuilder();
  if (builder == nullptr || record.firstChild == 0) return SIZE{0, 0};
  return builder(window, view, record.firstChild);
}

// The window sizes itself by its controls: a width or height the definition leaves open is the
// controls' extent, and a given one grows to the extent when the controls reach beyond it (the
// search window is declared 3 units high for a row of controls 8 units high), but never beyond
// the screen. The toolbar and the status bar keep their heights on top of the extent.
void FitWindowToControls(WindowObject& window, const Record& record, SIZE extent) {
  if (extent.cx <= 0 && extent.cy <= 0) return;
  RECT frame{};
  GetClientRect(window.handle, &frame);
  RECT client{};
  if (window.client != nullptr) GetClientRect(window.client, &client);
  LONG reserved = (frame.bottom - frame.top) - (client.bottom - client.top);
  LONG width = record.at.width == kNotGiven && extent.cx > 0 ? extent.cx : std::max(frame.right, extent.cx);
  LONG height = record.at.height == kNotGiven && extent.cy > 0 ? extent.cy + reserved
                                                               : std::max(frame.bottom, extent.cy + reserved);
  width = std::min<LONG>(width, GetSystemMetrics(SM_CXSCREEN));
  height = std::min<LONG>(height, GetSystemMetrics(SM_CYSCREEN));
  if (width == frame.right && height == frame.bottom) return;
  RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window.handle, GWL_STYLE)),
                     window.menuBar != nullptr ? TRUE : FALSE, 0);
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
  window.menuBar.reset();
}

// The platform window's outer rectangle: AT gives the client area, to which the frame (and the
// menu bar) the styles ask for is added; what AT leaves open gets the default placement.
RECT OuterRect(const WindowObject& window, const DefinitionView& view, const Record& record, DWORD style,
               const UnitConverter& converter) {
  Rect at = converter.ToPixels(record.at);
  SIZE contents{};
  if (at.width == kNotGiven || at.height == kNotGiven) {
    contents = ClientSizeForContents(view, record, converter);
    if (!window.statusZones.empty()) contents.cy += StatusBarHeight();
  }
  RECT outer{0, 0, at.width == kNotGiven ? contents.cx : at.width,
             at.height == kNotGiven ? contents.cy : at.height};
  AdjustWindowRectEx(&outer, style, window.menuBar != nullptr ? TRUE : FALSE, 0);
  OffsetRect(&outer, -outer.left, -outer.top);
  if (at.x == kNotGiven || at.y == kNotGiven) {
    HWND opener = window.opener != nullptr ? window.opener->handle : nullptr;
    POINT placed = DefaultWindowPosition(SIZE{outer.right, outer.bottom}, opener);
    OffsetRect(&outer, at.x == kNotGiven ? placed.x : at.x, at.y == kNotGiven ? placed.y : at.y);
  } else {
    OffsetRect(&outer, at.x, at.y);
  }
  return outer;
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

  // The menu bar is built before the window so that the frame is sized with it; its items take
  // the first USE addresses.
  window.menuBar = BuildMenuBar(window, definition.View(), record->menuBar);

  // A top-level window without WS_POPUP is an overlapped window, which the platform always
  // gives a caption and border; the popup style lets the attributes alone decide the frame.
  DWORD style = WS_POPUP | WindowStyleFor(window.attributes, !window.title.empty(), window.definitionHasIcon,
                                          window.menuBar != nullptr);
  window.modal = ModalWindowCount() > 0 || (window.attributes & kAttrModal) != 0;
  if (window.modal) ++g_modalWindows;

  if (!RegisterWindowClass(window)) {
    if (window.modal) --g_modalWindows;
    AbandonOpening(window, *slot);
    definition.Release();
    ReportWindowError(kErrorClassRegistration);
    return;
  }

  UnitConverter converter(window.flags, window.metrics);
  RECT outer = OuterRect(window, definition.View(), *record, style, converter);
  HWND parent = window.opener != nullptr ? window.opener->handle : nullptr;
  HMENU menu = window.menuBar != nullptr ? window.menuBar->handle : nullptr;

  OpenWindows().push_back(&window);
  window.handle = CreateWindowExA(0, window.className.c_str(), window.title.c_str(), style, outer.left,
                                  outer.top, outer.right - outer.left, outer.bottom - outer.top, parent, menu,
                                  WindowInstance(), &window);
  if (window.handle == nullptr) {
    if (window.modal) --g_modalWindows;
    AbandonOpening(window, *slot);
    definition.Release();
    ReportWindowError(kErrorUnableToOpenWindow);
    return;
  }

  RestartWindowTimer(window, window.timerInterval);
  CreateWindowStatusBar(window, converter);
  SIZE extent = CreateControls(window, definition.View(), *record);
  CreateWindowToolbar(window, definition.View(), record->toolBar, converter);
  window.dropIdentifiers.AppendAll(record->dropIds, window.handle);
  RebuildHotKeys(window);
  LayOutWindow(window);
  FitWindowToControls(window, *record, extent);
  window.opened = true;
  PostEvent(window, EVENT_OpenWindow);
  definition.Release();
}

}  // namespace vel::windows
