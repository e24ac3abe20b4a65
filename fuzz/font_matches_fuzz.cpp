// Feeds arbitrary bytes to the readers of the font stores kept in the cache folder (font
// matches, and kept metrics and glyphs): nothing may crash, everything read must be something the writer
// can write, and writing what was read must read back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/gdi/font_match_store.h"
#include "platform/gdi/glyph_store.h"

using vel::platform::FontMetrics;
using vel::platform::FormatFontMatches;
using vel::platform::FormatKeptGlyphs;
using vel::platform::GlyphTable;
using vel::platform::ParseFontMatches;
using vel::platform::ParseKeptGlyphs;
using vel::platform::StoredFontMatch;

namespace {

// The input's line `index` (0 = first), so that fingerprints and keys match and the entries
// are reached.
std::string Line(const std::string& text, int index) {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    start = text.find('\n', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  std::size_t end = text.find('\n', start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void CheckFontMatches(const std::string& text) {
  const std::string fingerprint = Line(text, 1);
  std::vector<StoredFontMatch> read = ParseFontMatches(text, fingerprint);
  std::vector<StoredFontMatch> again = ParseFontMatches(FormatFontMatches(fingerprint, read), fingerprint);
  if (again.size() != read.size()) std::abort();
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (again[i].key != read[i].key || again[i].path != read[i].path || again[i].fileStamp != read[i].fileStamp ||
        again[i].fileIsBold != read[i].fileIsBold || again[i].fileIsItalic != read[i].fileIsItalic) {
      std::abort();
    }
  }
}

void CheckKeptGlyphs(const std::string& text) {
  const std::string fingerprint = Line(text, 1);
  const std::string key = Line(text, 2);
  GlyphTable read;
  FontMetrics metrics;
  if (!ParseKeptGlyphs(text, fingerprint, key, metrics, read)) return;
  GlyphTable again;
  FontMetrics metricsAgain;
  if (!ParseKeptGlyphs(FormatKeptGlyphs(fingerprint, key, metrics, read), fingerprint, key, metricsAgain, again)) {
    std::abort();
  }
  if (metricsAgain.height != metrics.height || metricsAgain.ascent != metrics.ascent ||
      metricsAgain.descent != metrics.descent || metricsAgain.internalLeading != metrics.internalLeading ||
      metricsAgain.externalLeading != metrics.externalLeading || metricsAgain.averageWidth != metrics.averageWidth ||
      metricsAgain.maxWidth != metrics.maxWidth || metricsAgain.underlinePosition != metrics.underlinePosition ||
      metricsAgain.underlineThickness != metrics.underlineThickness ||
      metricsAgain.strikeoutPosition != metrics.strikeoutPosition || metricsAgain.fixedPitch != metrics.fixedPitch) {
    std::abort();
  }
  for (std::size_t code = 0; code < read.size(); ++code) {
    if (!read[code] != !again[code]) std::abort();
    if (!read[code]) continue;
    const auto& a = *read[code];
    const auto& b = *again[code];
    if (a.left != b.left || a.top != b.top || a.width != b.width || a.height != b.height || a.advance != b.advance ||
        a.coverage != b.coverage || a.coverage.size() != static_cast<std::size_t>(a.width) * static_cast<std::size_t>(a.height)) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CheckFontMatches(text);
  CheckKeptGlyphs(text);
  return 0;
}
