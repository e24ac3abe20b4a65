#include "platform/gdi/font_setup_fingerprint.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <initializer_list>

namespace vel::platform {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (!home.empty()) return home;
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/tmp";
}

// An XDG base folder: the variable when it names an absolute path, else its default in the home.
std::string BaseFolder(const char* variable, const char* underHome) {
  std::string folder = Environment(variable);
  if (!folder.empty() && folder.front() == '/') return folder;
  return HomeFolder() + "/" + underHome;
}

// The fingerprint is one line of the store.
void AppendOnOneLine(std::string& out, const std::string& text) {
  for (char c : text) out.push_back(c == '\n' || c == '\r' ? ' ' : c);
}

}  // namespace

std::string FileStamp(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return "-";
  return std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec) + ":" +
         std::to_string(info.st_size) + ":" + std::to_string(info.st_ino);
}

std::string FontSetupFingerprint() {
  const std::string home = HomeFolder();
  const std::string config = BaseFolder("XDG_CONFIG_HOME", ".config") + "/fontconfig";
  const std::string data = BaseFolder("XDG_DATA_HOME", ".local/share");
  const std::string cache = BaseFolder("XDG_CACHE_HOME", ".cache");
  std::string fingerprint;
  // The settings fontconfig reads: where its configuration is, and the language that orders
  // the faces of a match.
  for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "FC_LANG", "LC_ALL",
                           "LC_CTYPE", "LANG"}) {
    AppendOnOneLine(fingerprint, std::string(name) + "=" + Environment(name) + ";");
  }
  // A folder's stamp changes when a file in it is added, removed or replaced, which is how
  // packages and fc-cache change them.
  const std::string overriddenFile = Environment("FONTCONFIG_FILE");
  for (const std::string& path :
       {std::string("/etc/fonts"), std::string("/etc/fonts/fonts.conf"), std::string("/etc/fonts/conf.d"),
        std::string("/etc/fonts/local.conf"), std::string("/usr/share/fontconfig/conf.avail"),
        std::string("/var/cache/fontconfig"), std::string("/usr/share/fonts"), std::string("/usr/local/share/fonts"),
        config, config + "/fonts.conf", config + "/conf.d", home + "/.fonts.conf", home + "/.fonts.conf.d",
        home + "/.fonts", data + "/fonts", cache + "/fontconfig", overriddenFile}) {
    if (path.empty()) continue;
    AppendOnOneLine(fingerprint, path + "=" + FileStamp(path) + ";");
  }
  return fingerprint;
}

std::string CacheFolder() { return BaseFolder("XDG_CACHE_HOME", ".cache") + "/velmora"; }

std::string FontMatchStorePath() { return CacheFolder() + "/font-matches"; }

}  // namespace vel::platform
