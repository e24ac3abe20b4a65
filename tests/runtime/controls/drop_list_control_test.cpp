// The drop list on the search window's own "Format" and "Hits" fields: opening and closing by
// mouse and keys, the popup list's size and place, the events in the order the user sees them,
// the values stored, and the open drop list the runtime remembers.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/display/headless/headless_display.h"
#include "runtime/controls/drop_list_control.h"
#include "runtime/windows/event_accessors.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

constexpr std::int32_t kFormat = 9;
constexpr std::int32_t kHits = 11;

std::string ReadSource(const std::string& relative) {
  std::ifstream in(std::string(VEL_SOURCE_DIR) + "/" + relative);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A rectangle's edges, comparable in expectations.
std::array<LONG, 4> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(PopupPlacement, BelowOrAboveTheFieldAndNeverPastTheDesktop) {
  SIZE desktop{1024, 768};
  // Below, its right edge on the field's.
  EXPECT_EQ(Edges(PlacePopupList(RECT{100, 50, 180, 65}, 120, 44, desktop)), Edges(RECT{60, 65, 180, 109}));
  // Near the bottom: above the field.
  EXPECT_EQ(Edges(PlacePopupList(RECT{100, 740, 180, 755}, 80, 44, desktop)), Edges(RECT{100, 696, 180, 740}));
  // Too tall for either side: above, but not above the top of the desktop.
  EXPECT_EQ(PlacePopupList(RECT{100, 20, 180, 35}, 80, 760, desktop).top, 0);
  // Wider than the room to the field's left: never left of 0.
  EXPECT_EQ(PlacePopupList(RECT{10, 50, 60, 65}, 200, 44, desktop).left, 0);
  // A field partly past the right edge: the list is pulled left to end there.
  EXPECT_EQ(Edges(PlacePopupList(RECT{1000, 50, 1060, 65}, 60, 44, desktop)), Edges(RECT{964, 65, 1024, 109}));
}

class DropLists : public ControlTest {
 protected:
  char m_search[20];
  char m_author[20];
  char m_format[20];
  std::int16_t m_hits = 25;
  char m_andOr[20];

  void OpenSearchWindow(ProcedureWindow& window, const char* format = "list") {
    std::memset(m_search, ' ', 20);
    std::memset(m_author, ' ', 20);
    std::memset(m_format, ' ', 20);
    std::memcpy(m_format, format, std::strlen(format));
    std::memcpy(m_andOr, "AND                 ", 20);
    AddDefinitions("skarvine$SKARV001", ReadSource("app/skarv001.wdc"));
    window.Open("skarvine$SKARV001", "P1$WINNAME", {m_search, m_author, m_format, &m_hits, m_andOr});
    ASSERT_TRUE(window.IsOpen());
    ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  }
  static DropListControl* Drop(ProcedureWindow& window, std::int32_t field) {
    return dynamic_cast<DropListControl*>(Control(window, field));
  }
  static RECT ScreenRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
  }
  static void Key(DropListControl* drop, WPARAM key) { SendMessageA(drop->Handle(), WM_KEYDOWN, key, 0); }
  std::string Format() const {
    std::string value(m_format, 20);
    return value.substr(0, value.find_last_not_of(' ') + 1);
  }
  // The screen point in the middle of a row of an open drop list.
  static POINT RowPoint(DropListControl* drop, int row) {
    ListControl* popup = drop->Popup();
    POINT point{5, (row - popup->TopRow()) * popup->RowHeight() + popup->RowHeight() / 2};
    ClientToScreen(popup->Handle(), &point);
    return point;
  }
};

TEST_F(DropLists, ClosedFieldsShowTheValueAndOpenToTheirRowCount) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  DropListControl* format = Drop(window, kFormat);
  DropListControl* hits = Drop(window, kHits);
  ASSERT_NE(format, nullptr);
  ASSERT_NE(hits, nullptr);
  EXPECT_EQ(format->ValueText(), "list");
  EXPECT_EQ(hits->ValueText(), "25");
  EXPECT_EQ(format->Popup()->Selected(), 1);
  EXPECT_FALSE(format->IsDropped());
  EXPECT_FALSE(IsWindowVisible(format->Popup()->Handle()));
  EXPECT_TRUE(format->DropFlags() & kDropKeysOpen);
  EXPECT_EQ(window.Object().ControlOfField(kFormat), format) << "only the drop field is a field";

  for (DropListControl* drop : {hits, format}) {
    SendMessageA(drop->Handle(), CB_SHOWDROPDOWN, 1, 0);
    HWND popup = drop->Popup()->Handle();
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(SendMessageA(drop->Handle(), CB_GETDROPPEDSTATE, 0, 0), TRUE);
    EXPECT_EQ(OpenDropList(), drop);
    RECT field = ScreenRectOf(drop->Handle());
    RECT list = ScreenRectOf(popup);
    // Three rows either way: "Hits" drops three, "Format" drops five but has three items.
    EXPECT_EQ(list.bottom - list.top, 3 * drop->Popup()->RowHeight() + 2 * GetSystemMetrics(SM_CYBORDER));
    EXPECT_EQ(list.top, field.bottom);
    EXPECT_EQ(list.right, field.right);
    EXPECT_FALSE(StyleOf(popup) & WS_VSCROLL) << "every row shows: no scroll bar";
    EXPECT_NE(GetActiveWindow(), popup) << "the popup list never takes the activation";
  }
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_DroppingDown), kHits}, {Number(EVENT_DroppingDown), kFormat}}));
  // The runtime remembers the one opened last.
  CloseOpenDropList();
  EXPECT_FALSE(format->IsDropped());
  EXPECT_FALSE(IsWindowVisible(format->Popup()->Handle()));
  EXPECT_EQ(OpenDropList(), nullptr);
  EXPECT_TRUE(hits->IsDropped());
  SendMessageA(hits->Handle(), CB_SHOWDROPDOWN, 0, 0);
  EXPECT_FALSE(IsWindowVisible(hits->Popup()->Handle()));
}

TEST_F(DropLists, MoreItemsThanDropRowsScrollInsideTheSameHeight) {
  ProcedureWindow window;
  std::int16_t hits = 100;
  Open(window, R"(window "W" at(0, 0, 200, 60) flags(pixel) font("Arial", 8, default, 400)
  list use(Int16, 2) at(10, 10, 60, 16) rows(3) values(FixedString, 17, "25|50|100|200|500")
end
)",
       {&hits});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  DropListControl* drop = Drop(window, 1);
  SendMessageA(drop->Handle(), CB_SHOWDROPDOWN, 1, 0);
  ListControl* popup = drop->Popup();
  RECT list = ScreenRectOf(popup->Handle());
  EXPECT_EQ(list.bottom - list.top, 3 * popup->RowHeight() + 2 * GetSystemMetrics(SM_CYBORDER));
  EXPECT_EQ(popup->VisibleRows(), 3);
  EXPECT_EQ(popup->Selected(), 2);
  ASSERT_TRUE(StyleOf(popup->Handle()) & WS_VSCROLL);
  // The scroll bar's down arrow scrolls the open list a row and leaves it open and the choice
  // alone; so does the wheel.
  RECT bar = list;
  bar.left = bar.right - GetSystemMetrics(SM_CXBORDER) - GetSystemMetrics(SM_CXVSCROLL);
  platform::CurrentHeadlessDisplay()->Click(POINT{bar.left + 4, list.bottom - 4});
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_DroppingDown), 1}}));
  EXPECT_EQ(popup->TopRow(), 1);
  EXPECT_EQ(GetScrollPos(popup->Handle(), SB_VERT), 1);
  EXPECT_TRUE(drop->IsDropped());
  SendMessageA(drop->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(popup->TopRow(), 2);
  EXPECT_EQ(hits, 100);
  // Over the closed list it does nothing at all.
  SendMessageA(drop->Handle(), CB_SHOWDROPDOWN, 0, 0);
  SendMessageA(drop->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(popup->TopRow(), 2);
  EXPECT_EQ(hits, 100);
  EXPECT_EQ(PendingEvents(window), Events{});
}

TEST_F(DropLists, ChoosingWithTheMouseStoresTheNumberAndReportsNewSelectionThenAccepted) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  DropListControl* hits = Drop(window, kHits);
  platform::HeadlessDisplay* display = platform::CurrentHeadlessDisplay();
  RECT field = ScreenRectOf(hits->Handle());
  display->Click(POINT{field.right - 3, (field.top + field.bottom) / 2});
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_DroppingDown), kHits}}));
  EXPECT_EQ(GetFocus(), hits->Handle());
  EXPECT_TRUE(hits->IsDropped());
  display->Click(RowPoint(hits, 1));
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_NewSelection), kHits}, {Number(EVENT_Accepted), kHits}}));
  EXPECT_EQ(m_hits, 50);
  EXPECT_EQ(hits->ValueText(), "50");
  EXPECT_FALSE(hits->IsDropped());
  EXPECT_EQ(GetFocus(), hits->Handle()) << "the click on the popup list leaves the focus in the field";
  EXPECT_EQ(GetActiveWindow(), window.Handle());
  // A click on the row already chosen still completes the choice.
  display->Click(POINT{field.left + 3, (field.top + field.bottom) / 2});
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_DroppingDown), kHits}}));
  display->Click(RowPoint(hits, 1));
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_NewSelection), kHits}, {Number(EVENT_Accepted), kHits}}));
  // A click on the field of an open list closes it.
  display->Click(POINT{field.left + 3, (field.top + field.bottom) / 2});
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_DroppingDown), kHits}}));
  display->Click(POINT{field.left + 3, (field.top + field.bottom) / 2});
  EXPECT_EQ(PendingEvents(window), Events{});
  EXPECT_FALSE(hits->IsDropped());
}

TEST_F(DropLists, DownOpensASecondDownMovesAndEnterAccepts) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  DropListControl* format = Drop(window, kFormat);
  SetFocus(format->Handle());
  Key(format, VK_DOWN);
  EXPECT_TRUE(format->IsDropped());
  EXPECT_EQ(Format(), "list") << "opening does not move the selection";
  Key(format, VK_DOWN);
  EXPECT_EQ(Format(), "tabular");
  Key(format, VK_UP);
  EXPECT_EQ(Format(), "list");
  Key(format, VK_RETURN);
  EXPECT_FALSE(format->IsDropped());
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_DroppingDown), kFormat},
                                         {Number(EVENT_NewSelection), kFormat},
                                         {Number(EVENT_NewSelection), kFormat},
                                         {Number(EVENT_Accepted), kFormat}}));
  // Nothing is owed any more: losing the focus reports nothing.
  SetFocus(Drop(window, kHits)->Handle());
  EXPECT_EQ(PendingEvents(window), Events{});
  // F4 and Alt+Up open and close as well.
  DropListControl* hits = Drop(window, kHits);
  Key(hits, VK_F4);
  EXPECT_TRUE(hits->IsDropped());
  SendMessageA(hits->Handle(), WM_SYSKEYDOWN, VK_UP, 0);
  EXPECT_FALSE(hits->IsDropped());
}

TEST_F(DropLists, EscKeepsTheChangeAndAcceptedFollowsWhenTheFocusLeaves) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  DropListControl* format = Drop(window, kFormat);
  SetFocus(format->Handle());
  Key(format, VK_DOWN);
  Key(format, VK_DOWN);
  Key(format, VK_ESCAPE);
  EXPECT_FALSE(format->IsDropped());
  EXPECT_EQ(Format(), "tabular");
  EXPECT_EQ(format->ValueText(), "tabular");
  EXPECT_EQ(PendingEvents(window),
            (Events{{Number(EVENT_DroppingDown), kFormat}, {Number(EVENT_NewSelection), kFormat}}));
  SetFocus(Drop(window, kHits)->Handle());
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_Accepted), kFormat}}));
}

TEST_F(DropLists, TabClosesAnOpenListAndAccepts) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  DropListControl* format = Drop(window, kFormat);
  SetFocus(format->Handle());
  EXPECT_EQ(SendMessageA(format->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
  Key(format, VK_DOWN);
  EXPECT_EQ(SendMessageA(format->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTCHARS);
  Key(format, VK_DOWN);
  Key(format, VK_TAB);
  EXPECT_FALSE(format->IsDropped());
  Events events = PendingEvents(window);
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[2], (Delivered{Number(EVENT_Accepted), kFormat}));
  EXPECT_NE(GetFocus(), format->Handle()) << "Tab moves on to the next control";
}

TEST_F(DropLists, TypingTSelectsTabularAndAgainWrapsToThreaded) {
  ProcedureWindow window;
  OpenSearchWindow(window);
  DropListControl* format = Drop(window, kFormat);
  SetFocus(format->Handle());
  SendMessageA(format->Handle(), WM_CHAR, 't', 0);
  EXPECT_EQ(Format(), "tabular");
  EXPECT_FALSE(format->IsDropped());
  SendMessageA(format->Handle(), WM_CHAR, 't', 0);
  EXPECT_EQ(Format(), "threaded");
  EXPECT_EQ(format->ValueText(), "threaded");
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_NewSelection), kFormat},
                                         {Number(EVENT_Accepted), kFormat},
                                         {Number(EVENT_NewSelection), kFormat},
                                         {Number(EVENT_Accepted), kFormat}}));
}

TEST_F(DropLists, NearTheBottomItOpensUpwardsAndNearTheRightEdgeIsPulledLeft) {
  ProcedureWindow window;
  std::int16_t hits = 25;
  Open(window, R"(window "W" at(0, 0, 120, 30) flags(pixel) attributes(no-border)
  list use(Int16, 2) at(40, 5, 60, 16) rows(3) dropwidth(60) values(FixedString, 9, "25|50|100")
end
)",
       {&hits});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  DropListControl* drop = Drop(window, 1);
  ASSERT_GT(drop->DropWidth(), 60);
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  SetWindowPos(window.Handle(), nullptr, desktop.right - 110, desktop.bottom - 25, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(drop->Handle(), CB_SHOWDROPDOWN, 1, 0);
  RECT field = ScreenRectOf(drop->Handle());
  RECT list = ScreenRectOf(drop->Popup()->Handle());
  EXPECT_EQ(list.bottom, field.top) << "opened upwards";
  EXPECT_EQ(list.right - list.left, drop->DropWidth());
  EXPECT_EQ(list.right, field.right);
  // Moved on towards the right edge, the open list follows and is pulled left.
  SetWindowPos(window.Handle(), nullptr, desktop.right - 60, desktop.bottom - 25, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(drop->Handle(), nullptr, 41, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  list = ScreenRectOf(drop->Popup()->Handle());
  EXPECT_EQ(list.right, desktop.right);
}

}  // namespace
}  // namespace vel::controls::testing
