#pragma once
// Connects the string stack's comparisons and upper-casing to the program's character tables.

#include "runtime/values/character_rules.h"

namespace vel::values {

/// Character rules read from `g_charTables`: collating weights, the digraph table and the
/// class-flag driven upper case.
class TableCharacterRules final : public CharacterRules {
 public:
  int Weight(unsigned char byte) const override;
  bool HasDigraphs() const override;
  bool ExpandDigraph(unsigned char byte, unsigned char& first,
                     unsigned char& second) const override;
  unsigned char Upper(unsigned char byte) const override;
};

/// Installs the table-driven rules for the whole program (idempotent).
void InstallCharacterTables();

}  // namespace vel::values
