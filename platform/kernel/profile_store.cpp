#include "platform/kernel/profile_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

#include "platform/kernel/last_error.h"

namespace vel::platform {
namespace {

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates the directory and its missing parents; errno tells why when it fails.
bool MakeDirectories(const std::string& directory) {
  struct stat info{};
  if (stat(directory.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return true;
    errno = ENOTDIR;
    return false;
  }
  std::string parent = DirectoryOf(directory);
  if (parent != directory && parent != "." && parent != "/" && !MakeDirectories(parent)) return false;
  return mkdir(directory.c_str(), 0777) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// Reads a regular file whole; nothing for anything else (a FIFO would block, a directory fails).
std::optional<std::string> ReadRegularFile(const std::string& path, struct stat& info) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> text;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<unsigned long long>(info.st_size) <= ProfileDocument::kMaxTextSize) {
    std::string buffer(static_cast<size_t>(info.st_size), '\0');
    size_t filled = 0;
    bool failed = false;
    while (filled < buffer.size()) {
      ssize_t got = read(fd, buffer.data() + filled, buffer.size() - filled);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) failed = true;
      if (got <= 0) break;
      filled += static_cast<size_t>(got);
    }
    buffer.resize(filled);
    if (!failed) text = std::move(buffer);
  } else if (S_ISREG(info.st_mode)) {
    errno = EFBIG;
  }
  int saved = errno;
  close(fd);
  errno = saved;
  return text;
}

}  // namespace

std::string WindowsDirectory() {
  const char* overridden = std::getenv("VELMORA_WINDIR");
  if (overridden != nullptr && *overridden != '\0') {
    std::string directory = overridden;
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    return directory;
  }
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && *config == '/') return std::string(config) + "/velmora";
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    const passwd* entry = getpwuid(getuid());
    home = entry != nullptr ? entry->pw_dir : "/tmp";
  }
  return std::string(home) + "/.config/velmora";
}

std::string ResolveProfilePath(const char* fileName) {
  if (fileName == nullptr) return WindowsDirectory() + "/win.ini";
  std::string name = fileName;
  if (name.empty()) return name;
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  if (name.find('/') != std::string::npos) return name;
  return WindowsDirectory() + "/" + name;
}

ProfileStore::Identity ProfileStore::IdentityOf(const struct stat& info) {
  Identity identity;
  identity.device = info.st_dev;
  identity.inode = info.st_ino;
  identity.size = static_cast<unsigned long long>(info.st_size);
  identity.modifiedSeconds = info.st_mtim.tv_sec;
  identity.modifiedNanoseconds = info.st_mtim.tv_nsec;
  identity.changedSeconds = info.st_ctim.tv_sec;
  identity.changedNanoseconds = info.st_ctim.tv_nsec;
  return identity;
}

ProfileStore& ProfileStore::Instance() {
  static ProfileStore* store = new ProfileStore();  // Outlives static destructors of callers.
  return *store;
}

std::shared_ptr<const ProfileDocument> ProfileStore::Read(const std::string& path, bool* exists) {
  static const auto empty = std::make_shared<const ProfileDocument>();
  struct stat info{};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    if (exists != nullptr) *exists = false;
    return empty;
  }
  {
    std::lock_guard<std::mutex> lock(m_cacheMutex);
    auto found = m_cache.find(path);
    if (found != m_cache.end() && found->second.identity == IdentityOf(info) &&
        info.st_mtim.tv_sec + kRacyWindowSeconds < found->second.readAtSeconds) {
      if (exists != nullptr) *exists = true;
      return found->second.document;
    }
  }
  long long readAt = static_cast<long long>(time(nullptr));
  std::optional<std::string> text = ReadRegularFile(path, info);
  if (!text) {
    if (exists != nullptr) *exists = false;
    return empty;
  }
  if (exists != nullptr) *exists = true;
  auto document = std::make_shared<const ProfileDocument>(std::move(*text));
  // A file that changed while it was read would be cached under the wrong identity; its size
  // tells that apart cheaply, and the next call reads it again.
  if (document->Text().size() == static_cast<size_t>(info.st_size)) {
    std::lock_guard<std::mutex> lock(m_cacheMutex);
    m_cache[path] = CacheEntry{IdentityOf(info), readAt, document};
  }
  return document;
}

int ProfileStore::LockFileFor(const std::string& path) {
  LockFile& lockFile = m_lockFiles[path];
  int pid = static_cast<int>(getpid());
  // A descriptor inherited over fork shares its lock with the parent, so a child opens its own.
  if (lockFile.fd >= 0 && lockFile.ownerPid != pid) {
    close(lockFile.fd);
    lockFile.fd = -1;
  }
  if (lockFile.fd < 0) {
    std::string lockPath = DirectoryOf(path) + "/." + BaseNameOf(path) + ".lock";
    lockFile.fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    lockFile.ownerPid = pid;
  }
  return lockFile.fd;
}

DWORD ProfileStore::Apply(const std::string& path, bool createDirectory, const Edit& edit) {
  std::lock_guard<std::mutex> writers(m_writeMutex);

  // Editing the target of a link keeps the link.
  std::string target = path;
  struct stat linkInfo{};
  if (lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) target = resolved;
  }

  std::string directory = DirectoryOf(target);
  struct stat directoryInfo{};
  if (stat(directory.c_str(), &directoryInfo) != 0) {
    if (!createDirectory) return Win32ErrorFromErrno(errno == ENOENT ? ENOTDIR : errno);
    // Nothing to lock yet: a change that would leave an empty file unchanged needs no directory.
    std::optional<std::string> probe = edit(ProfileDocument());
    if (!probe.has_value() || probe->empty()) return ERROR_SUCCESS;
    if (!MakeDirectories(directory)) return Win32ErrorFromErrno(errno);
  }

  int lockFd = LockFileFor(target);
  if (lockFd < 0) return Win32ErrorFromErrno(errno);
  while (flock(lockFd, LOCK_EX) != 0) {
    if (errno != EINTR) return Win32ErrorFromErrno(errno);
  }
  struct Unlock {
    int fd;
    ~Unlock() { flock(fd, LOCK_UN); }
  } unlock{lockFd};

  bool exists = false;
  std::shared_ptr<const ProfileDocument> current = Read(target, &exists);
  // A file that exists but cannot be read (permissions, not a regular file, too large) must not
  // be replaced by one holding only this edit.
  struct stat present{};
  if (!exists && lstat(target.c_str(), &present) == 0) return ERROR_ACCESS_DENIED;
  std::optional<std::string> text = edit(*current);
  if (!text.has_value() || (exists && *text == current->Text())) return ERROR_SUCCESS;
  if (!exists && text->empty()) return ERROR_SUCCESS;
  if (text->size() > ProfileDocument::kMaxTextSize) return ERROR_NOT_ENOUGH_MEMORY;
  return Replace(target, *text);
}

DWORD ProfileStore::Replace(const std::string& path, const std::string& text) {
  // Only the lock holder writes the temporary file, so one fixed name is enough, and a file left
  // behind by a writer that died is simply overwritten by the next one.
  std::string temporary = DirectoryOf(path) + "/." + BaseNameOf(path) + ".tmp";
  struct stat old{};
  bool hadFile = stat(path.c_str(), &old) == 0;
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return Win32ErrorFromErrno(errno);
  bool written = WriteAll(fd, text.data(), text.size()) && (!hadFile || fchmod(fd, old.st_mode & 07777) == 0) &&
                 fsync(fd) == 0;
  int saved = errno;
  if (close(fd) != 0 && written) {
    written = false;
    saved = errno;
  }
  if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
    if (written) saved = errno;
    unlink(temporary.c_str());
    return Win32ErrorFromErrno(saved);
  }

  struct stat info{};
  if (stat(path.c_str(), &info) == 0) {
    std::lock_guard<std::mutex> lock(m_cacheMutex);
    m_cache[path] = CacheEntry{IdentityOf(info), static_cast<long long>(time(nullptr)),
                               std::make_shared<const ProfileDocument>(text)};
  }
  return ERROR_SUCCESS;
}

}  // namespace vel::platform
