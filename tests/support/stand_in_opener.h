#pragma once
// A stand-in for the desktop's `xdg-open`, first on PATH while it lives: it records the
// arguments it was started with instead of opening anything, so tests can see exactly what a
// program handed to the desktop.

#include <filesystem>
#include <string>
#include <vector>

namespace vel::testing {

class StandInOpener {
 public:
  /// Makes a scratch folder with the recording `xdg-open` and puts it first on PATH.
  StandInOpener();
  /// Puts PATH back and removes the folder.
  ~StandInOpener();
  StandInOpener(const StandInOpener&) = delete;
  StandInOpener& operator=(const StandInOpener&) = delete;

  /// The arguments of the next start, in order, waiting up to ten seconds for the (detached)
  /// stand-in to write them; empty when it was never started. Each start is read once.
  std::vector<std::string> NextArguments();
  /// True when a start has been recorded and not read yet (does not wait).
  bool HasRecord() const;

  /// The scratch folder (for files a test wants beside the stand-in).
  const std::filesystem::path& Folder() const { return m_folder; }

 private:
  std::filesystem::path m_folder;
  std::string m_oldPath;
  int m_read = 0;
};

}  // namespace vel::testing
