// Keyboard-only editing sessions with entries on the headless display: what the variables hold
// afterwards, which events the procedure sees, when the entry beeps, and the edit-control
// messages other code drives it with.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/display/headless/headless_display.h"
#include "runtime/windows/event_codes.h"
#include "tests/runtime/controls/entry_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

const char kTwoEntries[] = R"(
window "W" at(0, 0, 300, 40) font("Arial", 8, default, 400)
  entry use(FixedString, 20) at(4, 4, 120, 10) picture("s40")
  entry use(FixedString, 10) at(130, 4, 80, 10) picture("s10")
end
)";

class EntryEditing : public EntryTest {
 protected:
  char m_first[20];
  char m_second[10];

  void OpenTwo(ProcedureWindow& window) {
    std::memset(m_first, ' ', sizeof m_first);
    std::memcpy(m_second, "old       ", 10);
    OpenAndShow(window, kTwoEntries, {m_first, m_second});
  }
  std::string First() const { return std::string(m_first, sizeof m_first); }
  std::string Second() const { return std::string(m_second, sizeof m_second); }
};

TEST_F(EntryEditing, TypedTextReachesTheVariableWhenTheFocusLeaves) {
  ProcedureWindow window;
  OpenTwo(window);
  Select(window, 1);
  EXPECT_EQ(GetFocus(), Entry(window, 1)->Handle());
  Type("Hello world");
  Settle(window);
  EXPECT_EQ(First(), std::string(20, ' ')) << "nothing is stored while the entry is edited";
  EXPECT_EQ(TextOf(Entry(window, 1)->Handle()), "Hello world");
  std::vector<std::int32_t> events = Select(window, 2);
  EXPECT_TRUE(HasEvent(events, EVENT_Accepted));
  EXPECT_EQ(First(), "Hello world         ");
  EXPECT_EQ(GetFocus(), Entry(window, 2)->Handle());
  // Coming in selects all: typing replaces the old value.
  Type("new");
  Select(window, 1);
  EXPECT_EQ(Second(), "new       ");
  // Leaving an entry unchanged reports nothing.
  EXPECT_FALSE(HasEvent(Select(window, 2), EVENT_Accepted));
}

TEST_F(EntryEditing, TheLimitIsThePicturesWidthAndTheVariableKeepsWhatFits) {
  ProcedureWindow window;
  OpenTwo(window);
  Select(window, 1);
  std::uint64_t beeps = Beeps();
  Type(std::string(40, 'a') + "b");
  Settle(window);
  EXPECT_EQ(Beeps(), beeps + 1) << "the 41st character beeps";
  EXPECT_EQ(TextOf(Entry(window, 1)->Handle()), std::string(40, 'a'));
  Select(window, 2);
  EXPECT_EQ(First(), std::string(20, 'a'));
}

TEST_F(EntryEditing, CaretKeysSelectionAndDeletion) {
  ProcedureWindow window;
  OpenTwo(window);
  Select(window, 1);
  Type("one two three");
  Press(VK_LEFT, platform::kControl);
  Press(VK_LEFT, platform::kControl | platform::kShift);
  Settle(window);
  EntryControl* entry = Entry(window, 1);
  EXPECT_EQ(entry->Buffer().SelectedText(), "two ");
  Press(VK_DELETE);
  Press(VK_HOME);
  Press(VK_RIGHT, platform::kShift);
  Type("O");
  Press(VK_END);
  Press(VK_BACK);
  Settle(window);
  EXPECT_EQ(TextOf(entry->Handle()), "One thre");
  DWORD start = 0;
  DWORD end = 0;
  LRESULT both = SendMessageA(entry->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 8u);
  EXPECT_EQ(end, 8u);
  EXPECT_EQ(both, MAKELONG(8, 8));
  SendMessageA(entry->Handle(), EM_SETSEL, 6, 2);
  EXPECT_EQ(SendMessageA(entry->Handle(), EM_GETSEL, 0, 0), MAKELONG(2, 6));
  EXPECT_EQ(SendMessageA(entry->Handle(), EM_GETMODIFY, 0, 0), 1);
  SendMessageA(entry->Handle(), EM_SETMODIFY, 0, 0);
  EXPECT_EQ(SendMessageA(entry->Handle(), EM_GETMODIFY, 0, 0), 0);
  char small[4];
  EXPECT_EQ(SendMessageA(entry->Handle(), WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)), 3);
  EXPECT_STREQ(small, "One");
  EXPECT_EQ(SendMessageA(entry->Handle(), WM_GETTEXTLENGTH, 0, 0), 8);
}

TEST_F(EntryEditing, EscapeRestoresTheValueEditingBeganWith) {
  ProcedureWindow window;
  OpenTwo(window);
  Select(window, 2);
  Type("changed");
  Press(VK_ESCAPE);
  Settle(window);
  EXPECT_EQ(TextOf(Entry(window, 2)->Handle()), "old");
  EXPECT_EQ(Entry(window, 2)->Buffer().SelectedText(), "old");
  EXPECT_FALSE(HasEvent(Select(window, 1), EVENT_Accepted));
  EXPECT_EQ(Second(), "old       ");
}

TEST_F(EntryEditing, CutCopyAndPasteGoThroughTheDesktopClipboard) {
  ProcedureWindow window;
  OpenTwo(window);
  Select(window, 1);
  Type("copy me");
  Press(VK_HOME, platform::kShift);
  Press('C', platform::kControl);
  Settle(window);
  EXPECT_EQ(ClipboardText(), "copy me");
  Press(VK_END);
  Press('V', platform::kControl);
  Settle(window);
  EXPECT_EQ(TextOf(Entry(window, 1)->Handle()), "copy mecopy me");
  Press(VK_LEFT, platform::kShift | platform::kControl);
  Press('X', platform::kControl);
  Settle(window);
  EXPECT_EQ(TextOf(Entry(window, 1)->Handle()), "copy mecopy ");
  EXPECT_EQ(ClipboardText(), "me");
  // A character the font cannot show is pasted as its default character.
  PutOnClipboard("a\tb");
  Press('V', platform::kControl);
  Settle(window);
  std::string text = TextOf(Entry(window, 1)->Handle());
  ASSERT_EQ(text.size(), 15u);
  EXPECT_EQ(text.substr(0, 13), "copy mecopy a");
  EXPECT_NE(text[13], '\t');
  EXPECT_EQ(static_cast<unsigned char>(text[13]), Entry(window, 1)->Font()->DefaultChar());
  // Pasting more than the limit allows beeps and inserts nothing.
  std::uint64_t beeps = Beeps();
  PutOnClipboard(std::string(40, 'z'));
  Press('V', platform::kControl);
  Settle(window);
  EXPECT_EQ(Beeps(), beeps + 1);
  EXPECT_EQ(TextOf(Entry(window, 1)->Handle()).size(), 15u);
}

TEST_F(EntryEditing, PasswordEntriesNeverCopy) {
  char secret[10];
  std::memset(secret, ' ', sizeof secret);
  ProcedureWindow window;
  OpenAndShow(window, R"(window "W" at(0, 0, 200, 40) font("Arial", 8, default, 400)
  entry use(FixedString, 10) at(4, 4, 80, 10) picture("s10") mode(password)
end
)",
              {secret});
  Select(window, 1);
  PutOnClipboard("before");
  Type("hidden");
  Press(VK_HOME, platform::kShift);
  Press('C', platform::kControl);
  Settle(window);
  EXPECT_EQ(ClipboardText(), "before");
  Press('X', platform::kControl);
  Settle(window);
  EXPECT_EQ(ClipboardText(), "before");
  EXPECT_EQ(TextOf(Entry(window, 1)->Handle()), "") << "Ctrl+X still deletes the selection";
}

TEST_F(EntryEditing, ReadOnlyUpperCaseAndCapitalisedEntries) {
  char fixed[10];
  char upper[10];
  char names[20];
  std::memcpy(fixed, "keep      ", 10);
  std::memset(upper, ' ', sizeof upper);
  std::memset(names, ' ', sizeof names);
  ProcedureWindow window;
  OpenAndShow(window, R"(window "W" at(0, 0, 300, 40) font("Arial", 8, default, 400)
  entry use(FixedString, 10) at(4, 4, 60, 10) picture("s10") mode(readonly)
  entry use(FixedString, 10) at(70, 4, 60, 10) picture("s10") mode(upper)
  entry use(FixedString, 20) at(140, 4, 120, 10) picture("s20") mode(capitalise)
end
)",
              {fixed, upper, names});
  Select(window, 1);
  Type("xy");
  Press(VK_BACK);
  Select(window, 2);
  Type("abc");
  Select(window, 3);
  Type("o'neil van-dyke");
  Select(window, 1);
  EXPECT_EQ(std::string(fixed, 10), "keep      ");
  EXPECT_EQ(std::string(upper, 10), "ABC       ");
  EXPECT_EQ(std::string(names, 20), "O'neil Van-Dyke     ");
}

TEST_F(EntryEditing, ANumericPictureShowsTheStoredValueFormattedAfterLeaving) {
  double amount = 0;
  char other[10];
  std::memset(other, ' ', sizeof other);
  ProcedureWindow window;
  OpenAndShow(window, R"(window "W" at(0, 0, 300, 40) font("Arial", 8, default, 400)
  entry use(Float64, 8) at(4, 4, 80, 10) picture("@N10.2")
  entry use(FixedString, 10) at(100, 4, 60, 10) picture("s10")
end
)",
              {&amount, other});
  Select(window, 2);
  EXPECT_EQ(TextOf(Entry(window, 1)->Handle()), "      0.00");
  Select(window, 1);
  EXPECT_EQ(TextOf(Entry(window, 1)->Handle()), "0.00") << "edited without the blanks";
  Type("1234.5");
  EXPECT_TRUE(HasEvent(Select(window, 2), EVENT_Accepted));
  EXPECT_DOUBLE_EQ(amount, 1234.5);
  EXPECT_EQ(TextOf(Entry(window, 1)->Handle()), "  1,234.50");
}

TEST_F(EntryEditing, AnInvalidDateIsRejectedAndStaysForCorrection) {
  std::int32_t day = 72000;
  char other[10];
  std::memset(other, ' ', sizeof other);
  ProcedureWindow window;
  OpenAndShow(window, R"(window "W" at(0, 0, 300, 40) font("Arial", 8, default, 400)
  entry use(Int32, 4) at(4, 4, 80, 10) picture("@D2")
  entry use(FixedString, 10) at(100, 4, 60, 10) picture("s10")
end
)",
              {&day, other});
  Select(window, 1);
  Type("2/30/1999");
  std::vector<std::int32_t> events = Select(window, 2);
  EXPECT_TRUE(HasEvent(events, EVENT_Rejected));
  EXPECT_FALSE(HasEvent(events, EVENT_Accepted));
  EXPECT_EQ(day, 72000);
  EntryControl* entry = Entry(window, 1);
  EXPECT_EQ(entry->Error(), kErrorInvalidInput);
  EXPECT_FALSE(entry->ShowsVariable());
  EXPECT_EQ(TextOf(entry->Handle()), "2/30/1999");
  // Back in the field, the rejected input is there; leaving it unchanged rejects it again.
  Select(window, 1);
  EXPECT_EQ(TextOf(entry->Handle()), "2/30/1999");
  EXPECT_TRUE(HasEvent(Select(window, 2), EVENT_Rejected));
  // Corrected, it is accepted.
  Select(window, 1);
  Type("7/4/1999");
  EXPECT_TRUE(HasEvent(Select(window, 2), EVENT_Accepted));
  EXPECT_EQ(TextOf(entry->Handle()), " 7/04/1999");
  EXPECT_EQ(entry->Error(), 0);
}

TEST_F(EntryEditing, SelectAllRequestedBeforeTheFocusArrivesWithIt) {
  ProcedureWindow window;
  OpenTwo(window);
  Select(window, 1);
  HWND second = Entry(window, 2)->Handle();
  SendMessageA(second, EM_SETSEL, 0, -1);
  EXPECT_TRUE(Entry(window, 2)->EditorState() & kEditSelectAllPending);
  SetFocus(second);
  Settle(window);
  EXPECT_EQ(Entry(window, 2)->Buffer().SelectedText(), "old");
  EXPECT_FALSE(Entry(window, 2)->EditorState() & kEditSelectAllPending);
}

TEST_F(EntryEditing, ARightJustifiedEntryThatIsFullBeepsInsteadOfScrolling) {
  char narrow[30];
  std::memset(narrow, ' ', sizeof narrow);
  ProcedureWindow window;
  OpenAndShow(window, R"(window "W" at(0, 0, 200, 40) font("Arial", 8, default, 400)
  entry use(FixedString, 30) at(4, 4, 30, 10) picture("s30") attributes(right)
end
)",
              {narrow});
  Select(window, 1);
  std::uint64_t beeps = Beeps();
  Type(std::string(30, 'W'));
  Settle(window);
  EntryControl* entry = Entry(window, 1);
  EXPECT_GT(Beeps(), beeps);
  EXPECT_LT(entry->Buffer().Length(), 30);
  EXPECT_EQ(entry->Buffer().FirstVisible(), 0);
}

TEST_F(EntryEditing, ALongTextScrollsToKeepTheCaretInView) {
  ProcedureWindow window;
  OpenTwo(window);
  Select(window, 1);
  Type(std::string(40, 'm'));
  Settle(window);
  EntryControl* entry = Entry(window, 1);
  EXPECT_GT(entry->Buffer().FirstVisible(), 0);
  Press(VK_HOME);
  Settle(window);
  EXPECT_EQ(entry->Buffer().FirstVisible(), 0);
}

TEST_F(EntryEditing, MouseClicksPlaceTheCaretAndDoubleClicksSelectAWord) {
  std::memcpy(m_second, "old       ", 10);
  ProcedureWindow window;
  OpenTwo(window);
  Select(window, 1);
  Type("alpha beta");
  Select(window, 2);
  HWND first = Entry(window, 1)->Handle();
  ClickAt(first, 4, 5);
  Settle(window);
  EXPECT_EQ(GetFocus(), first);
  EXPECT_EQ(Entry(window, 1)->Buffer().Caret(), 0);
  RECT client{};
  GetClientRect(first, &client);
  ClickAt(first, client.right - 4, 5, true);
  Settle(window);
  EXPECT_EQ(Entry(window, 1)->Buffer().SelectedText(), "beta");
}

TEST_F(EntryEditing, AKeyInTemplateKeepsItsLiteralsInPlace) {
  char phone[14];
  std::memset(phone, ' ', sizeof phone);
  ProcedureWindow window;
  OpenAndShow(window, R"(window "W" at(0, 0, 200, 40) font("Arial", 8, default, 400)
  entry use(FixedString, 14) at(4, 4, 100, 10) picture("@K(###) ###-####K")
end
)",
              {phone});
  Select(window, 1);
  EntryControl* entry = Entry(window, 1);
  EXPECT_EQ(TextOf(entry->Handle()), "(   )    -    ");
  std::uint64_t beeps = Beeps();
  Type("555x1234567");
  Settle(window);
  EXPECT_EQ(Beeps(), beeps + 1) << "no position takes a letter";
  EXPECT_EQ(TextOf(entry->Handle()), "(555) 123-4567");
  Press(VK_BACK);
  Press(VK_LEFT);
  Press(VK_LEFT);
  Press(VK_LEFT);
  Press(VK_BACK);
  Settle(window);
  EXPECT_EQ(TextOf(entry->Handle()), "(555) 12 -456 ");
  SetFocus(nullptr);
  Settle(window);
  EXPECT_EQ(std::string(phone, 14), "(555) 12 -456 ");
}

TEST_F(EntryEditing, AnImmediateEntryReportsEveryChange) {
  char text[10];
  std::memset(text, ' ', sizeof text);
  ProcedureWindow window;
  OpenAndShow(window, R"(window "W" at(0, 0, 200, 40) font("Arial", 8, default, 400)
  entry use(FixedString, 10) at(4, 4, 80, 10) picture("s10") attributes(immediate)
end
)",
              {text});
  Select(window, 1);
  Type("ab");
  Press(VK_LEFT);
  std::vector<std::int32_t> events = Settle(window);
  EXPECT_EQ(std::count(events.begin(), events.end(), Number(EVENT_NewSelection)), 3);
}

}  // namespace
}  // namespace vel::controls::testing
