#include "runtime/values/binding_table.h"

#include <vector>

#include "runtime/values/binding_builtins.h"
#include "runtime/values/char_compare.h"
#include "runtime/values/char_tables.h"

namespace vel::values {

int CompareBindingNames(const char* first, const char* second) {
  return CompareTextNoCase(first, second);
}

bool IsBindingNameCharacter(unsigned char c) { return IsAlnumChar(c) != 0 || c == '_' || c == ':'; }

BindingTable::BindingTable() : m_root(std::make_unique<BindingNode>()) {
  m_root->kind = kBindingRoot;
  m_root->name = kBindingRootName;
}

BindingTable::~BindingTable() {
  std::vector<std::unique_ptr<BindingNode>> pending;
  pending.push_back(std::move(m_root));
  while (!pending.empty()) {
    std::unique_ptr<BindingNode> node = std::move(pending.back());
    pending.pop_back();
    if (node->less != nullptr) pending.push_back(std::move(node->less));
    if (node->greater != nullptr) pending.push_back(std::move(node->greater));
  }
}

void BindingTable::EnterBuiltIns() {
  for (const BuiltInFunction& function : BuiltInFunctions()) {
    auto node = std::make_unique<BindingNode>();
    node->kind = kBindingFunction;
    node->name = function.name;
    node->resultType = function.resultType;
    node->argumentCount = function.argumentCount;
    node->functionCode = function.functionCode;
    Insert(std::move(node));
  }
  for (const OperatorKeyword& keyword : OperatorKeywords()) {
    auto node = std::make_unique<BindingNode>();
    node->kind = kBindingKeyword;
    node->name = keyword.name;
    node->tokenCode = keyword.tokenCode;
    Insert(std::move(node));
  }
}

void BindingTable::Insert(std::unique_ptr<BindingNode> node) {
  BindingNode* current = m_root.get();
  for (;;) {
    int order = CompareBindingNames(node->name.c_str(), current->name.c_str());
    if (order == 0) {
      current->kind = node->kind;
      current->resultType = node->resultType;
      current->reference = std::move(node->reference);
      current->tokenCode = node->tokenCode;
      current->argumentCount = node->argumentCount;
      current->functionCode = node->functionCode;
      return;
    }
    std::unique_ptr<BindingNode>& branch = order < 0 ? current->less : current->greater;
    if (branch == nullptr) {
      branch = std::move(node);
      ++m_count;
      return;
    }
    current = branch.get();
  }
}

const BindingNode* BindingTable::Find(const char* name) const {
  const BindingNode* current = m_root.get();
  while (current != nullptr) {
    int order = CompareBindingNames(name, current->name.c_str());
    if (order == 0) return current;
    current = order < 0 ? current->less.get() : current->greater.get();
  }
  return nullptr;
}

}  // namespace vel::values
