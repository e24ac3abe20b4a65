#include "runtime/images/jpeg_library.h"

#include "platform/kernel/lazy_library_table.h"

namespace vel::images {
namespace {

void ResolveJpeg(platform::LazyLibrary& library, JpegLibrary& table) {
  library.Resolve("jpeg_std_error", table.stdError);
  library.Resolve("jpeg_CreateDecompress", table.createDecompress);
  library.Resolve("jpeg_destroy_decompress", table.destroyDecompress);
  library.Resolve("jpeg_mem_src", table.memorySource);
  library.Resolve("jpeg_read_header", table.readHeader);
  library.Resolve("jpeg_start_decompress", table.startDecompress);
  library.Resolve("jpeg_read_scanlines", table.readScanlines);
  library.Resolve("jpeg_finish_decompress", table.finishDecompress);
}

platform::LazyLibraryTable<JpegLibrary>& Library() {
  static platform::LazyLibraryTable<JpegLibrary> library({kJpegLibraryName, ResolveJpeg, "images: the JPEG library",
                                                          "JPEG pictures cannot be shown"});
  return library;
}

}  // namespace

bool LoadJpegLibrary(const char* soname, JpegLibrary& table, std::string& whyNot) {
  return platform::LoadLibraryTable(soname, ResolveJpeg, table, whyNot);
}

const JpegLibrary* JpegDecoderLibrary() { return Library().Get(); }

void WithholdJpegLibrary(bool withheld) { Library().Withhold(withheld); }

}  // namespace vel::images
