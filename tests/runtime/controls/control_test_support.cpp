#include "tests/runtime/controls/control_test_support.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/gdi/font_resolver.h"
#include "runtime/controls/box_control.h"
#include "runtime/controls/button_control.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/control_framework_service.h"
#include "runtime/controls/entry_control.h"
#include "runtime/controls/group_control.h"
#include "runtime/controls/image_control.h"
#include "runtime/controls/list_control.h"
#include "runtime/controls/option_control.h"
#include "runtime/controls/prompt_control.h"
#include "runtime/controls/radio_control.h"
#include "runtime/controls/spin_control.h"
#include "runtime/controls/toolbar_control.h"
#include "runtime/services/module_descriptor.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {

void ControlTest::SetUp() {
  WindowTest::SetUp();
  platform::PinFontFile(platform::testing::PinnedFontPath());
  ControlFrameworkService(services::kInitialiseCall);
  RegisterBoxKind();
  RegisterImageKind();
  RegisterEntryKind();
  RegisterButtonKind();
  RegisterPromptKind();
  RegisterOptionKind();
  RegisterGroupKind();
  RegisterListKind();
  RegisterSpinKind();
  RegisterRadioKind();
  RegisterToolbarKind();
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

void ControlTest::OpenSearchWindow(windows::ProcedureWindow& window) {
  std::ifstream in(std::string(VEL_SOURCE_DIR) + "/app/skarv001.wdc");
  std::stringstream text;
  text << in.rdbuf();
  AddProgramDefinitions("skarvine$SKARV001", text.str());
  std::memcpy(m_searchText, "usenet archive      ", 20);
  std::memcpy(m_author, "                    ", 20);
  std::memcpy(m_format, "threaded            ", 20);
  std::memcpy(m_andOr, "OR                  ", 20);
  window.Open("skarvine$SKARV001", "P1$WINNAME", {m_searchText, m_author, m_format, &m_hits, m_andOr});
  ASSERT_TRUE(window.IsOpen());
  ASSERT_EQ(NextEvent(window), Number(windows::EVENT_OpenWindow));
}

Events ControlTest::PendingEvents(windows::ProcedureWindow& window) {
  // Input and timers come after posted messages: they are handled first, so that the window's
  // close request, posted then, queues behind all they caused. It is refused, and the window
  // stays open.
  MSG message{};
  auto take = [&message](UINT first, UINT last) { return PeekMessageA(&message, nullptr, first, last, PM_REMOVE) != 0; };
  while (take(WM_KEYFIRST, WM_KEYLAST) || take(WM_MOUSEFIRST, WM_MOUSELAST) ||
         take(WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK) || take(WM_TIMER, WM_TIMER)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
  Events events;
  for (std::int32_t event = NextEvent(window); event != -1; event = NextEvent(window)) {
    if (event == Number(windows::EVENT_CloseWindow)) {
      window.Refuse();
      break;
    }
    if (event != Number(windows::EVENT_Selected)) events.push_back({event, windows::EventField()});
  }
  return events;
}

void PrintTo(const Delivered& event, std::ostream* out) { *out << '(' << event.number << ", " << event.field << ')'; }

POINT MiddleOf(HWND window) {
  RECT place{};
  GetWindowRect(window, &place);
  return POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
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
