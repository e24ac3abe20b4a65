#pragma once
// Metrics and glyphs of font instances, as earlier runs worked them out. Hinting and rendering
// the glyphs a window measures and draws is most of what laying out and painting a small window
// costs, and a program asks for the same few glyphs of the same fonts every time; so each font
// instance's metrics and glyphs are kept in a small text file of their own in the cache folder,
// named after the instance: its file, the file's stamp (FileStamp) and how it is drawn. An
// instance whose store is whole needs neither its font file nor FreeType until it meets a glyph
// the store lacks. The store also carries a fingerprint of the
// rasteriser (the FreeType library and how this code drives it); a store written for another
// instance, another stamp or another rasteriser is ignored, so kept metrics and glyphs are
// always the ones the font file would give now.

#include <string>
#include <string_view>

#include "platform/gdi/font_instance.h"

namespace vel::platform {

/// The line naming an instance; empty when it cannot be written on one line.
std::string GlyphStoreKey(const FontRequest& request, std::string_view fileStamp);

/// The store file of the instance with `key`, in the cache folder; the same for every stamp
/// of its font file.
std::string GlyphStorePath(std::string_view key);

/// The store's text: a header line, the fingerprint, the key, the metrics and one line a glyph.
/// Glyphs too large to be worth keeping are left out.
std::string FormatKeptGlyphs(std::string_view fingerprint, std::string_view key, const FontMetrics& metrics,
                             const GlyphTable& glyphs);

/// Reads a store's text written under `fingerprint` for `key`: its metrics, and its glyphs into
/// the empty slots of `glyphs`. False, with nothing changed, when the header, fingerprint or
/// key differ or the metrics do not read; glyph lines that do not read are skipped.
bool ParseKeptGlyphs(std::string_view text, std::string_view fingerprint, std::string_view key, FontMetrics& metrics,
                     GlyphTable& glyphs);

/// Reads the store file at `path` as ParseKeptGlyphs does.
bool ReadGlyphStore(const std::string& path, std::string_view fingerprint, std::string_view key, FontMetrics& metrics,
                    GlyphTable& glyphs);

/// Replaces the store file at `path` (failures are absorbed: the store only saves time).
void WriteGlyphStore(const std::string& path, std::string_view fingerprint, std::string_view key,
                     const FontMetrics& metrics, const GlyphTable& glyphs);

}  // namespace vel::platform
