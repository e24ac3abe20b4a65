#include "runtime/windows/current_definition.h"

#include <cstring>
#include <unordered_set>

#include "runtime/windows/definition_types.h"
#include "runtime/windows/resource_names.h"

namespace vel::windows {
namespace {

// Where the window record keeps its next link and its label.
constexpr std::uint32_t kNextField = 1;
constexpr std::uint32_t kLabelField = 33;
constexpr std::uint32_t kFirstRecordField = 2;
constexpr std::uint32_t kWindowRecordSize = 114;

}  // namespace

std::vector<std::uint8_t> CopyDefinitionBody(std::span<const std::uint8_t> resource, std::string_view qualifiedName) {
  // An empty resource may come with no bytes at all, which memchr must not be given.
  if (resource.empty()) return {};
  const void* zero = std::memchr(resource.data(), 0, resource.size());
  if (zero == nullptr) return {};
  std::size_t nameLength = static_cast<const std::uint8_t*>(zero) - resource.data();
  if (nameLength != qualifiedName.size() || std::memcmp(resource.data(), qualifiedName.data(), nameLength) != 0) {
    return {};
  }
  std::size_t bodySize = resource.size() - (nameLength + 1);
  std::vector<std::uint8_t> buffer(bodySize + 2, 0);
  std::memcpy(buffer.data() + 2, resource.data() + nameLength + 1, bodySize);
  return buffer;
}

std::uint32_t FindWindowRecord(const DefinitionView& body, std::string_view label) {
  std::uint32_t offset = ReadOffsetField(body, kFirstRecordField);
  std::unordered_set<std::uint32_t> seen;
  while (offset != 0 && seen.insert(offset).second) {
    std::optional<std::uint8_t> kind = body.ReadUInt8(offset);
    if (!kind || (*kind != kKindWindow && *kind != kKindReport)) return 0;
    // A window record that does not lie wholly in the body is not a match: a caller given its
    // offset would read its fields past the end.
    if (*kind == kKindWindow && body.ReadBytes(offset, kWindowRecordSize)) {
      std::optional<std::int32_t> labelOffset = body.ReadInt32(offset + kLabelField);
      if (labelOffset && *labelOffset > 0) {
        std::optional<std::string_view> text = body.ReadString(static_cast<std::uint32_t>(*labelOffset));
        if (text && *text == label) return offset;
      }
    }
    offset = ReadOffsetField(body, offset + kNextField);
  }
  return 0;
}

std::uint32_t CurrentDefinition::Find(const ResourceSource& source, std::string_view qualifiedName,
                                      std::string_view label) {
  Release();
  const std::string resourceName = DefinitionResourceName(qualifiedName);
  std::vector<HMODULE> tried;
  for (HMODULE module : source.SearchOrder()) {
    bool alreadyTried = false;
    for (HMODULE earlier : tried) alreadyTried = alreadyTried || earlier == module;
    if (alreadyTried) continue;
    tried.push_back(module);

    std::optional<std::span<const std::uint8_t>> resource = source.FindDefinitionResource(module, resourceName);
    if (!resource) continue;
    std::vector<std::uint8_t> buffer = CopyDefinitionBody(*resource, qualifiedName);
    if (buffer.empty()) continue;
    std::uint32_t offset = FindWindowRecord(DefinitionView(buffer), label);
    if (offset == 0) continue;
    m_buffer = std::move(buffer);
    m_module = module;
    return offset;
  }
  return 0;
}

void CurrentDefinition::Release() {
  m_buffer = {};
  m_module = nullptr;
}

}  // namespace vel::windows
