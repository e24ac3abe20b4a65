#include "runtime/values/character_rules.h"

#include <atomic>

namespace vel::values {

namespace {

const CharacterRules kDefaultRules;
std::atomic<const CharacterRules*> g_installedRules{&kDefaultRules};

}  // namespace

int CharacterRules::Weight(unsigned char byte) const { return byte; }

bool CharacterRules::HasDigraphs() const { return false; }

bool CharacterRules::ExpandDigraph(unsigned char, unsigned char&, unsigned char&) const {
  return false;
}

unsigned char CharacterRules::Upper(unsigned char byte) const {
  if (byte >= 'a' && byte <= 'z') return static_cast<unsigned char>(byte - ('a' - 'A'));
  return byte;
}

void InstallCharacterRules(const CharacterRules* rules) {
  g_installedRules.store(rules != nullptr ? rules : &kDefaultRules, std::memory_order_release);
}

const CharacterRules& CurrentCharacterRules() {
  return *g_installedRules.load(std::memory_order_acquire);
}

}  // namespace vel::values
