#pragma once
// Finds the font file for a LOGFONT: the program's face names go through aliases ("Arial" is
// Liberation Sans, the old raster system faces are a matching sans) and then fontconfig, whose
// answers are remembered between runs (font_match_store.h) so that a program's start does not
// wait for fontconfig to read its configuration. Tests pin one file so that rendering does not
// depend on what is installed.

#include <string>

#include "win32.h"

namespace vel::platform {

struct ResolvedFont {
  std::string path;
  /// FF_SWISS, FF_ROMAN or FF_MODERN: the family the face stands for.
  int family = FF_SWISS;
  /// The file's own style; what it lacks of the request is synthesised.
  bool fileIsBold = false;
  bool fileIsItalic = false;
  /// Whether its glyphs are kept between runs (glyph_store.h): a pinned file's are not, since
  /// tests pin a file to draw alike wherever they run, which earlier runs must not change.
  bool keepGlyphs = false;
};

/// The installed family a face name stands for ("Liberation Sans" for "Arial", ...).
std::string FamilyForFace(const LOGFONTA& font);
/// Resolves a LOGFONT to a file (cached, and kept in the font match store).
ResolvedFont ResolveFontFile(const LOGFONTA& font);
/// Forgets every match, so that the next request reads the store again as a new process would.
/// For tests.
void ForgetFontMatches();
/// Makes every font resolve to `path` (styles are synthesised); an empty path undoes it.
void PinFontFile(const std::string& path);

}  // namespace vel::platform
