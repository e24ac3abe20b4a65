#include "platform/gdi/freetype_library.h"

#include "platform/kernel/lazy_library_table.h"

namespace vel::platform {
namespace {

constexpr const char* kFreetypeLibraryName = "libfreetype.so.6";

void ResolveFreetype(LazyLibrary& library, FreetypeLibrary& table) {
  library.Resolve("FT_Init_FreeType", table.initFreeType);
  library.Resolve("FT_Property_Set", table.propertySet);
  library.Resolve("FT_New_Face", table.newFace);
  library.Resolve("FT_Done_Face", table.doneFace);
  library.Resolve("FT_Get_Sfnt_Table", table.getSfntTable);
  library.Resolve("FT_Set_Pixel_Sizes", table.setPixelSizes);
  library.Resolve("FT_Set_Transform", table.setTransform);
  library.Resolve("FT_Get_Char_Index", table.getCharIndex);
  library.Resolve("FT_Load_Glyph", table.loadGlyph);
  library.Resolve("FT_Render_Glyph", table.renderGlyph);
  library.Resolve("FT_MulFix", table.mulFix);
  library.Resolve("FT_Outline_Embolden", table.outlineEmbolden);
}

}  // namespace

const FreetypeLibrary* Freetype() {
  static LazyLibraryTable<FreetypeLibrary> library(
      {kFreetypeLibraryName, ResolveFreetype, "fonts:", "text cannot be drawn"});
  return library.Get();
}

}  // namespace vel::platform
