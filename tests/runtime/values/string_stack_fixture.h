#pragma once

#include <gtest/gtest.h>

#include <string>

#include "runtime/values/string_stack.h"

namespace vel::values::testing {

/// The top value of the current stack as text, without popping it.
inline std::string TopText() {
  StringView view = TopView();
  return view.data == nullptr ? std::string() : std::string(view.data, view.length);
}

/// Pops the top value of the current stack and returns it as text.
inline std::string PopText() {
  OwnedString owned;
  PopToOwned(owned);
  std::string text = owned.data == nullptr ? std::string() : std::string(owned.data, owned.length);
  FreeOwnedString(owned);
  return text;
}

/// How the top slot of the current stack holds its value.
inline std::uint32_t TopKind() { return CurrentStringStack().Top()->kind; }

// Gives each test a fresh stack as the thread's current one, so counts and counters start at
// zero and nothing a test leaves behind reaches the next one.
class StringStackTest : public ::testing::Test {
 protected:
  void SetUp() override { m_previous = ExchangeCurrentStringStack(&m_stack); }
  void TearDown() override { ExchangeCurrentStringStack(m_previous); }

  StringStack& Stack() { return m_stack; }

 private:
  StringStack m_stack;
  StringStack* m_previous = nullptr;
};

}  // namespace vel::values::testing
