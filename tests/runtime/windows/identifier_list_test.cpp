// Drag-and-drop identifier lists: shared texts, growth four slots at a time, removal, copies,
// reading by index and the file-drop registration of "~FILE".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/values/string_stack.h"
#include "runtime/windows/identifier_list.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

std::string PopText() {
  char text[300] = {};
  values::PopToCString(text, sizeof text);
  return text;
}

std::vector<std::string> Texts(const IdentifierList& list) {
  std::vector<std::string> texts;
  for (const SharedText& text : list.Items()) texts.emplace_back(text.View());
  return texts;
}

TEST(SharedText, OneStoredCopyPerTextUntilItsLastHolderGoes) {
  std::size_t before = SharedText::StoredTexts();
  {
    SharedText first("rows and columns");
    SharedText second(std::string("rows and ") + "columns");
    EXPECT_TRUE(first.SameAs(second));
    EXPECT_EQ(first.Holders(), 2u);
    EXPECT_EQ(SharedText::StoredTexts(), before + 1);
    SharedText other("Rows and columns");
    EXPECT_FALSE(first.SameAs(other)) << "case counts: the texts are stored as given";
    SharedText moved(std::move(second));
    EXPECT_EQ(first.Holders(), 2u);
    first = SharedText();
    EXPECT_EQ(moved.Holders(), 1u);
    EXPECT_EQ(moved.View(), "rows and columns");
  }
  EXPECT_EQ(SharedText::StoredTexts(), before);
  EXPECT_TRUE(SharedText("").Empty()) << "an empty text is no text";
}

TEST(IdentifierList, GrowsFourSlotsAtATimeAndFreesItsArrayWhenEmptied) {
  IdentifierList list;
  EXPECT_FALSE(list.HasArray());
  for (const char* text : {"one", "two", "three", "four"}) list.Set(list.Count(), text, nullptr);
  EXPECT_EQ(list.Capacity(), 4u);
  list.Set(99, "five", nullptr);
  EXPECT_EQ(list.Capacity(), 8u) << "a fifth identifier grows the array from 4 to 8 slots";
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"one", "two", "three", "four", "five"}));

  list.Set(1, "", nullptr);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"one", "three", "four", "five"})) << "later entries move down";
  EXPECT_EQ(list.Capacity(), 8u) << "a removal leaves one more free slot";
  list.Set(0, "uno", nullptr);
  EXPECT_EQ(list.At(0), "uno");
  list.Set(10, "", nullptr);
  EXPECT_EQ(list.Count(), 4u) << "removing beyond the end does nothing";

  IdentifierList single;
  single.Set(0, "only", nullptr);
  single.Set(0, "", nullptr);
  EXPECT_FALSE(single.HasArray()) << "removing the only identifier frees the array";
  EXPECT_EQ(single.Capacity(), 0u);
}

TEST(IdentifierList, CopiesShareTextsAndReadingBeyondTheEndPushesTheEmptyText) {
  IdentifierList list;
  list.Set(0, "~Item", nullptr);
  list.Set(1, "text", nullptr);
  {
    IdentifierList copy(list);
    EXPECT_TRUE(copy.Items()[0].SameAs(list.Items()[0]));
    EXPECT_EQ(list.Items()[0].Holders(), 2u) << "every text gains a holder";
  }
  EXPECT_EQ(list.Items()[0].Holders(), 1u) << "and loses it when the copy is released";

  list.PushAt(1);
  EXPECT_EQ(PopText(), "text");
  list.PushAt(2);
  EXPECT_EQ(PopText(), "");
  list.Clear();
  EXPECT_FALSE(list.HasArray());
}

class IdentifierListWindows : public WindowTest {};

TEST_F(IdentifierListWindows, FileIdentifierRegistersItsHolderForDroppedFiles) {
  HWND holder = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(holder, nullptr);
  auto accepts = [holder] { return (GetWindowLongA(holder, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; };
  IdentifierList list;
  list.Set(0, "rows", holder);
  EXPECT_FALSE(accepts());
  list.Set(1, "~FILE", holder);
  EXPECT_TRUE(accepts());
  EXPECT_TRUE(list.TakesFiles());
  list.Set(1, "other", holder);
  EXPECT_FALSE(accepts()) << "replacing \"~FILE\" unregisters the holder";
  list.Set(0, "~FILE", holder);
  list.Set(2, "~FILE", holder);
  list.Set(0, "", holder);
  EXPECT_TRUE(accepts()) << "another \"~FILE\" is still in the list";
  list.Set(1, "", holder);
  EXPECT_FALSE(accepts());
  DestroyWindow(holder);
  list.Set(0, "~FILE", holder);  // A holder that is gone is left alone.
}

TEST_F(IdentifierListWindows, AWindowTakesItsDefinitionsDropIdentifiersAndFiles) {
  AddDefinitions("test$DROP", "definition \"test$DROP\"\nwindow \"W\" at(0, 0, 100, 40) drop(\"~FILE\", \"Rows\")\nend\n");
  ProcedureWindow window;
  window.Open("test$DROP", "W");
  ASSERT_TRUE(window.IsOpen());
  EXPECT_EQ(Texts(window.Object().dropIdentifiers), (std::vector<std::string>{"~FILE", "Rows"}));
  EXPECT_TRUE(GetWindowLongA(window.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  window.Close();
  EXPECT_FALSE(window.Object().dropIdentifiers.HasArray()) << "the window's list goes when it closes";
}

}  // namespace
}  // namespace vel::windows::testing
