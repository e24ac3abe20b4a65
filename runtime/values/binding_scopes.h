#pragma once

#include <cstddef>
#include <memory>

#include "runtime/values/binding_table.h"
#include "runtime/values/value_reference.h"

namespace vel::values {

/// One open scope: the table that was current when it was opened.
struct BindingScope {
  std::unique_ptr<BindingTable> savedTable;
  std::unique_ptr<BindingScope> older;
  /// Set when the scope was opened with the argument 0: names bound outside it are hidden from
  /// lookups made inside it.
  bool opaque = false;
};

/// A thread's name-binding state: its current binding table (possibly none) and its list of open
/// scopes, newest first. Every thread has one of its own in thread-local storage and the
/// operations below act on the calling thread's current state; a thread manager that keeps the
/// value state in its thread records can install another with `ExchangeCurrentBindingState`.
class BindingState {
 public:
  BindingState() = default;
  /// Deletes the current table and every open scope with its table.
  ~BindingState();
  BindingState(const BindingState&) = delete;
  BindingState& operator=(const BindingState&) = delete;

  /// The current table, or null before the first binding of the scope.
  BindingTable* CurrentTable() const { return m_table.get(); }
  /// The newest open scope, or null.
  const BindingScope* NewestScope() const { return m_scopes.get(); }
  /// Number of open scopes.
  std::size_t ScopeDepth() const { return m_depth; }

  /// Binds the name on top of the string stack (popped) to a clone of `reference`.
  void Bind(ValueReference& reference);
  /// Opens a scope (see `PushScope`).
  void Push(int argument);
  /// Closes the newest scope; false (and no change) when none is open.
  bool Pop();
  /// Finds a name in the current table and, through scopes opened with a nonzero argument, in
  /// the tables of the enclosing scopes; null when no visible table has it.
  const BindingNode* LookUp(const char* name) const;

 private:
  std::unique_ptr<BindingTable> m_table;
  std::unique_ptr<BindingScope> m_scopes;
  std::size_t m_depth = 0;
};

/// The binding state of the calling thread.
BindingState& CurrentBindingState();

/// Makes `replacement` the calling thread's current binding state and returns the one it
/// replaces; null reinstalls the thread's own state. The replacement must outlive its
/// installation.
BindingState* ExchangeCurrentBindingState(BindingState* replacement);

/// Pops the name from the string stack and binds it to a clone of `reference` in the current
/// table, creating the table (with the built-in names) when needed. The name is cut to its
/// leading run of letters, digits, "_" and ":" (at most 99 characters) and one following "#",
/// "$" or double quote; a name with nothing left binds nothing. An existing binding of the same
/// name, built-in names included, is replaced.
void BindName(ValueReference& reference);

/// Opens a scope: the current table is saved with the scope and the new scope starts with none.
/// Generated procedure code passes 0, which also hides the caller's names from lookups.
void PushScope(int argument);

/// Closes the newest scope, deleting its table and restoring the saved one. Without an open
/// scope it reports runtime error 802 "Mismatched POPSCOPE" and changes nothing.
void PopScope();

/// `BindingState::LookUp` on the calling thread's state.
const BindingNode* LookUpName(const char* name);

/// Cuts a name given to `BindName` as described there, writing at most 99 characters and a
/// terminator into `out` (100 bytes); returns the length kept.
std::size_t TrimBindingName(const char* text, std::size_t length, char* out);

}  // namespace vel::values
