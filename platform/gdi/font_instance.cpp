#include "platform/gdi/font_instance.h"

#include "platform/gdi/freetype_library.h"

#include FT_DRIVER_H

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

#include "platform/gdi/code_page.h"
#include "platform/gdi/font_setup_fingerprint.h"
#include "platform/gdi/glyph_store.h"

namespace vel::platform {
namespace {

// One FreeType library for the process, made when the first face is opened; faces are used
// under their instance's lock. g_freetype holds its functions once it is made.
std::mutex g_libraryMutex;
const FreetypeLibrary* g_freetype = nullptr;
FT_Library Library() {
  static FT_Library library = []() -> FT_Library {
    const FreetypeLibrary* freetype = Freetype();
    FT_Library made = nullptr;
    if (freetype == nullptr || freetype->initFreeType(&made) != 0) return nullptr;
    // The full bytecode interpreter snaps stems to whole pixels in both directions, which is
    // what small dialog text on this kind of system looks like: crisp rather than soft.
    FT_UInt version = TT_INTERPRETER_VERSION_35;
    freetype->propertySet(made, "truetype", "interpreter-version", &version);
    g_freetype = freetype;
    return made;
  }();
  return library;
}

std::atomic<uint64_t> g_rasterised{0};

int Round26(FT_Pos value) { return static_cast<int>((value + 32) >> 6); }

// Raise whenever OpenFace or Rasterise change the metrics or glyphs they give, so that what the
// earlier code kept is not taken for the new code's.
constexpr int kRasteriserRevision = 2;

// What metrics and glyphs depend on besides the font file and the request: this code and the
// FreeType library a process loads, told without loading it (that is what the store saves):
// the loader finds it through LD_LIBRARY_PATH, LD_PRELOAD and its cache, which ldconfig
// rewrites whenever a library is installed or upgraded.
const std::string& RasteriserFingerprint() {
  static const std::string fingerprint = [] {
    std::string text = "rasteriser " + std::to_string(kRasteriserRevision) + " freetype " +
                       std::to_string(FREETYPE_MAJOR) + "." + std::to_string(FREETYPE_MINOR) + " /etc/ld.so.cache=" +
                       FileStamp("/etc/ld.so.cache");
    for (const char* name : {"LD_LIBRARY_PATH", "LD_PRELOAD"}) {
      const char* value = std::getenv(name);
      text.append(" ").append(name).append("=").append(value != nullptr ? value : "");
    }
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
  }();
  return fingerprint;
}

std::mutex g_instancesMutex;
using InstanceKey = std::tuple<std::string, int, int, bool, bool, bool>;
// Never destroyed: instances may be asked for while other static objects go away.
auto* g_instances = new std::map<InstanceKey, std::shared_ptr<FontInstance>>();

}  // namespace

struct FontInstance::FaceHandle {
  FT_Face face = nullptr;
  ~FaceHandle() {
    if (face != nullptr) {
      std::lock_guard lock(g_libraryMutex);
      g_freetype->doneFace(face);
    }
  }
};

FontInstance::~FontInstance() = default;

std::shared_ptr<FontInstance> FontInstance::Get(const FontRequest& request) {
  InstanceKey key{request.file.path, request.height, request.width, request.bold, request.italic, request.antialiased};
  std::lock_guard lock(g_instancesMutex);
  auto it = g_instances->find(key);
  if (it != g_instances->end()) return it->second;
  std::shared_ptr<FontInstance> instance(new FontInstance());
  if (!instance->Open(request)) return nullptr;
  // Programs use a handful of fonts; a runaway caller must not grow the cache without bound.
  if (g_instances->size() >= 256) g_instances->clear();
  g_instances->emplace(key, instance);
  return instance;
}

uint64_t FontInstance::RasterisedCount() { return g_rasterised.load(); }

void FontInstance::ForgetInstances() {
  std::lock_guard lock(g_instancesMutex);
  g_instances->clear();
}

bool FontInstance::Open(const FontRequest& request) {
  m_request = request;
  if (request.file.path.empty()) return false;
  if (request.file.keepGlyphs) {
    m_storeKey = GlyphStoreKey(request, FileStamp(request.file.path));
    if (!m_storeKey.empty()) {
      m_storePath = GlyphStorePath(m_storeKey);
      // What an earlier run worked out: the face waits until a glyph is missing.
      if (ReadGlyphStore(m_storePath, RasteriserFingerprint(), m_storeKey, m_metrics, m_glyphs)) return true;
    }
  }
  return OpenFace(&m_metrics);
}

bool FontInstance::OpenFace(FontMetrics* metrics) {
  if (!m_faceOpened) m_faceOpened = OpenFaceOnce(metrics);
  return *m_faceOpened;
}

bool FontInstance::OpenFaceOnce(FontMetrics* metrics) {
  const FontRequest& request = m_request;
  m_face = std::make_unique<FaceHandle>();
  {
    std::lock_guard lock(g_libraryMutex);
    if (Library() == nullptr || g_freetype->newFace(Library(), request.file.path.c_str(), 0, &m_face->face) != 0) {
      m_face->face = nullptr;
      return false;
    }
  }
  const FreetypeLibrary& ft = *g_freetype;
  FT_Face face = m_face->face;
  if (!FT_IS_SCALABLE(face)) return false;
  auto* os2 = static_cast<TT_OS2*>(ft.getSfntTable(face, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(ft.getSfntTable(face, FT_SFNT_HHEA));
  double unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
  double winAscent = os2 != nullptr && os2->version != 0xFFFF ? os2->usWinAscent : face->ascender;
  double winDescent = os2 != nullptr && os2->version != 0xFFFF ? os2->usWinDescent : -face->descender;
  if (winAscent + winDescent <= 0) {
    winAscent = unitsPerEm * 0.9;
    winDescent = unitsPerEm * 0.2;
  }

  // A positive height asks for the cell (ascent + descent), a negative one for the em.
  int height = request.height == 0 ? 16 : request.height;
  double em = height < 0 ? -height : height * unitsPerEm / (winAscent + winDescent);
  // The cap bounds what one glyph can cost to rasterise and keep.
  int emPixels = std::clamp(static_cast<int>(std::lround(em)), 1, 1024);
  double scale = emPixels / unitsPerEm;
  int widthPixels = 0;
  if (request.width > 0 && os2 != nullptr && os2->xAvgCharWidth > 0) {
    widthPixels = std::clamp(static_cast<int>(std::lround(emPixels * request.width / (os2->xAvgCharWidth * scale))), 1, 4000);
  }
  if (ft.setPixelSizes(face, static_cast<FT_UInt>(widthPixels), static_cast<FT_UInt>(emPixels)) != 0) return false;
  if (metrics == nullptr) return true;

  FontMetrics& m = *metrics;
  m.ascent = static_cast<int>(std::lround(winAscent * scale));
  m.descent = static_cast<int>(std::lround(winDescent * scale));
  m.height = m.ascent + m.descent;
  m.internalLeading = std::max(0, m.height - emPixels);
  if (hhea != nullptr) {
    double gap = hhea->Line_Gap + hhea->Ascender - hhea->Descender - (winAscent + winDescent);
    m.externalLeading = std::max(0, static_cast<int>(std::lround(gap * scale)));
  }
  double horizontalScale = widthPixels > 0 ? scale * widthPixels / emPixels : scale;
  m.averageWidth = os2 != nullptr && os2->xAvgCharWidth > 0
                       ? static_cast<int>(std::lround(os2->xAvgCharWidth * horizontalScale))
                       : std::max(1, emPixels / 2);
  m.maxWidth = static_cast<int>(std::lround((face->bbox.xMax - face->bbox.xMin) * horizontalScale));
  m.underlinePosition = std::max(1, static_cast<int>(std::lround(-face->underline_position * scale)));
  m.underlineThickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scale)));
  double strike = os2 != nullptr && os2->version != 0xFFFF && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition
                                                                                          : unitsPerEm * 0.26;
  m.strikeoutPosition = static_cast<int>(std::lround(strike * scale));
  m.fixedPitch = FT_IS_FIXED_WIDTH(face);
  if (request.bold && !request.file.fileIsBold) m.averageWidth += 1;
  return true;
}

const Glyph& FontInstance::GlyphFor(unsigned char code) {
  std::lock_guard lock(m_mutex);
  std::unique_ptr<Glyph>& slot = m_glyphs[code];
  if (!slot) {
    slot = std::make_unique<Glyph>();
    // A font file that cannot be opened any more leaves the glyph blank, and nothing to keep.
    if (OpenFace(nullptr)) {
      Rasterise(code, *slot);
      m_learned = true;
    }
  }
  return *slot;
}

void FontInstance::KeepNewGlyphs() {
  std::lock_guard lock(m_mutex);
  if (!m_learned || m_storePath.empty()) return;
  m_learned = false;
  WriteGlyphStore(m_storePath, RasteriserFingerprint(), m_storeKey, m_metrics, m_glyphs);
}

void FontInstance::Rasterise(unsigned char code, Glyph& glyph) {
  ++g_rasterised;
  const FreetypeLibrary& ft = *g_freetype;
  FT_Face face = m_face->face;
  bool syntheticItalic = m_request.italic && !m_request.file.fileIsItalic;
  bool syntheticBold = m_request.bold && !m_request.file.fileIsBold;
  if (syntheticItalic) {
    // A shear of about 12 degrees stands in for a missing italic face.
    FT_Matrix shear{0x10000, 0x3700, 0, 0x10000};
    ft.setTransform(face, &shear, nullptr);
  } else {
    ft.setTransform(face, nullptr, nullptr);
  }
  FT_UInt index = ft.getCharIndex(face, UnicodeFrom1252(code));
  FT_Int32 loadFlags = m_request.antialiased ? FT_LOAD_DEFAULT : FT_LOAD_TARGET_MONO;
  if (ft.loadGlyph(face, index, loadFlags) != 0) return;
  FT_GlyphSlot slot = face->glyph;
  int extraAdvance = 0;
  if (syntheticBold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_Pos strength = std::max<FT_Pos>(64, ft.mulFix(face->units_per_EM, face->size->metrics.y_scale) / 24);
    ft.outlineEmbolden(&slot->outline, strength);
    extraAdvance = 1;
  }
  glyph.advance = Round26(slot->advance.x) + extraAdvance;
  FT_Render_Mode mode = m_request.antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;
  if (ft.renderGlyph(slot, mode) != 0) return;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.height = static_cast<int>(bitmap.rows);
  glyph.coverage.assign(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height), 0);
  for (int y = 0; y < glyph.height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
    for (int x = 0; x < glyph.width; ++x) {
      uint8_t value = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (((row[x / 8] >> (7 - x % 8)) & 1) ? 255 : 0) : row[x];
      glyph.coverage[static_cast<size_t>(y) * static_cast<size_t>(glyph.width) + static_cast<size_t>(x)] = value;
    }
  }
}

}  // namespace vel::platform
