#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "runtime/values/string_stack.h"
#include "string_stack_fixture.h"

namespace vel::values {
namespace {

using testing::PopText;

TEST(StringStackThreads, EachThreadSeesOnlyItsOwnValues) {
  StringStack& mine = CurrentStringStack();
  std::uint32_t countBefore = mine.Count();
  PushCString("main thread value that lives in a block");

  std::uint32_t otherCountAtStart = 99;
  std::string otherTop;
  std::thread other([&] {
    otherCountAtStart = CurrentStringStack().Count();
    PushLong(7);
    PushCString("left behind when the thread ends, in a block");  // freed at thread exit
    PushLong(8);
    ConcatAppend();
    StringView top = TopView();
    otherTop.assign(top.data, top.length);
  });
  other.join();

  EXPECT_EQ(otherCountAtStart, 0u);
  EXPECT_EQ(otherTop, "left behind when the thread ends, in a block8");
  EXPECT_EQ(&CurrentStringStack(), &mine);
  EXPECT_EQ(mine.Count(), countBefore + 1);
  EXPECT_EQ(PopText(), "main thread value that lives in a block");
}

TEST(StringStackThreads, AnInstalledStackReplacesTheThreadsOwnUntilExchangedBack) {
  StringStack& own = CurrentStringStack();
  std::uint32_t ownCount = own.Count();
  StringStack replacement;
  StringStack* previous = ExchangeCurrentStringStack(&replacement);
  EXPECT_EQ(previous, &own);
  PushString("x", 1);
  EXPECT_EQ(replacement.Count(), 1u);
  EXPECT_EQ(own.Count(), ownCount);
  EXPECT_EQ(ExchangeCurrentStringStack(nullptr), &replacement);
  EXPECT_EQ(&CurrentStringStack(), &own);
}

TEST(StringStackThreads, ASnapshotCarriesValuesToAnotherThread) {
  // The thread manager's hand-over: one thread saves, the thread taking the lock restores.
  StringStackSnapshot* snapshot = nullptr;
  std::thread saver([&] {
    PushLong(12);
    PushCString("travels with the snapshot to the other thread");
    snapshot = SaveStringStack();
  });
  saver.join();
  ASSERT_NE(snapshot, nullptr);

  std::string first;
  std::string second;
  std::thread restorer([&] {
    RestoreStringStack(snapshot);
    first = PopText();
    second = PopText();
  });
  restorer.join();
  EXPECT_EQ(first, "travels with the snapshot to the other thread");
  EXPECT_EQ(second, "12");
}

}  // namespace
}  // namespace vel::values
