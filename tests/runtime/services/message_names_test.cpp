#include "runtime/services/message_names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace vel::services {
namespace {

TEST(MessageNames, NamesEventsQueriesAndWindowMessages) {
  EXPECT_EQ(NameOfMessage(0x1401), "EVENT:Accepted");
  EXPECT_EQ(NameOfMessage(0x1634), "EVENT:Iconized");
  EXPECT_EQ(NameOfMessage(0x1501), "EVENT:Selected");
  EXPECT_EQ(NameOfMessage(0x2402), "QUERY_SELECTED");
  EXPECT_EQ(NameOfMessage(0x241D), "QUERY_EDITDONE");
  EXPECT_EQ(NameOfMessage(0x03E0), "WM_DDE_INITIATE");
  EXPECT_EQ(NameOfMessage(0), "WM_NULL");
  EXPECT_EQ(NameOfMessage(0x111), "WM_COMMAND");
  EXPECT_EQ(NameOfMessage(0x360), "WM_VBXEVENT");
  EXPECT_EQ(NameOfMessage(0x47), "WM_WINDOWPOSCHANGED");
}

TEST(MessageNames, UnknownNumbersAreWrittenInHexWithAtLeastFourDigits) {
  EXPECT_EQ(NameOfMessage(0x1234), "0x1234");
  EXPECT_EQ(NameOfMessage(0x3F), "0x003f");
  EXPECT_EQ(NameOfMessage(0x1607), "0x1607");  // the gap between GainFocus and Suspend
  EXPECT_EQ(NameOfMessage(0xFFFFFFFFu), "0xffffffff");
}

TEST(MessageNames, TableHoldsEveryRowOnceInItsOrder) {
  const auto table = MessageNameTable();
  ASSERT_EQ(table.size(), 250u);
  EXPECT_STREQ(table.front().name, "WM_DDE_INITIATE");
  EXPECT_STREQ(table[9].name, "EVENT:Accepted");
  EXPECT_STREQ(table[70].name, "QUERY_SETUSE");
  EXPECT_STREQ(table[86].name, "WM_NULL");
  EXPECT_STREQ(table.back().name, "WM_VBXEVENT");
  std::set<UINT> numbers;
  std::set<std::string> names;
  for (const MessageName& row : table) {
    ASSERT_NE(row.name, nullptr);
    EXPECT_LT(std::strlen(row.name), kMessageNameBufferSize);
    numbers.insert(row.number);
    names.insert(row.name);
  }
  EXPECT_EQ(numbers.size(), table.size());
  EXPECT_EQ(names.size(), table.size());
}

TEST(MessageNames, ShortBuffersAreCutAndTerminated) {
  char buffer[5];
  std::memset(buffer, 'x', sizeof buffer);
  NameOfMessage(buffer, sizeof buffer, 0x1401);
  EXPECT_STREQ(buffer, "EVEN");
  NameOfMessage(buffer, sizeof buffer, 0x1234);
  EXPECT_STREQ(buffer, "0x12");
  NameOfMessage(buffer, 0, 0x1401);  // writes nothing
  EXPECT_STREQ(buffer, "0x12");
  NameOfMessage(nullptr, 10, 0x1401);
}

}  // namespace
}  // namespace vel::services
