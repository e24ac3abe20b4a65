#include "runtime/windows/window_record_order.h"

#include <unordered_set>

namespace vel::windows {
namespace {

// Containers nest a few levels in real definitions; a damaged one must not recurse without end.
constexpr int kDeepestNesting = 64;

class OpeningOrderWalk {
 public:
  explicit OpeningOrderWalk(const DefinitionView& view) : m_view(view) {}

  /// Appends one record alone (a menu bar or toolbar: the window links each directly).
  void Single(std::uint32_t offset, int depth) {
    if (offset == 0) return;
    if (std::optional<Record> record = Take(offset)) Append(std::move(*record), depth);
  }

  /// Appends a chain of records, each followed by its children.
  void Chain(std::uint32_t offset, int depth) {
    while (offset != 0) {
      std::optional<Record> record = Take(offset);
      if (!record) return;
      offset = record->next;
      Append(std::move(*record), depth);
    }
  }

  OrderedRecords Result() && { return std::move(m_result); }

 private:
  std::optional<Record> Take(std::uint32_t offset) {
    std::optional<Record> record = m_seen.insert(offset).second ? ReadRecord(m_view, offset) : std::nullopt;
    if (!record) m_result.brokenLinks.push_back(offset);
    return record;
  }

  void Append(Record record, int depth) {
    std::uint32_t children = record.firstChild;
    m_result.records.push_back(std::move(record));
    if (children == 0) return;
    if (depth >= kDeepestNesting) {
      m_result.brokenLinks.push_back(children);
      return;
    }
    Chain(children, depth + 1);
  }

  const DefinitionView& m_view;
  std::unordered_set<std::uint32_t> m_seen;
  OrderedRecords m_result;
};

}  // namespace

OrderedRecords RecordsInOpeningOrder(const DefinitionView& view, const Record& window) {
  OpeningOrderWalk walk(view);
  walk.Single(window.menuBar, 0);
  walk.Chain(window.firstChild, 0);
  walk.Single(window.toolBar, 0);
  return std::move(walk).Result();
}

bool TakesUseAddress(const Record& record) {
  switch (record.kind) {
    case kKindMenuItem: return (record.flags & kItemHasUse) != 0;
    case kKindMenu:
    case kKindMenuBar:
    case kKindToolBar:
    case kKindWindow:
    case kKindReport: return false;
    default: return record.use.has_value() && !record.use->data.has_value();
  }
}

std::vector<UseBinding> UseBindingsOf(const OrderedRecords& records) {
  std::vector<UseBinding> bindings;
  for (const Record& record : records.records) {
    if (!TakesUseAddress(record)) continue;
    bindings.push_back(UseBinding{record.field, record.kind, record.use.value_or(UseDescriptor{})});
  }
  return bindings;
}

}  // namespace vel::windows
