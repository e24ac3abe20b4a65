#pragma once
// The JPEG library, opened at the first JPEG picture instead of linked: most starts show no
// JPEG, and loading it cost every one of them. Its header still gives the types and constants;
// the functions come from this table.

// The library's header needs the standard definitions of size_t and FILE first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <string>

namespace vel::images {

/// The library functions the JPEG reader calls.
struct JpegLibrary {
  decltype(&jpeg_std_error) stdError = nullptr;
  decltype(&jpeg_CreateDecompress) createDecompress = nullptr;
  decltype(&jpeg_destroy_decompress) destroyDecompress = nullptr;
  decltype(&jpeg_mem_src) memorySource = nullptr;
  decltype(&jpeg_read_header) readHeader = nullptr;
  decltype(&jpeg_start_decompress) startDecompress = nullptr;
  decltype(&jpeg_read_scanlines) readScanlines = nullptr;
  decltype(&jpeg_finish_decompress) finishDecompress = nullptr;
};

// The decompressor's layout comes from the header, so the library opened must be the one the
// header belongs to.
static_assert(JPEG_LIB_VERSION == 62, "kJpegLibraryName names the library of another header version");

/// The library's name on the system.
inline constexpr const char* kJpegLibraryName = "libjpeg.so.62";

/// Opens the shared object `soname` and resolves the whole table. On success the object stays
/// loaded for the rest of the process. On failure `table` is left empty, the object is closed
/// again and `whyNot` says what was missing.
bool LoadJpegLibrary(const char* soname, JpegLibrary& table, std::string& whyNot);

/// The JPEG library, loaded once for the process (from any thread); null when it is not
/// installed or not usable, which means JPEG files give no picture. The first failure is
/// reported in one line on standard error.
const JpegLibrary* JpegDecoderLibrary();

/// Makes JpegDecoderLibrary answer null (true) or the loaded library again (false), so that
/// tests can see pictures on a system without the library.
void WithholdJpegLibrary(bool withheld);

}  // namespace vel::images
