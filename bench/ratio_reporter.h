#pragma once
// A console reporter that also keeps each benchmark's CPU time per iteration (steadier than wall
// time on a shared machine), so a benchmark program can print the ratio of a measurement to its
// baseline from the same run.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace vel::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      m_nanoseconds[run.run_name.function_name] = run.cpu_accumulated_time * 1e9 / static_cast<double>(run.iterations);
      m_realNanoseconds[run.run_name.function_name] =
          run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
    }
  }

  /// Nanoseconds per iteration of a benchmark by name (0 when it did not run).
  double Nanoseconds(const std::string& name) const {
    auto found = m_nanoseconds.find(name);
    return found == m_nanoseconds.end() ? 0.0 : found->second;
  }

  /// Nanoseconds per iteration of the benchmark's own clock (wall time, or the time it measured
  /// itself, such as a child process's), for what runs outside this process (0 when it did not
  /// run).
  double RealNanoseconds(const std::string& name) const {
    auto found = m_realNanoseconds.find(name);
    return found == m_realNanoseconds.end() ? 0.0 : found->second;
  }

 private:
  std::map<std::string, double> m_nanoseconds;
  std::map<std::string, double> m_realNanoseconds;
};

}  // namespace vel::bench
