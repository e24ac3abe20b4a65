#include "tools/vel-wdc/lib/argument_reader.h"

#include <charconv>
#include <limits>

namespace vel::tools {

using windows::kNoColour;

void ArgumentReader::Fail(const std::string& message) const {
  throw DeclarationError(m_line, m_item.name + "(): " + message);
}

void ArgumentReader::ExpectCount(std::size_t low, std::size_t high) const {
  std::size_t count = m_item.arguments.size();
  if (count < low || count > high) Fail("wrong number of arguments");
}

const Atom& ArgumentReader::Single(std::size_t index) const {
  const Argument& argument = m_item.arguments.at(index);
  if (argument.size() != 1) Fail("\"+\" is not allowed here");
  return argument[0];
}

bool ArgumentReader::IsWord(std::size_t index, const char* word) const {
  const Argument& argument = m_item.arguments.at(index);
  return argument.size() == 1 && argument[0].kind == Atom::Kind::Word && argument[0].text == word;
}

std::int64_t ArgumentReader::Integer(const Atom& atom, std::int64_t low, std::int64_t high) const {
  if (atom.kind != Atom::Kind::Number) Fail("expected a number, found " + atom.text);
  const std::string& text = atom.text;
  bool negative = text[0] == '-';
  std::size_t start = negative ? 1 : 0;
  int base = 10;
  if (text.size() > start + 2 && text[start] == '0' && (text[start + 1] == 'x' || text[start + 1] == 'X')) {
    base = 16;
    start += 2;
  }
  std::uint64_t magnitude = 0;
  auto result = std::from_chars(text.data() + start, text.data() + text.size(), magnitude, base);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) Fail("bad number " + text);
  if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) Fail("number too large");
  std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  if (value < low || value > high) Fail("number out of range: " + text);
  return value;
}

std::int32_t ArgumentReader::Int32(std::size_t index) const {
  return static_cast<std::int32_t>(Integer(Single(index), INT32_MIN, INT32_MAX));
}

std::uint32_t ArgumentReader::Bits32(const Atom& atom) const {
  return static_cast<std::uint32_t>(Integer(atom, INT32_MIN, UINT32_MAX));
}

double ArgumentReader::Double(std::size_t index) const {
  const Atom& atom = Single(index);
  if (atom.kind != Atom::Kind::Number) Fail("expected a number");
  double value = 0;
  auto result = std::from_chars(atom.text.data(), atom.text.data() + atom.text.size(), value);
  if (result.ec != std::errc() || result.ptr != atom.text.data() + atom.text.size()) Fail("bad number " + atom.text);
  return value;
}

std::string ArgumentReader::Bytes(std::size_t index) const {
  const Atom& atom = Single(index);
  if (atom.kind != Atom::Kind::String) Fail("expected a quoted string");
  return atom.text;
}

std::string ArgumentReader::String(std::size_t index) const {
  std::string text = Bytes(index);
  if (text.find('\0') != std::string::npos) Fail("a text may not hold a zero byte");
  return text;
}

std::uint32_t ArgumentReader::Flags(std::size_t index, FlagTable names) const {
  std::uint32_t flags = 0;
  for (const Atom& atom : m_item.arguments.at(index)) {
    if (atom.kind == Atom::Kind::Word) {
      std::optional<std::uint32_t> value = FlagValue(atom.text, names);
      if (!value) Fail("unknown flag " + atom.text);
      flags |= *value;
    } else {
      flags |= Bits32(atom);
    }
  }
  return flags;
}

std::vector<std::int32_t> ArgumentReader::IntList() const {
  std::vector<std::int32_t> values;
  for (std::size_t i = 0; i < Count(); ++i) values.push_back(static_cast<std::int32_t>(Bits32(Single(i))));
  return values;
}

std::vector<std::string> ArgumentReader::StringList() const {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < Count(); ++i) texts.push_back(String(i));
  return texts;
}

windows::ResourceName ArgumentReader::Name() const {
  windows::ResourceName name;
  if (Count() == 1) {
    name.text = String(0);
    if (name.text.empty()) Fail("an icon or cursor name may not be empty");
    if (static_cast<unsigned char>(name.text[0]) == 0xFF) Fail("a name may not start with byte 0xFF");
    return name;
  }
  ExpectCount(2, 2);
  if (IsWord(0, "stock")) {
    name.form = windows::ResourceName::Form::Stock;
  } else if (IsWord(0, "resource")) {
    name.form = windows::ResourceName::Form::ProgramId;
  } else {
    Fail("expected \"name\", stock, N or resource, N");
  }
  // The stored number is the identifier plus one, in 16 bits.
  name.identifier = static_cast<std::uint16_t>(Integer(Single(1), 0, 0xFFFE));
  return name;
}

windows::UseDescriptor ArgumentReader::Use() const {
  ExpectCount(2, 3);
  windows::UseDescriptor use;
  const Atom& kind = Single(0);
  if (kind.kind == Atom::Kind::Word) {
    std::optional<std::uint8_t> code = StorageKindCode(kind.text);
    if (!code) Fail("unknown storage kind " + kind.text);
    use.kind = *code;
  } else {
    use.kind = static_cast<std::uint8_t>(Integer(kind, 0, 255));
  }
  use.size = Int32(1);
  if (Count() == 3) {
    use.data = Bytes(2);
    if (use.data->size() != static_cast<std::size_t>(use.size)) Fail("the data's length differs from the size");
  }
  return use;
}

windows::FontRecord ArgumentReader::Font() const {
  ExpectCount(2, 4);
  windows::FontRecord font;
  if (!IsWord(0, "none")) font.face = String(0);
  font.points = Int32(1);
  if (Count() > 2) font.colour = Colour(2);
  if (Count() > 3) {
    if (IsWord(3, "default")) {
      font.style = kNoColour;
    } else {
      font.style = Flags(3, FontStyleNames());
    }
  }
  return font;
}
}  // namespace vel::tools
