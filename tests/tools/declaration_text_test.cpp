#include "tools/vel-wdc/lib/declaration_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/windows/current_definition.h"
#include "tools/vel-wdc/lib/declaration_syntax.h"
#include "tools/vel-wdc/lib/definition_reader.h"
#include "tools/vel-wdc/lib/definition_writer.h"
#include "tools/vel-wdc/lib/flag_names.h"

namespace vel::tools {
namespace {

std::vector<std::uint8_t> Compile(const std::string& text) { return WriteDefinitionResource(ParseDeclarations(text)); }

int ErrorLine(const std::string& text) {
  try {
    ParseDeclarations(text);
  } catch (const DeclarationError& error) {
    return error.Line();
  }
  return -1;
}

TEST(DeclarationErrors, ReportTheLineOfTheFault) {
  const std::string head = "definition \"p$M\"\nwindow \"W\"\n";
  EXPECT_EQ(ErrorLine(head + "  prompt \"unterminated\n" + "end\n"), 3);
  EXPECT_EQ(ErrorLine(head + "  widget at(1, 2, 3, 4)\nend\n"), 3);
  EXPECT_EQ(ErrorLine(head + "  prompt picture(\"s20\")\nend\n"), 3);          // prompts have no picture
  EXPECT_EQ(ErrorLine(head + "  prompt at(1, 2, 3)\nend\n"), 3);              // four values
  EXPECT_EQ(ErrorLine(head + "  entry attributes(sideways)\nend\n"), 3);       // unknown flag
  EXPECT_EQ(ErrorLine(head + "  list values(FixedString, 4, \"abc\")\nend\n"), 3);  // size differs
  EXPECT_EQ(ErrorLine(head + "  list raw(79, \"00 00 00 00\")\nend\n"), 3);    // no opaque field there
  EXPECT_EQ(ErrorLine(head + "  list raw(78, \"00 00\")\nend\n"), 3);          // too short
  EXPECT_EQ(ErrorLine(head + "  button flags(0x100)\nend\n"), 3);              // one byte
  EXPECT_EQ(ErrorLine(head + "  button delay(70000)\nend\n"), 3);              // 16 bits
  EXPECT_EQ(ErrorLine(head + "  item \"x\"\nend\n"), 3);                       // items belong in menus
  EXPECT_EQ(ErrorLine(head + "  menubar\n    prompt \"x\"\n  end\nend\n"), 4);
  EXPECT_EQ(ErrorLine(head + "  menubar\n  end\n  menubar\n  end\nend\n"), 5);
  EXPECT_EQ(ErrorLine(head + "end\nend\n"), 4);
  EXPECT_EQ(ErrorLine(head + "  option\n"), 3);                                // block left open
  EXPECT_EQ(ErrorLine("definition \"p$M\"\nprompt \"x\"\n"), 2);
  EXPECT_EQ(ErrorLine("window \"W\"\nend\n"), 1);
  EXPECT_EQ(ErrorLine("definition \"p$M\"\nwindow title(\"no label\")\nend\n"), 2);
  EXPECT_EQ(ErrorLine(head + "  button icon(\"\")\nend\n"), 3);
  EXPECT_EQ(ErrorLine(head + "  button icon(resource, 65535)\nend\n"), 3);
  EXPECT_EQ(ErrorLine(head + "  prompt at(99999999999, 0, 0, 0)\nend\n"), 3);
  EXPECT_EQ(ErrorLine(head + "  prompt at(0x, 0, 0, 0)\nend\n"), 3);
  EXPECT_EQ(ErrorLine(head + "end # comment \"with quote\n"), -1);
  // Texts are stored zero-terminated: a zero byte, escaped or raw, would cut them short in the
  // resource. A USE descriptor's data is stored with its length and may hold one.
  EXPECT_EQ(ErrorLine(head + "  prompt \"a\\x00b\"\nend\n"), 3);
  EXPECT_EQ(ErrorLine(head + "  entry picture(\"s2" + std::string(1, '\0') + "0\")\nend\n"), 3);
  EXPECT_EQ(ErrorLine(head + "  button icon(\"a\\x00.ico\")\nend\n"), 3);
  EXPECT_EQ(ErrorLine("definition \"p" + std::string(1, '\0') + "$M\"\nwindow \"W\"\nend\n"), 1);
  EXPECT_EQ(ErrorLine("definition \"p$M\"\nwindow \"W" + std::string(1, '\0') + "\"\nend\n"), 2);
  EXPECT_EQ(ErrorLine(head + "  entry use(FixedString, 3, \"a\\x00b\")\nend\n"), -1);
}

TEST(DefinitionWriter, SharesStringTailsAndKeepsEmptyApartFromAbsent) {
  std::vector<std::uint8_t> resource = Compile(
      "definition \"p$M\"\n"
      "window \"P22$JUMPWINDOW\"\n"
      "  prompt \"JUMPWINDOW\"\n"
      "  prompt \"\"\n"
      "  prompt\n"
      "end\n");
  std::vector<std::uint8_t> body = windows::CopyDefinitionBody(resource, "p$M");
  windows::DefinitionView view(body);
  std::uint32_t window = windows::FindWindowRecord(view, "P22$JUMPWINDOW");
  windows::Record record = *windows::ReadRecord(view, window);
  std::vector<windows::Record> prompts = windows::ReadChain(view, record.firstChild);
  ASSERT_EQ(prompts.size(), 3u);
  std::uint32_t label = windows::ReadOffsetField(view, window + 33);
  std::uint32_t shared = windows::ReadOffsetField(view, prompts[0].offset + 41);
  EXPECT_EQ(shared, label + 4);  // inside the label, no second copy
  EXPECT_EQ(prompts[0].text, "JUMPWINDOW");
  std::uint32_t empty = windows::ReadOffsetField(view, prompts[1].offset + 41);
  EXPECT_NE(empty, 0u);
  EXPECT_EQ(body[empty], 0);
  EXPECT_EQ(prompts[1].text, "");
  EXPECT_EQ(windows::ReadOffsetField(view, prompts[2].offset + 41), 0u);
  EXPECT_EQ(prompts[2].text, std::nullopt);
  // Label "P22$JUMPWINDOW" is the only text written: 15 bytes, before the window record.
  EXPECT_EQ(window, 6u + 15u);
}

TEST(DeclarationRoundTrip, TextBytesAndFlagsSurvive) {
  const std::string text =
      "definition \"prog$MOD\"\n"
      "\n"
      "window \"W\" flags(thou + 0x3) at(default, -5, 100, default) font(none, 12, 0x80000008, default) "
      "cursor(\"~ARROW\") attributes(resizable + 0x10000)\n"
      "  entry field(7) use(31, 3, \"a\\x00b\") at(1, 2, 3, 4) "
      "mode(readonly + insert + overwrite) attributes(decimal + hidden + 0x80)\n"
      "  prompt \"\\x01quote\\\"back\\\\slash\\xE9\"\n"
      "  spin field(9) low(-0.1) high(1e+300) step(0.25)\n"
      "  group field(10) raw(77, \"01 00 00 00 00 FF\")\n"
      "  end\n"
      "end\n";
  DefinitionSource source = ParseDeclarations(text);
  const windows::Record& entry = source.windows[0].children[0].record;
  EXPECT_EQ(entry.flags, 0x0Cu | 0x400u | 0x80u);
  EXPECT_EQ(entry.use, (windows::UseDescriptor{31, 3, std::string("a\0b", 3)}));
  std::vector<std::uint8_t> bytes = WriteDefinitionResource(source);
  DefinitionSource back = ReadDefinitionResource(bytes);
  std::string printed = PrintDeclarations(back);
  EXPECT_EQ(WriteDefinitionResource(ParseDeclarations(printed)), bytes);
  const windows::Record& window = back.windows[0].record;
  EXPECT_EQ(window.flags, 0x203u);
  EXPECT_EQ(window.attributes, 0x10020u);
  EXPECT_EQ(window.at, (windows::Rect{windows::kNotGiven, -5, 100, windows::kNotGiven}));
  EXPECT_EQ(window.font->face, std::nullopt);
  EXPECT_EQ(window.font->style, windows::kNoColour);
  EXPECT_EQ(back.windows[0].children[1].record.text, "\x01quote\"back\\slash\xE9");
  EXPECT_EQ(back.windows[0].children[1].record.field, 8);
  EXPECT_EQ(back.windows[0].children[2].record.low, -0.1);
  EXPECT_EQ(back.windows[0].children[2].record.high, 1e300);
  EXPECT_NE(printed.find("attributes(resizable + 0x10000)"), std::string::npos);
  EXPECT_NE(printed.find("raw(77, \"01 00 00 00 00 FF\")"), std::string::npos);
}

TEST(FlagNames, WholeFieldsFirstThenBitsThenUnnamedRest) {
  EXPECT_EQ(FormatFlags(0x3060, WindowAttributeNames()), "no-border + system-menu + control-look");
  EXPECT_EQ(FormatFlags(0x6820, WindowAttributeNames()), "resizable + maximise-box + control-look + maximised");
  EXPECT_EQ(FormatFlags(0x0C | 0x20, ControlAttributeNames()), "decimal + skip");
  EXPECT_EQ(FormatFlags(0x41, ButtonFlagNames()), "default + flat");
  EXPECT_EQ(FormatFlags(0x800 | 0x3, WindowFlagNames()), "size-events + 0x3");
  EXPECT_EQ(FormatFlags(0, WindowFlagNames()), "0");
  EXPECT_EQ(StorageKindName(18), "FixedString");
  EXPECT_EQ(StorageKindName(12), "12");
  EXPECT_EQ(StorageKindCode("Int16"), 2);
}

TEST(DefinitionReader, DamagedResourcesDumpWhatCanBeRead) {
  std::vector<std::uint8_t> good = Compile(
      "definition \"p$M\"\nwindow \"W\" title(\"T\")\n  option\n    radio \"A\"\n    radio \"B\"\n  end\n"
      "  prompt \"P\"\nend\n");
  // Every prefix of the resource reads without fault; the whole resource reads completely.
  for (std::size_t length = 4; length < good.size(); ++length) {
    std::vector<std::uint8_t> prefix(good.begin(), good.begin() + static_cast<long>(length));
    DefinitionSource source = ReadDefinitionResource(prefix);
    PrintDeclarations(source);
  }
  DefinitionSource whole = ReadDefinitionResource(good);
  ASSERT_EQ(whole.windows.size(), 1u);
  EXPECT_EQ(whole.windows[0].children.size(), 2u);
  EXPECT_EQ(whole.windows[0].children[0].children.size(), 2u);
  std::vector<std::uint8_t> nameless = {'p', '$'};
  EXPECT_THROW(ReadDefinitionResource(nameless), DeclarationError);
}

}  // namespace
}  // namespace vel::tools
