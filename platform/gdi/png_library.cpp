#include "platform/gdi/png_library.h"

#include "platform/kernel/lazy_library_table.h"

namespace vel::platform {
namespace {

constexpr const char* kPngLibraryName = "libpng16.so.16";

void ResolvePng(LazyLibrary& library, PngLibrary& table) {
  library.Resolve("png_sig_cmp", table.sigCmp);
  library.Resolve("png_create_read_struct", table.createReadStruct);
  library.Resolve("png_create_write_struct", table.createWriteStruct);
  library.Resolve("png_create_info_struct", table.createInfoStruct);
  library.Resolve("png_destroy_read_struct", table.destroyReadStruct);
  library.Resolve("png_destroy_write_struct", table.destroyWriteStruct);
  library.Resolve("png_set_longjmp_fn", table.setLongjmpFn);
  library.Resolve("png_longjmp", table.longjmp);
  library.Resolve("png_error", table.error);
  library.Resolve("png_get_io_ptr", table.getIoPtr);
  library.Resolve("png_set_read_fn", table.setReadFn);
  library.Resolve("png_set_write_fn", table.setWriteFn);
  library.Resolve("png_set_user_limits", table.setUserLimits);
  library.Resolve("png_set_IHDR", table.setIhdr);
  library.Resolve("png_write_info", table.writeInfo);
  library.Resolve("png_write_row", table.writeRow);
  library.Resolve("png_write_end", table.writeEnd);
  library.Resolve("png_read_info", table.readInfo);
  library.Resolve("png_get_image_width", table.getImageWidth);
  library.Resolve("png_get_image_height", table.getImageHeight);
  library.Resolve("png_get_interlace_type", table.getInterlaceType);
  library.Resolve("png_set_expand", table.setExpand);
  library.Resolve("png_set_strip_16", table.setStrip16);
  library.Resolve("png_set_gray_to_rgb", table.setGrayToRgb);
  library.Resolve("png_set_add_alpha", table.setAddAlpha);
  library.Resolve("png_read_update_info", table.readUpdateInfo);
  library.Resolve("png_get_rowbytes", table.getRowbytes);
  library.Resolve("png_read_row", table.readRow);
}

}  // namespace

const PngLibrary* Png() {
  static LazyLibraryTable<PngLibrary> library({kPngLibraryName, ResolvePng, "images:", "PNG images cannot be used"});
  return library.Get();
}

}  // namespace vel::platform
