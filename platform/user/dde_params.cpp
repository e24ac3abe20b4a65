// Packing two values into the lParam of a posted DDE message. Four messages carry values too
// wide for the two words of an lParam (a data handle and an atom), so they travel in a small
// global block that the receiver frees after unpacking it.

#include <cstring>

#include "win32.h"

namespace {

struct PackedPair {
  UINT_PTR low;
  UINT_PTR high;
};

bool PacksIntoBlock(UINT message) {
  return message == WM_DDE_ACK || message == WM_DDE_ADVISE || message == WM_DDE_DATA ||
         message == WM_DDE_POKE;
}

bool WritePair(HGLOBAL block, UINT_PTR low, UINT_PTR high) {
  if (GlobalSize(block) < sizeof(PackedPair)) return false;
  auto* pair = static_cast<PackedPair*>(GlobalLock(block));
  if (pair == nullptr) return false;
  *pair = PackedPair{low, high};
  GlobalUnlock(block);
  return true;
}

}  // namespace

LPARAM WINAPI PackDDElParam(UINT msg, UINT_PTR uiLo, UINT_PTR uiHi) {
  if (msg == WM_DDE_EXECUTE) return static_cast<LPARAM>(uiHi);
  if (!PacksIntoBlock(msg)) return static_cast<LPARAM>(MAKELPARAM(uiLo, uiHi));
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(PackedPair));
  if (block == nullptr) return 0;
  if (!WritePair(block, uiLo, uiHi)) {
    GlobalFree(block);
    return 0;
  }
  return reinterpret_cast<LPARAM>(block);
}

BOOL WINAPI UnpackDDElParam(UINT msg, LPARAM lParam, PUINT_PTR puiLo, PUINT_PTR puiHi) {
  UINT_PTR low = 0;
  UINT_PTR high = 0;
  if (msg == WM_DDE_EXECUTE) {
    high = static_cast<UINT_PTR>(lParam);
  } else if (!PacksIntoBlock(msg)) {
    low = LOWORD(lParam);
    high = HIWORD(lParam);
  } else {
    auto block = reinterpret_cast<HGLOBAL>(lParam);
    // A block of another size was not made here: reading it as a pair would read past it.
    if (lParam == 0 || GlobalSize(block) != sizeof(PackedPair)) return FALSE;
    const auto* pair = static_cast<const PackedPair*>(GlobalLock(block));
    if (pair == nullptr) return FALSE;
    low = pair->low;
    high = pair->high;
    GlobalUnlock(block);
  }
  if (puiLo != nullptr) *puiLo = low;
  if (puiHi != nullptr) *puiHi = high;
  return TRUE;
}

BOOL WINAPI FreeDDElParam(UINT msg, LPARAM lParam) {
  if (!PacksIntoBlock(msg) || lParam == 0) return TRUE;
  return GlobalFree(reinterpret_cast<HGLOBAL>(lParam)) == nullptr ? TRUE : FALSE;
}

LPARAM WINAPI ReuseDDElParam(LPARAM lParam, UINT msgIn, UINT msgOut, UINT_PTR uiLo, UINT_PTR uiHi) {
  if (PacksIntoBlock(msgIn) && PacksIntoBlock(msgOut) && lParam != 0 &&
      GlobalSize(reinterpret_cast<HGLOBAL>(lParam)) == sizeof(PackedPair) &&
      WritePair(reinterpret_cast<HGLOBAL>(lParam), uiLo, uiHi)) {
    return lParam;
  }
  FreeDDElParam(msgIn, lParam);
  return PackDDElParam(msgOut, uiLo, uiHi);
}
