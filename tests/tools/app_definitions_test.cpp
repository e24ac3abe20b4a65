// The program's own window declarations, compiled and read back the way the window manager
// reads them.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/windows/current_definition.h"
#include "runtime/windows/definition_record.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_reader.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::tools {
namespace {

using windows::kNotGiven;
using windows::Rect;
using windows::Record;

std::string AppFile(const std::string& name) {
  std::string path = std::string(VEL_SOURCE_DIR) + "/app/" + name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::uint8_t> CompileApp(const std::string& name) {
  return WriteDefinitionResource(ParseDeclarations(AppFile(name)));
}

TEST(SearchWindowDefinition, ResourceLayoutOfTheWindowRecord) {
  std::vector<std::uint8_t> resource = CompileApp("skarv001.wdc");
  std::vector<std::uint8_t> body = windows::CopyDefinitionBody(resource, "skarvine$SKARV001");
  ASSERT_FALSE(body.empty());
  windows::DefinitionView view(body);
  // Body offset k is file byte k + 16; the window record follows its label, font and icon.
  EXPECT_EQ(resource[18], 0x2F);
  EXPECT_EQ(windows::ReadOffsetField(view, 2), 0x2Fu);
  EXPECT_EQ(windows::FindWindowRecord(view, "P1$WINNAME"), 0x2Fu);
  Record window = *windows::ReadRecord(view, 0x2F);
  EXPECT_EQ(window.firstChild, 0xB0u);
  EXPECT_EQ(window.at, (Rect{40, 0, 439, 3}));
  EXPECT_EQ(window.flags, 0x800u);
  EXPECT_EQ(window.UnitOf(), windows::Unit::DialogUnit);
  EXPECT_EQ(window.font, (windows::FontRecord{"Arial", 8, windows::kNoColour, 0x190}));
  EXPECT_EQ(window.icon->text, "GET.ICO");
  EXPECT_EQ(window.attributes, 0x3060u);
  EXPECT_EQ(window.title, std::nullopt);
  EXPECT_EQ(window.menuBar, 0u);
  EXPECT_EQ(window.toolBar, 0u);
  EXPECT_EQ(window.timer, 0);
  EXPECT_TRUE(window.zones.empty());
  EXPECT_EQ(window.next, 0u);
}

struct ExpectedControl {
  std::uint8_t kind;
  const char* text;
  Rect at;
};

TEST(SearchWindowDefinition, FourteenControlsInFieldOrder) {
  std::vector<std::uint8_t> resource = CompileApp("skarv001.wdc");
  windows::MemoryResourceSource source;
  source.Add(reinterpret_cast<HMODULE>(16), "SKARV001_RSC", resource);
  windows::CurrentDefinition current;
  std::uint32_t offset = current.Find(source, "skarvine$SKARV001", "P1$WINNAME");
  ASSERT_NE(offset, 0u);
  windows::DefinitionView view = current.View();
  Record window = *windows::ReadRecord(view, offset);
  std::vector<Record> controls = windows::ReadChain(view, window.firstChild);
  ASSERT_EQ(controls.size(), 12u);
  std::vector<Record> radios = windows::ReadChain(view, controls[11].firstChild);
  ASSERT_EQ(radios.size(), 2u);
  controls.insert(controls.end(), radios.begin(), radios.end());

  const ExpectedControl expected[] = {
      {windows::kKindPrompt, "Search String:", {2, 0, 46, 8}},
      {windows::kKindEntry, nullptr, {51, 0, 76, 8}},
      {windows::kKindButton, nullptr, {392, 0, 17, 8}},
      {windows::kKindButton, nullptr, {408, 0, 17, 8}},
      {windows::kKindButton, nullptr, {423, 0, 17, 8}},
      {windows::kKindPrompt, "Author:", {309, 0, 23, 8}},
      {windows::kKindEntry, nullptr, {335, 0, 55, 8}},
      {windows::kKindPrompt, "Format:", {185, 0, 24, 8}},
      {windows::kKindList, nullptr, {210, 0, 43, 8}},
      {windows::kKindPrompt, "Hits:", {255, 0, 17, 8}},
      {windows::kKindList, nullptr, {274, 0, 33, 8}},
      {windows::kKindOption, nullptr, {129, 1, 44, 0}},
      {windows::kKindRadio, "OR", {161, 0, 22, 8}},
      {windows::kKindRadio, "AND", {131, 0, 27, 8}},
  };
  for (std::size_t i = 0; i < 14; ++i) {
    SCOPED_TRACE("field " + std::to_string(i + 1));
    EXPECT_EQ(controls[i].kind, expected[i].kind);
    EXPECT_EQ(controls[i].field, static_cast<std::int32_t>(i + 1));
    EXPECT_EQ(controls[i].at, expected[i].at);
    if (expected[i].text) {
      EXPECT_EQ(controls[i].text, expected[i].text);
    }
  }
  EXPECT_EQ(controls[1].picture, "s40");
  EXPECT_EQ(controls[6].picture, "s50");
  EXPECT_EQ(controls[2].icon->text, "GET.ICO");
  EXPECT_EQ(controls[2].cursor->text, "Hand.cur");
  EXPECT_EQ(controls[2].buttonFlags, 0x41);
  EXPECT_EQ(controls[3].icon->text, "UNDO.ICO");
  EXPECT_EQ(controls[3].buttonFlags, 0x40);
  EXPECT_EQ(controls[3].cursor, std::nullopt);
  EXPECT_EQ(controls[4].icon->text, "Cancel.ico");
  EXPECT_EQ(controls[4].buttonFlags, 0x40);
  EXPECT_EQ(controls[8].dropRows, 5);
  EXPECT_EQ(controls[8].values, (windows::UseDescriptor{18, 21, "threaded|list|tabular"}));
  EXPECT_EQ(controls[10].dropRows, 3);
  EXPECT_EQ(controls[10].values, (windows::UseDescriptor{18, 9, "25|50|100"}));

  // Five variable bindings in chain order: search text, author, format, hits, AND/OR.
  std::vector<windows::UseDescriptor> bindings;
  for (const Record& control : controls) {
    if (control.use) bindings.push_back(*control.use);
  }
  const windows::UseDescriptor expectedBindings[] = {
      {18, 20, std::nullopt}, {18, 20, std::nullopt}, {18, 20, std::nullopt}, {2, 2, std::nullopt},
      {18, 20, std::nullopt}};
  ASSERT_EQ(bindings.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(bindings[i], expectedBindings[i]);
}

TEST(PreviewDefinitions, ThreeWindowsAsDescribed) {
  std::vector<std::uint8_t> resource = CompileApp("skarv_sf.wdc");
  windows::MemoryResourceSource source;
  source.Add(reinterpret_cast<HMODULE>(16), "SKARV_SF_RSC", resource);
  windows::CurrentDefinition current;

  std::uint32_t preview = current.Find(source, "skarvine$SKARV_SF", "P9$PREVIEW:WINDOW");
  ASSERT_NE(preview, 0u);
  windows::DefinitionView view = current.View();
  Record window = *windows::ReadRecord(view, preview);
  EXPECT_EQ(window.title, "Report Preview");
  EXPECT_EQ(window.font->face, "MS Sans Serif");
  EXPECT_EQ(window.font->points, 10);
  EXPECT_EQ(window.attributes, 0x6820u);
  EXPECT_EQ(window.flags & 0x800u, 0x800u);
  EXPECT_EQ(window.zones, (std::vector<std::int32_t>{-1, 90, 70}));
  EXPECT_EQ(window.textBlock.keys, (std::vector<std::int32_t>{0x22, 0x21}));
  EXPECT_EQ(window.colours, (windows::ColourTriple{{0x00808080, windows::kNoColour, windows::kNoColour}}));
  EXPECT_EQ(window.icon, (windows::ResourceName{windows::ResourceName::Form::ProgramId, "", 32514}));

  std::vector<Record> menus = windows::ReadChain(view, windows::ReadRecord(view, window.menuBar)->firstChild);
  ASSERT_EQ(menus.size(), 3u);
  const std::vector<std::vector<std::string>> expectedItems = {
      {"&Print", "", "E&xit"},
      {"&Next Page(s)", "&Previous Page(s)", "", "&Jump to a page", "", "&Change Display"},
      {"No &Zoom", "", "Page &Width", "", "&50 Percent", "&75 Percent", "&100 Percent", "&200 Percent",
       "&300 Percent"}};
  const char* menuTexts[] = {"&File", "&View", "&Zoom"};
  for (std::size_t m = 0; m < 3; ++m) {
    EXPECT_EQ(menus[m].text, menuTexts[m]);
    std::vector<Record> items = windows::ReadChain(view, menus[m].firstChild);
    ASSERT_EQ(items.size(), expectedItems[m].size());
    for (std::size_t i = 0; i < items.size(); ++i) {
      bool separator = expectedItems[m][i].empty();
      EXPECT_EQ((items[i].flags & windows::kItemSeparator) != 0, separator);
      if (!separator) {
        EXPECT_EQ(items[i].text, expectedItems[m][i]);
      }
      // The zoom choices carry a USE descriptor and say so in their flags.
      if (m == 2 && !separator) {
        EXPECT_EQ(items[i].flags, windows::kItemHasUse);
        EXPECT_TRUE(items[i].use);
      }
    }
  }

  Record toolBar = *windows::ReadRecord(view, window.toolBar);
  EXPECT_EQ(toolBar.at, (Rect{0, 0, 341, 18}));
  std::vector<Record> tools = windows::ReadChain(view, toolBar.firstChild);
  std::vector<std::uint8_t> kinds;
  for (const Record& tool : tools) kinds.push_back(tool.kind);
  EXPECT_EQ(kinds, (std::vector<std::uint8_t>{9, 9, 9, 10, 16, 10, 16, 10, 16}));
  EXPECT_EQ(tools[0].textBlock.tooltip, "Print this report");
  EXPECT_EQ(tools[4].low, 0.0);
  EXPECT_EQ(tools[4].high, 0.0);
  EXPECT_EQ(tools[4].step, 1.0);

  std::uint32_t jump = current.Find(source, "skarvine$SKARV_SF", "P22$JUMPWINDOW");
  ASSERT_NE(jump, 0u);
  Record jumpWindow = *windows::ReadRecord(current.View(), jump);
  EXPECT_EQ(jumpWindow.title, "Jump to a Report Page");
  EXPECT_EQ(jumpWindow.at, (Rect{kNotGiven, kNotGiven, 181, 26}));

  std::uint32_t select = current.Find(source, "skarvine$SKARV_SF", "P23$SELECTWINDOW");
  ASSERT_NE(select, 0u);
  Record selectWindow = *windows::ReadRecord(current.View(), select);
  EXPECT_EQ(selectWindow.title, "Change the Report Display");
  EXPECT_EQ(selectWindow.at, (Rect{kNotGiven, kNotGiven, 141, 64}));
  std::vector<Record> spins;
  for (const Record& control : windows::ReadChain(current.View(), selectWindow.firstChild)) {
    if (control.kind == windows::kKindSpin) spins.push_back(control);
  }
  ASSERT_EQ(spins.size(), 2u);
  for (const Record& spin : spins) {
    EXPECT_EQ(spin.low, 1.0);
    EXPECT_EQ(spin.high, 10.0);
    EXPECT_EQ(spin.step, 1.0);
  }
}

TEST(AppDefinitions, CompileDumpCompileGivesTheSameBytes) {
  for (const char* name : {"skarv001.wdc", "skarv_sf.wdc"}) {
    SCOPED_TRACE(name);
    std::vector<std::uint8_t> first = CompileApp(name);
    std::string dumped = PrintDeclarations(ReadDefinitionResource(first));
    std::vector<std::uint8_t> second = WriteDefinitionResource(ParseDeclarations(dumped));
    EXPECT_EQ(first, second);
    EXPECT_EQ(PrintDeclarations(ReadDefinitionResource(second)), dumped);
  }
}

}  // namespace
}  // namespace vel::tools
