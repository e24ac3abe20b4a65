#include "platform/gdi/cache_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>

namespace vel::platform {

std::optional<std::string> ReadCacheFile(const std::string& path, std::uintmax_t largest) {
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return std::nullopt;
  struct stat info {};
  std::optional<std::string> text;
  if (fstat(file, &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) <= largest) {
    text.emplace(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < text->size()) {
      const ssize_t got = read(file, text->data() + done, text->size() - done);
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    // A file cut short while being read is read as far as it went; the parsers check lines.
    text->resize(done);
  }
  close(file);
  return text;
}

void ReplaceCacheFile(const std::string& path, std::string_view text) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  if (error) return;
  const std::string written = path + "." + std::to_string(getpid()) + ".new";
  std::FILE* file = std::fopen(written.c_str(), "wb");
  if (file == nullptr) return;
  bool complete = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  complete = std::fclose(file) == 0 && complete;
  if (!complete || std::rename(written.c_str(), path.c_str()) != 0) std::remove(written.c_str());
}

std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  // Store lines have a handful of fields; one allocation covers them.
  parts.reserve(8);
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

bool ReadFlagField(std::string_view field, bool& flag) {
  if (field != "0" && field != "1") return false;
  flag = field == "1";
  return true;
}

bool ReadNumberField(std::string_view field, int& number) {
  auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
  return error == std::errc{} && end == field.data() + field.size() && !field.empty();
}

}  // namespace vel::platform
