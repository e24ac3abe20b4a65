#pragma once
// Bounds-checked reading of a definition body held in memory. The buffer is indexed by body
// offset directly (byte 0 is zero, the body starts at index 2), so every offset in the body is
// an index here. Every read checks the buffer's end: a corrupt or hostile definition gives an
// empty result, never a read outside the buffer.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/windows/definition_types.h"

namespace vel::windows {

/// A read-only view of a definition buffer (pointer and size); it does not own the bytes.
class DefinitionView {
 public:
  DefinitionView() = default;
  explicit DefinitionView(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

  /// The buffer's size in bytes (offsets are valid below it).
  std::size_t Size() const { return m_bytes.size(); }
  std::span<const std::uint8_t> Bytes() const { return m_bytes; }

  std::optional<std::int32_t> ReadInt32(std::uint32_t offset) const;
  std::optional<std::uint32_t> ReadUInt32(std::uint32_t offset) const;
  std::optional<std::uint16_t> ReadUInt16(std::uint32_t offset) const;
  std::optional<std::uint8_t> ReadUInt8(std::uint32_t offset) const;
  std::optional<double> ReadFloat64(std::uint32_t offset) const;
  /// `count` bytes from `offset`, or empty when they do not all lie in the buffer.
  std::optional<std::string> ReadBytes(std::uint32_t offset, std::uint32_t count) const;

  /// The zero-terminated string at `offset`. Offset 0 is the empty string (byte 0 is zero); a
  /// string without a terminator before the buffer's end is empty (absent).
  std::optional<std::string_view> ReadString(std::uint32_t offset) const;

  /// The string whose offset is stored at `fieldOffset`: empty when that offset is 0 (no string
  /// given) or cannot be read.
  std::optional<std::string> ReadStringField(std::uint32_t fieldOffset) const;

  /// The values of the list starting at `offset` (0 = the empty list). A list that runs out of
  /// the buffer ends there; a list that loops ends when it comes back to a node already seen.
  std::vector<std::int32_t> ReadList(std::uint32_t offset) const;

  /// The strings of a list whose values are string offsets (drop identifiers); values that do
  /// not name a readable string are left out.
  std::vector<std::string> ReadStringList(std::uint32_t offset) const;

  std::optional<FontRecord> ReadFontRecord(std::uint32_t offset) const;
  std::optional<ColourTriple> ReadColourTriple(std::uint32_t offset) const;
  /// The 20-byte text block held at `offset` inside a record.
  std::optional<TextBlock> ReadTextBlock(std::uint32_t offset) const;
  std::optional<UseDescriptor> ReadUseDescriptor(std::uint32_t offset) const;
  /// The icon or cursor name at `offset` (0 = none).
  std::optional<ResourceName> ReadResourceName(std::uint32_t offset) const;

 private:
  bool Holds(std::uint32_t offset, std::uint32_t count) const {
    return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
  }

  std::span<const std::uint8_t> m_bytes;
};

/// The body offset of a sub-structure stored as an int32 field, or 0 when the field is absent,
/// unreadable or negative.
std::uint32_t ReadOffsetField(const DefinitionView& view, std::uint32_t fieldOffset);

}  // namespace vel::windows
