#include "tests/support/stand_in_opener.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace vel::testing {
namespace fs = std::filesystem;

StandInOpener::StandInOpener() {
  char pattern[] = "/tmp/vel_opener_XXXXXX";
  if (mkdtemp(pattern) == nullptr) return;
  m_folder = pattern;
  const char* path = std::getenv("PATH");
  m_oldPath = path != nullptr ? path : "";
  // Each start writes its arguments NUL-separated into the next numbered record, which appears
  // in one step (rename), so a reader never sees half of one. mkdir is the lock that numbers
  // the starts; a start that outlives the test (its folder gone) gives up rather than counting
  // on for ever.
  const fs::path script = m_folder / "xdg-open";
  std::ofstream out(script);
  out << "#!/bin/sh\n"
      << "cd '" << m_folder.string() << "' || exit 1\n"
      << "n=0\n"
      << "while ! mkdir \"start.$n\" 2>/dev/null; do [ -e \"start.$n\" ] || exit 1; n=$((n+1)); done\n"
      << "printf '%s\\0' \"$@\" > \"record.$n.part\"\n"
      << "mv \"record.$n.part\" \"record.$n\"\n";
  out.close();
  chmod(script.c_str(), 0755);
  setenv("PATH", (m_folder.string() + ":" + m_oldPath).c_str(), 1);
}

StandInOpener::~StandInOpener() {
  setenv("PATH", m_oldPath.c_str(), 1);
  std::error_code ignored;
  if (!m_folder.empty()) fs::remove_all(m_folder, ignored);
}

bool StandInOpener::HasRecord() const { return fs::exists(m_folder / ("record." + std::to_string(m_read))); }

std::vector<std::string> StandInOpener::NextArguments() {
  const fs::path record = m_folder / ("record." + std::to_string(m_read));
  // The stand-in runs detached from the program that started it; this waits for an outside
  // process, it does not time the program under test.
  for (int i = 0; i < 1000 && !fs::exists(record); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::vector<std::string> arguments;
  if (!fs::exists(record)) return arguments;
  ++m_read;
  std::ifstream in(record, std::ios::binary);
  std::string argument;
  while (std::getline(in, argument, '\0')) arguments.push_back(argument);
  return arguments;
}

}  // namespace vel::testing
