#pragma once
// libpng, opened the first time a PNG image is read or written instead of linked, so that a
// program that shows none does not load it (or zlib) at start. The libpng header still gives
// the types and constants; the functions come from this table.

#include <png.h>

namespace vel::platform {

/// The libpng functions the PNG codec calls.
struct PngLibrary {
  decltype(&png_sig_cmp) sigCmp = nullptr;
  decltype(&png_create_read_struct) createReadStruct = nullptr;
  decltype(&png_create_write_struct) createWriteStruct = nullptr;
  decltype(&png_create_info_struct) createInfoStruct = nullptr;
  decltype(&png_destroy_read_struct) destroyReadStruct = nullptr;
  decltype(&png_destroy_write_struct) destroyWriteStruct = nullptr;
  decltype(&png_set_longjmp_fn) setLongjmpFn = nullptr;
  decltype(&png_longjmp) longjmp = nullptr;
  decltype(&png_error) error = nullptr;
  decltype(&png_get_io_ptr) getIoPtr = nullptr;
  decltype(&png_set_read_fn) setReadFn = nullptr;
  decltype(&png_set_write_fn) setWriteFn = nullptr;
  decltype(&png_set_user_limits) setUserLimits = nullptr;
  decltype(&png_set_IHDR) setIhdr = nullptr;
  decltype(&png_write_info) writeInfo = nullptr;
  decltype(&png_write_row) writeRow = nullptr;
  decltype(&png_write_end) writeEnd = nullptr;
  decltype(&png_read_info) readInfo = nullptr;
  decltype(&png_get_image_width) getImageWidth = nullptr;
  decltype(&png_get_image_height) getImageHeight = nullptr;
  decltype(&png_get_interlace_type) getInterlaceType = nullptr;
  decltype(&png_set_expand) setExpand = nullptr;
  decltype(&png_set_strip_16) setStrip16 = nullptr;
  decltype(&png_set_gray_to_rgb) setGrayToRgb = nullptr;
  decltype(&png_set_add_alpha) setAddAlpha = nullptr;
  decltype(&png_read_update_info) readUpdateInfo = nullptr;
  decltype(&png_get_rowbytes) getRowbytes = nullptr;
  decltype(&png_read_row) readRow = nullptr;
};

/// libpng, loaded once for the process (from any thread); null when it cannot be loaded,
/// which is reported once on standard error, and then PNG images neither read nor write.
const PngLibrary* Png();

}  // namespace vel::platform
