#include "runtime/values/binding_scopes.h"

#include "runtime/values/binding_builtins.h"
#include "runtime/values/byte_ops.h"
#include "runtime/values/reference_errors.h"
#include "runtime/values/string_stack.h"

namespace vel::values {

namespace {

constexpr std::size_t kNameBufferSize = 100;

thread_local BindingState t_ownState;
thread_local BindingState* t_currentState = nullptr;

bool IsNameSuffix(char c) { return c == '#' || c == '$' || c == '"'; }

}  // namespace

std::size_t TrimBindingName(const char* text, std::size_t length, char* out) {
  std::size_t limit = length < kNameBufferSize - 1 ? length : kNameBufferSize - 1;
  std::size_t kept = 0;
  while (kept < limit && IsBindingNameCharacter(static_cast<unsigned char>(text[kept]))) {
    out[kept] = text[kept];
    ++kept;
  }
  if (kept < limit && IsNameSuffix(text[kept])) {
    out[kept] = text[kept];
    ++kept;
  }
  out[kept] = '\0';
  return kept;
}

BindingState::~BindingState() {
  // Unlink the scopes one at a time so a long list costs no recursion.
  while (m_scopes != nullptr) {
    std::unique_ptr<BindingScope> older = std::move(m_scopes->older);
    m_scopes = std::move(older);
  }
}

void BindingState::Bind(ValueReference& reference) {
  char raw[kNameBufferSize];
  PopToCString(raw, kNameBufferSize);
  char name[kNameBufferSize];
  if (TrimBindingName(raw, CStringLength(raw), name) == 0) return;
  std::unique_ptr<ValueReference> clone = reference.Clone();
  if (clone == nullptr) return;

  if (m_table == nullptr) m_table = std::make_unique<BindingTable>();
  if (!m_table->HasBuiltIns()) m_table->EnterBuiltIns();

  auto node = std::make_unique<BindingNode>();
  node->kind = kBindingVariable;
  node->name = name;
  node->resultType = ResultTypeOfTypeCode(clone->TypeCode());
  node->reference = std::move(clone);
  m_table->Insert(std::move(node));
}

void BindingState::Push(int argument) {
  auto scope = std::make_unique<BindingScope>();
  scope->savedTable = std::move(m_table);
  scope->opaque = argument == 0;
  scope->older = std::move(m_scopes);
  m_scopes = std::move(scope);
  ++m_depth;
}

bool BindingState::Pop() {
  if (m_scopes == nullptr) return false;
  m_table = std::move(m_scopes->savedTable);
  std::unique_ptr<BindingScope> older = std::move(m_scopes->older);
  m_scopes = std::move(older);
  --m_depth;
  return true;
}

const BindingNode* BindingState::LookUp(const char* name) const {
  if (m_table != nullptr) {
    if (const BindingNode* node = m_table->Find(name)) return node;
  }
  for (const BindingScope* scope = m_scopes.get(); scope != nullptr; scope = scope->older.get()) {
    if (scope->opaque) break;
    if (scope->savedTable == nullptr) continue;
    if (const BindingNode* node = scope->savedTable->Find(name)) return node;
  }
  return nullptr;
}

BindingState& CurrentBindingState() {
  return t_currentState != nullptr ? *t_currentState : t_ownState;
}

BindingState* ExchangeCurrentBindingState(BindingState* replacement) {
  BindingState* previous = &CurrentBindingState();
  t_currentState = replacement;
  return previous;
}

void BindName(ValueReference& reference) { CurrentBindingState().Bind(reference); }

void PushScope(int argument) { CurrentBindingState().Push(argument); }

void PopScope() {
  if (!CurrentBindingState().Pop()) {
    RaiseValueRuntimeError(kErrorMismatchedScope, kMismatchedPopScopeText);
  }
}

const BindingNode* LookUpName(const char* name) { return CurrentBindingState().LookUp(name); }

}  // namespace vel::values
