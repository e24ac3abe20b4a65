#include "tests/runtime/controls/control_test_support.h"

#include "platform/gdi/font_resolver.h"
#include "runtime/controls/box_control.h"
#include "runtime/controls/button_control.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/control_framework_service.h"
#include "runtime/controls/entry_control.h"
#include "runtime/controls/group_control.h"
#include "runtime/controls/list_control.h"
#include "runtime/controls/option_control.h"
#include "runtime/controls/prompt_control.h"
#include "runtime/controls/radio_control.h"
#include "runtime/controls/spin_control.h"
#include "runtime/services/module_descriptor.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {

void ControlTest::SetUp() {
  WindowTest::SetUp();
  platform::PinFontFile(platform::testing::PinnedFontPath());
  ControlFrameworkService(services::kInitialiseCall);
  RegisterBoxKind();
  RegisterEntryKind();
  RegisterButtonKind();
  RegisterPromptKind();
  RegisterOptionKind();
  RegisterGroupKind();
  RegisterListKind();
  RegisterSpinKind();
  RegisterRadioKind();
}

void ControlTest::TearDown() {
  WindowTest::TearDown();
  ControlFrameworkService(services::kTerminateCall);
  for (int code = 1; code < 40; ++code) RegisterControlKind(static_cast<std::uint8_t>(code), nullptr);
  platform::PinFontFile("");
}

void ControlTest::Open(windows::ProcedureWindow& window, const std::string& declarations,
                       std::initializer_list<void*> use, const std::string& label) {
  AddDefinitions("test$CTL", "definition \"test$CTL\"\n" + declarations);
  window.Open("test$CTL", label, use);
}

WindowedControl* ControlTest::Control(windows::ProcedureWindow& window, std::int32_t field) {
  return dynamic_cast<WindowedControl*>(window.Object().ControlOfField(field));
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

RECT PlaceOf(HWND window) {
  RECT place{};
  GetWindowRect(window, &place);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)); }

}  // namespace vel::controls::testing
