// The entry's text buffer on its own: limit, caret, selection, word moves, EM_SETSEL rules and
// horizontal scrolling, with every character 10 pixels wide.

#include "runtime/controls/edit_buffer.h"

#include <gtest/gtest.h>

namespace vel::controls {
namespace {

const CharWidthFunction kTenPixels = [](unsigned char) { return 10; };

EditBuffer BufferWith(const std::string& text) {
  EditBuffer buffer;
  buffer.SetText(text);
  return buffer;
}

TEST(EditBuffer, InsertingStopsAtTheLimitAndMarksTheTextModified) {
  EditBuffer buffer;
  buffer.SetLimit(3);
  EXPECT_FALSE(buffer.Modified());
  EXPECT_TRUE(buffer.Insert("ab"));
  EXPECT_TRUE(buffer.Insert("c"));
  EXPECT_FALSE(buffer.Insert("d"));
  EXPECT_EQ(buffer.Text(), "abc");
  EXPECT_EQ(buffer.Caret(), 3);
  EXPECT_TRUE(buffer.Modified());
  // The limit never falls below the text already there.
  buffer.SetLimit(1);
  EXPECT_EQ(buffer.Limit(), 3);
  // Text set from outside grows the limit and leaves the modified flag alone.
  buffer.SetModified(false);
  buffer.SetText("abcdef");
  EXPECT_EQ(buffer.Limit(), 6);
  EXPECT_FALSE(buffer.Modified());
}

TEST(EditBuffer, BackspaceDeleteAndOverwriteWorkAtTheCaretAndStopAtTheEnds) {
  EditBuffer buffer = BufferWith("abc");
  EXPECT_FALSE(buffer.DeleteBackward());
  EXPECT_TRUE(buffer.DeleteForward());
  EXPECT_EQ(buffer.Text(), "bc");
  buffer.MoveCaret(2, false);
  EXPECT_FALSE(buffer.DeleteForward());
  EXPECT_TRUE(buffer.DeleteBackward());
  EXPECT_EQ(buffer.Text(), "b");
  buffer.MoveCaret(0, false);
  EXPECT_TRUE(buffer.Overwrite('x'));
  EXPECT_TRUE(buffer.Overwrite('y'));
  EXPECT_EQ(buffer.Text(), "xy");
}

TEST(EditBuffer, ShiftMovesExtendFromTheAnchorAndCollapseWhereTheyMeet) {
  EditBuffer buffer = BufferWith("hello world");
  buffer.MoveCaret(3, false);
  buffer.MoveCaret(6, true);
  EXPECT_EQ(buffer.SelectionStart(), 3);
  EXPECT_EQ(buffer.SelectionEnd(), 6);
  EXPECT_EQ(buffer.SelectedText(), "lo ");
  buffer.MoveCaret(1, true);
  EXPECT_EQ(buffer.SelectionStart(), 1);
  EXPECT_EQ(buffer.SelectionEnd(), 3);
  buffer.MoveCaret(3, true);
  EXPECT_FALSE(buffer.HasSelection());
  buffer.MoveCaret(-5, false);
  EXPECT_EQ(buffer.Caret(), 0);
  buffer.MoveCaret(99, false);
  EXPECT_EQ(buffer.Caret(), 11);
  EXPECT_TRUE(buffer.Insert("!"));
  buffer.Select(2, 8);
  EXPECT_TRUE(buffer.DeleteSelection());
  EXPECT_EQ(buffer.Text(), "herld!");
  EXPECT_EQ(buffer.Caret(), 2);
  EXPECT_FALSE(buffer.DeleteSelection());
}

TEST(EditBuffer, WordMovesSkipBlanksThenTheWord) {
  EditBuffer buffer = BufferWith("one  two\tthree");
  EXPECT_EQ(buffer.NextWordStart(0), 5);
  EXPECT_EQ(buffer.NextWordStart(6), 9);
  EXPECT_EQ(buffer.NextWordStart(9), 14);
  EXPECT_EQ(buffer.WordStartBefore(14), 9);
  EXPECT_EQ(buffer.WordStartBefore(9), 5);
  EXPECT_EQ(buffer.WordStartBefore(4), 0);
  buffer.SelectWordAt(6);
  EXPECT_EQ(buffer.SelectedText(), "two");
  buffer.SelectWordAt(14);
  EXPECT_EQ(buffer.SelectedText(), "three");
  buffer.SelectWordAt(3);
  EXPECT_EQ(buffer.SelectedText(), "  ");
}

TEST(EditBuffer, SetSelFollowsTheEditControlRules) {
  EditBuffer buffer = BufferWith("abcdef");
  EXPECT_TRUE(buffer.IsSelectAllRequest(0, -1));
  EXPECT_TRUE(buffer.IsSelectAllRequest(0, -7));
  EXPECT_TRUE(buffer.IsSelectAllRequest(0, 0x7FFFFFFF));
  EXPECT_FALSE(buffer.IsSelectAllRequest(0, 3));
  EXPECT_FALSE(buffer.IsSelectAllRequest(0, 0));

  buffer.ApplySetSel(0, -1);
  EXPECT_EQ(buffer.SelectedText(), "abcdef");
  buffer.ApplySetSel(-1, 4);
  EXPECT_FALSE(buffer.HasSelection());
  EXPECT_EQ(buffer.Caret(), 4);
  buffer.ApplySetSel(2, 2);
  EXPECT_EQ(buffer.Caret(), 2);
  buffer.ApplySetSel(-1, 50);
  EXPECT_EQ(buffer.Caret(), 6);
  // Other pairs are ordered and clamped, the caret at the larger end.
  buffer.ApplySetSel(5, 1);
  EXPECT_EQ(buffer.SelectionStart(), 1);
  EXPECT_EQ(buffer.SelectionEnd(), 5);
  EXPECT_EQ(buffer.Caret(), 5);
  buffer.ApplySetSel(3, 100);
  EXPECT_EQ(buffer.SelectedText(), "def");
}

TEST(EditBuffer, ScrollingMovesBySevenOrJustFarEnoughToShowTheCaret) {
  EditBuffer buffer = BufferWith("abcdefghijklmnopqrstuvwxyz");
  // 100 pixels show ten characters.
  buffer.MoveCaret(11, false);
  buffer.ScrollToCaret(kTenPixels, 100);
  EXPECT_EQ(buffer.FirstVisible(), 7);
  buffer.MoveCaret(20, false);
  buffer.ScrollToCaret(kTenPixels, 100);
  EXPECT_EQ(buffer.FirstVisible(), 14);
  buffer.MoveCaret(18, false);
  buffer.ScrollToCaret(kTenPixels, 100);
  EXPECT_EQ(buffer.FirstVisible(), 14);  // visible: nothing moves
  buffer.MoveCaret(10, false);
  buffer.ScrollToCaret(kTenPixels, 100);
  EXPECT_EQ(buffer.FirstVisible(), 7);  // seven back
  buffer.MoveCaret(5, false);
  buffer.ScrollToCaret(kTenPixels, 100);
  EXPECT_EQ(buffer.FirstVisible(), 0);  // never below 0
  buffer.MoveCaret(25, false);
  buffer.ScrollToCaret(kTenPixels, 100);
  EXPECT_EQ(buffer.FirstVisible(), 15);  // seven were not enough: just far enough
  buffer.MoveCaret(2, false);
  buffer.ScrollToCaret(kTenPixels, 100);
  EXPECT_EQ(buffer.FirstVisible(), 2);  // not past the caret
  buffer.MoveCaret(0, false);
  buffer.ScrollToCaret(kTenPixels, 100);

  // Hit testing counts from the first visible character, to the nearest boundary.
  EXPECT_EQ(buffer.PositionAt(kTenPixels, 0), 0);
  EXPECT_EQ(buffer.PositionAt(kTenPixels, 14), 1);
  EXPECT_EQ(buffer.PositionAt(kTenPixels, 16), 2);
  EXPECT_EQ(buffer.PositionAt(kTenPixels, 10000), 26);
}

}  // namespace
}  // namespace vel::controls
