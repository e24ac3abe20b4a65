#pragma once

namespace vel::values {

/// What comparison and case conversion of string values ask of the character tables. This base
/// class is the built-in default: each byte weighs its own code, there are no digraphs and only
/// the ASCII letters a to z have upper-case forms. The component that loads the real tables
/// derives from it and installs its object with `InstallCharacterRules`.
class CharacterRules {
 public:
  virtual ~CharacterRules() = default;

  /// The collating weight of `byte`; bytes with lower weights sort first.
  virtual int Weight(unsigned char byte) const;

  /// True when the digraph table holds at least one entry, which switches comparison to reading
  /// characters through `ExpandDigraph`.
  virtual bool HasDigraphs() const;

  /// When `byte` is listed in the digraph table, stores the two characters it stands for and
  /// returns true; otherwise returns false and leaves both untouched.
  virtual bool ExpandDigraph(unsigned char byte, unsigned char& first,
                             unsigned char& second) const;

  /// The upper-case form of `byte` (the byte itself when it has none).
  virtual unsigned char Upper(unsigned char byte) const;
};

/// Makes `rules` the process-wide character rules used by string comparison and `UpperTop`; a
/// null pointer reinstalls the defaults. The object must outlive its installation. Installation
/// is meant for start-up, before procedures compare strings.
void InstallCharacterRules(const CharacterRules* rules);

/// The character rules in force (the defaults unless others were installed).
const CharacterRules& CurrentCharacterRules();

}  // namespace vel::values
