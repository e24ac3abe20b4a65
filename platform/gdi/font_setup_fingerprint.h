#pragma once
// What fontconfig's answers depend on, in one line: the stamps of its configuration files and
// folders, of its font caches (rebuilt whenever fonts are installed or removed) and of the font
// folders, and the environment settings it reads (configuration overrides and the language).

#include <string>

namespace vel::platform {

/// A file's or folder's modification time, size and inode as text; "-" when it does not exist.
std::string FileStamp(const std::string& path);

/// The fingerprint of the current font setup, as seen from this process's environment.
std::string FontSetupFingerprint();

/// The folder of the program's cache files: "velmora" in $XDG_CACHE_HOME, else in ~/.cache.
std::string CacheFolder();

/// The font match store's file: "font-matches" in the cache folder.
std::string FontMatchStorePath();

}  // namespace vel::platform
