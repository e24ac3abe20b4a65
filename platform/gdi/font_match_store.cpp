#include "platform/gdi/font_match_store.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/gdi/font_setup_fingerprint.h"

namespace vel::platform {
namespace {

constexpr std::string_view kHeader = "velmora font matches 1";
constexpr char kSeparator = '\t';
constexpr std::size_t kFieldCount = 8;
// A store holds a handful of lines; anything much larger was not written by us.
constexpr std::uintmax_t kLargestStore = 256 * 1024;

bool OnOneField(std::string_view text) { return text.find_first_of("\t\r\n") == std::string_view::npos; }

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

bool ReadFlag(std::string_view field, bool& flag) {
  if (field != "0" && field != "1") return false;
  flag = field == "1";
  return true;
}

bool ReadNumber(std::string_view field, int& number) {
  auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
  return error == std::errc{} && end == field.data() + field.size() && !field.empty();
}

bool ReadMatch(std::string_view line, StoredFontMatch& match) {
  // The writer puts no carriage return in a field either.
  if (line.find('\r') != std::string_view::npos) return false;
  std::vector<std::string_view> fields = Split(line, kSeparator);
  if (fields.size() != kFieldCount) return false;
  match.key.family = fields[0];
  match.fileStamp = fields[6];
  match.path = fields[7];
  return ReadNumber(fields[1], match.key.familyClass) && ReadFlag(fields[2], match.key.bold) &&
         ReadFlag(fields[3], match.key.italic) && ReadFlag(fields[4], match.fileIsBold) &&
         ReadFlag(fields[5], match.fileIsItalic) && !match.path.empty() && match.path.front() == '/';
}

}  // namespace

std::string FormatFontMatches(std::string_view fingerprint, const std::vector<StoredFontMatch>& matches) {
  std::string text;
  text.append(kHeader).append("\n").append(fingerprint).append("\n");
  for (const StoredFontMatch& match : matches) {
    if (match.path.empty() || !OnOneField(match.key.family) || !OnOneField(match.path) || !OnOneField(match.fileStamp)) {
      continue;
    }
    text.append(match.key.family).push_back(kSeparator);
    text.append(std::to_string(match.key.familyClass)).push_back(kSeparator);
    text.append(match.key.bold ? "1" : "0").push_back(kSeparator);
    text.append(match.key.italic ? "1" : "0").push_back(kSeparator);
    text.append(match.fileIsBold ? "1" : "0").push_back(kSeparator);
    text.append(match.fileIsItalic ? "1" : "0").push_back(kSeparator);
    text.append(match.fileStamp).push_back(kSeparator);
    text.append(match.path).push_back('\n');
  }
  return text;
}

std::vector<StoredFontMatch> ParseFontMatches(std::string_view text, std::string_view fingerprint) {
  std::vector<StoredFontMatch> matches;
  std::vector<std::string_view> lines = Split(text, '\n');
  if (lines.size() < 2 || lines[0] != kHeader || lines[1] != fingerprint) return matches;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    StoredFontMatch match;
    if (ReadMatch(lines[i], match)) matches.push_back(std::move(match));
  }
  return matches;
}

std::vector<StoredFontMatch> ReadFontMatchStore(const std::string& path, std::string_view fingerprint) {
  std::error_code error;
  std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kLargestStore) return {};
  std::ifstream file(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<StoredFontMatch> matches = ParseFontMatches(text, fingerprint);
  std::erase_if(matches, [](const StoredFontMatch& match) { return FileStamp(match.path) != match.fileStamp; });
  return matches;
}

void WriteFontMatchStore(const std::string& path, std::string_view fingerprint, const std::vector<StoredFontMatch>& matches) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  if (error) return;
  const std::string written = path + "." + std::to_string(getpid()) + ".new";
  const std::string text = FormatFontMatches(fingerprint, matches);
  std::FILE* file = std::fopen(written.c_str(), "wb");
  if (file == nullptr) return;
  bool complete = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  complete = std::fclose(file) == 0 && complete;
  if (!complete || std::rename(written.c_str(), path.c_str()) != 0) std::remove(written.c_str());
}

}  // namespace vel::platform
