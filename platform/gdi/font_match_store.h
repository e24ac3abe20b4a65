#pragma once
// Font matches remembered between runs. Reading fontconfig's configuration costs more than all
// the rest of a small program's start, and a program asks for the same few faces every time; so
// each face's file is kept in a small text file in the user's cache directory, together with a
// fingerprint of everything that could change the answer (font_setup_fingerprint.h). A store
// written under another fingerprint is ignored, and so is a match whose file has changed or gone.

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vel::platform {

/// What a face is matched by.
struct FontMatchKey {
  std::string family;
  /// FF_SWISS, FF_ROMAN or FF_MODERN: the kind of face that stands in when the family is missing.
  int familyClass = 0;
  bool bold = false;
  bool italic = false;
  auto operator<=>(const FontMatchKey&) const = default;
};

struct StoredFontMatch {
  FontMatchKey key;
  std::string path;
  bool fileIsBold = false;
  bool fileIsItalic = false;
  /// The file's stamp when it was matched (FileStamp).
  std::string fileStamp;
};

/// The store's text: a header line, the fingerprint line and one line a match. Matches that
/// cannot be written on one line (a tab or line break in the family or the path, or no path)
/// are left out.
std::string FormatFontMatches(std::string_view fingerprint, const std::vector<StoredFontMatch>& matches);

/// The matches of a store's text written under `fingerprint`; none when the header or the
/// fingerprint differ. Lines that do not read as a match are skipped.
std::vector<StoredFontMatch> ParseFontMatches(std::string_view text, std::string_view fingerprint);

/// The matches of the store file at `path` whose files still carry their stamps.
std::vector<StoredFontMatch> ReadFontMatchStore(const std::string& path, std::string_view fingerprint);

/// Replaces the store file at `path` (through a new file renamed over it, so that programs
/// starting meanwhile read either store whole), creating its folder. Failures are absorbed:
/// the store only saves time.
void WriteFontMatchStore(const std::string& path, std::string_view fingerprint, const std::vector<StoredFontMatch>& matches);

}  // namespace vel::platform
