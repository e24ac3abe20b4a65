#pragma once
// Where initialisation files live and how they are read and replaced. Reads come from a cache
// checked against the file's identity (device, inode, size, modification and change times), so
// an edit by another process shows on the next call. File times advance in coarse steps, so a
// file modified shortly before it was read is read again every time until its modification is
// older than kRacyWindowSeconds: an edit in the same time step would otherwise go unseen. Writes replace the file atomically (a
// temporary file in the same directory, fsync, rename) while holding a lock file, so that a
// crash leaves the old or the new file and concurrent writers in several processes lose nothing.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/kernel/profile_document.h"
#include "win32.h"

struct stat;

namespace vel::platform {

/// The Windows directory: $VELMORA_WINDIR, else $XDG_CONFIG_HOME/velmora, else
/// ~/.config/velmora (without a trailing slash). It need not exist yet.
std::string WindowsDirectory();

/// The file a profile name refers to: win.ini in the Windows directory for null, the Windows
/// directory for a name without one, the name itself otherwise (backslashes read as slashes).
/// Empty for an empty name.
std::string ResolveProfilePath(const char* fileName);

class ProfileStore {
 public:
  /// Returns the new text, or nothing to leave the file as it is.
  using Edit = std::function<std::optional<std::string>(const ProfileDocument&)>;

  static ProfileStore& Instance();

  /// How long after its modification a file's cached contents are not trusted.
  static constexpr long long kRacyWindowSeconds = 2;

  /// The file's current contents; an empty document when it is missing or unreadable (then
  /// `exists` is set false).
  std::shared_ptr<const ProfileDocument> Read(const std::string& path, bool* exists = nullptr);

  /// Applies `edit` to the current contents under the file's lock and replaces the file with
  /// the result. Creates the directory first when `createDirectory` is set and the edit changes
  /// anything. Returns a Win32 error code, ERROR_SUCCESS when the file holds the edit.
  DWORD Apply(const std::string& path, bool createDirectory, const Edit& edit);

 private:
  struct Identity {
    unsigned long long device = 0, inode = 0, size = 0;
    long long modifiedSeconds = 0, modifiedNanoseconds = 0, changedSeconds = 0, changedNanoseconds = 0;
    bool operator==(const Identity&) const = default;
  };
  struct CacheEntry {
    Identity identity;
    long long readAtSeconds = 0;  ///< Wall-clock time the contents were read.
    std::shared_ptr<const ProfileDocument> document;
  };
  struct LockFile {
    int fd = -1;
    int ownerPid = 0;
  };

  static Identity IdentityOf(const struct stat& info);
  int LockFileFor(const std::string& path);
  DWORD Replace(const std::string& path, const std::string& text);

  std::mutex m_cacheMutex;
  std::unordered_map<std::string, CacheEntry> m_cache;
  std::mutex m_writeMutex;  // Orders this process's writers; the lock file orders processes.
  std::unordered_map<std::string, LockFile> m_lockFiles;
};

}  // namespace vel::platform
