#include "platform/gdi/glyph_store.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "platform/gdi/cache_file.h"
#include "platform/gdi/font_setup_fingerprint.h"

namespace vel::platform {
namespace {

constexpr std::string_view kHeader = "velmora font glyphs 2";
constexpr std::string_view kMetricsLabel = "metrics";
constexpr char kSeparator = '\t';
constexpr std::size_t kFieldCount = 7;
// Keeping pays for the small glyphs of dialog text; a large glyph's coverage would make the
// file slow to read for what it saves.
constexpr std::size_t kLargestKeptCoverage = 64 * 64;
// Placement and advance of any glyph this code rasterises (ems are capped at 1024 pixels, widths
// at 4000) stay far inside this; larger numbers were not written by us.
constexpr int kLargestPlacement = 1 << 16;
constexpr std::uintmax_t kLargestStore = 256 * (2 * kLargestKeptCoverage + 64) + 4096;

constexpr char kHexDigits[] = "0123456789abcdef";

// The value of each of the writer's hex digits, and kNotADigit for every other byte; a table,
// because decoding the coverage is most of reading a store.
constexpr uint8_t kNotADigit = 0xFF;
constexpr std::array<uint8_t, 256> kDigitValues = [] {
  std::array<uint8_t, 256> values{};
  values.fill(kNotADigit);
  for (uint8_t i = 0; i < 16; ++i) values[static_cast<unsigned char>(kHexDigits[i])] = i;
  return values;
}();

bool ReadCoverage(std::string_view hex, std::size_t count, std::vector<uint8_t>& coverage) {
  if (hex.size() != 2 * count) return false;
  coverage.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const uint8_t high = kDigitValues[static_cast<unsigned char>(hex[2 * i])];
    const uint8_t low = kDigitValues[static_cast<unsigned char>(hex[2 * i + 1])];
    if ((high | low) == kNotADigit) return false;
    coverage[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return true;
}

bool InPlacementRange(int value) { return value > -kLargestPlacement && value < kLargestPlacement; }

bool ReadGlyph(std::string_view line, int& code, Glyph& glyph) {
  std::vector<std::string_view> fields = SplitFields(line, kSeparator);
  if (fields.size() != kFieldCount) return false;
  if (!ReadNumberField(fields[0], code) || !ReadNumberField(fields[1], glyph.left) ||
      !ReadNumberField(fields[2], glyph.top) || !ReadNumberField(fields[3], glyph.width) ||
      !ReadNumberField(fields[4], glyph.height) || !ReadNumberField(fields[5], glyph.advance)) {
    return false;
  }
  if (code < 0 || code > 255 || glyph.width < 0 || glyph.height < 0 || !InPlacementRange(glyph.left) ||
      !InPlacementRange(glyph.top) || !InPlacementRange(glyph.advance)) {
    return false;
  }
  // Both within the kept size, so the product cannot overflow.
  if (glyph.width > static_cast<int>(kLargestKeptCoverage) || glyph.height > static_cast<int>(kLargestKeptCoverage)) {
    return false;
  }
  const std::size_t count = static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height);
  return count <= kLargestKeptCoverage && ReadCoverage(fields[6], count, glyph.coverage);
}

// The metrics line: the label and FontMetrics' fields in their order.
void AppendMetrics(std::string& text, const FontMetrics& m) {
  text.append(kMetricsLabel);
  for (int number : {m.height, m.ascent, m.descent, m.internalLeading, m.externalLeading, m.averageWidth, m.maxWidth,
                     m.underlinePosition, m.underlineThickness, m.strikeoutPosition, m.fixedPitch ? 1 : 0}) {
    text.push_back(kSeparator);
    text.append(std::to_string(number));
  }
  text.push_back('\n');
}

bool ReadMetrics(std::string_view line, FontMetrics& m) {
  std::vector<std::string_view> fields = SplitFields(line, kSeparator);
  if (fields.size() != 12 || fields[0] != kMetricsLabel) return false;
  int* numbers[] = {&m.height, &m.ascent, &m.descent, &m.internalLeading, &m.externalLeading, &m.averageWidth,
                    &m.maxWidth, &m.underlinePosition, &m.underlineThickness, &m.strikeoutPosition};
  for (std::size_t i = 0; i < std::size(numbers); ++i) {
    if (!ReadNumberField(fields[i + 1], *numbers[i]) || !InPlacementRange(*numbers[i])) return false;
  }
  return ReadFlagField(fields[11], m.fixedPitch);
}

// FNV-1a: a stable name for a key, whatever the standard library's hash does.
uint64_t KeyHash(std::string_view key) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (char c : key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

}  // namespace

std::string GlyphStoreKey(const FontRequest& request, std::string_view fileStamp) {
  if (request.file.path.empty() || request.file.path.find_first_of("\t\r\n") != std::string::npos ||
      fileStamp.find_first_of("\t\r\n") != std::string_view::npos) {
    return {};
  }
  std::string key = request.file.path;
  for (int number : {request.height, request.width}) key.append("\t").append(std::to_string(number));
  for (bool flag : {request.bold, request.italic, request.antialiased, request.file.fileIsBold, request.file.fileIsItalic}) {
    key.append(flag ? "\t1" : "\t0");
  }
  key.append("\t").append(fileStamp);
  return key;
}

std::string GlyphStorePath(std::string_view key) {
  // The file's stamp, the key's last field, is left out of the name: when the font file
  // changes, its instances' stores are replaced rather than joined by new ones.
  const std::string_view instance = key.substr(0, key.rfind(kSeparator));
  char name[17];
  std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(KeyHash(instance)));
  return CacheFolder() + "/font-glyphs/" + name;
}

std::string FormatKeptGlyphs(std::string_view fingerprint, std::string_view key, const FontMetrics& metrics,
                             const GlyphTable& glyphs) {
  std::string text;
  text.append(kHeader).append("\n").append(fingerprint).append("\n").append(key).append("\n");
  AppendMetrics(text, metrics);
  for (std::size_t code = 0; code < glyphs.size(); ++code) {
    const Glyph* glyph = glyphs[code].get();
    if (glyph == nullptr || glyph->coverage.size() > kLargestKeptCoverage) continue;
    text.append(std::to_string(code));
    for (int number : {glyph->left, glyph->top, glyph->width, glyph->height, glyph->advance}) {
      text.push_back(kSeparator);
      text.append(std::to_string(number));
    }
    text.push_back(kSeparator);
    for (uint8_t value : glyph->coverage) {
      text.push_back(kHexDigits[value >> 4]);
      text.push_back(kHexDigits[value & 0xF]);
    }
    text.push_back('\n');
  }
  return text;
}

bool ParseKeptGlyphs(std::string_view text, std::string_view fingerprint, std::string_view key, FontMetrics& metrics,
                     GlyphTable& glyphs) {
  std::vector<std::string_view> lines = SplitFields(text, '\n');
  FontMetrics read;
  if (key.empty() || lines.size() < 4 || lines[0] != kHeader || lines[1] != fingerprint || lines[2] != key ||
      !ReadMetrics(lines[3], read)) {
    return false;
  }
  metrics = read;
  for (std::size_t i = 4; i < lines.size(); ++i) {
    int code = 0;
    auto glyph = std::make_unique<Glyph>();
    if (!ReadGlyph(lines[i], code, *glyph) || glyphs[static_cast<std::size_t>(code)]) continue;
    glyphs[static_cast<std::size_t>(code)] = std::move(glyph);
  }
  return true;
}

bool ReadGlyphStore(const std::string& path, std::string_view fingerprint, std::string_view key, FontMetrics& metrics,
                    GlyphTable& glyphs) {
  std::optional<std::string> text = ReadCacheFile(path, kLargestStore);
  return text && ParseKeptGlyphs(*text, fingerprint, key, metrics, glyphs);
}

void WriteGlyphStore(const std::string& path, std::string_view fingerprint, std::string_view key,
                     const FontMetrics& metrics, const GlyphTable& glyphs) {
  ReplaceCacheFile(path, FormatKeptGlyphs(fingerprint, key, metrics, glyphs));
}

}  // namespace vel::platform
