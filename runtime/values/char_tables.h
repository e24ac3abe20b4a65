#pragma once
// The program's character tables: class flags, other case, collating weights and digraphs.
// Every case conversion, classification and ordering of text in the runtime goes through them
// so that the environment file can adapt the whole program to a national character set.

#include <cstdint>

namespace vel::values {

/// Class flag bits.
inline constexpr uint8_t kUpperLetterFlag = 1;
inline constexpr uint8_t kLowerLetterFlag = 2;
inline constexpr uint8_t kDigitFlag = 4;

/// Number of entries in a digraph table.
inline constexpr int kDigraphCapacity = 16;

/// One digraph: `character` sorts as `first` followed by `second`. A zero character ends the
/// table.
struct DigraphEntry {
  uint8_t character = 0;
  uint8_t first = 0;
  uint8_t second = 0;
};

/// The whole set of tables; one instance serves the program.
struct CharTables {
  uint8_t classFlags[256];
  uint8_t otherCase[256];
  uint8_t weight[256];     ///< Collating weights for ANSI text.
  uint8_t oemWeight[256];  ///< Collating weights for OEM text.
  DigraphEntry digraphs[kDigraphCapacity];     ///< For ANSI text.
  DigraphEntry oemDigraphs[kDigraphCapacity];  ///< The same entries converted for OEM text.
};

/// Restores the built-in class flags and other-case table: A-Z and a-z letters, 0-9 digits.
constexpr void ResetCaseTables(CharTables& tables) {
  for (int b = 0; b < 256; ++b) {
    tables.classFlags[b] = 0;
    tables.otherCase[b] = 0;
  }
  for (int b = 'A'; b <= 'Z'; ++b) {
    tables.classFlags[b] = kUpperLetterFlag;
    tables.otherCase[b] = static_cast<uint8_t>(b + 32);
    tables.classFlags[b + 32] = kLowerLetterFlag;
    tables.otherCase[b + 32] = static_cast<uint8_t>(b);
  }
  for (int b = '0'; b <= '9'; ++b) tables.classFlags[b] = kDigitFlag;
}

/// Restores weight(b) = b in both weight tables.
constexpr void ResetCollation(CharTables& tables) {
  for (int b = 0; b < 256; ++b) {
    tables.weight[b] = static_cast<uint8_t>(b);
    tables.oemWeight[b] = static_cast<uint8_t>(b);
  }
}

/// Empties both digraph tables.
constexpr void ResetDigraphs(CharTables& tables) {
  for (int i = 0; i < kDigraphCapacity; ++i) {
    tables.digraphs[i] = DigraphEntry{};
    tables.oemDigraphs[i] = DigraphEntry{};
  }
}

/// The built-in contents of every table.
constexpr CharTables BuiltInCharTables() {
  CharTables tables{};
  ResetCaseTables(tables);
  ResetCollation(tables);
  ResetDigraphs(tables);
  return tables;
}

/// The program's tables. Constant-initialised to the built-in contents, adjusted once by the
/// environment file at start-up and read-only afterwards.
inline constinit CharTables g_charTables = BuiltInCharTables();

/// The other-case byte if the byte is marked lower-case, else the byte.
inline uint8_t ToUpperChar(uint8_t c) {
  return (g_charTables.classFlags[c] & kLowerLetterFlag) && g_charTables.otherCase[c]
             ? g_charTables.otherCase[c]
             : c;
}

/// The other-case byte if the byte is marked upper-case, else the byte.
inline uint8_t ToLowerChar(uint8_t c) {
  return (g_charTables.classFlags[c] & kUpperLetterFlag) && g_charTables.otherCase[c]
             ? g_charTables.otherCase[c]
             : c;
}

/// 1 if the byte is marked upper-case, else 0.
inline int IsUpperChar(uint8_t c) { return (g_charTables.classFlags[c] & kUpperLetterFlag) ? 1 : 0; }

/// 1 if the byte is a letter or digit by the class flags, else 0.
inline int IsAlnumChar(uint8_t c) { return g_charTables.classFlags[c] != 0 ? 1 : 0; }

/// 1 if the byte has an other-case counterpart, else 0.
inline int HasOtherCase(uint8_t c) { return g_charTables.otherCase[c] != 0 ? 1 : 0; }

/// weight(first) - weight(second).
inline int CompareChars(uint8_t first, uint8_t second) {
  return g_charTables.weight[first] - g_charTables.weight[second];
}

/// True when the ANSI digraph table holds at least one entry.
inline bool DigraphsInUse() { return g_charTables.digraphs[0].character != 0; }

}  // namespace vel::values
