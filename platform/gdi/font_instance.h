#pragma once
// One font at one pixel size: its metrics and its glyphs. Glyphs are rasterised once, when
// first drawn or measured, and kept, so repainting the same text never rasterises again.
// Instances are shared between every DC and font object that asks for the same thing.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/font_resolver.h"

namespace vel::platform {

/// A rasterised glyph: an 8-bit coverage mask placed relative to the pen on the baseline.
struct Glyph {
  int left = 0;
  int top = 0;  ///< Rows above the baseline (positive up).
  int width = 0;
  int height = 0;
  int advance = 0;
  std::vector<uint8_t> coverage;
};

/// Metrics in device pixels, with TEXTMETRIC's meanings.
struct FontMetrics {
  int height = 0;
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int averageWidth = 0;
  int maxWidth = 0;
  int underlinePosition = 0;  ///< Rows below the baseline of the underline's top.
  int underlineThickness = 1;
  int strikeoutPosition = 0;  ///< Rows above the baseline of the strike-out's top.
  bool fixedPitch = false;
};

/// A font's glyphs by Windows-1252 byte; empty slots are not rasterised yet.
using GlyphTable = std::array<std::unique_ptr<Glyph>, 256>;

struct FontRequest {
  ResolvedFont file;
  /// Device height as LOGFONT gives it: negative = character height, positive = cell height.
  int height = 0;
  int width = 0;
  bool bold = false;
  bool italic = false;
  bool antialiased = true;
};

class FontInstance {
 public:
  ~FontInstance();
  FontInstance(const FontInstance&) = delete;
  FontInstance& operator=(const FontInstance&) = delete;

  /// The shared instance for a request, or null when the file cannot be used.
  static std::shared_ptr<FontInstance> Get(const FontRequest& request);

  const FontMetrics& Metrics() const { return m_metrics; }
  /// The glyph of a Windows-1252 byte (rasterised on first use).
  const Glyph& GlyphFor(unsigned char code);
  int Advance(unsigned char code) { return GlyphFor(code).advance; }
  /// Keeps the glyphs rasterised since the last call for later runs (glyph_store.h), when the
  /// font's glyphs are kept. Text calls end with it, so that a run's new glyphs are written once.
  void KeepNewGlyphs();
  /// How many glyphs all instances have rasterised so far (for cache tests).
  static uint64_t RasterisedCount();
  /// Drops the shared instances, so that the next request opens its font (and reads its kept
  /// glyphs) as a new process would. For tests.
  static void ForgetInstances();

 private:
  FontInstance() = default;
  bool Open(const FontRequest& request);
  /// Opens the font file at the request's size, once; its metrics into `metrics` when given.
  /// Called under m_mutex once the instance is shared.
  bool OpenFace(FontMetrics* metrics);
  bool OpenFaceOnce(FontMetrics* metrics);
  void Rasterise(unsigned char code, Glyph& glyph);

  struct FaceHandle;
  std::unique_ptr<FaceHandle> m_face;
  /// Whether the face was opened and sized; empty until it is first needed.
  std::optional<bool> m_faceOpened;
  FontRequest m_request;
  FontMetrics m_metrics;
  std::mutex m_mutex;
  GlyphTable m_glyphs;
  // Where the glyphs are kept between runs (empty when they are not), and whether any glyph
  // was rasterised since they were last written.
  std::string m_storePath;
  std::string m_storeKey;
  bool m_learned = false;
};

}  // namespace vel::platform
