// Checks the decimal stack against results computed outside this code base: the Python script
// decimal_oracle.py beside this file derives them with exact arithmetic from the runtime's
// rules and writes tests/data/decimal_oracle.txt.

#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/values/decimal_stack.h"
#include "runtime/values/decimal_text.h"

namespace vel::values {
namespace {

std::string TopText(DecimalStack& stack) {
  char text[kMaxDecimalTextLength];
  const size_t length = stack.PopText(text, sizeof text);
  return std::string(text, length);
}

void PushText(DecimalStack& stack, const std::string& text) { stack.PushText(text.data(), text.size()); }

std::string FromHex(const std::string& hex) {
  std::string bytes;
  if (hex == "-") {
    return bytes;
  }
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

double ParseHexDouble(const std::string& text) {
  // Python's float.hex form: [-]0x1.8p+3.
  const bool negative = text[0] == '-';
  const std::string body = text.substr(negative ? 3 : 2);
  double value = 0;
  std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::hex);
  return negative ? -value : value;
}

/// Runs one case; returns the actual result as text for comparison with `expected`.
std::string RunCase(const std::vector<std::string>& fields) {
  DecimalStack stack;
  const std::string& op = fields[0];
  if (op == "add" || op == "sub" || op == "mul" || op == "div") {
    PushText(stack, fields[1]);
    PushText(stack, fields[2]);
    if (op == "add") stack.Add();
    if (op == "sub") stack.Subtract();
    if (op == "mul") stack.Multiply();
    if (op == "div") stack.Divide();
    return TopText(stack);
  }
  if (op == "pow") {
    PushText(stack, fields[1]);
    stack.Power(static_cast<int32_t>(std::stoll(fields[2])));
    return TopText(stack);
  }
  if (op == "round") {
    PushText(stack, fields[1]);
    stack.Round(std::stoi(fields[2]));
    return TopText(stack);
  }
  if (op == "text") {
    const std::string bytes = FromHex(fields[1]);
    stack.PushText(bytes.data(), bytes.size());
    return TopText(stack);
  }
  if (op == "int32") {
    PushText(stack, fields[1]);
    return std::to_string(stack.PopInt32());
  }
  if (op == "fromf64") {
    stack.PushFloat64(ParseHexDouble(fields[1]));
    return TopText(stack);
  }
  if (op == "tof64") {
    PushText(stack, fields[1]);
    const double actual = stack.PopFloat64();
    return actual == ParseHexDouble(fields[2]) ? fields[2] : "mismatch " + std::to_string(actual);
  }
  return "unknown operation";
}

TEST(DecimalOracle, EveryCaseMatchesTheIndependentResults) {
  const char* dataDir = std::getenv("VELMORA_TEST_DATA");
  ASSERT_NE(dataDir, nullptr) << "VELMORA_TEST_DATA must point at tests/data";
  std::ifstream file(std::string(dataDir) + "/decimal_oracle.txt");
  ASSERT_TRUE(file.is_open());

  std::map<std::string, int> casesPerOperation;
  int failures = 0;
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::vector<std::string> parts;
    for (std::string part; fields >> part;) {
      parts.push_back(part);
    }
    ASSERT_GE(parts.size(), 3u) << line;
    ++casesPerOperation[parts[0]];
    const std::string actual = RunCase(parts);
    if (actual != parts.back()) {
      ++failures;
      ADD_FAILURE() << line << "\n  actual: " << actual;
      if (failures > 20) {
        return;
      }
    }
  }
  // The file must really exercise every operation in bulk.
  for (const char* op : {"add", "sub", "mul", "div", "pow", "round", "text", "int32", "fromf64", "tof64"}) {
    EXPECT_GE(casesPerOperation[op], 100) << op;
  }
}

}  // namespace
}  // namespace vel::values
