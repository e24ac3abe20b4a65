// Feeds arbitrary bytes to the font match store's reader: nothing may crash, every match read
// must be one the writer can write, and writing what was read must read back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/gdi/font_match_store.h"

using vel::platform::FormatFontMatches;
using vel::platform::ParseFontMatches;
using vel::platform::StoredFontMatch;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // The fingerprint is taken from the input's second line, so that the matches are reached.
  std::string fingerprint;
  std::size_t first = text.find('\n');
  if (first != std::string::npos) fingerprint = text.substr(first + 1, text.find('\n', first + 1) - first - 1);
  std::vector<StoredFontMatch> read = ParseFontMatches(text, fingerprint);
  std::vector<StoredFontMatch> again = ParseFontMatches(FormatFontMatches(fingerprint, read), fingerprint);
  if (again.size() != read.size()) std::abort();
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (again[i].key != read[i].key || again[i].path != read[i].path || again[i].fileStamp != read[i].fileStamp ||
        again[i].fileIsBold != read[i].fileIsBold || again[i].fileIsItalic != read[i].fileIsItalic) {
      std::abort();
    }
  }
  return 0;
}
