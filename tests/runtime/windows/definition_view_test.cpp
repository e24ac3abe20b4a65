#include "runtime/windows/definition_view.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/windows/resource_names.h"

namespace vel::windows {
namespace {

// A body buffer built byte by byte: index 0 is zero, index 1 unused, as the lookup leaves it.
class Body {
 public:
  Body() : m_bytes(2, 0) {}
  std::uint32_t Here() const { return static_cast<std::uint32_t>(m_bytes.size()); }
  std::uint32_t Int32(std::uint32_t value) {
    std::uint32_t at = Here();
    for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return at;
  }
  std::uint32_t Bytes(std::initializer_list<std::uint8_t> bytes) {
    std::uint32_t at = Here();
    m_bytes.insert(m_bytes.end(), bytes);
    return at;
  }
  std::uint32_t Text(const std::string& text) {
    std::uint32_t at = Here();
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    m_bytes.push_back(0);
    return at;
  }
  void Patch(std::uint32_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) m_bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  DefinitionView View() const { return DefinitionView(m_bytes); }
  std::vector<std::uint8_t>& Raw() { return m_bytes; }

 private:
  std::vector<std::uint8_t> m_bytes;
};

TEST(DefinitionViewStrings, OffsetZeroSharedTailsAndUnterminatedText) {
  Body body;
  std::uint32_t label = body.Text("P22$JUMPWINDOW");
  std::uint32_t field = body.Int32(label + 4);  // points at "JUMPWINDOW", the tail of the label
  std::uint32_t atZeroByte = body.Int32(label + 14);
  std::uint32_t absent = body.Int32(0);
  std::uint32_t unterminated = body.Bytes({'A', 'B'});
  DefinitionView view = body.View();

  EXPECT_EQ(view.ReadString(0), std::string_view());
  EXPECT_EQ(view.ReadStringField(field), "JUMPWINDOW");
  EXPECT_EQ(view.ReadStringField(atZeroByte), "");
  EXPECT_EQ(view.ReadStringField(absent), std::nullopt);
  EXPECT_EQ(view.ReadString(unterminated), std::nullopt);
  EXPECT_EQ(view.ReadString(view.Size()), std::nullopt);
  EXPECT_EQ(view.ReadString(0xFFFFFFFFu), std::nullopt);
}

TEST(DefinitionViewNumbers, LittleEndianAndBoundsChecked) {
  Body body;
  std::uint32_t at = body.Bytes({0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F});
  DefinitionView view = body.View();
  EXPECT_EQ(view.ReadInt32(at), 0x12345678);
  EXPECT_EQ(view.ReadUInt16(at), 0x5678);
  EXPECT_EQ(view.ReadFloat64(at + 4), 1.0);
  EXPECT_EQ(view.ReadInt32(at + 9), std::nullopt);  // would run one byte past the end
  EXPECT_EQ(view.ReadFloat64(at + 5), std::nullopt);
  EXPECT_EQ(view.ReadBytes(at, 12)->size(), 12u);
  EXPECT_EQ(view.ReadBytes(at, 13), std::nullopt);
  EXPECT_EQ(view.ReadBytes(0xFFFFFFF0u, 0x20), std::nullopt);  // offset + count wraps around
}

TEST(DefinitionViewLists, InOrderStoppingAtLoopsAndTheEnd) {
  Body body;
  // Status zones -1, 90, 70 as three nodes.
  std::uint32_t first = body.Here();
  body.Int32(0xFFFFFFFFu);
  body.Int32(first + 8);
  body.Int32(90);
  body.Int32(first + 16);
  body.Int32(70);
  body.Int32(0);
  // A node that links back to itself.
  std::uint32_t loop = body.Int32(0x22);
  body.Int32(loop);
  // A node whose next link points past the buffer.
  std::uint32_t dangling = body.Int32(0x21);
  body.Int32(0x7FFFFFF0);
  DefinitionView view = body.View();

  EXPECT_EQ(view.ReadList(first), (std::vector<std::int32_t>{-1, 90, 70}));
  EXPECT_EQ(view.ReadList(0), std::vector<std::int32_t>{});
  EXPECT_EQ(view.ReadList(loop), std::vector<std::int32_t>{0x22});
  EXPECT_EQ(view.ReadList(dangling), std::vector<std::int32_t>{0x21});
  EXPECT_EQ(view.ReadList(view.Size() - 4), std::vector<std::int32_t>{});
}

TEST(DefinitionViewSubStructures, FontColoursTextBlockAndDropIdentifiers) {
  Body body;
  std::uint32_t font = body.Int32(0);
  body.Int32(10);
  body.Int32(0xFFFFFFFFu);
  body.Int32(700 | kFontItalic);
  body.Patch(font, body.Text("MS Sans Serif"));
  std::uint32_t colours = body.Int32(0x00808080);
  body.Int32(0xFFFFFFFFu);
  body.Int32(0x80000005u);
  std::uint32_t keys = body.Int32(0x22);
  body.Int32(0);
  std::uint32_t tip = body.Text("Print this report");
  std::uint32_t message = body.Text("Print the report");
  std::uint32_t block = body.Int32(message);
  body.Int32(tip);
  body.Int32(0);
  body.Int32(7);
  body.Int32(keys);
  std::uint32_t id = body.Text("~FILE");
  std::uint32_t drops = body.Int32(id);
  body.Int32(0);
  DefinitionView view = body.View();

  std::optional<FontRecord> read = view.ReadFontRecord(font);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->face, "MS Sans Serif");
  EXPECT_EQ(read->points, 10);
  EXPECT_EQ(read->colour, kNoColour);
  EXPECT_EQ(read->style & kFontWeightMask, 700u);
  EXPECT_TRUE(read->style & kFontItalic);
  EXPECT_EQ(view.ReadFontRecord(0), std::nullopt);
  EXPECT_EQ(view.ReadFontRecord(view.Size() - 15), std::nullopt);

  std::optional<ColourTriple> triple = view.ReadColourTriple(colours);
  ASSERT_TRUE(triple);
  EXPECT_EQ(triple->values[0], 0x00808080u);
  EXPECT_EQ(triple->values[1], kNoColour);
  EXPECT_EQ(triple->values[2], 0x80000005u);

  std::optional<TextBlock> texts = view.ReadTextBlock(block);
  ASSERT_TRUE(texts);
  EXPECT_EQ(texts->message, "Print the report");
  EXPECT_EQ(texts->tooltip, "Print this report");
  EXPECT_EQ(texts->help, std::nullopt);
  EXPECT_EQ(texts->number, 7);
  EXPECT_EQ(texts->keys, std::vector<std::int32_t>{0x22});

  EXPECT_EQ(view.ReadStringList(drops), std::vector<std::string>{"~FILE"});
}

TEST(DefinitionViewUse, VariableBindingConstantAndDataOutsideTheBody) {
  Body body;
  std::uint32_t data = body.Text("threaded|list|tabular");
  std::uint32_t constant = body.Bytes({18});
  body.Int32(21);
  body.Int32(data);
  std::uint32_t variable = body.Bytes({2});
  body.Int32(2);
  body.Int32(0);
  std::uint32_t overlong = body.Bytes({18});
  body.Int32(5000);
  body.Int32(data);
  std::uint32_t negative = body.Bytes({18});
  body.Int32(0xFFFFFFFFu);
  body.Int32(data);
  DefinitionView view = body.View();

  std::optional<UseDescriptor> values = view.ReadUseDescriptor(constant);
  ASSERT_TRUE(values);
  EXPECT_EQ(values->kind, 18);
  EXPECT_EQ(values->size, 21);
  EXPECT_EQ(values->data, "threaded|list|tabular");
  std::optional<UseDescriptor> binding = view.ReadUseDescriptor(variable);
  ASSERT_TRUE(binding);
  EXPECT_EQ(binding->kind, 2);
  EXPECT_EQ(binding->data, std::nullopt);
  // A constant whose data cannot be read must not turn into a variable binding.
  EXPECT_EQ(view.ReadUseDescriptor(overlong), std::nullopt);
  EXPECT_EQ(view.ReadUseDescriptor(negative), std::nullopt);
  EXPECT_EQ(view.ReadUseDescriptor(view.Size() - 8), std::nullopt);
}

TEST(DefinitionViewNames, TextStockAndProgramIdentifiers) {
  Body body;
  std::uint32_t text = body.Text("GET.ICO");
  std::uint32_t program = body.Bytes({0xFF, 0x02, 0x03, 0x7F, 0x00});
  std::uint32_t stock = body.Bytes({0xFF, 0x01, 0x01, 0x7F, 0x00});
  std::uint32_t badForm = body.Bytes({0xFF, 0x03, 0x01, 0x00, 0x00});
  std::uint32_t unterminated = body.Bytes({0xFF, 0x02, 0x01, 0x00, 0x41});
  std::uint32_t empty = body.Text("");
  std::uint32_t truncated = body.Bytes({0xFF, 0x02, 0x03});
  DefinitionView view = body.View();

  EXPECT_EQ(view.ReadResourceName(text), (ResourceName{ResourceName::Form::Text, "GET.ICO", 0}));
  EXPECT_EQ(view.ReadResourceName(program), (ResourceName{ResourceName::Form::ProgramId, "", 32514}));
  EXPECT_EQ(view.ReadResourceName(stock), (ResourceName{ResourceName::Form::Stock, "", 32512}));
  EXPECT_EQ(view.ReadResourceName(badForm), std::nullopt);
  EXPECT_EQ(view.ReadResourceName(unterminated), std::nullopt);
  EXPECT_EQ(view.ReadResourceName(empty), std::nullopt);
  EXPECT_EQ(view.ReadResourceName(truncated), std::nullopt);
  EXPECT_EQ(view.ReadResourceName(0), std::nullopt);
}

TEST(ResourceNames, DefinitionAndIconResourceNames) {
  EXPECT_EQ(DefinitionResourceName("skarvine$SKARV001"), "SKARV001_RSC");
  EXPECT_EQ(DefinitionResourceName("skarvine$SKARV_SF"), "SKARV_SF_RSC");
  EXPECT_EQ(DefinitionResourceName("a$b$c"), "b$c_RSC");
  EXPECT_EQ(DefinitionResourceName("PLAIN"), "PLAIN_RSC");
  EXPECT_EQ(ProgramResourceName("GET.ICO"), "GET_ICO");
  EXPECT_EQ(ProgramResourceName("Hand.cur"), "HAND_CUR");
  EXPECT_EQ(ProgramResourceName("Cancel.ico"), "CANCEL_ICO");
  EXPECT_EQ(ProgramResourceName("~my.pic.ico"), "MY_PIC_ICO");

  ResourceRequest text = RequestFor(ResourceName{ResourceName::Form::Text, "Hand.cur", 0});
  EXPECT_FALSE(text.stock);
  EXPECT_FALSE(text.byIdentifier);
  EXPECT_EQ(text.name, "HAND_CUR");
  ResourceRequest program = RequestFor(ResourceName{ResourceName::Form::ProgramId, "", 32514});
  EXPECT_FALSE(program.stock);
  EXPECT_TRUE(program.byIdentifier);
  EXPECT_EQ(program.identifier, 32514);
  ResourceRequest stock = RequestFor(ResourceName{ResourceName::Form::Stock, "", 32512});
  EXPECT_TRUE(stock.stock);
  EXPECT_EQ(stock.identifier, 32512);
}

}  // namespace
}  // namespace vel::windows
