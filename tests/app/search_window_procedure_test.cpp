// SKARV001 on the headless display: the window it opens, the address it launches for the
// user's choices, and the settings it keeps, whichever way the window ends.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/application_module.h"
#include "app/search_fields.h"
#include "platform/user/beep.h"
#include "platform/user/termination_signals.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_properties.h"
#include "runtime/values/decimal_string_stack.h"
#include "tests/app/search_window_session.h"

namespace vel::app {
namespace {

using Arguments = std::vector<std::string>;

class SearchWindowProcedure : public testing::SearchWindowSession {};

/// The window's client height in dialog units, as the window reports it.
std::int32_t HeightInDialogUnits() {
  windows::GetWindowProperty(nullptr, windows::kPropHeight);
  return values::PopToLong();
}

TEST_F(SearchWindowProcedure, AFirstRunOpensOneTopmostRowWithNothingChosenAndKeepsTheEmptyChoices) {
  bool topmost = false;
  std::int32_t height = 0;
  bool visible = false;
  std::string format = "?", hits = "?";
  Then([&] {
    topmost = (GetWindowLongA(WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    height = HeightInDialogUnits();
    visible = IsWindowVisible(WindowHandle()) != FALSE;
    format = FieldText(kViewFormatField);
    hits = FieldText(kMaximumHitsField);
  });
  Press(kCloseButtonField);
  RunProcedure();

  EXPECT_TRUE(topmost);
  EXPECT_EQ(height, 8) << "exactly the row of controls";
  EXPECT_TRUE(visible);
  EXPECT_EQ(format, "");
  EXPECT_EQ(Settings(), "[SearchParms]\r\nMaxhits=0\r\nViewFormat=\r\nAndOr=\r\n");
  EXPECT_EQ(ProgramWideValues().response, 2);
  EXPECT_FALSE(m_opener.HasRecord());
}

TEST_F(SearchWindowProcedure, TheSearchButtonLaunchesTheChoicesAndTheCloseButtonKeepsThem) {
  Enter(kSearchTextField, "foo bar");
  Enter(kViewFormatField, "list");
  Enter(kMaximumHitsField, "50");
  ChooseRadio(kAndRadioField);
  Press(kSearchButtonField);
  Press(kCloseButtonField);
  RunProcedure();

  EXPECT_EQ(m_opener.NextArguments(), Arguments{testing::ExpectedAddress("foo bar", "AND", "list", "50", "")});
  EXPECT_FALSE(m_opener.HasRecord()) << "one search, for the one click on the search button";
  EXPECT_EQ(Settings(), "[SearchParms]\r\nMaxhits=50\r\nViewFormat=list\r\nAndOr=AND\r\n");
  EXPECT_EQ(TraceLog(), "");
}

// Enter in an open list belongs to the list, which it closes on the row reached; it does not
// press the window's default button, the search.
TEST_F(SearchWindowProcedure, EnterClosesAnOpenListWithoutSearching) {
  bool closed = false;
  Press(kViewFormatField);
  Key(VK_DOWN);
  Key(VK_RETURN);
  Then([&] { closed = !SendMessageA(FieldHandle(kViewFormatField), CB_GETDROPPEDSTATE, 0, 0); });
  Press(kSearchButtonField);
  Press(kCloseButtonField);
  RunProcedure();

  EXPECT_TRUE(closed);
  EXPECT_EQ(m_opener.NextArguments(), Arguments{testing::ExpectedAddress("", "", "threaded", "0", "")});
  EXPECT_FALSE(m_opener.HasRecord()) << "only the click on the search button searches";
  EXPECT_EQ(Settings(), "[SearchParms]\r\nMaxhits=0\r\nViewFormat=threaded\r\nAndOr=\r\n");
}

// Enter in an entry presses the default button, the search, for the text just typed.
TEST_F(SearchWindowProcedure, EnterInAnEntrySearchesForTheTextJustTyped) {
  Enter(kSearchTextField, "x");
  Key(VK_RETURN);
  Press(kCloseButtonField);
  RunProcedure();
  EXPECT_EQ(m_opener.NextArguments(), Arguments{testing::ExpectedAddress("x", "", "", "0", "")});
  EXPECT_FALSE(m_opener.HasRecord());
}

TEST_F(SearchWindowProcedure, SearchingBeforeAnyInputLaunchesAnEmptyAddressThatOpensNothing) {
  Press(kSearchButtonField);
  Press(kCloseButtonField);
  RunProcedure();
  EXPECT_FALSE(m_opener.HasRecord());
  EXPECT_EQ(TraceLog(), "Query launch failed (shell error 2): \r\n");
}

TEST_F(SearchWindowProcedure, TheLastChoicesComeBackAndOnlyANewNumberOfHitsChangesTheAddress) {
  WriteSettings("[SearchParms]\r\nMaxhits=25\r\nViewFormat=tabular\r\nAndOr=OR\r\n");
  std::string format, hits;
  bool orChecked = false;
  Then([&] {
    format = FieldText(kViewFormatField);
    hits = FieldText(kMaximumHitsField);
    orChecked = SendMessageA(FieldHandle(kOrRadioField), BM_GETCHECK, 0, 0) == BST_CHECKED;
  });
  Enter(kMaximumHitsField, "100");
  Press(kSearchButtonField);
  Press(kCloseButtonField);
  RunProcedure();

  EXPECT_EQ(format, "tabular");
  EXPECT_EQ(hits, "25");
  EXPECT_TRUE(orChecked);
  EXPECT_EQ(m_opener.NextArguments(), Arguments{testing::ExpectedAddress("", "OR", "tabular", "100", "")});
  EXPECT_EQ(Settings(), "[SearchParms]\r\nMaxhits=100\r\nViewFormat=tabular\r\nAndOr=OR\r\n");
}

TEST_F(SearchWindowProcedure, ASearchTextOverTwentyCharactersGoesInAsItsFirstTwenty) {
  Enter(kSearchTextField, "abcdefghijklmnopqrstuvwxyz0123456789");
  Enter(kAuthorTextField, "  someone with a very long name");
  Press(kSearchButtonField);
  RunProcedure();
  EXPECT_EQ(m_opener.NextArguments(),
            Arguments{testing::ExpectedAddress("abcdefghijklmnopqrst", "", "", "0", "  someone with a ver")});
}

TEST_F(SearchWindowProcedure, TheMinimiseButtonMinimisesAndRestoringShowsTheRowAgain) {
  bool iconic = false, restoredIconic = true;
  std::int32_t restoredHeight = 0;
  Press(kMinimiseButtonField);
  Then([&] {
    iconic = IsIconic(WindowHandle()) != FALSE;
    ShowWindow(WindowHandle(), SW_RESTORE);
  });
  Then([&] {
    restoredIconic = IsIconic(WindowHandle()) != FALSE;
    restoredHeight = HeightInDialogUnits();
  });
  Press(kCloseButtonField);
  RunProcedure();
  EXPECT_TRUE(iconic);
  EXPECT_FALSE(restoredIconic);
  EXPECT_EQ(restoredHeight, 8);
}

TEST_F(SearchWindowProcedure, EndingTheWindowFromTheDesktopKeepsTheChoicesAsTheCloseButtonDoes) {
  WriteSettings("[Service]\r\nAddress=https://news.example.org\r\n");
  Enter(kViewFormatField, "threaded");
  Enter(kMaximumHitsField, "100");
  ChooseRadio(kOrRadioField);
  Then([] { PostMessageA(WindowHandle(), WM_CLOSE, 0, 0); });
  RunProcedure();
  EXPECT_EQ(Settings(),
            "[Service]\r\nAddress=https://news.example.org\r\n"
            "[SearchParms]\r\nMaxhits=100\r\nViewFormat=threaded\r\nAndOr=OR\r\n");
}

TEST_F(SearchWindowProcedure, ATerminationSignalEndsTheWindowAndKeepsTheChoicesToo) {
  Enter(kMaximumHitsField, "25");
  // What SIGTERM, SIGINT and SIGHUP lead to.
  Then([] { platform::CloseAllTopLevelWindows(); });
  RunProcedure();
  EXPECT_EQ(Settings(), "[SearchParms]\r\nMaxhits=25\r\nViewFormat=\r\nAndOr=\r\n");
}

TEST_F(SearchWindowProcedure, TheUsersServiceAddressStartsTheQuery) {
  WriteSettings("[Service]\r\nAddress=https://news.example.org/archive\r\n");
  Enter(kSearchTextField, "x");
  Press(kSearchButtonField);
  RunProcedure();
  const Arguments launched = m_opener.NextArguments();
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_EQ(launched[0].rfind("https://news.example.org/archive/skquery.xp?QRY=x&", 0), 0u) << launched[0];
}

TEST_F(SearchWindowProcedure, ARejectedValueBeepsAndIsShownAndSelectedAgain) {
  const std::uint64_t beeps = platform::BeepCount();
  bool authorFocused = false;
  Then([] { windows::PostEvent(windows::EVENT_Rejected - windows::kEventBase, kAuthorTextField); });
  Then([&] {
    const HWND focus = GetFocus();
    authorFocused = focus != nullptr && (focus == FieldHandle(kAuthorTextField) || IsChild(FieldHandle(kAuthorTextField), focus));
  });
  RunProcedure();
  EXPECT_EQ(platform::BeepCount(), beeps + 1);
  EXPECT_EQ(platform::LastBeepType(), 0xFFFFFFFFu) << "the standard beep";
  EXPECT_TRUE(authorFocused);
}

}  // namespace
}  // namespace vel::app
