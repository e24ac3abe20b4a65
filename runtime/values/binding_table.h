#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/values/value_reference.h"

namespace vel::values {

/// What a node of a binding table stands for.
enum BindingKind : int {
  kBindingRoot = 0,
  kBindingVariable = 1,
  kBindingKeyword = 4,
  kBindingFunction = 6,
};

/// One name of a binding table.
struct BindingNode {
  std::unique_ptr<BindingNode> less;
  std::unique_ptr<BindingNode> greater;
  int kind = kBindingRoot;
  std::string name;
  /// 1 integer, 2 real, 4 string.
  int resultType = 0;
  /// A bound variable: the clone of its reference that the node owns.
  std::unique_ptr<ValueReference> reference;
  /// An operator keyword: its token code.
  int tokenCode = 0;
  /// A built-in function: the most arguments it takes and its function code.
  int argumentCount = 0;
  int functionCode = 0;
};

/// Orders two zero-terminated names the way binding tables do, without regard to case, through
/// the character tables.
int CompareBindingNames(const char* first, const char* second);

/// True for the characters a bound name is made of besides its one closing "#", "$" or double
/// quote: letters and digits of the character tables, "_" and ":".
bool IsBindingNameCharacter(unsigned char c);

/// The name of the marker node at the root of every table, which starts the tree split near the
/// middle of the alphabet.
inline constexpr const char* kBindingRootName = "MMMMMMM";

/// The binding table of one scope: a binary search tree of names ordered without regard to case
/// (`CompareTextNoCase`). Walks are loops and the destructor takes the tree apart without
/// recursion, so names bound in sorted order (a tree as deep as it is long) cost no stack.
class BindingTable {
 public:
  /// A table holding only the root marker.
  BindingTable();
  ~BindingTable();
  BindingTable(const BindingTable&) = delete;
  BindingTable& operator=(const BindingTable&) = delete;

  /// True once the built-in functions and keywords have been entered (the root has a less
  /// subtree).
  bool HasBuiltIns() const { return m_root->less != nullptr; }
  /// Enters the built-in functions and the operator keywords.
  void EnterBuiltIns();
  /// Inserts `node`; a node with an equal name takes over its kind, result type and payload
  /// (deleting a reference it held) and `node` is discarded.
  void Insert(std::unique_ptr<BindingNode> node);
  /// The node named `name` (zero-terminated, any case), or null.
  const BindingNode* Find(const char* name) const;
  /// The root marker.
  const BindingNode& Root() const { return *m_root; }
  /// Number of nodes, the root included.
  std::size_t Count() const { return m_count; }

 private:
  std::unique_ptr<BindingNode> m_root;
  std::size_t m_count = 1;
};

}  // namespace vel::values
