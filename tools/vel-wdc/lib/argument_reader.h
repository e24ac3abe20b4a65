#pragma once
// Reading the arguments of one declaration item: numbers, strings, flag sets, icon and cursor
// names, USE descriptors and font records, each checked, with faults reported against the item
// and its line.

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/windows/definition_types.h"
#include "tools/vel-wdc/lib/declaration_syntax.h"
#include "tools/vel-wdc/lib/flag_names.h"

namespace vel::tools {

/// Reads the arguments of one item.
class ArgumentReader {
 public:
  ArgumentReader(const Item& item, int line) : m_item(item), m_line(line) {}

  /// Throws DeclarationError naming the item and the line.
  [[noreturn]] void Fail(const std::string& message) const;

  /// Fails unless the item has between `low` and `high` arguments.
  void ExpectCount(std::size_t low, std::size_t high) const;
  std::size_t Count() const { return m_item.arguments.size(); }

  /// The argument at `index`, which must be a single atom.
  const Atom& Single(std::size_t index) const;

  /// Whether the argument at `index` is the single word `word`.
  bool IsWord(std::size_t index, const char* word) const;

  /// A decimal or hexadecimal number, optionally negative, within [low, high].
  std::int64_t Integer(const Atom& atom, std::int64_t low, std::int64_t high) const;

  /// A signed 32-bit number.
  std::int32_t Int32(std::size_t index) const;
  /// A signed or unsigned 32-bit number, stored as its bits.
  std::uint32_t Bits32(const Atom& atom) const;
  /// A position or size: a number or `default` (not given).
  std::int32_t Coordinate(std::size_t index) const { return IsWord(index, "default") ? windows::kNotGiven : Int32(index); }
  /// A colour: a number or `default` (not given).
  std::uint32_t Colour(std::size_t index) const { return IsWord(index, "default") ? windows::kNoColour : Bits32(Single(index)); }

  /// A floating-point number.
  double Double(std::size_t index) const;

  /// A quoted string stored zero-terminated, so without a zero byte.
  std::string String(std::size_t index) const;
  /// A quoted string stored with its length, which may hold any byte.
  std::string Bytes(std::size_t index) const;

  /// Names of `names` and numbers joined by "+", or-ed together.
  std::uint32_t Flags(std::size_t index, FlagTable names) const;

  /// Every argument as a 32-bit number.
  std::vector<std::int32_t> IntList() const;

  /// Every argument as a quoted string.
  std::vector<std::string> StringList() const;

  /// An icon or cursor name: "text", stock, N or resource, N.
  windows::ResourceName Name() const;

  /// A USE descriptor: storage kind, size and optional constant data.
  windows::UseDescriptor Use() const;

  /// A font record: face (or none), points, colour, style.
  windows::FontRecord Font() const;

 private:
  const Item& m_item;
  int m_line;
};

}  // namespace vel::tools
