#pragma once
// Module routines for tests that record each call as "i<id>" (initialise) or "t<id>"
// (terminate), in memory or, for code that ends the process, in a file the parent reads.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/services/module_descriptor.h"

namespace vel::services::testing {

/// The calls recorded in this process, separated by spaces.
inline std::string& RecordedCalls() {
  static std::string calls;
  return calls;
}

/// When set, calls are appended to this file as well (for death tests).
inline std::string& CallFile() {
  static std::string path;
  return path;
}

inline void Record(const std::string& token) {
  std::string& calls = RecordedCalls();
  if (!calls.empty()) calls += ' ';
  calls += token;
  if (!CallFile().empty()) {
    std::ofstream file(CallFile(), std::ios::app);
    file << token << ' ';
  }
}

template <int Id>
void RecordingRoutine(int call) {
  Record((call == kInitialiseCall ? "i" : call == kTerminateCall ? "t" : "?") + std::to_string(Id));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

/// A descriptor for a module with only an initialiser table.
inline ModuleDescriptor DescriptorWithTable(const InitialiserEntry* start, const InitialiserEntry* end) {
  return ModuleDescriptor{nullptr, start, end, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
}

}  // namespace vel::services::testing
