#include "platform/comdlg/directory_listing.h"

#include <dirent.h>
#include <fnmatch.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/kernel/ansi_text.h"

namespace vel::platform {
namespace {

bool LessIgnoringCase(const DirectoryEntry& a, const DirectoryEntry& b) {
  int order = strcasecmp(a.name.c_str(), b.name.c_str());
  return order != 0 ? order < 0 : a.name < b.name;
}

bool IsDirectory(const std::string& directory, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat info {};
  std::string path = directory + "/" + entry.d_name;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::vector<DirectoryEntry> ReadDirectory(const std::string& directory) {
  std::vector<DirectoryEntry> directories;
  std::vector<DirectoryEntry> files;
  DIR* stream = opendir(directory.c_str());
  if (stream == nullptr) return {};
  while (dirent* entry = readdir(stream)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    DirectoryEntry item;
    item.name = name;
    item.ansiName = Utf8ToAnsi(name);
    item.representable = AnsiToUtf8(item.ansiName) == name;
    item.isDirectory = IsDirectory(directory, *entry);
    (item.isDirectory ? directories : files).push_back(std::move(item));
  }
  closedir(stream);
  std::sort(directories.begin(), directories.end(), LessIgnoringCase);
  std::sort(files.begin(), files.end(), LessIgnoringCase);
  directories.insert(directories.end(), std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
  return directories;
}

bool MatchesFilter(const std::string& name, const std::string& patterns) {
  std::stringstream list(patterns.empty() ? std::string("*") : patterns);
  std::string pattern;
  while (std::getline(list, pattern, ';')) {
    pattern.erase(0, pattern.find_first_not_of(' '));
    pattern.erase(pattern.find_last_not_of(' ') + 1);
    if (pattern.empty()) continue;
    if (pattern == "*.*" || pattern == "*") return true;
    if (fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD | FNM_PERIOD) == 0) return true;
  }
  return false;
}

std::vector<Place> Places() {
  std::vector<Place> places;
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') places.push_back(Place{"Home", NormalPath(home)});
  places.push_back(Place{"/ (root)", "/"});
  std::ifstream mounts("/proc/self/mounts");
  std::string device;
  std::string point;
  std::string rest;
  while (mounts >> device >> point && std::getline(mounts, rest)) {
    bool volume = point.rfind("/media/", 0) == 0 || point.rfind("/mnt/", 0) == 0 || point.rfind("/run/media/", 0) == 0;
    if (!volume) continue;
    // Spaces in mount points arrive escaped as \040.
    std::string unescaped;
    for (size_t at = 0; at < point.size(); ++at) {
      if (point.compare(at, 4, "\\040") == 0) {
        unescaped += ' ';
        at += 3;
      } else {
        unescaped += point[at];
      }
    }
    places.push_back(Place{unescaped.substr(unescaped.rfind('/') + 1), unescaped});
  }
  return places;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (!name.empty() && name[0] == '/') return name;
  if (directory.empty() || directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

std::string NormalPath(const std::string& path) {
  std::string normal = std::filesystem::path(path).lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal.empty() ? "/" : normal;
}

}  // namespace vel::platform
