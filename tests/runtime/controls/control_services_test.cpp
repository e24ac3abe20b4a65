// What controls share with their window: colours, the window font, tooltips and file drops.

#include <gtest/gtest.h>

#include "platform/display/headless/headless_display.h"
#include "runtime/controls/control_tooltips.h"
#include "runtime/windows/drag_state.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_font.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

class ControlServices : public ControlTest {};

TEST_F(ControlServices, ColourQueriesFollowTheColourRules) {
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 60)
  prompt "Plain" at(2, 2, 40, 10)
  prompt "Coloured" at(2, 14, 40, 10) font(none, 0, 0x0000FF, default) colours(0x00FFFF, default, default)
  prompt "System" at(2, 26, 40, 10) font(none, 0, 0x8000000D, default)
  prompt "Clear" at(2, 38, 40, 10) attributes(transparent)
end
)");
  ASSERT_TRUE(window.IsOpen());
  HDC dc = GetDC(window.Object().client);
  auto ask = [&](std::int32_t field) {
    return SendMessageA(Control(window, field)->Handle(), QUERY_COLOR, reinterpret_cast<WPARAM>(dc), 0);
  };

  EXPECT_EQ(ask(1), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT)) << "no colour given: the window text colour";

  EXPECT_EQ(ask(2), reinterpret_cast<LRESULT>(BrushForColourValue(0x00FFFF)));
  EXPECT_EQ(GetBkColor(dc) & 0xFFFFFF, 0x00FFFFu);
  EXPECT_EQ(GetTextColor(dc) & 0xFFFFFF, 0x0000FFu);

  ask(3);
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_HIGHLIGHT)) << "bit 31 names a system colour";

  EXPECT_EQ(ask(4), reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

  // The client window asks the control while the platform paints it.
  EXPECT_EQ(SendMessageA(window.Object().client, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(Control(window, 2)->Handle())),
            reinterpret_cast<LRESULT>(BrushForColourValue(0x00FFFF)));
  ReleaseDC(window.Object().client, dc);
}

TEST_F(ControlServices, ControlsShowTheWindowFontUnlessTheyHaveTheirOwn) {
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 60) font("Arial", 10, default, 400)
  button "Window's" at(2, 2, 60, 12)
  button "Own" at(2, 20, 60, 12) font(none, 14, default, 700)
end
)");
  ASSERT_TRUE(window.IsOpen());
  HFONT windowFont = window.Object().fontHandle;
  ASSERT_NE(windowFont, nullptr);
  EXPECT_EQ(Control(window, 1)->Font()->Handle(), windowFont);
  EXPECT_EQ(SendMessageA(Control(window, 1)->Handle(), WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(windowFont));
  const FontColourData& own = Control(window, 2)->FontData();
  EXPECT_EQ(own.face, "Arial") << "what the control leaves open is the window's";
  EXPECT_EQ(own.points, 14);
  EXPECT_EQ(own.style, 700u);
  EXPECT_NE(Control(window, 2)->Font()->Handle(), windowFont);
  EXPECT_GT(Control(window, 2)->Font()->CharHeight(), Control(window, 1)->Font()->CharHeight());
}

TEST_F(ControlServices, AWindowWithoutAFontTakesItsOpenersFont) {
  AddDefinitions("test$TWO", R"(definition "test$TWO"
window "Opener" at(0, 0, 100, 40) font("Arial", 12, default, 700)
end
window "Opened" at(0, 0, 100, 40)
  prompt "Inherits" at(2, 2, 40, 10)
end
)");
  ProcedureWindow opener;
  opener.Open("test$TWO", "Opener");
  ProcedureWindow opened;
  opened.Open("test$TWO", "Opened");
  ASSERT_TRUE(opened.IsOpen());
  EXPECT_EQ(opened.Object().font, opener.Object().font);
  EXPECT_NE(opened.Object().fontHandle, nullptr);
  EXPECT_NE(opened.Object().fontHandle, opener.Object().fontHandle) << "each window owns its font object";
  EXPECT_EQ(Control(opened, 1)->FontData().points, 12);
  // Dialog units come from the inherited font as well.
  EXPECT_EQ(opened.Object().metrics.charHeight, opener.Object().metrics.charHeight);
  opened.Close();
  EXPECT_EQ(opened.Object().fontHandle, nullptr);
}

TEST_F(ControlServices, ControlsWithATipRegisterWithTheirThreadsTooltipWindow) {
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 60)
  button "A" at(2, 2, 30, 12) tooltip("Search the archive")
  button "B" at(40, 2, 30, 12) tooltip("~ignored") message("Undo the last change")
  button "C" at(80, 2, 30, 12)
end
)");
  ASSERT_TRUE(window.IsOpen());
  HWND tooltip = TooltipWindowOfSlot(window.Object().threadSlot);
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(ClassOf(tooltip), "tooltips_class32");
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2) << "a control without a tip registers nothing";

  auto askText = [&](std::int32_t field, UINT message) {
    NMTTDISPINFOA request{};
    request.hdr.hwndFrom = tooltip;
    request.hdr.idFrom = reinterpret_cast<UINT_PTR>(Control(window, field)->Handle());
    request.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(Control(window, field)->Handle(), message, 0, reinterpret_cast<LPARAM>(&request));
    return std::string(request.lpszText != nullptr ? request.lpszText : "");
  };
  EXPECT_EQ(askText(1, WM_NOTIFY), "Search the archive");
  EXPECT_EQ(askText(2, QUERY_NOTIFY), "Undo the last change")
      << "a tip starting with ~ shows the message text";
  SetTooltipsEnabled(false);
  EXPECT_EQ(askText(1, WM_NOTIFY), "");
  SetTooltipsEnabled(true);
  window.Object().extraFlags = kExtraNoTooltip;
  EXPECT_EQ(askText(1, WM_NOTIFY), "");
  window.Object().extraFlags = 0;

  // A second window of the thread shares the tooltip window.
  AddDefinitions("test$MORE",
                 "definition \"test$MORE\"\nwindow \"M\" at(0, 0, 50, 20)\n  button \"D\" at(2, 2, 30, 12) "
                 "tooltip(\"more\")\nend\n");
  ProcedureWindow second;
  second.Open("test$MORE", "M");
  EXPECT_EQ(TooltipWindowOfSlot(second.Object().threadSlot), tooltip);
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 3);
  second.Close();
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2) << "a closed window's tools go with it";
}

TEST_F(ControlServices, FilesDroppedOnAControlThatTakesThemPostDrop) {
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 60) flags(pixel)
  button "Files" at(10, 10, 80, 30) drop("~FILE", "rows")
  button "None" at(100, 10, 80, 30)
end
)");
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  WindowedControl* files = Control(window, 1);
  EXPECT_TRUE(GetWindowLongA(files->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_FALSE(GetWindowLongA(Control(window, 2)->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_EQ(SendMessageA(files->Handle(), kDragQueryMessage, 0, 0), 1);
  EXPECT_EQ(SendMessageA(Control(window, 2)->Handle(), kDragQueryMessage, 0, 0), 0);
  ATOM rows = GlobalAddAtomA("rows");
  EXPECT_EQ(SendMessageA(files->Handle(), kDragQueryMessage, rows, 0), 1);
  GlobalDeleteAtom(rows);

  POINT point{30, 20};
  ClientToScreen(files->Handle(), &point);
  platform::CurrentHeadlessDisplay()->DropFiles(point, {"/tmp/a.txt", "/tmp/b.txt"});
  std::int32_t event = NextEvent(window);
  while (event == Number(EVENT_Selected)) event = NextEvent(window);
  ASSERT_EQ(event, Number(EVENT_Drop));
  EXPECT_EQ(EventField(), 1);
  EXPECT_EQ(DroppedText(), "/tmp/a.txt,/tmp/b.txt") << "the names joined by commas, in the order given";
  EXPECT_EQ(MatchedIdentifier(), "~FILE");

  // A drop from another control of the runtime (wParam 1) posts Drop as well.
  SendMessageA(files->Handle(), kDropMessage, 1, 0);
  ASSERT_EQ(NextEvent(window), Number(EVENT_Drop));
  // Removing "~FILE" stops taking files from the shell.
  files->SetDropIdentifier(0, "");
  EXPECT_FALSE(GetWindowLongA(files->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  ASSERT_EQ(files->DropIdentifiers().Count(), 1u);
  EXPECT_EQ(files->DropIdentifiers().At(0), "rows");
}

}  // namespace
}  // namespace vel::controls::testing
