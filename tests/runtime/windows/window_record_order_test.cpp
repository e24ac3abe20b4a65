// The records of a window in the order opening it builds them, and the USE addresses they take.

#include "runtime/windows/window_record_order.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/windows/current_definition.h"
#include "runtime/windows/window_object.h"
#include "tests/runtime/windows/window_test_support.h"

namespace vel::windows::testing {
namespace {

// Menus before the window, a group's and an option box's children right after them, the
// toolbar's controls last; the field numbers are written out of order on purpose, so that only
// the walk can put them where they are.
const char kEveryContainer[] =
    "definition \"test$ORDER\"\n"
    "window \"W\" at(0, 0, 200, 100)\n"
    "  menubar\n"
    "    menu \"&File\" field(40)\n"
    "      item \"&One\" field(41) flags(use) use(Int32, 4)\n"
    "      menu \"&More\" field(42)\n"
    "        item \"&Deep\" field(43) flags(use) use(Int16, 2)\n"
    "      end\n"
    "      item \"&Plain\" field(44)\n"
    "      item \"&Two\" field(45) flags(use) use(Int32, 4)\n"
    "    end\n"
    "  end\n"
    "  entry field(3) use(FixedString, 10) at(0, 0, 40, 10)\n"
    "  group \"G\" field(4) at(0, 20, 100, 40)\n"
    "    entry field(9) use(FixedString, 5) at(4, 24, 40, 10)\n"
    "    option field(5) use(FixedString, 8) at(4, 36, 60, 20)\n"
    "      radio \"A\" field(6) at(4, 40, 20, 10)\n"
    "    end\n"
    "  end\n"
    "  list field(2) use(Int16, 2) at(0, 70, 40, 10) rows(3) values(FixedString, 9, \"25|50|100\")\n"
    "  prompt \"P\" field(1) at(50, 70, 40, 10)\n"
    "  toolbar at(0, 0, 200, 18)\n"
    "    spin field(30) use(Int32, 4) at(4, 2, 30, 12)\n"
    "  end\n"
    "end\n";

struct Body {
  std::vector<std::uint8_t> bytes;
  Record window;
  DefinitionView View() const { return DefinitionView(bytes); }
};

Body Compile(const std::string& text, const std::string& qualifiedName, const std::string& label) {
  Body body;
  body.bytes = CopyDefinitionBody(CompileDefinitions(text), qualifiedName);
  std::optional<Record> window = ReadRecord(body.View(), FindWindowRecord(body.View(), label));
  if (window) body.window = *window;
  return body;
}

std::vector<std::int32_t> FieldsOf(const std::vector<UseBinding>& bindings) {
  std::vector<std::int32_t> fields;
  for (const UseBinding& binding : bindings) fields.push_back(binding.field);
  return fields;
}

TEST(WindowRecordOrder, MenusFirstThenControlsDepthFirstThenTheToolbar) {
  Body body = Compile(kEveryContainer, "test$ORDER", "W");
  OrderedRecords ordered = RecordsInOpeningOrder(body.View(), body.window);
  EXPECT_TRUE(ordered.brokenLinks.empty());
  std::vector<std::uint8_t> kinds;
  for (const Record& record : ordered.records) kinds.push_back(record.kind);
  EXPECT_EQ(kinds, (std::vector<std::uint8_t>{kKindMenuBar, kKindMenu, kKindMenuItem, kKindMenu,
                                              kKindMenuItem, kKindMenuItem, kKindMenuItem, kKindEntry,
                                              kKindGroup, kKindEntry, kKindOption, kKindRadio, kKindList,
                                              kKindPrompt, kKindToolBar, kKindSpin}));

  std::vector<UseBinding> bindings = UseBindingsOf(ordered);
  EXPECT_EQ(FieldsOf(bindings), (std::vector<std::int32_t>{41, 43, 45, 3, 9, 5, 2, 30}));
  // The list binds its variable; its constant values take no address.
  EXPECT_EQ(bindings[6].use, (UseDescriptor{2, 2, std::nullopt}));
  EXPECT_EQ(bindings[1].recordKind, kKindMenuItem);
}

TEST(WindowRecordOrder, OnlyFlaggedMenuItemsAndVariableDescriptorsTakeAddresses) {
  Record item;
  item.kind = kKindMenuItem;
  item.use = UseDescriptor{6, 4, std::nullopt};
  EXPECT_FALSE(TakesUseAddress(item)) << "an item without the flag takes none";
  item.flags = kItemHasUse;
  EXPECT_TRUE(TakesUseAddress(item));
  item.use.reset();
  EXPECT_TRUE(TakesUseAddress(item)) << "the flag alone says the item takes one";

  Record entry;
  entry.kind = kKindEntry;
  EXPECT_FALSE(TakesUseAddress(entry));
  entry.use = UseDescriptor{18, 21, std::string("threaded|list|tabular")};
  EXPECT_FALSE(TakesUseAddress(entry)) << "a constant binds no variable";
  entry.use->data.reset();
  EXPECT_TRUE(TakesUseAddress(entry));
  Record menu = entry;
  menu.kind = kKindMenu;
  EXPECT_FALSE(TakesUseAddress(menu));
}

TEST(WindowRecordOrder, BrokenAndLoopingLinksAreReportedNotFollowed) {
  Body body = Compile(kEveryContainer, "test$ORDER", "W");
  // Point the group's first child back at the window's first control: a loop.
  std::optional<Record> group;
  for (const Record& record : RecordsInOpeningOrder(body.View(), body.window).records) {
    if (record.kind == kKindGroup) group = record;
  }
  ASSERT_TRUE(group);
  std::int32_t first = static_cast<std::int32_t>(body.window.firstChild);
  std::memcpy(body.bytes.data() + group->offset + 73, &first, sizeof first);
  OrderedRecords looping = RecordsInOpeningOrder(body.View(), body.window);
  EXPECT_EQ(looping.brokenLinks, (std::vector<std::uint32_t>{body.window.firstChild}));

  // A toolbar link past the end of the body.
  body = Compile(kEveryContainer, "test$ORDER", "W");
  Record outside = body.window;
  outside.toolBar = static_cast<std::uint32_t>(body.bytes.size() - 3);
  OrderedRecords broken = RecordsInOpeningOrder(body.View(), outside);
  ASSERT_EQ(broken.brokenLinks.size(), 1u);
  EXPECT_EQ(broken.brokenLinks[0], outside.toolBar);
}

}  // namespace
}  // namespace vel::windows::testing
