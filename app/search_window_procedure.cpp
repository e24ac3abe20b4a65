// SKARV001, written as the procedure generator writes procedures (docs/procedures.md): the
// entry steps, the ACCEPT loop with its event handling, and the return steps.

#include "app/search_window_procedure.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "app/application_module.h"
#include "app/query_address.h"
#include "app/search_fields.h"
#include "app/search_settings.h"
#include "app/service_address.h"
#include "runtime/services/beep_service.h"
#include "runtime/services/query_launcher.h"
#include "runtime/values/binding_scopes.h"
#include "runtime/values/decimal_string_stack.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/procedure_window.h"
#include "runtime/windows/window_object_fields.h"
#include "runtime/windows/window_properties.h"
#include "win32.h"

namespace vel::app {
namespace {

using windows::ProcedureWindow;

/// The right mouse button's key code, which must not reach the window's first event.
constexpr std::int32_t kRightButtonKeyCode = 2;
/// The window's height once open, in dialog units: exactly the row of controls.
constexpr std::int32_t kOpenHeight = 8;
constexpr std::int32_t kRejectSound = 150;
constexpr std::int32_t kRejectDuration = 16;

/// The procedure's state for one call: its variables, its window and its flags.
struct SearchProcedure {
  SearchFields fields{};
  std::unique_ptr<char[]> queryAddress;
  std::string serviceAddress;
  std::int32_t localResponse = 0;
  std::int32_t firstRefreshDone = 0;
  std::int32_t windowOpened = 0;
  ProcedureWindow window;

  /// Redisplays every field from its variable, unless an accept-all pass is validating them.
  void Refresh() {
    windows::GetWindowProperty(nullptr, windows::kPropAcceptAll);
    if (values::PopToLong() != 0) return;
    windows::Redisplay();
  }

  void HandleOpenWindow() {
    // Above every window that is not itself topmost; a refusal leaves it where it is.
    SetWindowPos(window.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    window.SetProperty(windows::kPropHeight, kOpenHeight);
    if (!firstRefreshDone) {
      Refresh();
      firstRefreshDone = 1;
    }
    windows::SelectField(kSearchPromptField);
  }

  void HandleRejected() {
    services::BEEP(kRejectSound, kRejectDuration);
    const std::int32_t field = windows::EventField();
    windows::Redisplay(field, field);
    windows::SelectField(field);
  }

  void HandleAccepted(std::int32_t field) {
    switch (field) {
      case kSearchTextField:
      case kAuthorTextField:
      case kViewFormatField:
      case kMaximumHitsField:
      case kAndOrOptionField:
      case kOrRadioField:
      case kAndRadioField: RebuildQueryAddress(fields, serviceAddress, queryAddress.get()); break;
      case kSearchButtonField:
        values::PushString(queryAddress.get(), kQueryAddressSize);
        values::ClipTop();
        services::LaunchQuery(window.Handle());
        break;
      case kMinimiseButtonField: window.SetProperty(windows::kPropIconized, 1); break;
      case kCloseButtonField: windows::PostEvent(windows::EVENT_CloseWindow - windows::kEventBase); break;
      default: break;
    }
  }

  void HandleEvent() {
    switch (windows::EventNumber() + windows::kEventBase) {
      case windows::EVENT_OpenWindow: HandleOpenWindow(); break;
      case windows::EVENT_GainFocus:
        Refresh();
        firstRefreshDone = 1;
        break;
      case windows::EVENT_Rejected: HandleRejected(); break;
      default: break;
    }
    if (const std::int32_t field = windows::AcceptedField(); field != 0) HandleAccepted(field);
  }

  /// Run once when the ACCEPT loop has ended, however the window was ended.
  void ReturnSteps() {
    WriteSearchSettings(fields);
    if (windowOpened && window.IsOpen()) window.Close();
    ProgramWideValues().response = localResponse;
    values::PopScope();
    queryAddress.reset();
  }
};

}  // namespace

void SKARV001() {
  SearchProcedure procedure;
  // 1. Variables: the flags, the query address of blanks, the bound variables cleared.
  procedure.queryAddress = std::make_unique<char[]>(kQueryAddressSize);
  std::memset(procedure.queryAddress.get(), ' ', kQueryAddressSize);
  ClearSearchFields(procedure.fields);
  SearchFields& fields = procedure.fields;
  // 2. The window, created (not yet shown) with its five USE variables in control order.
  procedure.window.Open("skarvine$SKARV001", "P1$WINNAME",
                        {fields.searchText, fields.authorText, fields.viewFormat, &fields.maximumHits, fields.andOr});
  // 3. The return point is ReturnSteps below: every way out of the loop reaches it.
  // 4. and 5.
  values::PushScope(0);
  procedure.localResponse = 2;
  ProgramWideValues().request = 0;
  ProgramWideValues().response = 0;
  // 6. The user's last choices; and where the archive is.
  ReadSearchSettings(fields);
  procedure.serviceAddress = ServiceAddress();
  // 7. A right-button press that started the program is not the window's first key.
  if (windows::KeyCode() == kRightButtonKeyCode) windows::SetKeyCode(0);
  // 8. The first ACCEPT step shows the window.
  procedure.windowOpened = 1;
  // 9. and 10.
  while (procedure.window.Accept()) procedure.HandleEvent();
  procedure.ReturnSteps();
}

}  // namespace vel::app
