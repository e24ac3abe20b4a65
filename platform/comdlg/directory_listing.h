#pragma once
// What the file dialogs show of the file system: a directory's entries (names as stored, in
// UTF-8, and as the program sees them, in the ANSI code page), the "|" or zero-separated filter
// patterns, and the places offered instead of drives.

#include <string>
#include <vector>

namespace vel::platform {

struct DirectoryEntry {
  std::string name;      ///< As stored on disk (UTF-8).
  std::string ansiName;  ///< As the program sees it; '?' stands for what the code page lacks.
  bool isDirectory = false;
  /// Whether the name survives the round trip through the ANSI code page; others are listed
  /// but cannot be chosen.
  bool representable = true;
};

/// The entries of a directory (without "." and ".."), directories and files each sorted by
/// name ignoring case. Empty when it cannot be read.
std::vector<DirectoryEntry> ReadDirectory(const std::string& directory);

/// Whether a name matches one of the patterns separated by ";" ("*.txt;*.doc"), ignoring case;
/// "*.*" matches every name, as it does on the original system.
bool MatchesFilter(const std::string& name, const std::string& patterns);

/// A place to start browsing: its label and its directory.
struct Place {
  std::string label;
  std::string directory;
};

/// The home directory, the root and the mounted volumes under /media, /mnt and /run/media.
std::vector<Place> Places();

/// Joins a directory and a name with "/"; a name that is absolute stands alone.
std::string JoinPath(const std::string& directory, const std::string& name);

/// The directory a path names after "." and ".." are resolved (lexically).
std::string NormalPath(const std::string& path);

}  // namespace vel::platform
