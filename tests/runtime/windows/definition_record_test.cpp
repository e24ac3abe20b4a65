#include "runtime/windows/definition_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/windows/current_definition.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::windows {
namespace {

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A button record laid out by hand, so that the reader's offsets are checked against the format
// rather than against the compiler.
TEST(ReadRecord, ButtonFieldsAtTheirOffsets) {
  std::vector<std::uint8_t> bytes(2, 0);
  auto text = [&](const std::string& s) {
    std::uint32_t at = static_cast<std::uint32_t>(bytes.size());
    bytes.insert(bytes.end(), s.begin(), s.end());
    bytes.push_back(0);
    return at;
  };
  std::uint32_t icon = text("GET.ICO");
  std::uint32_t cursor = text("Hand.cur");
  std::uint32_t tip = text("Search");
  std::uint32_t at = static_cast<std::uint32_t>(bytes.size());
  bytes.resize(at + 90, 0);
  bytes[at] = kKindButton;
  Put32(bytes, at + 5, 0x20);
  Put32(bytes, at + 13, 3);
  for (std::uint32_t i = 0; i < 4; ++i) Put32(bytes, at + 21 + 4 * i, std::vector<std::uint32_t>{392, 0, 17, 8}[i]);
  Put32(bytes, at + 37 + 4, tip);
  Put32(bytes, at + 37 + 12, 44);
  Put32(bytes, at + 61, cursor);
  Put32(bytes, at + 73, icon);
  Put32(bytes, at + 81, 0x0D);
  bytes[at + 85] = 0x41;
  bytes[at + 86] = 30;
  bytes[at + 88] = 5;
  bytes[at + 77] = 0x99;  // a reserved field, kept as it is
  DefinitionView view(bytes);

  std::optional<Record> button = ReadRecord(view, at);
  ASSERT_TRUE(button);
  EXPECT_EQ(button->kind, kKindButton);
  EXPECT_EQ(button->flags, 0x20u);
  EXPECT_EQ(button->field, 3);
  EXPECT_EQ(button->at, (Rect{392, 0, 17, 8}));
  EXPECT_EQ(button->textBlock.tooltip, "Search");
  EXPECT_EQ(button->textBlock.message, std::nullopt);
  EXPECT_EQ(button->textBlock.number, 44);
  EXPECT_EQ(button->cursor->text, "Hand.cur");
  EXPECT_EQ(button->icon->text, "GET.ICO");
  EXPECT_EQ(button->keyCode, 0x0D);
  EXPECT_EQ(button->buttonFlags, kButtonDefault | kButtonFlat);
  EXPECT_EQ(button->delay, 30);
  EXPECT_EQ(button->repeat, 5);
  ASSERT_EQ(button->opaque.size(), 1u);
  EXPECT_EQ(button->opaque[0].offset, 77);

  // The record must lie wholly in the buffer; unknown kinds are not read.
  EXPECT_FALSE(ReadRecord(DefinitionView(std::span(bytes).first(bytes.size() - 1)), at));
  bytes[at] = 99;
  EXPECT_FALSE(ReadRecord(DefinitionView(bytes), at));
  EXPECT_FALSE(ReadRecord(DefinitionView(bytes), 0));
}

const char kEveryKind[] = R"(definition "test$KINDS"
window "W" flags(mm + size-events) at(1, 2, 300, 200) title("All kinds") font("Arial", 9, 0xFF, 700 + italic) colours(0x808080, default, 0x80000005) icon(stock, 32512) cursor(resource, 100) message("default message") help("help-key") keys(0x22, 0x21) attributes(double + modal + system-menu) palette(1) timer(50) zones(-1, 90, 70) drop("~FILE")
  menubar
    menu "&File"
      item "&Print" key(0x150) message("Print the report")
      item flags(separator)
      menu "&More"
        item "&Deep" flags(use + greyed + right) use(Int32, 4)
      end
    end
  end
  toolbar at(0, 0, 341, 18)
    button at(1, 1, 16, 14) icon("PRINT.ICO") tooltip("Print this report") flags(flat) delay(20) repeat(5)
  end
  entry use(FixedString, 20) at(51, 0, 76, 8) picture("s40") justify(3) mode(password + upper) attributes(right + skip) drop("text", "~FILE")
  spin use(Int32, 4) at(1, 1, 40, 12) picture("n5") low(1) high(10) step(0.5) delay(30) repeat(4) extra(9)
  list use(Int16, 2) at(274, 0, 33, 8) rows(3) dropwidth(40) values(FixedString, 9, "25|50|100") drag("rows") extra(2) raw(78, "01 02 03 04")
  group "Box" at(0, 10, 100, 50) attributes(boxed)
    prompt "Inner" at(2, 12, 20, 8) colours(default, default, default)
    option use(FixedString, 20) at(1, 1, 44, 0) text("Choice")
      radio "OR" at(161, 0, 22, 8) value("or") extra(1)
    end
  end
  image "~LOGO.BMP" at(5, 5, default, default) extra(2) cursor("Hand.cur")
  box at(1, 2, 30, 40) attributes(round + transparent) colours(0xFF, 0xFF00, default) extra(3)
end
)";

TEST(ReadRecord, EveryKindReadsBackAsDeclared) {
  std::vector<std::uint8_t> resource = tools::WriteDefinitionResource(tools::ParseDeclarations(kEveryKind));
  std::vector<std::uint8_t> body = CopyDefinitionBody(resource, "test$KINDS");
  DefinitionView view(body);
  std::uint32_t offset = FindWindowRecord(view, "W");
  ASSERT_NE(offset, 0u);
  Record window = *ReadRecord(view, offset);
  EXPECT_EQ(window.UnitOf(), Unit::Millimetre);
  EXPECT_TRUE(window.flags & kWindowFlagSizeEvents);
  EXPECT_EQ(window.at, (Rect{1, 2, 300, 200}));
  EXPECT_EQ(window.font, (FontRecord{"Arial", 9, 0xFF, 700 | kFontItalic}));
  EXPECT_EQ(window.colours, (ColourTriple{{0x808080, kNoColour, 0x80000005}}));
  EXPECT_EQ(window.icon, (ResourceName{ResourceName::Form::Stock, "", 32512}));
  EXPECT_EQ(window.cursor, (ResourceName{ResourceName::Form::ProgramId, "", 100}));
  EXPECT_EQ(window.textBlock.message, "default message");
  EXPECT_EQ(window.textBlock.help, "help-key");
  EXPECT_EQ(window.textBlock.keys, (std::vector<std::int32_t>{0x22, 0x21}));
  EXPECT_EQ(window.attributes, kAttrFrameDouble | kAttrModal | kAttrSystemMenu);
  EXPECT_EQ(window.palette, 1);
  EXPECT_EQ(window.timer, 50);
  EXPECT_EQ(window.zones, (std::vector<std::int32_t>{-1, 90, 70}));
  EXPECT_EQ(window.dropIds, std::vector<std::string>{"~FILE"});

  Record menuBar = *ReadRecord(view, window.menuBar);
  EXPECT_EQ(menuBar.kind, kKindMenuBar);
  std::vector<Record> menus = ReadChain(view, menuBar.firstChild);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].text, "&File");
  EXPECT_EQ(menus[0].field, 1);
  std::vector<Record> items = ReadChain(view, menus[0].firstChild);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].field, 2);
  EXPECT_EQ(items[0].keyCode, 0x150);
  EXPECT_EQ(items[0].textBlock.message, "Print the report");
  EXPECT_EQ(items[1].flags, kItemSeparator);
  EXPECT_EQ(items[1].field, 0);
  EXPECT_EQ(items[2].kind, kKindMenu);
  std::vector<Record> deep = ReadChain(view, items[2].firstChild);
  ASSERT_EQ(deep.size(), 1u);
  EXPECT_EQ(deep[0].flags, kItemHasUse | kItemGreyed | kItemRight);
  EXPECT_EQ(deep[0].use, (UseDescriptor{6, 4, std::nullopt}));

  Record toolBar = *ReadRecord(view, window.toolBar);
  EXPECT_EQ(toolBar.at, (Rect{0, 0, 341, 18}));
  EXPECT_EQ(toolBar.field, 0);
  std::vector<Record> tools = ReadChain(view, toolBar.firstChild);
  ASSERT_EQ(tools.size(), 1u);
  EXPECT_EQ(tools[0].textBlock.tooltip, "Print this report");
  EXPECT_EQ(tools[0].delay, 20);
  EXPECT_EQ(tools[0].repeat, 5);

  std::vector<Record> controls = ReadChain(view, window.firstChild);
  ASSERT_EQ(controls.size(), 6u);
  const Record& entry = controls[0];
  EXPECT_EQ(entry.kind, kKindEntry);
  EXPECT_EQ(entry.picture, "s40");
  EXPECT_EQ(entry.justify, 3);
  EXPECT_EQ(entry.editMode, 0x60);
  EXPECT_EQ(entry.flags, 0x08u | 0x20u);
  EXPECT_EQ(entry.dropIds, (std::vector<std::string>{"text", "~FILE"}));
  const Record& spin = controls[1];
  EXPECT_EQ(spin.low, 1.0);
  EXPECT_EQ(spin.high, 10.0);
  EXPECT_EQ(spin.step, 0.5);
  EXPECT_EQ(spin.delay, 30);
  EXPECT_EQ(spin.repeat, 4);
  EXPECT_EQ(spin.extra, 9);
  const Record& list = controls[2];
  EXPECT_EQ(list.use, (UseDescriptor{2, 2, std::nullopt}));
  EXPECT_EQ(list.values, (UseDescriptor{18, 9, "25|50|100"}));
  EXPECT_EQ(list.dropRows, 3);
  EXPECT_EQ(list.dropWidth, 40);
  EXPECT_EQ(list.dragIds, std::vector<std::string>{"rows"});
  EXPECT_EQ(list.extra, 2);
  ASSERT_EQ(list.opaque.size(), 1u);
  EXPECT_EQ(list.opaque[0].bytes, std::string("\x01\x02\x03\x04"));
  const Record& group = controls[3];
  EXPECT_EQ(group.text, "Box");
  std::vector<Record> inner = ReadChain(view, group.firstChild);
  ASSERT_EQ(inner.size(), 2u);
  EXPECT_EQ(inner[0].colours, ColourTriple{});
  EXPECT_EQ(inner[1].text, "Choice");
  std::vector<Record> radios = ReadChain(view, inner[1].firstChild);
  ASSERT_EQ(radios.size(), 1u);
  EXPECT_EQ(radios[0].value, "or");
  EXPECT_EQ(radios[0].extra, 1);
  // Field numbers run through the whole window in declaration order, menus included.
  EXPECT_EQ(tools[0].field, 5);
  EXPECT_EQ(entry.field, 6);
  EXPECT_EQ(radios[0].field, 12);
  const Record& image = controls[4];
  EXPECT_EQ(image.kind, kKindImage);
  EXPECT_EQ(image.text, "~LOGO.BMP");
  EXPECT_EQ(image.at, (Rect{5, 5, kNotGiven, kNotGiven}));
  EXPECT_EQ(image.extra, 2);
  EXPECT_EQ(image.cursor->text, "Hand.cur");
  const Record& box = controls[5];
  EXPECT_EQ(box.kind, kKindBox);
  EXPECT_EQ(box.flags, 0x1100u);
  EXPECT_EQ(box.colours, (ColourTriple{{0xFF, 0xFF00, kNoColour}}));
  EXPECT_EQ(box.extra, 3);
}

TEST(ReadChain, StopsAtLoopsAndUnreadableRecords) {
  std::vector<std::uint8_t> resource = tools::WriteDefinitionResource(tools::ParseDeclarations(kEveryKind));
  std::vector<std::uint8_t> body = CopyDefinitionBody(resource, "test$KINDS");
  DefinitionView view(body);
  Record window = *ReadRecord(view, FindWindowRecord(view, "W"));
  std::vector<Record> controls = ReadChain(view, window.firstChild);
  ASSERT_EQ(controls.size(), 6u);
  // Make the third control link back to the first: the chain ends instead of looping.
  Put32(body, controls[2].offset + 1, controls[0].offset);
  EXPECT_EQ(ReadChain(DefinitionView(body), window.firstChild).size(), 3u);
  // A link that leaves the buffer reads no record and ends the chain there.
  Put32(body, controls[0].offset + 1, static_cast<std::uint32_t>(body.size() - 4));
  EXPECT_EQ(ReadChain(DefinitionView(body), window.firstChild).size(), 1u);
}

// Kinds without a layout (those this system does not provide, and reports) cost only their own
// record: the head is read, its next link followed, and every later control is still there.
TEST(ReadChain, PassesOverRecordsOfUnknownKinds) {
  std::vector<std::uint8_t> resource = tools::WriteDefinitionResource(tools::ParseDeclarations(kEveryKind));
  std::vector<std::uint8_t> body = CopyDefinitionBody(resource, "test$KINDS");
  Record window = *ReadRecord(DefinitionView(body), FindWindowRecord(DefinitionView(body), "W"));
  std::vector<Record> controls = ReadChain(DefinitionView(body), window.firstChild);
  ASSERT_EQ(controls.size(), 6u);
  body[controls[0].offset] = 7;
  body[controls[2].offset] = kKindReport;
  body[controls[3].offset] = 200;
  std::vector<Record> read = ReadChain(DefinitionView(body), window.firstChild);
  ASSERT_EQ(read.size(), 6u);
  EXPECT_EQ(read[0].kind, 7);
  EXPECT_EQ(read[0].field, controls[0].field);
  EXPECT_EQ(read[0].flags, controls[0].flags);
  EXPECT_EQ(read[0].dropIds, controls[0].dropIds);
  EXPECT_FALSE(read[0].use);
  EXPECT_EQ(read[2].kind, kKindReport);
  EXPECT_EQ(read[3].kind, 200);
  EXPECT_EQ(read[1].kind, controls[1].kind);
  EXPECT_EQ(read[5].kind, kKindBox);
  // ReadRecord itself still reads only kinds it has a layout for.
  EXPECT_FALSE(ReadRecord(DefinitionView(body), controls[0].offset));
}

}  // namespace
}  // namespace vel::windows
