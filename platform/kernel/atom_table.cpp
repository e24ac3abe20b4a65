// The global atom table: reference-counted strings compared ignoring case, numbered from
// 0xC000, and integer atoms ("#123" or MAKEINTATOM) below that which are never stored.

#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/ansi_text.h"
#include "win32.h"

namespace {

constexpr ATOM kFirstStringAtom = 0xC000;
constexpr size_t kMaxAtomName = 255;

struct AtomEntry {
  std::string name;
  unsigned references = 0;  // Zero marks a free slot.
};

class AtomTable {
 public:
  static AtomTable& Instance() {
    static AtomTable* table = new AtomTable();
    return *table;
  }
  std::mutex mutex;
  std::vector<AtomEntry> entries;  // Slot i is atom kFirstStringAtom + i.

  AtomEntry* Find(ATOM atom) {
    if (atom < kFirstStringAtom || atom - kFirstStringAtom >= static_cast<int>(entries.size())) return nullptr;
    AtomEntry& entry = entries[atom - kFirstStringAtom];
    return entry.references > 0 ? &entry : nullptr;
  }
  ATOM Lookup(std::string_view name) {
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].references > 0 && vel::platform::EqualsIgnoringCase(entries[i].name, name)) {
        return static_cast<ATOM>(kFirstStringAtom + i);
      }
    }
    return 0;
  }
};

// The integer atom a name stands for: MAKEINTATOM values and "#" followed by decimal digits.
// Returns 0 for a string name; sets `invalid` for integers outside 1..0xBFFF.
ATOM IntegerAtom(LPCSTR name, bool& invalid) {
  invalid = false;
  if (IS_INTRESOURCE(name)) {
    ATOM value = static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
    invalid = value == 0 || value >= kFirstStringAtom;
    return invalid ? 0 : value;
  }
  if (name[0] != '#' || name[1] == '\0') return 0;
  unsigned long value = 0;
  for (const char* p = name + 1; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return 0;
    value = value * 10 + static_cast<unsigned long>(*p - '0');
    if (value >= kFirstStringAtom) {
      invalid = true;
      return 0;
    }
  }
  invalid = value == 0;
  return static_cast<ATOM>(value);
}

// The answer for names that never reach the table: 0 for null or an out-of-range integer,
// the number itself for an integer atom; nothing for a string name.
std::optional<ATOM> AnswerWithoutTable(LPCSTR name) {
  bool invalid = name == nullptr;
  ATOM integer = invalid ? 0 : IntegerAtom(name, invalid);
  if (invalid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ATOM{0};
  }
  if (integer != 0) return integer;
  return std::nullopt;
}

}  // namespace

ATOM WINAPI GlobalAddAtomA(LPCSTR lpString) {
  if (auto answer = AnswerWithoutTable(lpString)) return *answer;
  std::string_view name = lpString;
  if (name.empty() || name.size() > kMaxAtomName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  AtomTable& table = AtomTable::Instance();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (ATOM existing = table.Lookup(name)) {
    ++table.Find(existing)->references;
    return existing;
  }
  size_t slot = 0;
  while (slot < table.entries.size() && table.entries[slot].references > 0) ++slot;
  if (slot >= 0x10000u - kFirstStringAtom) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (slot == table.entries.size()) table.entries.emplace_back();
  table.entries[slot] = AtomEntry{std::string(name), 1};
  return static_cast<ATOM>(kFirstStringAtom + slot);
}

ATOM WINAPI GlobalFindAtomA(LPCSTR lpString) {
  if (auto answer = AnswerWithoutTable(lpString)) return *answer;
  AtomTable& table = AtomTable::Instance();
  std::lock_guard<std::mutex> lock(table.mutex);
  ATOM atom = table.Lookup(lpString);
  if (atom == 0) SetLastError(ERROR_FILE_NOT_FOUND);
  return atom;
}

UINT WINAPI GlobalGetAtomNameA(ATOM nAtom, LPSTR lpBuffer, int nSize) {
  if (lpBuffer == nullptr || nSize <= 0 || nAtom == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string name;
  if (nAtom < kFirstStringAtom) {
    name = "#" + std::to_string(nAtom);
  } else {
    AtomTable& table = AtomTable::Instance();
    std::lock_guard<std::mutex> lock(table.mutex);
    AtomEntry* entry = table.Find(nAtom);
    if (entry == nullptr) {
      SetLastError(ERROR_INVALID_HANDLE);
      return 0;
    }
    name = entry->name;
  }
  size_t count = name.size() < static_cast<size_t>(nSize) - 1 ? name.size() : static_cast<size_t>(nSize) - 1;
  std::memcpy(lpBuffer, name.data(), count);
  lpBuffer[count] = '\0';
  return static_cast<UINT>(count);
}

ATOM WINAPI GlobalDeleteAtom(ATOM nAtom) {
  if (nAtom < kFirstStringAtom) return 0;  // Integer atoms are not stored; deleting them succeeds.
  AtomTable& table = AtomTable::Instance();
  std::lock_guard<std::mutex> lock(table.mutex);
  AtomEntry* entry = table.Find(nAtom);
  if (entry == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nAtom;
  }
  if (--entry->references == 0) entry->name.clear();
  return 0;
}
