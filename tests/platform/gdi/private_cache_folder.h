#pragma once
// A cache folder of a test's own: XDG_CACHE_HOME points into a fresh temporary folder while
// the object lives, so that stores written by earlier runs or other tests play no part.

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vel::platform::testing {

class PrivateCacheFolder {
 public:
  explicit PrivateCacheFolder(const std::string& name)
      : m_folder(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(getpid()))) {
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder);
    const char* cache = std::getenv("XDG_CACHE_HOME");
    m_hadCache = cache != nullptr;
    if (m_hadCache) m_oldCache = cache;
    setenv("XDG_CACHE_HOME", m_folder.c_str(), 1);
  }
  ~PrivateCacheFolder() {
    if (m_hadCache) {
      setenv("XDG_CACHE_HOME", m_oldCache.c_str(), 1);
    } else {
      unsetenv("XDG_CACHE_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }
  PrivateCacheFolder(const PrivateCacheFolder&) = delete;
  PrivateCacheFolder& operator=(const PrivateCacheFolder&) = delete;

  const std::filesystem::path& Path() const { return m_folder; }

 private:
  std::filesystem::path m_folder;
  std::string m_oldCache;
  bool m_hadCache = false;
};

}  // namespace vel::platform::testing
