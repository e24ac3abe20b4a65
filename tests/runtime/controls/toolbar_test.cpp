// The toolbar: its controls built into its own window and laid out there, their traffic reaching
// the window, its two key tables and dialog navigation, the click on an empty part that closes
// an open drop list, and error 507; and a golden image of the report preview's toolbar.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/display/headless/headless_display.h"
#include "runtime/controls/button_control.h"
#include "runtime/controls/control_flags.h"
#include "runtime/controls/drop_list_control.h"
#include "runtime/controls/toolbar_control.h"
#include "runtime/windows/client_layout.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/key_codes.h"
#include "runtime/windows/window_object.h"
#include "tests/runtime/controls/control_test_support.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {
namespace {

using namespace windows;
using Events = std::vector<std::pair<std::int32_t, std::int32_t>>;

// A window with a drop list and an entry in its client area and a toolbar of a flat button
// with a hot key and a key code, a prompt, a spin box and a second button.
constexpr char kToolbarWindow[] =
    "window \"W\" at(0, 0, 200, 80) font(\"Arial\", 8, default, 400) attributes(control-look)\n"
    "  entry use(FixedString, 10) at(4, 30, 60, 10) field(1)\n"
    "  list use(FixedString, 10) at(70, 30, 50, 10) rows(3) values(FixedString, 13, \"one|two|three\") field(2)\n"
    "  toolbar at(0, 0, 200, 16)\n"
    "    button \"&Print\" at(2, 2, 30, 12) key(0x74) message(\"Print it\") tooltip(\"Print this\") flags(flat) "
    "field(10)\n"
    "    prompt \"&Page:\" at(40, 4, 20, 8) field(11)\n"
    "    spin use(Int32, 4) at(62, 2, 30, 12) step(1) field(12)\n"
    "    button \"Ne&xt\" at(100, 2, 30, 12) flags(flat) field(13)\n"
    "  end\n"
    "end\n";

class Toolbars : public ControlTest {
 protected:
  static platform::HeadlessDisplay& Display() { return *platform::CurrentHeadlessDisplay(); }

  void OpenToolbarWindow(ProcedureWindow& window) {
    std::memset(m_text, ' ', sizeof m_text);
    std::memset(m_choice, ' ', sizeof m_choice);
    Open(window, kToolbarWindow, {m_text, m_choice, &m_page});
    ASSERT_TRUE(window.IsOpen());
    ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  }
  /// The events the window's ACCEPT loop raised while it took the queued input (keys go through
  /// its pre-translation there), leaving out EVENT:Selected.
  Events EventsOfInput(ProcedureWindow& window) {
    std::vector<std::int32_t> fields;
    std::vector<std::int32_t> numbers = EventsWhileInputIsTaken(window, nullptr, &fields);
    Events events;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      if (numbers[i] != Number(EVENT_Selected)) events.emplace_back(numbers[i], fields[i]);
    }
    return events;
  }
  static ToolbarControl* Toolbar(ProcedureWindow& window) {
    return dynamic_cast<ToolbarControl*>(window.Object().toolbarControl);
  }

  char m_text[10];
  char m_choice[10];
  std::int32_t m_page = 3;
};

TEST_F(Toolbars, ControlsAreBuiltInsideTheToolbarWhichTakesTheTopOfTheWindow) {
  ProcedureWindow window;
  OpenToolbarWindow(window);
  ToolbarControl* toolbar = Toolbar(window);
  ASSERT_NE(toolbar, nullptr);
  HWND strip = toolbar->Handle();
  EXPECT_EQ(ClassOf(strip), kToolbarClassName);
  EXPECT_EQ(window.Object().toolbar, strip);
  EXPECT_EQ(GetParent(strip), window.Handle());
  EXPECT_TRUE(IsWindowVisible(strip));
  ASSERT_EQ(toolbar->Children().size(), 4u);

  for (std::int32_t field : {10, 11, 12, 13}) {
    WindowedControl* control = Control(window, field);
    ASSERT_NE(control, nullptr) << field;
    EXPECT_EQ(GetParent(control->Handle()), strip) << field;
    EXPECT_TRUE(control->HasState(kStateToolbar)) << field;
    EXPECT_TRUE(control->InToolbar());
    EXPECT_EQ(control->HotKeyCharacter(), 0) << "the toolbar keeps its controls' hot keys";
  }
  EXPECT_FALSE(Control(window, 1)->HasState(kStateToolbar));
  EXPECT_EQ(m_page, 3);
  EXPECT_EQ(TextOf(Control(window, 12)->Handle()), "3") << "toolbar controls take their USE addresses in turn";

  // The spin box sits where its definition puts it, in toolbar coordinates.
  UnitConverter converter(window.Object().flags, window.Object().metrics);
  RECT spin = PlaceOf(Control(window, 12)->Handle());
  EXPECT_EQ(spin.left, converter.ToPixelsX(62));
  EXPECT_EQ(spin.top, converter.ToPixelsY(2));

  // The strip spans the client area at the record's height; the client window starts below it.
  RECT area{};
  GetClientRect(window.Handle(), &area);
  RECT placed = PlaceOf(strip);
  EXPECT_EQ(placed.top, 0);
  EXPECT_EQ(placed.right - placed.left, area.right);
  EXPECT_EQ(placed.bottom, converter.ToPixelsY(16));
  EXPECT_EQ(PlaceOf(window.Object().client).top, placed.bottom);
  ShowWindowToolbar(window.Object(), false);
  EXPECT_EQ(PlaceOf(window.Object().client).top, 0) << "a hidden toolbar gives its height back";
  ShowWindowToolbar(window.Object(), true);
  EXPECT_EQ(PlaceOf(window.Object().client).top, placed.bottom);
}

TEST_F(Toolbars, ClicksOnToolbarControlsAndTheirFocusReachTheWindow) {
  ProcedureWindow window;
  OpenToolbarWindow(window);
  Display().Click(MiddleOf(Control(window, 13)->Handle()));
  EXPECT_EQ(EventsOfInput(window), (Events{{Number(EVENT_Accepted), 13}}));

  // A toolbar control that takes the focus is selected as any other field is.
  SetFocus(Control(window, 12)->Handle());
  bool selected = false;
  for (int i = 0; i < 4 && !selected; ++i) {
    PostMessageA(window.Handle(), WM_NULL, 0, 0);
    if (NextEvent(window) == Number(EVENT_Selected)) selected = EventField() == 12;
  }
  EXPECT_TRUE(selected);
  // Tab moves among the toolbar's own controls while one of them has the focus.
  Display().PressKey(VK_TAB);
  EventsOfInput(window);
  EXPECT_EQ(GetFocus(), Control(window, 13)->Handle()) << "on to the toolbar's next tab stop";
  Display().PressKey(VK_TAB);
  EventsOfInput(window);
  EXPECT_EQ(GetFocus(), Control(window, 10)->Handle()) << "round to the toolbar's first";
}

TEST_F(Toolbars, HotKeysAndButtonKeysCommandTheirControlsWhileTheyCanBeUsed) {
  ProcedureWindow window;
  OpenToolbarWindow(window);
  ToolbarControl* toolbar = Toolbar(window);
  EXPECT_NE(toolbar->HotKeys().Find(HotKeyCodeOf('p')), nullptr);
  EXPECT_NE(toolbar->HotKeys().Find(HotKeyCodeOf('x')), nullptr);
  EXPECT_EQ(window.Object().hotKeys.Find(HotKeyCodeOf('p')), nullptr) << "not in the window's own table";
  EXPECT_NE(toolbar->ButtonKeys().Find(VK_F5), nullptr);

  SetFocus(Control(window, 1)->Handle());
  PendingEvents(window);
  Display().PressKey('X', platform::kAlt);
  Display().PressKey(VK_F5);
  // Alt+P is the button's and the prompt's letter at once: the button, first in the toolbar, has it.
  Display().PressKey('P', platform::kAlt);
  EXPECT_EQ(EventsOfInput(window), (Events{{Number(EVENT_Accepted), 13},
                                         {Number(EVENT_Accepted), 10},
                                         {Number(EVENT_Accepted), 10}}));

  WindowedControl* next = Control(window, 13);
  next->EnableOrDisable(false);
  EXPECT_EQ(toolbar->HotKeys().Find(HotKeyCodeOf('x')), nullptr) << "a disabled control gives up its hot key";
  Display().PressKey('X', platform::kAlt);
  EXPECT_EQ(EventsOfInput(window), Events{});
  next->EnableOrDisable(true);
  next->SetText("&Onward");
  EXPECT_EQ(toolbar->HotKeys().Find(HotKeyCodeOf('x')), nullptr);
  EXPECT_NE(toolbar->HotKeys().Find(HotKeyCodeOf('o')), nullptr) << "a new text moves the hot key";
  Display().PressKey('O', platform::kAlt);
  EXPECT_EQ(EventsOfInput(window), (Events{{Number(EVENT_Accepted), 13}}));
}

TEST_F(Toolbars, AClickOnAnEmptyPartClosesTheOpenDropList) {
  ProcedureWindow window;
  OpenToolbarWindow(window);
  auto* drop = dynamic_cast<DropListControl*>(Control(window, 2));
  ASSERT_NE(drop, nullptr);
  SendMessageA(drop->Handle(), CB_SHOWDROPDOWN, 1, 0);
  ASSERT_EQ(OpenDropList(), drop);
  ASSERT_TRUE(drop->IsDropped());

  // Right of the last control: nothing of the toolbar's is there.
  RECT strip{};
  GetWindowRect(Toolbar(window)->Handle(), &strip);
  POINT empty{strip.right - 4, strip.top + 3};
  ASSERT_EQ(WindowFromPoint(empty), Toolbar(window)->Handle());
  Display().Click(empty);
  PendingEvents(window);
  EXPECT_FALSE(drop->IsDropped());
  EXPECT_EQ(OpenDropList(), nullptr);
  // With no list open the click does nothing at all.
  Display().Click(empty);
  EXPECT_EQ(EventsOfInput(window), Events{});
}

TEST_F(Toolbars, TooltipRequestsThroughTheToolbarReachTheControl) {
  ProcedureWindow window;
  OpenToolbarWindow(window);
  HWND print = Control(window, 10)->Handle();
  NMTTDISPINFOA request{};
  request.hdr.hwndFrom = nullptr;
  request.hdr.idFrom = reinterpret_cast<UINT_PTR>(print);
  request.hdr.code = TTN_NEEDTEXTA;
  SendMessageA(Toolbar(window)->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
  ASSERT_NE(request.lpszText, nullptr);
  EXPECT_STREQ(request.lpszText, "Print this");

  // By child identifier as well; a control without a tip leaves the request alone.
  NMTTDISPINFOA other{};
  other.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Control(window, 13)->Handle()));
  other.hdr.code = TTN_NEEDTEXTA;
  SendMessageA(Toolbar(window)->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&other));
  EXPECT_EQ(other.lpszText, nullptr);
  // A notification for no control of the toolbar is answered 0.
  other.hdr.idFrom = 0x7777;
  EXPECT_EQ(SendMessageA(Toolbar(window)->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&other)), 0);
  EXPECT_EQ(SendMessageA(Toolbar(window)->Handle(), WM_NOTIFY, 0, 0), 0);
}

TEST_F(Toolbars, AFlatToolbarButtonShowsTheToolbarNotTheWindowColour) {
  ProcedureWindow window;
  Open(window,
       "window \"W\" at(0, 0, 120, 40) colours(0x808080, default, default)\n"
       "  toolbar at(0, 0, 120, 16)\n"
       "    button \"Go\" at(2, 2, 30, 12) flags(flat) field(1)\n"
       "  end\n"
       "end\n");
  ASSERT_TRUE(window.IsOpen());
  HBRUSH brush = Control(window, 1)->BackgroundBrush();
  LOGBRUSH description{};
  ASSERT_NE(GetObjectA(brush, sizeof description, &description), 0);
  EXPECT_EQ(description.lbColor, GetSysColor(COLOR_BTNFACE));
}

using ToolbarDeathTest = Toolbars;

TEST_F(ToolbarDeathTest, AToolbarWithNoWindowToBuildInIsError507) {
  EXPECT_EXIT(
      {
        Record record;
        record.kind = kKindToolBar;
        ToolbarControl::Create(nullptr, DefinitionView(), record);
        std::exit(0);
      },
      ::testing::ExitedWithCode(2), "Internal error 07 : CTLMAIN");
}

class ToolbarGoldens : public Toolbars {};

TEST_F(ToolbarGoldens, TheReportPreviewToolbar) {
  std::ifstream in(std::string(VEL_SOURCE_DIR) + "/app/skarv_sf.wdc");
  std::stringstream text;
  text << in.rdbuf();
  AddProgramDefinitions("skarvine$SKARV_SF", text.str());
  std::int32_t variables[10] = {0, 0, 0, 0, 0, 0, 0, 12, 2, 1};
  ProcedureWindow window;
  window.Open("skarvine$SKARV_SF", "P9$PREVIEW:WINDOW",
              {&variables[0], &variables[1], &variables[2], &variables[3], &variables[4], &variables[5],
               &variables[6], &variables[7], &variables[8], &variables[9]});
  ASSERT_TRUE(window.IsOpen());
  ToolbarControl* toolbar = Toolbar(window);
  ASSERT_NE(toolbar, nullptr);
  ASSERT_EQ(toolbar->Children().size(), 9u) << "three buttons, three prompts, three spin boxes";
  for (std::int32_t field : {17, 18, 19}) {
    auto* button = dynamic_cast<ButtonControl*>(Control(window, field));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->HasIcon()) << field;
  }
  PendingEvents(window);
  RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  auto shot = platform::testing::CaptureWindowPixels(toolbar->Handle());
  ASSERT_NE(shot, nullptr);
  // The row of controls and a little beyond: the rest of the strip is the same face colour.
  RECT used{0, 0, toolbar->UsedExtent().cx + 16, shot->Height()};
  auto row = std::make_unique<platform::Surface>(used.right, used.bottom);
  for (int y = 0; y < used.bottom; ++y)
    for (int x = 0; x < used.right; ++x) row->SetPixel(x, y, shot->Pixel(x, y));
  EXPECT_EQ(platform::testing::CompareWithGolden(*row, "toolbar_report_preview"), "");
}

}  // namespace
}  // namespace vel::controls::testing
