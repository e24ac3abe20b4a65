#include "runtime/values/char_table_rules.h"

#include "runtime/values/char_tables.h"

namespace vel::values {

int TableCharacterRules::Weight(unsigned char byte) const { return g_charTables.weight[byte]; }

bool TableCharacterRules::HasDigraphs() const { return DigraphsInUse(); }

bool TableCharacterRules::ExpandDigraph(unsigned char byte, unsigned char& first,
                                        unsigned char& second) const {
  for (const DigraphEntry& entry : g_charTables.digraphs) {
    if (entry.character == 0) break;
    if (entry.character == byte) {
      first = entry.first;
      second = entry.second;
      return true;
    }
  }
  return false;
}

unsigned char TableCharacterRules::Upper(unsigned char byte) const { return ToUpperChar(byte); }

void InstallCharacterTables() {
  static const TableCharacterRules rules;
  InstallCharacterRules(&rules);
}

}  // namespace vel::values
