#include "runtime/values/reference_errors.h"

#include <atomic>

namespace vel::values {

namespace {

// Until the services install their sink, failures are only remembered, so that value code used
// on its own (tests, tools) never shows a box or ends the process by surprise.
class RememberingSink final : public ValueErrorSink {
 public:
  void ReportRuntimeError(int code, const char*) override { m_reported.store(code); }
  void SetError(int code) override { m_set.store(code); }

  int Reported() const { return m_reported.load(); }
  int Set() const { return m_set.load(); }

 private:
  std::atomic<int> m_reported{0};
  std::atomic<int> m_set{0};
};

RememberingSink g_rememberingSink;
std::atomic<ValueErrorSink*> g_sink{nullptr};

ValueErrorSink& CurrentSink() {
  ValueErrorSink* sink = g_sink.load();
  return sink != nullptr ? *sink : g_rememberingSink;
}

}  // namespace

void InstallValueErrorSink(ValueErrorSink* sink) { g_sink.store(sink); }

void RaiseValueRuntimeError(int code, const char* extraText) {
  CurrentSink().ReportRuntimeError(code, extraText);
}

void SetValueError(int code) { CurrentSink().SetError(code); }

int LastReportedValueError() { return g_rememberingSink.Reported(); }

int LastSetValueError() { return g_rememberingSink.Set(); }

}  // namespace vel::values
