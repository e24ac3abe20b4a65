#pragma once
// A table of a library's functions, filled through LazyLibrary the first time any thread asks
// for it and kept for the rest of the process. A library that is missing or lacks a function
// is reported once on standard error; callers then go without what it offers. Tests can withhold
// a table to see the program on a system without the library.

#include <atomic>
#include <mutex>
#include <string>

#include "platform/kernel/lazy_library.h"

namespace vel::platform {

/// Looks every function of `table` up in `library`.
template <typename Table>
using TableResolver = void (*)(LazyLibrary& library, Table& table);

/// Opens the shared object `soname` and fills `table` through `resolve`. On success the object
/// stays loaded for the rest of the process. On failure `table` is left empty, the object is
/// closed again and `whyNot` says what was missing.
template <typename Table>
bool LoadLibraryTable(const char* soname, TableResolver<Table> resolve, Table& table, std::string& whyNot) {
  Table found;
  LazyLibrary library(soname);
  resolve(library, found);
  const bool complete = library.Complete(whyNot);
  table = complete ? found : Table{};
  return complete;
}

/// Writes the one line that says a library cannot be used: "<subject> <soname> is not usable
/// (<whyNot>); <consequence>".
void ReportUnusableLibrary(const char* subject, const char* soname, const std::string& whyNot,
                           const char* consequence);

/// How a process-wide table is loaded and what its absence means to a user.
template <typename Table>
struct LibraryTableDescription {
  const char* soname;
  TableResolver<Table> resolve;
  /// What the report line starts with, e.g. "printing: the printing system's library".
  const char* subject;
  /// What the program goes without, e.g. "there are no printers".
  const char* consequence;
  /// Runs once after a successful load (may be null).
  void (*loaded)(const Table& table) = nullptr;
};

/// One library's table for the whole process. Meant to be a function-local static, so that it
/// is ready before its first use from any thread.
template <typename Table>
class LazyLibraryTable {
 public:
  explicit LazyLibraryTable(const LibraryTableDescription<Table>& description) : m_description(description) {}
  LazyLibraryTable(const LazyLibraryTable&) = delete;
  LazyLibraryTable& operator=(const LazyLibraryTable&) = delete;

  /// The table, loaded at the first call; null when the library is not usable or withheld.
  const Table* Get() {
    if (m_withheld.load(std::memory_order_relaxed)) return nullptr;
    std::call_once(m_loaded, [this] {
      std::string whyNot;
      m_usable = LoadLibraryTable(m_description.soname, m_description.resolve, m_table, whyNot);
      if (!m_usable) {
        ReportUnusableLibrary(m_description.subject, m_description.soname, whyNot, m_description.consequence);
      } else if (m_description.loaded != nullptr) {
        m_description.loaded(m_table);
      }
    });
    return m_usable ? &m_table : nullptr;
  }

  /// Makes Get answer null (true) or the loaded table again (false). Callers that already hold
  /// the table keep it.
  void Withhold(bool withheld) { m_withheld.store(withheld, std::memory_order_relaxed); }

 private:
  const LibraryTableDescription<Table> m_description;
  std::atomic<bool> m_withheld{false};
  std::once_flag m_loaded;
  Table m_table{};
  bool m_usable = false;
};

}  // namespace vel::platform
