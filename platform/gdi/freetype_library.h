#pragma once
// FreeType, opened the first time a glyph has to be rasterised or a face measured instead of
// linked: a start whose fonts' metrics and glyphs all come from the glyph store does not load
// it (or the libraries it needs) at all. The FreeType headers still give the types and
// constants; the functions come from this table.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_MODULE_H

namespace vel::platform {

/// The FreeType functions font instances call.
struct FreetypeLibrary {
  decltype(&FT_Init_FreeType) initFreeType = nullptr;
  decltype(&FT_Property_Set) propertySet = nullptr;
  decltype(&FT_New_Face) newFace = nullptr;
  decltype(&FT_Done_Face) doneFace = nullptr;
  decltype(&FT_Get_Sfnt_Table) getSfntTable = nullptr;
  decltype(&FT_Set_Pixel_Sizes) setPixelSizes = nullptr;
  decltype(&FT_Set_Transform) setTransform = nullptr;
  decltype(&FT_Get_Char_Index) getCharIndex = nullptr;
  decltype(&FT_Load_Glyph) loadGlyph = nullptr;
  decltype(&FT_Render_Glyph) renderGlyph = nullptr;
  decltype(&FT_MulFix) mulFix = nullptr;
  decltype(&FT_Outline_Embolden) outlineEmbolden = nullptr;
};

/// FreeType, loaded once for the process (from any thread); null when it cannot be loaded,
/// which is reported once on standard error, and then fonts have no glyphs.
const FreetypeLibrary* Freetype();

}  // namespace vel::platform
