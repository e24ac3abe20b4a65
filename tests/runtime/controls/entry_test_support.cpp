#include "tests/runtime/controls/entry_test_support.h"

#include <algorithm>
#include <cstring>

#include "platform/display/headless/headless_display.h"
#include "platform/user/beep.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window_object_fields.h"
#include "runtime/windows/window_properties.h"

namespace vel::controls::testing {

std::vector<std::int32_t> EntryTest::Settle(windows::ProcedureWindow& window) {
  window.SetProperty(windows::kPropTimer, 1);
  std::vector<std::int32_t> events;
  for (;;) {
    std::int32_t event = NextEvent(window);
    if (event < 0 || event == Number(windows::EVENT_Timer)) break;
    events.push_back(event);
  }
  window.SetProperty(windows::kPropTimer, 0);
  return events;
}

void EntryTest::OpenAndShow(windows::ProcedureWindow& window, const std::string& declarations,
                            std::initializer_list<void*> use) {
  Open(window, declarations, use);
  ASSERT_EQ(NextEvent(window), Number(windows::EVENT_OpenWindow));
}

std::vector<std::int32_t> EntryTest::Select(windows::ProcedureWindow& window, std::int32_t field) {
  // Input given so far goes where the focus is now.
  std::vector<std::int32_t> events = Settle(window);
  windows::SelectWindowField(window.Object(), field, 0, -1);
  std::vector<std::int32_t> after = Settle(window);
  events.insert(events.end(), after.begin(), after.end());
  return events;
}

void EntryTest::Type(const std::string& text) { platform::CurrentHeadlessDisplay()->TypeText(text); }

void EntryTest::Press(BYTE key, unsigned modifiers) { platform::CurrentHeadlessDisplay()->PressKey(key, modifiers); }

void EntryTest::ClickAt(HWND control, int x, int y, bool twice) {
  POINT point{x, y};
  ClientToScreen(control, &point);
  if (twice) {
    platform::CurrentHeadlessDisplay()->DoubleClick(point);
  } else {
    platform::CurrentHeadlessDisplay()->Click(point);
  }
}

EntryControl* EntryTest::Entry(windows::ProcedureWindow& window, std::int32_t field) {
  return dynamic_cast<EntryControl*>(Control(window, field));
}

std::uint64_t EntryTest::Beeps() { return platform::BeepCount(); }

void EntryTest::PutOnClipboard(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

std::string EntryTest::ClipboardText() {
  if (!OpenClipboard(nullptr)) return "(closed)";
  std::string text;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(block));
    GlobalUnlock(block);
  }
  CloseClipboard();
  return text;
}

bool HasEvent(const std::vector<std::int32_t>& events, std::int32_t code) {
  return std::find(events.begin(), events.end(), Number(code)) != events.end();
}

}  // namespace vel::controls::testing
