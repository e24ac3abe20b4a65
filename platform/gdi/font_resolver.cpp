#include "platform/gdi/font_resolver.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/gdi/font_match_store.h"
#include "platform/gdi/font_setup_fingerprint.h"
#include "platform/gdi/fontconfig_library.h"

namespace vel::platform {
namespace {

std::mutex g_mutex;
std::string g_pinned;
std::map<FontMatchKey, ResolvedFont> g_cache;

// The matches of earlier runs, read at the first request; g_storePath is empty until then.
std::string g_storePath;
std::string g_fingerprint;
std::vector<StoredFontMatch> g_stored;

std::string Lower(const char* text, size_t limit) {
  std::string out;
  for (size_t i = 0; i < limit && text[i] != '\0'; ++i) {
    out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(text[i]))));
  }
  return out;
}

struct Alias {
  const char* face;
  const char* family;
  int familyClass;
};

// The faces programs of this kind ask for, and what stands in for them here.
constexpr Alias kAliases[] = {
    {"arial", "Liberation Sans", FF_SWISS},
    {"helvetica", "Liberation Sans", FF_SWISS},
    {"ms sans serif", "Liberation Sans", FF_SWISS},
    {"ms shell dlg", "Liberation Sans", FF_SWISS},
    {"ms shell dlg 2", "Liberation Sans", FF_SWISS},
    {"helv", "Liberation Sans", FF_SWISS},
    {"system", "Liberation Sans", FF_SWISS},
    {"tahoma", "Liberation Sans", FF_SWISS},
    {"small fonts", "Liberation Sans", FF_SWISS},
    {"times new roman", "Liberation Serif", FF_ROMAN},
    {"times", "Liberation Serif", FF_ROMAN},
    {"tms rmn", "Liberation Serif", FF_ROMAN},
    {"ms serif", "Liberation Serif", FF_ROMAN},
    {"courier new", "Liberation Mono", FF_MODERN},
    {"courier", "Liberation Mono", FF_MODERN},
    {"fixedsys", "Liberation Mono", FF_MODERN},
    {"terminal", "Liberation Mono", FF_MODERN},
};

int FamilyClass(const LOGFONTA& font, std::string& family) {
  std::string face = Lower(font.lfFaceName, LF_FACESIZE);
  for (const Alias& alias : kAliases) {
    if (face == alias.face) {
      family = alias.family;
      return alias.familyClass;
    }
  }
  if (!face.empty()) {
    family = std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
    return (font.lfPitchAndFamily & 0x03) == FIXED_PITCH ? FF_MODERN : FF_SWISS;
  }
  // No face: choose by pitch and family, as the font mapper does.
  if ((font.lfPitchAndFamily & 0x03) == FIXED_PITCH || (font.lfPitchAndFamily & 0xF0) == FF_MODERN) {
    family = "Liberation Mono";
    return FF_MODERN;
  }
  if ((font.lfPitchAndFamily & 0xF0) == FF_ROMAN) {
    family = "Liberation Serif";
    return FF_ROMAN;
  }
  family = "Liberation Sans";
  return FF_SWISS;
}

ResolvedFont MatchWithFontconfig(const std::string& family, int familyClass, bool bold, bool italic) {
  ResolvedFont resolved;
  resolved.family = familyClass;
  const FontconfigLibrary* fc = Fontconfig();
  if (fc == nullptr) return resolved;
  FcPattern* pattern = fc->patternCreate();
  fc->patternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  // A generic fallback keeps the right kind of face when the family is not installed.
  const char* generic = familyClass == FF_MODERN ? "monospace" : familyClass == FF_ROMAN ? "serif" : "sans-serif";
  fc->patternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(generic));
  fc->patternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  fc->patternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  fc->patternAddBool(pattern, FC_SCALABLE, FcTrue);
  fc->configSubstitute(nullptr, pattern, FcMatchPattern);
  fc->defaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = fc->fontMatch(nullptr, pattern, &result);
  if (match != nullptr) {
    FcChar8* file = nullptr;
    if (fc->patternGetString(match, FC_FILE, 0, &file) == FcResultMatch) resolved.path = reinterpret_cast<char*>(file);
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    fc->patternGetInteger(match, FC_WEIGHT, 0, &weight);
    fc->patternGetInteger(match, FC_SLANT, 0, &slant);
    resolved.fileIsBold = weight >= FC_WEIGHT_DEMIBOLD;
    resolved.fileIsItalic = slant != FC_SLANT_ROMAN;
    fc->patternDestroy(match);
  }
  fc->patternDestroy(pattern);
  return resolved;
}

void ReadStoredMatches() {
  if (!g_storePath.empty()) return;
  g_storePath = FontMatchStorePath();
  g_fingerprint = FontSetupFingerprint();
  g_stored = ReadFontMatchStore(g_storePath, g_fingerprint);
  for (const StoredFontMatch& match : g_stored) {
    g_cache.emplace(match.key, ResolvedFont{match.path, match.key.familyClass, match.fileIsBold, match.fileIsItalic, true});
  }
}

void StoreMatch(const FontMatchKey& key, const ResolvedFont& resolved) {
  if (resolved.path.empty()) return;
  g_stored.push_back(StoredFontMatch{key, resolved.path, resolved.fileIsBold, resolved.fileIsItalic, FileStamp(resolved.path)});
  WriteFontMatchStore(g_storePath, g_fingerprint, g_stored);
}

}  // namespace

std::string FamilyForFace(const LOGFONTA& font) {
  std::string family;
  FamilyClass(font, family);
  return family;
}

ResolvedFont ResolveFontFile(const LOGFONTA& font) {
  std::string family;
  int familyClass = FamilyClass(font, family);
  bool bold = font.lfWeight >= FW_SEMIBOLD;
  bool italic = font.lfItalic != 0;
  std::lock_guard lock(g_mutex);
  if (!g_pinned.empty()) return ResolvedFont{g_pinned, familyClass, false, false};
  ReadStoredMatches();
  FontMatchKey key{family, familyClass, bold, italic};
  auto it = g_cache.find(key);
  if (it != g_cache.end()) return it->second;
  ResolvedFont resolved = MatchWithFontconfig(family, familyClass, bold, italic);
  resolved.keepGlyphs = true;
  g_cache.emplace(key, resolved);
  StoreMatch(key, resolved);
  return resolved;
}

void ForgetFontMatches() {
  std::lock_guard lock(g_mutex);
  g_cache.clear();
  g_stored.clear();
  g_storePath.clear();
}

void PinFontFile(const std::string& path) {
  std::lock_guard lock(g_mutex);
  g_pinned = path;
}

}  // namespace vel::platform
