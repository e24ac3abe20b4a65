#pragma once

#include <gtest/gtest.h>

#include <string>

#include "runtime/values/string_stack.h"

namespace vel::values::testing {

// Gives each test a fresh stack as the thread's current one, so counts and counters start at
// zero and nothing a test leaves behind reaches the next one.
class StringStackTest : public ::testing::Test {
 protected:
  void SetUp() override { m_previous = ExchangeCurrentStringStack(&m_stack); }
  void TearDown() override { ExchangeCurrentStringStack(m_previous); }

  StringStack& Stack() { return m_stack; }

  static std::string TopText() {
    StringView view = TopView();
    return view.data == nullptr ? std::string() : std::string(view.data, view.length);
  }

  static std::string PopText() {
    OwnedString owned;
    PopToOwned(owned);
    std::string text = owned.data == nullptr ? std::string() : std::string(owned.data, owned.length);
    FreeOwnedString(owned);
    return text;
  }

  static std::uint32_t TopKind() { return CurrentStringStack().Top()->kind; }

 private:
  StringStack m_stack;
  StringStack* m_previous = nullptr;
};

}  // namespace vel::values::testing
