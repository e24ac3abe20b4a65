#include "runtime/services/error_log_record.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "runtime/services/error_call_chain.h"
#include "tests/runtime/services/trace_dir_fixture.h"

namespace vel::services {
namespace {

TEST(ErrorLogRecordLines, TwelveLinesWithZeroFilledEmptySlots) {
  CallChain chain{};
  chain[0] = 0x401a2c;
  chain[1] = 0xdeadbeef;
  const std::vector<std::string> lines = ErrorLogRecordLines("Out of free space", chain);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], "Error: Out of free space\r\n");
  EXPECT_EQ(lines[1], "   00401a2c\r\n");
  EXPECT_EQ(lines[2], "   deadbeef\r\n");
  for (std::size_t i = 3; i < 11; ++i) EXPECT_EQ(lines[i], "   00000000\r\n");
  EXPECT_EQ(lines[11], "----------------------------------\r\n");

  // Addresses wider than 32 bits are written in full.
  chain[0] = static_cast<std::uintptr_t>(0x55d0c0ffee12ULL);
  EXPECT_EQ(ErrorLogRecordLines("", chain)[1], "   55d0c0ffee12\r\n");
}

TEST(ErrorLogRecordLines, TextCannotBreakTheRecord) {
  const CallChain chain{};
  const std::string longText(400, 'z');
  const std::string first = ErrorLogRecordLines(longText, chain)[0];
  EXPECT_EQ(first.size(), 255u);
  EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
  EXPECT_EQ(ErrorLogRecordLines("two\r\nlines\n", chain)[0], "Error: two  lines \r\n");
  EXPECT_EQ(ErrorLogRecordLines("", chain)[0], "Error: \r\n");
}

class ErrorLogRecordFile : public testing::TraceDirTest {};

TEST_F(ErrorLogRecordFile, RecordsAreWellFormedInTheTraceLog) {
  WriteErrorLogRecord("memory leak 10 bytes (1 allocs)");
  std::thread([] { WriteErrorLogRecord(nullptr); }).join();
  WriteErrorLogRecord(std::string(300, '%').c_str());

  const std::vector<std::string> lines = TraceLines();
  ASSERT_EQ(lines.size(), 36u);
  EXPECT_EQ(lines[0], "Error: memory leak 10 bytes (1 allocs)\r\n");
  EXPECT_EQ(lines[12], "Error: \r\n");
  EXPECT_EQ(lines[24], "Error: " + std::string(246, '%') + "\r\n");
  const std::regex addressLine("   [0-9a-f]{8,16}\r\n");
  for (std::size_t record = 0; record < 3; ++record) {
    for (std::size_t i = 1; i <= 10; ++i) EXPECT_TRUE(std::regex_match(lines[record * 12 + i], addressLine));
    EXPECT_NE(lines[record * 12 + 1], "   00000000\r\n");  // the walk always finds its caller
    EXPECT_EQ(lines[record * 12 + 11], "----------------------------------\r\n");
  }
}

}  // namespace
}  // namespace vel::services
