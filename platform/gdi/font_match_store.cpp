#include "platform/gdi/font_match_store.h"

#include "platform/gdi/cache_file.h"
#include "platform/gdi/font_setup_fingerprint.h"

namespace vel::platform {
namespace {

constexpr std::string_view kHeader = "velmora font matches 1";
constexpr char kSeparator = '\t';
constexpr std::size_t kFieldCount = 8;
// A store holds a handful of lines; anything much larger was not written by us.
constexpr std::uintmax_t kLargestStore = 256 * 1024;

bool OnOneField(std::string_view text) { return text.find_first_of("\t\r\n") == std::string_view::npos; }

bool ReadMatch(std::string_view line, StoredFontMatch& match) {
  // The writer puts no carriage return in a field either.
  if (line.find('\r') != std::string_view::npos) return false;
  std::vector<std::string_view> fields = SplitFields(line, kSeparator);
  if (fields.size() != kFieldCount) return false;
  match.key.family = fields[0];
  match.fileStamp = fields[6];
  match.path = fields[7];
  return ReadNumberField(fields[1], match.key.familyClass) && ReadFlagField(fields[2], match.key.bold) &&
         ReadFlagField(fields[3], match.key.italic) && ReadFlagField(fields[4], match.fileIsBold) &&
         ReadFlagField(fields[5], match.fileIsItalic) && !match.path.empty() && match.path.front() == '/';
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
  std::vector<std::string_view> lines = SplitFields(text, '\n');
  if (lines.size() < 2 || lines[0] != kHeader || lines[1] != fingerprint) return matches;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    StoredFontMatch match;
    if (ReadMatch(lines[i], match)) matches.push_back(std::move(match));
  }
  return matches;
}

std::vector<StoredFontMatch> ReadFontMatchStore(const std::string& path, std::string_view fingerprint) {
  std::optional<std::string> text = ReadCacheFile(path, kLargestStore);
  if (!text) return {};
  std::vector<StoredFontMatch> matches = ParseFontMatches(*text, fingerprint);
  std::erase_if(matches, [](const StoredFontMatch& match) { return FileStamp(match.path) != match.fileStamp; });
  return matches;
}

void WriteFontMatchStore(const std::string& path, std::string_view fingerprint, const std::vector<StoredFontMatch>& matches) {
  ReplaceCacheFile(path, FormatFontMatches(fingerprint, matches));
}

}  // namespace vel::platform
