#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "win32.h"

namespace {

TEST(GlobalMemory, MoveableBlocksLockZeroGrowAndFree) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, 16);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 16u);
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  EXPECT_NE(static_cast<void*>(bytes), block) << "a moveable handle is not the address";
  for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], 0);
  std::memcpy(bytes, "0123456789abcdef", 16);
  EXPECT_EQ(GlobalHandle(bytes), block);
  EXPECT_EQ(GlobalLock(block), bytes);
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 2u);
  EXPECT_NE(GlobalFlags(block) & GMEM_DDESHARE, 0u);
  EXPECT_TRUE(GlobalUnlock(block));
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));

  EXPECT_EQ(GlobalReAlloc(block, 4096, GMEM_ZEROINIT), block);
  bytes = static_cast<unsigned char*>(GlobalLock(block));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 16), "0123456789abcdef");
  for (int i = 16; i < 4096; ++i) ASSERT_EQ(bytes[i], 0) << i;
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalFree(block), block) << "a freed handle is refused";
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GlobalSize(reinterpret_cast<HGLOBAL>(0x1234)), 0u);
}

TEST(GlobalMemory, FixedBlocksAreTheirAddressAndEmptyMoveableOnesAreDiscarded) {
  HGLOBAL fixed = GlobalAlloc(GPTR, 8);
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(GlobalLock(fixed), fixed);
  EXPECT_EQ(static_cast<char*>(fixed)[7], 0);
  // A fixed block may not move unless the caller allows it.
  EXPECT_EQ(GlobalReAlloc(fixed, 1 << 20, 0), nullptr);
  EXPECT_EQ(GlobalReAlloc(fixed, 4, 0), fixed);
  EXPECT_EQ(GlobalSize(fixed), 4u);
  HGLOBAL moved = GlobalReAlloc(fixed, 1 << 20, GMEM_MOVEABLE);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(GlobalSize(moved), 1u << 20);
  EXPECT_EQ(GlobalFree(moved), nullptr);

  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalLock(empty), nullptr);
  EXPECT_NE(GlobalFlags(empty) & GMEM_DISCARDED, 0u);
  EXPECT_EQ(GlobalReAlloc(empty, 10, GMEM_MOVEABLE), empty);
  EXPECT_NE(GlobalLock(empty), nullptr);
  GlobalUnlock(empty);
  EXPECT_EQ(GlobalFree(empty), nullptr);
}

TEST(GlobalAtoms, AreCountedAndCompareIgnoringCase) {
  ATOM atom = GlobalAddAtomA("Velmora Topic");
  ASSERT_GE(atom, 0xC000);
  EXPECT_EQ(GlobalAddAtomA("VELMORA topic"), atom);
  EXPECT_EQ(GlobalFindAtomA("velmora TOPIC"), atom);
  char name[64];
  EXPECT_EQ(GlobalGetAtomNameA(atom, name, sizeof name), 13u);
  EXPECT_STREQ(name, "Velmora Topic") << "the first spelling is kept";
  EXPECT_EQ(GlobalGetAtomNameA(atom, name, 5), 4u);
  EXPECT_STREQ(name, "Velm");

  EXPECT_EQ(GlobalDeleteAtom(atom), 0);
  EXPECT_EQ(GlobalFindAtomA("Velmora Topic"), atom) << "one reference is left";
  EXPECT_EQ(GlobalDeleteAtom(atom), 0);
  EXPECT_EQ(GlobalFindAtomA("Velmora Topic"), 0);
  EXPECT_EQ(GlobalDeleteAtom(atom), atom);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GlobalGetAtomNameA(atom, name, sizeof name), 0u);
  EXPECT_EQ(GlobalAddAtomA(std::string(256, 'a').c_str()), 0);
  EXPECT_NE(GlobalAddAtomA(std::string(255, 'a').c_str()), 0);
  EXPECT_EQ(GlobalAddAtomA(""), 0);
}

TEST(GlobalAtoms, IntegerAtomsAreNotStored) {
  EXPECT_EQ(GlobalAddAtomA("#123"), 123);
  EXPECT_EQ(GlobalAddAtomA(MAKEINTATOM(77)), 77);
  EXPECT_EQ(GlobalFindAtomA("#123"), 123);
  char name[16];
  EXPECT_EQ(GlobalGetAtomNameA(123, name, sizeof name), 4u);
  EXPECT_STREQ(name, "#123");
  EXPECT_EQ(GlobalDeleteAtom(123), 0);
  EXPECT_EQ(GlobalAddAtomA("#0"), 0);
  EXPECT_EQ(GlobalAddAtomA("#49152"), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  ATOM text = GlobalAddAtomA("#12a");
  EXPECT_GE(text, 0xC000) << "not all digits: an ordinary name";
  GlobalDeleteAtom(text);
}

}  // namespace
