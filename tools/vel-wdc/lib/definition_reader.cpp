#include "tools/vel-wdc/lib/definition_reader.h"

#include <cstring>
#include <set>
#include <string>

#include "runtime/windows/current_definition.h"
#include "runtime/windows/definition_view.h"
#include "tools/vel-wdc/lib/declaration_syntax.h"

namespace vel::tools {
namespace {

class TreeReader {
 public:
  explicit TreeReader(const windows::DefinitionView& view) : m_view(view) {}

  std::vector<Declaration> Chain(std::uint32_t offset, int depth) {
    std::vector<Declaration> chain;
    // Nesting deeper than any real window is a loop through child links; stop there.
    if (depth > 64) return chain;
    while (offset != 0 && m_seen.insert(offset).second) {
      std::optional<windows::Record> record = windows::ReadRecord(m_view, offset);
      if (!record) break;
      Declaration declaration;
      declaration.record = std::move(*record);
      const windows::Record& read = declaration.record;
      declaration.children = Chain(read.firstChild, depth + 1);
      if (read.kind == windows::kKindWindow) {
        declaration.menuBar = Single(read.menuBar, depth);
        declaration.toolBar = Single(read.toolBar, depth);
      }
      offset = read.next;
      chain.push_back(std::move(declaration));
    }
    return chain;
  }

 private:
  // A menu bar or toolbar is one record; a next link it may carry is not followed.
  std::vector<Declaration> Single(std::uint32_t offset, int depth) {
    std::vector<Declaration> one = Chain(offset, depth + 1);
    if (one.size() > 1) one.resize(1);
    return one;
  }

  const windows::DefinitionView& m_view;
  std::set<std::uint32_t> m_seen;
};

}  // namespace

DefinitionSource ReadDefinitionResource(std::span<const std::uint8_t> resource) {
  const void* zero = std::memchr(resource.data(), 0, resource.size());
  if (zero == nullptr) throw DeclarationError(0, "the resource does not start with a qualified name");
  DefinitionSource source;
  source.qualifiedName.assign(reinterpret_cast<const char*>(resource.data()),
                              static_cast<const std::uint8_t*>(zero) - resource.data());
  std::vector<std::uint8_t> body = windows::CopyDefinitionBody(resource, source.qualifiedName);
  windows::DefinitionView view(body);
  TreeReader reader(view);
  std::vector<Declaration> records = reader.Chain(windows::ReadOffsetField(view, 2), 0);
  for (Declaration& record : records) {
    if (record.record.kind == windows::kKindWindow) source.windows.push_back(std::move(record));
  }
  return source;
}

}  // namespace vel::tools
