#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <thread>

#include "platform/user/clipboard_store.h"
#include "tests/platform/user/message_log.h"

namespace vel::platform::usertest {
namespace {

// Global memory for the test: numbered blocks, with a record of what was freed.
class FakeMemory final : public ClipboardMemory {
 public:
  bool Read(HANDLE block, std::vector<BYTE>* bytes) override {
    auto found = m_blocks.find(block);
    if (found == m_blocks.end()) return false;
    *bytes = found->second;
    return true;
  }
  HANDLE Create(const std::vector<BYTE>& bytes) override {
    HANDLE block = reinterpret_cast<HANDLE>(m_next++);
    m_blocks[block] = bytes;
    return block;
  }
  void Free(HANDLE block) override {
    m_blocks.erase(block);
    ++freed;
  }
  HANDLE Text(const char* text) { return Create(std::vector<BYTE>(text, text + std::strlen(text) + 1)); }
  std::string TextOf(HANDLE block) {
    auto& bytes = m_blocks.at(block);
    return std::string(reinterpret_cast<const char*>(bytes.data()));
  }
  int freed = 0;

 private:
  std::map<HANDLE, std::vector<BYTE>> m_blocks;
  uintptr_t m_next = 0x100;
};

class ClipboardTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    SetClipboardMemory(&memory);
  }
  void TearDown() override {
    CloseClipboard();
    SetClipboardMemory(nullptr);
    WindowTest::TearDown();
  }
  FakeMemory memory;
};

TEST_F(ClipboardTest, TextAndBitmapsGoThroughGlobalMemory) {
  HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(SetClipboardData(CF_TEXT, memory.Text("x")), nullptr);
  ASSERT_TRUE(OpenClipboard(owner));
  ASSERT_TRUE(EmptyClipboard());
  HANDLE text = memory.Text("copied text");
  EXPECT_EQ(SetClipboardData(CF_TEXT, text), text);
  EXPECT_EQ(memory.freed, 1);
  HANDLE dib = memory.Create({1, 2, 3, 0, 5});
  SetClipboardData(CF_DIB, dib);
  EXPECT_EQ(SetClipboardData(CF_DIB, reinterpret_cast<HANDLE>(uintptr_t{0xDEAD})), nullptr);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_EQ(GetClipboardOwner(), owner);

  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE out = GetClipboardData(CF_TEXT);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(memory.TextOf(out), "copied text");
  EXPECT_EQ(GetClipboardData(CF_TEXT), out);
  // Binary formats keep every byte, zeros included.
  EXPECT_EQ(*ClipboardBytes(CF_DIB), (std::vector<BYTE>{1, 2, 3, 0, 5}));
  EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);

  // Emptying tells the previous owner and frees what was handed out.
  int freedBefore = memory.freed;
  MessageLog::Clear();
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(MessageLog::Find(owner, WM_DESTROYCLIPBOARD).size(), 1u);
  EXPECT_EQ(memory.freed, freedBefore + 1);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(GetClipboardOwner(), nullptr);
}

TEST_F(ClipboardTest, ByDefaultDataTravelsInGlobalMemory) {
  SetClipboardMemory(nullptr);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
  std::memcpy(GlobalLock(block), "hello", 6);
  GlobalUnlock(block);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
  HANDLE out = GetClipboardData(CF_TEXT);
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(out)), "hello");
  GlobalUnlock(out);
  CloseClipboard();
}

TEST_F(ClipboardTest, OnlyOneThreadHasItOpenAndTextIsAlwaysTerminated) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  bool otherOpened = true;
  std::thread other([&] { otherOpened = OpenClipboard(nullptr); });
  other.join();
  EXPECT_FALSE(otherOpened);
  EmptyClipboard();
  SetClipboardData(CF_TEXT, memory.Create({'a', 'b'}));
  EXPECT_EQ(*ClipboardBytes(CF_TEXT), (std::vector<BYTE>{'a', 'b', 0}));
  SetClipboardData(CF_TEXT, memory.Create({'c', 0, 'd', 0}));
  EXPECT_EQ(*ClipboardBytes(CF_TEXT), (std::vector<BYTE>{'c', 0}));
  CloseClipboard();
}

}  // namespace
}  // namespace vel::platform::usertest
