#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "runtime/values/binding_scopes.h"
#include "runtime/values/reference_errors.h"
#include "string_stack_fixture.h"

namespace vel::values::testing {

/// Records every failure the value runtime reports, instead of showing a box.
class RecordingErrorSink final : public ValueErrorSink {
 public:
  void ReportRuntimeError(int code, const char* extraText) override {
    reported.emplace_back(code, extraText == nullptr ? std::string() : std::string(extraText));
  }
  void SetError(int code) override { errorState.push_back(code); }

  std::vector<std::pair<int, std::string>> reported;
  std::vector<int> errorState;
};

// A fresh string stack, binding state and error sink for each test, so nothing one test binds or
// reports reaches the next.
class ReferenceTest : public StringStackTest {
 protected:
  void SetUp() override {
    StringStackTest::SetUp();
    m_previousBindings = ExchangeCurrentBindingState(&m_bindings);
    InstallValueErrorSink(&m_sink);
  }
  void TearDown() override {
    InstallValueErrorSink(nullptr);
    ExchangeCurrentBindingState(m_previousBindings);
    StringStackTest::TearDown();
  }

  RecordingErrorSink& Sink() { return m_sink; }
  BindingState& Bindings() { return m_bindings; }

  /// The codes reported as runtime errors so far.
  std::vector<int> ReportedCodes() const {
    std::vector<int> codes;
    for (const auto& entry : m_sink.reported) codes.push_back(entry.first);
    return codes;
  }

 private:
  RecordingErrorSink m_sink;
  BindingState m_bindings;
  BindingState* m_previousBindings = nullptr;
};

}  // namespace vel::values::testing
