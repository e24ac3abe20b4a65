#include "runtime/windows/current_definition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/windows/definition_record.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::windows {
namespace {

HMODULE FakeModule(std::uintptr_t id) { return reinterpret_cast<HMODULE>(id * 16); }

std::vector<std::uint8_t> Compile(const std::string& text) {
  return tools::WriteDefinitionResource(tools::ParseDeclarations(text));
}

const char kThreeWindows[] =
    "definition \"skarvine$SKARV_SF\"\n"
    "window \"P9$PREVIEW:WINDOW\" title(\"Report Preview\")\n"
    "end\n"
    "window \"P22$JUMPWINDOW\" title(\"Jump to a Report Page\") at(default, default, 181, 26)\n"
    "end\n"
    "window \"P23$SELECTWINDOW\" title(\"Change the Report Display\") at(default, default, 141, 64)\n"
    "  prompt \"Pages &across:\"\n"
    "end\n";

TEST(DefinitionLookup, FindsTheThirdDefinitionAfterTwoLinks) {
  MemoryResourceSource source;
  source.Add(FakeModule(1), "SKARV_SF_RSC", Compile(kThreeWindows));
  CurrentDefinition current;

  std::uint32_t offset = current.Find(source, "skarvine$SKARV_SF", "P23$SELECTWINDOW");
  ASSERT_NE(offset, 0u);
  EXPECT_TRUE(current.Holds());
  EXPECT_EQ(current.Module(), FakeModule(1));
  std::optional<Record> window = ReadRecord(current.View(), offset);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->title, "Change the Report Display");
  EXPECT_EQ(window->at, (Rect{kNotGiven, kNotGiven, 141, 64}));
  EXPECT_EQ(window->next, 0u);
  std::vector<Record> controls = ReadChain(current.View(), window->firstChild);
  ASSERT_EQ(controls.size(), 1u);
  EXPECT_EQ(controls[0].text, "Pages &across:");

  // The two windows before it are reached through their next links.
  std::uint32_t first = ReadOffsetField(current.View(), 2);
  std::optional<Record> preview = ReadRecord(current.View(), first);
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->label, "P9$PREVIEW:WINDOW");
  std::optional<Record> jump = ReadRecord(current.View(), preview->next);
  ASSERT_TRUE(jump);
  EXPECT_EQ(jump->label, "P22$JUMPWINDOW");
  EXPECT_EQ(jump->next, offset);
}

TEST(DefinitionLookup, SkipsAResourceWhoseQualifiedNameDiffers) {
  // Both modules have "SKARV001_RSC"; only the second belongs to "skarvine".
  MemoryResourceSource source;
  source.Add(FakeModule(1), "SKARV001_RSC",
             Compile("definition \"other$SKARV001\"\nwindow \"P1$WINNAME\" title(\"Other\")\nend\n"));
  source.Add(FakeModule(2), "SKARV001_RSC",
             Compile("definition \"skarvine$SKARV001\"\nwindow \"P1$WINNAME\" title(\"Mine\")\nend\n"));
  CurrentDefinition current;
  std::uint32_t offset = current.Find(source, "skarvine$SKARV001", "P1$WINNAME");
  ASSERT_NE(offset, 0u);
  EXPECT_EQ(current.Module(), FakeModule(2));
  EXPECT_EQ(ReadRecord(current.View(), offset)->title, "Mine");

  // The comparison is exact: a name differing in case is another module's.
  EXPECT_EQ(current.Find(source, "SKARVINE$SKARV001", "P1$WINNAME"), 0u);
}

TEST(DefinitionLookup, GoesOnWhenTheLabelIsMissingAndReportsNotFound) {
  MemoryResourceSource source;
  source.Add(FakeModule(1), "SKARV_SF_RSC", Compile(kThreeWindows));
  source.Add(FakeModule(2), "SKARV_SF_RSC",
             Compile("definition \"skarvine$SKARV_SF\"\nwindow \"P30$EXTRA\"\nend\n"));
  CurrentDefinition current;
  EXPECT_NE(current.Find(source, "skarvine$SKARV_SF", "P30$EXTRA"), 0u);
  EXPECT_EQ(current.Module(), FakeModule(2));

  EXPECT_EQ(current.Find(source, "skarvine$SKARV_SF", "P99$NOWHERE"), 0u);
  EXPECT_FALSE(current.Holds());
  EXPECT_EQ(current.Module(), nullptr);
  EXPECT_EQ(current.Find(source, "skarvine$NOMODULE", "P9$PREVIEW:WINDOW"), 0u);
  EXPECT_EQ(current.Find(source, "skarvine$SKARV_SF", "P22$JUMP"), 0u);  // labels compare whole
}

TEST(DefinitionLookup, BodyBufferIsAddressedByFileOffsets) {
  std::vector<std::uint8_t> resource = Compile(kThreeWindows);
  std::vector<std::uint8_t> body = CopyDefinitionBody(resource, "skarvine$SKARV_SF");
  std::size_t nameLength = std::string("skarvine$SKARV_SF").size() + 1;
  ASSERT_EQ(body.size(), resource.size() - nameLength + 2);
  EXPECT_EQ(body[0], 0);
  for (std::size_t k = 2; k < body.size(); ++k) ASSERT_EQ(body[k], resource[k - 2 + nameLength]);
  EXPECT_TRUE(CopyDefinitionBody(resource, "skarvine$SKARV").empty());
  std::vector<std::uint8_t> nameless = {'a', 'b'};
  EXPECT_TRUE(CopyDefinitionBody(nameless, "ab").empty());
  EXPECT_TRUE(CopyDefinitionBody(std::span<const std::uint8_t>(), "").empty()) << "an empty resource has no name";
}

TEST(DefinitionLookup, CorruptChainsEndInNotFound) {
  std::vector<std::uint8_t> resource = Compile(kThreeWindows);
  std::size_t base = std::string("skarvine$SKARV_SF").size() + 1 - 2;  // file byte of body offset 0
  auto patch = [&](std::vector<std::uint8_t>& bytes, std::size_t bodyOffset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[base + bodyOffset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  std::vector<std::uint8_t> body = CopyDefinitionBody(resource, "skarvine$SKARV_SF");
  std::uint32_t first = ReadOffsetField(DefinitionView(body), 2);

  std::vector<std::uint8_t> looping = resource;
  patch(looping, first + 1, first);  // the first window links to itself
  std::vector<std::uint8_t> outside = resource;
  patch(outside, 2, 0x7FFFFF00);
  std::vector<std::uint8_t> truncated(resource.begin(), resource.begin() + static_cast<long>(base + first + 60));
  for (const auto& bad : {looping, outside, truncated}) {
    MemoryResourceSource source;
    source.Add(FakeModule(1), "SKARV_SF_RSC", bad);
    CurrentDefinition current;
    EXPECT_EQ(current.Find(source, "skarvine$SKARV_SF", "P23$SELECTWINDOW"), 0u);
  }
  // A window record cut short is not found even though its label is readable.
  std::vector<std::uint8_t> shortWindow(resource.begin(), resource.begin() + static_cast<long>(base + first + 100));
  EXPECT_EQ(FindWindowRecord(DefinitionView(CopyDefinitionBody(shortWindow, "skarvine$SKARV_SF")), "P9$PREVIEW:WINDOW"),
            0u);
}

}  // namespace
}  // namespace vel::windows
