#include "runtime/controls/toolbar_control.h"

#include <algorithm>

#include "runtime/controls/control_brushes.h"
#include "runtime/controls/control_chain.h"
#include "runtime/controls/control_flags.h"
#include "runtime/controls/windowed_control.h"
#include "runtime/services/error_report.h"
#include "runtime/windows/client_layout.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/key_codes.h"
#include "runtime/windows/unit_conversion.h"
#include "runtime/windows/window_key_tables.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_open.h"

namespace vel::controls {
namespace {

/// Room left under the lowest control of a toolbar whose record gives no height, above the
/// toolbar's bottom line.
constexpr int kBottomMargin = 2;

void RegisterToolbarClassOnce() {
  static bool attempted = false;
  if (attempted) return;
  attempted = true;
  WNDCLASSA toolbarClass{};
  toolbarClass.lpfnWndProc = ToolbarWindowProcedure;
  toolbarClass.cbWndExtra = kToolbarObjectOffset + static_cast<int>(sizeof(ToolbarControl*));
  toolbarClass.hInstance = windows::WindowInstance();
  toolbarClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
  toolbarClass.lpszClassName = kToolbarClassName;
  // A class left from an earlier start of the runtime serves as well: the result is not tested.
  RegisterClassA(&toolbarClass);
}

bool IsKeyMessage(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

windows::WindowControl* BuildToolbar(windows::WindowObject& window, const windows::DefinitionView& view,
                                     const windows::Record& record) {
  return ToolbarControl::Create(&window, view, record);
}

}  // namespace

ToolbarControl::ToolbarControl(const windows::Record& record, windows::WindowObject& window)
    : WindowElement(record, window) {
  m_colours = record.colours.value_or(windows::ColourTriple{});
  m_fontData = FontColourData::Merge(record.font, window.font);
  if (record.cursor) m_cursor = windows::LoadNamedCursor(*record.cursor, window.resourceModule);
}

ToolbarControl::~ToolbarControl() {
  windows::ReleaseHeldIcon(m_cursor, true);
  if (m_handle == nullptr || !IsWindow(m_handle)) return;
  HWND handle = m_handle;
  SetWindowLongPtrA(handle, kToolbarObjectOffset, 0);
  m_handle = nullptr;
  DestroyWindow(handle);
}

ToolbarControl* ToolbarControl::Create(windows::WindowObject* window, const windows::DefinitionView& view,
                                       const windows::Record& record) {
  if (window == nullptr || window->handle == nullptr) {
    services::ReportRuntimeError(kErrorNoToolbarPrototype, "CTLMAIN");
    return nullptr;
  }
  RegisterToolbarClassOnce();
  auto made = std::make_unique<ToolbarControl>(record, *window);
  ToolbarControl* toolbar = made.get();
  CreateWindowExA(0, kToolbarClassName, "", WS_CHILD, 0, 0, 0, 0, window->handle, nullptr,
                  windows::WindowInstance(), toolbar);
  if (toolbar->m_handle == nullptr) return nullptr;
  window->controls.push_back(std::move(made));
  // The controls look for their toolbar while they are built (their background is its colour).
  window->toolbarControl = toolbar;
  window->toolbar = toolbar->m_handle;

  std::size_t first = window->controls.size();
  ChainContext chain;
  chain.window = window;
  chain.view = view;
  chain.defaultMessage = window->defaultMessage;
  chain.defaultHelp = window->defaultHelp;
  chain.parent = toolbar->m_handle;
  // Controls placed with an application frame would also post to the frame (0004h); no frame
  // exists, so a toolbar's controls post to their own window.
  chain.controlState = kStateToolbar;
  toolbar->m_used = BuildChainIn(std::move(chain), record.firstChild);
  for (std::size_t index = first; index < window->controls.size(); ++index) {
    auto* control = dynamic_cast<WindowedControl*>(window->controls[index].get());
    if (control != nullptr && control->Handle() != nullptr && GetParent(control->Handle()) == toolbar->m_handle)
      toolbar->AddChild(*control);
  }
  toolbar->RebuildKeyTables();
  toolbar->SizeToControls(record);
  if (!toolbar->HasAttribute(kAttrHidden)) ShowWindow(toolbar->m_handle, SW_SHOWNA);
  return toolbar;
}

void ToolbarControl::SizeToControls(const windows::Record& record) {
  windows::UnitConverter converter(m_window->flags, m_window->metrics);
  int height = record.at.height == windows::kNotGiven || record.at.height == kDefaultSize
                   ? m_used.cy + kBottomMargin + GetSystemMetrics(SM_CYBORDER)
                   : std::max(0, converter.ToPixelsY(record.at.height));
  SetWindowPos(m_handle, nullptr, 0, 0, 0, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::uint32_t ToolbarControl::BackgroundValue() const {
  return m_colours.values[0] != windows::kNoColour ? m_colours.values[0] : kSystemColour | COLOR_BTNFACE;
}

void ToolbarControl::RebuildKeyTables() {
  m_hotKeys.Clear();
  m_buttonKeys.Clear();
  for (ControlBase* child : Children()) {
    auto* control = dynamic_cast<WindowedControl*>(child);
    if (control == nullptr || control->FieldNumber() == 0 || control->EffectivelyDisabled() ||
        control->EffectivelyHidden())
      continue;
    std::int32_t command = control->FieldNumber() + windows::kCommandIdentifierBase;
    if (control->HasState(kStateHotKeyOwner)) {
      std::int32_t key = windows::HotKeyCodeOf(windows::HotKeyCharacterOf(control->CurrentText()));
      if (key != 0) m_hotKeys.Add(key, command);
    }
    if (control->TypeCode() == windows::kKindButton && control->Key() != 0) m_buttonKeys.Add(control->Key(), command);
  }
}

bool ToolbarControl::PreTranslate(MSG& message) {
  if (m_handle == nullptr) return false;
  if (IsKeyMessage(message.message)) {
    std::int32_t keyCode = windows::KeyCodeOf(message);
    if (windows::CommandControlByKey(*m_window, m_hotKeys, keyCode)) return true;
    if (windows::CommandControlByKey(*m_window, m_buttonKeys, keyCode)) return true;
  }
  // Tab and the arrows move among the toolbar's controls while one of them has the focus.
  HWND focus = GetFocus();
  if (focus == nullptr || !IsChild(m_handle, focus)) return false;
  return IsDialogMessageA(m_handle, &message) != FALSE;
}

WindowedControl* ToolbarControl::ChildOfWindow(HWND window) const {
  for (ControlBase* child : Children()) {
    auto* control = dynamic_cast<WindowedControl*>(child);
    if (control != nullptr && control->Handle() != nullptr &&
        (control->Handle() == window || IsChild(control->Handle(), window)))
      return control;
  }
  return nullptr;
}

WindowedControl* ToolbarControl::ChildWithIdentifier(UINT_PTR identifier) const {
  for (ControlBase* child : Children()) {
    auto* control = dynamic_cast<WindowedControl*>(child);
    if (control == nullptr || control->Handle() == nullptr) continue;
    // A tooltip names its tool by the tool's window; other notifications by child identifier.
    if (reinterpret_cast<UINT_PTR>(control->Handle()) == identifier ||
        static_cast<UINT_PTR>(GetDlgCtrlID(control->Handle())) == identifier)
      return control;
  }
  return nullptr;
}

void RegisterToolbarKind() { windows::SetToolbarBuilder(BuildToolbar); }

}  // namespace vel::controls
