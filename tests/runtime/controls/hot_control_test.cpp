// The hot control: one control at a time follows the pointer through one mouse hook on its
// thread; flat buttons light up and go dark with it, a toolbar button shows its message text in
// the status bar while the pointer rests on it, and its tooltip shows (golden). A release by a
// control that is not the hot one is error 505.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/display/headless/headless_display.h"
#include "runtime/controls/button_control.h"
#include "runtime/controls/control_tooltips.h"
#include "runtime/controls/hot_control.h"
#include "runtime/controls/toolbar_control.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_status_text.h"
#include "tests/runtime/controls/control_test_support.h"
#include "tests/support/golden.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

constexpr std::int32_t kGet = 3;
constexpr std::int32_t kUndo = 4;
constexpr std::int32_t kCancel = 5;
constexpr std::int32_t kPrint = 17;
constexpr std::int32_t kNextPage = 19;

class HotControls : public ControlTest {
 protected:
  static platform::HeadlessDisplay& Display() { return *platform::CurrentHeadlessDisplay(); }
  static ButtonControl* Button(ProcedureWindow& window, std::int32_t field) {
    return dynamic_cast<ButtonControl*>(Control(window, field));
  }
  /// Moves the pointer and lets the window take the move (the hook sees it then).
  void MoveTo(ProcedureWindow& window, POINT point) {
    Display().MoveMouse(point);
    PendingEvents(window);
  }
  void OpenPreviewWindow(ProcedureWindow& window) {
    std::ifstream in(std::string(VEL_SOURCE_DIR) + "/app/skarv_sf.wdc");
    std::stringstream text;
    text << in.rdbuf();
    AddProgramDefinitions("skarvine$SKARV_SF", text.str());
    std::vector<void*> use;
    for (std::int32_t& variable : m_previewVariables) use.push_back(&variable);
    window.Open("skarvine$SKARV_SF", "P9$PREVIEW:WINDOW",
                {use[0], use[1], use[2], use[3], use[4], use[5], use[6], use[7], use[8], use[9]});
    ASSERT_TRUE(window.IsOpen());
  }
  std::int32_t m_previewVariables[10] = {0, 0, 0, 0, 0, 0, 0, 1, 1, 1};
};

TEST_F(HotControls, MovingStraightFromOneFlatButtonOntoTheNextMovesTheHotStateWithOneHook) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  ButtonControl* undo = Button(window, kUndo);
  ButtonControl* cancel = Button(window, kCancel);
  ASSERT_NE(undo, nullptr);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(HotControl(), nullptr);
  EXPECT_EQ(HotControlHook(), nullptr);

  MoveTo(window, MiddleOf(undo->Handle()));
  EXPECT_EQ(HotControl(), undo);
  EXPECT_TRUE(undo->HasDrawState(kDrawHot));
  HHOOK first = HotControlHook();
  ASSERT_NE(first, nullptr);

  // No time passes: the hook, not the hover timer, takes the hot state over.
  MoveTo(window, MiddleOf(cancel->Handle()));
  EXPECT_EQ(HotControl(), cancel);
  EXPECT_TRUE(cancel->HasDrawState(kDrawHot));
  EXPECT_FALSE(undo->HasDrawState(kDrawHot)) << "the first button is flat again at once";
  ASSERT_NE(HotControlHook(), nullptr);
  EXPECT_FALSE(UnhookWindowsHookEx(first)) << "the first button's hook is gone";

  // Moving within the hot button keeps it and its hook.
  HHOOK second = HotControlHook();
  POINT inside = MiddleOf(cancel->Handle());
  MoveTo(window, POINT{inside.x + 1, inside.y});
  EXPECT_EQ(HotControl(), cancel);
  EXPECT_EQ(HotControlHook(), second);

  // Off every button: nothing is hot and no hook is left.
  MoveTo(window, MiddleOf(Control(window, 2)->Handle()));
  EXPECT_EQ(HotControl(), nullptr);
  EXPECT_EQ(HotControlHook(), nullptr);
  EXPECT_FALSE(cancel->HasDrawState(kDrawHot));
  EXPECT_FALSE(UnhookWindowsHookEx(second));
}

TEST_F(HotControls, AHotControlThatGoesAwayTakesItsHookWithIt) {
  {
    ProcedureWindow window;
    OpenSearchWindow(window);
    MoveTo(window, MiddleOf(Button(window, kGet)->Handle()));
    ASSERT_EQ(HotControl(), Button(window, kGet));
  }
  EXPECT_EQ(HotControl(), nullptr);
  EXPECT_EQ(HotControlHook(), nullptr);
}

TEST_F(HotControls, AToolbarButtonUnderThePointerShowsItsMessageTextAndItsTip) {
  ProcedureWindow window;
  OpenPreviewWindow(window);
  PendingEvents(window);
  EXPECT_EQ(StatusText(window.Object(), 0), "Previewing the report");
  ButtonControl* print = Button(window, kPrint);
  ASSERT_NE(print, nullptr);
  ASSERT_TRUE(print->InToolbar());

  MoveTo(window, MiddleOf(print->Handle()));
  EXPECT_EQ(HotControl(), print);
  EXPECT_EQ(StatusText(window.Object(), 0), "Print the report");
  // Straight onto the next button but one: its text replaces the first's.
  MoveTo(window, MiddleOf(Button(window, kNextPage)->Handle()));
  EXPECT_EQ(StatusText(window.Object(), 0), "Show the next page or pages");
  MoveTo(window, MiddleOf(window.Object().client));
  EXPECT_EQ(HotControl(), nullptr);
  EXPECT_EQ(StatusText(window.Object(), 0), "Previewing the report");

  // The pointer rests on the button: after the initial delay its tip shows under the pointer.
  MoveTo(window, MiddleOf(print->Handle()));
  HWND tooltip = TooltipWindowOfSlot(window.Object().threadSlot);
  ASSERT_NE(tooltip, nullptr);
  auto delay = static_cast<std::uint64_t>(SendMessageA(tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
  Display().AdvanceClock(delay);
  PendingEvents(window);
  ASSERT_TRUE(IsWindowVisible(tooltip));
  char text[64] = {};
  GetWindowTextA(tooltip, text, sizeof text);
  RedrawWindow(tooltip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  auto shot = platform::testing::CaptureWindowPixels(tooltip);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(platform::testing::CompareWithGolden(*shot, "tooltip_over_toolbar_button"), "");
}

using HotControlsDeathTest = HotControls;

TEST_F(HotControlsDeathTest, ReleasingFromAControlThatIsNotHotIsError505) {
  EXPECT_EXIT(
      {
        ProcedureWindow window;
        OpenSearchWindow(window);
        MoveTo(window, MiddleOf(Button(window, kUndo)->Handle()));
        ReleaseHotControl(*Button(window, kCancel));
        std::exit(0);
      },
      ::testing::ExitedWithCode(2), "Internal error 05 : CTLMAIN");
}

}  // namespace
}  // namespace vel::controls::testing
