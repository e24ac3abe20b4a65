// Drag and drop within one program, driven by mouse input through the headless display: a
// list with drag identifiers dragged over entries, buttons and windows, the events at both
// ends, the matching rules, the cursors and what happens when a target goes away.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/display/headless/headless_display.h"
#include "runtime/controls/list_control.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/drag_state.h"
#include "runtime/windows/event_accessors.h"
#include "runtime/windows/query_messages.h"
#include "tests/runtime/controls/control_test_support.h"

namespace vel::controls::testing {
namespace {

using namespace windows;

class DragAndDrop : public ControlTest {
 protected:
  char m_format[8];
  char m_plain[4];
  char m_text[20];

  void SetUp() override {
    ControlTest::SetUp();
    ResetDragState();
  }

  // A list that drags "~Item" and "rows", an entry that takes "item", a button that takes
  // nothing and a list without drag identifiers.
  void OpenDragWindow(ProcedureWindow& window) {
    std::memcpy(m_format, "threaded", 8);
    std::memcpy(m_plain, "a   ", 4);
    std::memset(m_text, ' ', sizeof m_text);
    Open(window, R"(window "W" at(0, 0, 300, 120) flags(pixel) font("Arial", 8, default, 400)
  list use(FixedString, 8) at(10, 10, 80, 60) values(FixedString, 21, "threaded|list|tabular") drag("~Item", "rows")
  entry use(FixedString, 20) at(120, 10, 100, 20) picture("s20") drop("item")
  button "None" at(120, 40, 60, 20)
  list use(FixedString, 4) at(200, 50, 60, 45) values(FixedString, 5, "a|b|c")
end
)",
         {m_format, m_text, m_plain});
    ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  }

  ListControl* Source(ProcedureWindow& window) { return dynamic_cast<ListControl*>(Control(window, 1)); }

  // Where row `row` of a list lies on the screen.
  static POINT RowPoint(ListControl* list, int row) {
    POINT point{5, (row - list->TopRow()) * list->RowHeight() + list->RowHeight() / 2};
    ClientToScreen(list->Handle(), &point);
    return point;
  }

  // Hands the thread's queued input to the windows, as the ACCEPT loop would.
  static void TakeInput() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  static platform::HeadlessDisplay& Display() { return *platform::CurrentHeadlessDisplay(); }
  static void Down(POINT at) { Display().MouseDown(at), TakeInput(); }
  static void Move(POINT at) { Display().MoveMouse(at), TakeInput(); }
  static void Up(POINT at) { Display().MouseUp(at), TakeInput(); }

  static std::string Popped() {
    char text[300] = {};
    values::PopToCString(text, sizeof text);
    return text;
  }
};

TEST_F(DragAndDrop, ADragFromAListToAnEntryRaisesDraggingDragAndDrop) {
  ProcedureWindow window;
  OpenDragWindow(window);
  ListControl* list = Source(window);
  HWND entry = Control(window, 2)->Handle();
  HWND button = Control(window, 3)->Handle();
  HCURSOR before = LoadCursorA(nullptr, IDC_ARROW);
  SetCursor(before);

  Down(RowPoint(list, 1));
  EXPECT_TRUE(list->Dragging());
  EXPECT_EQ(GetCapture(), list->Handle());
  EXPECT_EQ(list->Selected(), 1) << "the list selects the row under the button first";

  Move(MiddleOf(entry));
  const DragState& state = CurrentDragState();
  EXPECT_EQ(state.acceptingTarget, entry);
  EXPECT_EQ(MatchedIdentifier(), "~Item") << "within one program ~Item matches item";
  EXPECT_EQ(Display().ShownCursor(), DropPossibleCursor());
  POINT inside = MiddleOf(entry);
  inside.x += 10;
  Move(inside);  // The same window again: no new EVENT:Dragging.

  Move(MiddleOf(button));
  EXPECT_EQ(CurrentDragState().acceptingTarget, nullptr);
  EXPECT_TRUE(MatchedIdentifier().empty());
  EXPECT_EQ(Display().ShownCursor(), NoDropCursor());

  Move(MiddleOf(entry));
  Up(MiddleOf(entry));
  EXPECT_FALSE(list->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Display().ShownCursor(), before) << "the cursor of before the drag comes back";

  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_NewSelection), 1},
                                           {Number(EVENT_Dragging), 1},
                                           {Number(EVENT_Dragging), 1},
                                           {Number(EVENT_Dragging), 1},
                                           {Number(EVENT_Drag), 1},
                                           {Number(EVENT_Drop), 2}}));
  EXPECT_EQ(std::string(m_format, 8), "list    ") << "the dragged row is the list's value";
  DRAGID();
  EXPECT_EQ(Popped(), "~Item");
  DROPID();
  EXPECT_EQ(Popped(), "~Item") << "with nothing dropped but the identifier, it is the dropped text";
  EXPECT_EQ(CurrentDragState().dropControl, Control(window, 2));
}

TEST_F(DragAndDrop, ReleasingOverAWindowThatTakesNothingRaisesDragWithoutDrop) {
  ProcedureWindow window;
  OpenDragWindow(window);
  ListControl* list = Source(window);
  Down(RowPoint(list, 2));
  Move(MiddleOf(Control(window, 3)->Handle()));
  Up(MiddleOf(Control(window, 3)->Handle()));
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_NewSelection), 1},
                                           {Number(EVENT_Dragging), 1},
                                           {Number(EVENT_Drag), 1}}));

  // A click without a move is a drag to nowhere as well.
  Down(RowPoint(list, 2));
  Up(RowPoint(list, 2));
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_Drag), 1}}));
}

TEST_F(DragAndDrop, AListWithoutDragIdentifiersNeverEntersDragMode) {
  ProcedureWindow window;
  OpenDragWindow(window);
  auto* plain = dynamic_cast<ListControl*>(Control(window, 4));
  ASSERT_TRUE(plain->DragIdentifiers().Empty());
  Down(RowPoint(plain, 1));
  EXPECT_FALSE(plain->Dragging());
  Move(MiddleOf(Control(window, 2)->Handle()));
  Up(RowPoint(plain, 1));
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_NewSelection), 4}}));
  EXPECT_EQ(CurrentDragState().sourceControl, nullptr);
}

TEST_F(DragAndDrop, TheTargetHearsThePointerMoveOverItAndLeave) {
  ProcedureWindow window;
  OpenDragWindow(window);
  // A second list takes the identifier "rows", so the drag scrolls it at its last row.
  AddDefinitions("test$TWO", R"(definition "test$TWO"
window "Two" at(320, 0, 150, 100) flags(pixel) font("Arial", 8, default, 400)
  list use(FixedString, 4) at(10, 10, 60, 30) values(FixedString, 19, "a|b|c|d|e|f|g|h|i|j") drop("ROWS")
end
)");
  char letter[4] = {'a', ' ', ' ', ' '};
  ProcedureWindow second;
  second.Open("test$TWO", "Two", {letter});
  ASSERT_TRUE(second.IsOpen());
  ASSERT_EQ(NextEvent(second), Number(EVENT_OpenWindow));
  auto* target = dynamic_cast<ListControl*>(Control(second, 1));
  int lastShown = target->TopRow() + target->VisibleRows() - 1;

  ListControl* list = Source(window);
  Down(RowPoint(list, 0));
  Move(RowPoint(target, lastShown));
  EXPECT_EQ(CurrentDragState().acceptingTarget, target->Handle());
  EXPECT_EQ(MatchedIdentifier(), "rows") << "\"~Item\" is offered first and refused; case does not count";
  EXPECT_EQ(target->TopRow(), 1) << "the pointer over the last row shown scrolls the list";

  // The second window closes under the pointer: nothing of it stays in the drag.
  second.Close();
  EXPECT_EQ(CurrentDragState().acceptingTarget, nullptr);
  Up(MiddleOf(Control(window, 3)->Handle()));
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_Dragging), 1}, {Number(EVENT_Drag), 1}}));
}

TEST_F(DragAndDrop, AWindowWithDropIdentifiersTakesTheDropItself) {
  ProcedureWindow window;
  std::memcpy(m_format, "threaded", 8);
  std::memset(m_text, ' ', sizeof m_text);
  Open(window, R"(window "W" at(0, 0, 200, 80) flags(pixel) drop("~ROWS")
  list use(FixedString, 8) at(10, 10, 80, 60) values(FixedString, 21, "threaded|list|tabular") drag("~Item", "rows")
  button "Nothing" at(120, 10, 60, 20)
  entry use(FixedString, 20) at(120, 40, 60, 20) picture("s20") drop("item")
end
)",
       {m_format, m_text});
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  HWND button = Control(window, 2)->Handle();
  Down(RowPoint(Source(window), 0));
  Move(MiddleOf(button));
  EXPECT_EQ(CurrentDragState().acceptingTarget, window.Handle())
      << "the walk passes the button that takes nothing up to the window";
  EXPECT_EQ(MatchedIdentifier(), "rows");
  Up(MiddleOf(button));
  EXPECT_EQ(PendingEvents(window),
            (Events{{Number(EVENT_Dragging), 1}, {Number(EVENT_Drag), 1}, {Number(EVENT_Drop), 0}}))
      << "the drop is for the window";

  // A control that takes the identifier itself is found before the window around it.
  HWND entry = Control(window, 3)->Handle();
  Down(RowPoint(Source(window), 0));
  Move(MiddleOf(entry));
  EXPECT_EQ(CurrentDragState().acceptingTarget, entry);
  EXPECT_EQ(MatchedIdentifier(), "~Item");
  Up(MiddleOf(entry));
  EXPECT_EQ(PendingEvents(window),
            (Events{{Number(EVENT_Dragging), 1}, {Number(EVENT_Drag), 1}, {Number(EVENT_Drop), 3}}));
}

TEST_F(DragAndDrop, FilesDroppedOnAWindowArriveJoinedAsOneDrop) {
  ProcedureWindow window;
  Open(window, R"(window "W" at(0, 0, 200, 80) flags(pixel) drop("~FILE")
  button "Plain" at(10, 10, 60, 20)
end
)");
  ASSERT_EQ(NextEvent(window), Number(EVENT_OpenWindow));
  POINT onButton = MiddleOf(Control(window, 1)->Handle());
  Display().DropFiles(onButton, {"/home/user/a.txt", "/home/user/b.txt"});
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_Drop), 0}}))
      << "the button takes no files, so the window that holds \"~FILE\" does";
  DROPID();
  EXPECT_EQ(Popped(), "/home/user/a.txt,/home/user/b.txt");
  DRAGID();
  EXPECT_EQ(Popped(), "~FILE");

  // Without "~FILE" the window takes no more files.
  window.Object().dropIdentifiers.Set(0, "", window.Handle());
  Display().DropFiles(onButton, {"/home/user/c.txt"});
  EXPECT_EQ(PendingEvents(window), Events{});
}

TEST_F(DragAndDrop, QueriesCompareWithoutCaseAndWithoutTildeOnlyWithinTheProgram) {
  ProcedureWindow window;
  OpenDragWindow(window);
  HWND entry = Control(window, 2)->Handle();
  auto ask = [entry](const char* text, LPARAM otherProgram) {
    ATOM atom = GlobalAddAtomA(text);
    LRESULT answer = SendMessageA(entry, kDragQueryMessage, atom, otherProgram);
    GlobalDeleteAtom(atom);
    return answer;
  };
  EXPECT_EQ(SendMessageA(entry, kDragQueryMessage, 0, 0), 1) << "it takes drops at all";
  EXPECT_EQ(SendMessageA(Control(window, 3)->Handle(), kDragQueryMessage, 0, 0), 0);
  EXPECT_EQ(ask("~ITEM", 0), 1);
  EXPECT_EQ(ask("Item", 0), 1);
  EXPECT_EQ(ask("Items", 0), 0);
  Control(window, 2)->SetDropIdentifier(0, "~Item");
  EXPECT_EQ(ask("~ITEM", reinterpret_cast<LPARAM>(entry)), 1) << "~Item matches ~ITEM from another program";
  EXPECT_EQ(CurrentDragState().otherProgramWindow, entry);
  EXPECT_EQ(MatchedIdentifier(), "~Item") << "the receiver's own identifier is the match then";
  EXPECT_EQ(ask("Item", reinterpret_cast<LPARAM>(entry)), 0) << "from another program the tilde counts";

  // Text handed over is taken only for the target and the partner that matched.
  ATOM text = GlobalAddAtomA("a row from elsewhere");
  SendMessageA(Control(window, 3)->Handle(), kDragTextMessage, text, reinterpret_cast<LPARAM>(entry));
  EXPECT_EQ(DroppedText(), "~Item");
  SendMessageA(entry, kDragTextMessage, text, reinterpret_cast<LPARAM>(entry));
  EXPECT_EQ(DroppedText(), "a row from elsewhere");
  GlobalDeleteAtom(text);
}

// A drag from another program sees the window as one window. The window hears where the
// pointer is, answers for the control under it by the rules between programs, and passes the
// handed-over text, the drop and the leave on to that control.
TEST_F(DragAndDrop, AWindowAnswersForTheControlUnderThePointerToAnotherProgram) {
  ProcedureWindow window;
  OpenDragWindow(window);
  HWND top = window.Handle();
  HWND entry = Control(window, 2)->Handle();
  Control(window, 2)->SetDropIdentifier(0, "~Item");
  const auto named = reinterpret_cast<LPARAM>(top);
  auto ask = [top, named](const char* text) {
    ATOM atom = GlobalAddAtomA(text);
    LRESULT answer = SendMessageA(top, kDragQueryMessage, atom, named);
    GlobalDeleteAtom(atom);
    return answer;
  };
  auto pointAt = [top](HWND control) {
    POINT middle = MiddleOf(control);
    SendMessageA(top, kDragOverMessage, 0, MAKELPARAM(middle.x, middle.y));
  };
  EXPECT_EQ(SendMessageA(top, kDragQueryMessage, 0, 0), 1) << "a control of the window takes drops";

  pointAt(Control(window, 3)->Handle());
  EXPECT_EQ(ask("~Item"), 0) << "the button under the pointer takes nothing";
  pointAt(entry);
  EXPECT_EQ(ask("Item"), 0) << "between programs the tilde counts";
  EXPECT_EQ(ask("~ITEM"), 1);
  EXPECT_EQ(CurrentDragState().dropControl, Control(window, 2));
  EXPECT_EQ(CurrentDragState().otherProgramWindow, entry);
  EXPECT_EQ(MatchedIdentifier(), "~Item");

  ATOM text = GlobalAddAtomA("banana");
  SendMessageA(top, kDragTextMessage, text, named);
  GlobalDeleteAtom(text);
  EXPECT_EQ(DroppedText(), "banana");
  SendMessageA(top, kDropMessage, 1, 0);
  EXPECT_EQ(PendingEvents(window), (Events{{Number(EVENT_Drop), 2}}));
  DROPID();
  EXPECT_EQ(Popped(), "banana");
  EXPECT_EQ(CurrentDragState().otherProgramWindow, nullptr) << "the drop ends the relay";

  // Once the pointer has moved off the entry, a drop goes nowhere near it.
  pointAt(entry);
  EXPECT_EQ(ask("~Item"), 1);
  pointAt(Control(window, 3)->Handle());
  EXPECT_EQ(ask("~Item"), 0);
  SendMessageA(top, kDropMessage, 0, 0);
  EXPECT_EQ(PendingEvents(window), Events{});
}

}  // namespace
}  // namespace vel::controls::testing
