#include "runtime/images/jpeg_reader.h"

#include <csetjmp>

#include "runtime/images/bitmap_image.h"
#include "runtime/images/bmp_writer.h"
#include "runtime/images/image_limits.h"
#include "runtime/images/jpeg_library.h"

namespace vel::images {
namespace {

// The library reports errors by calling error_exit, which must not return: it jumps back to
// the call that was running. Only plain C data lives in the functions that set the jump, so
// nothing with a destructor is skipped.
struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void AbandonPicture(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1); }

// Warnings and traces are not shown to anyone.
void Silent(j_common_ptr) {}

// The decompressor with its error handling; destroyed with the object.
class Decompressor {
 public:
  explicit Decompressor(const JpegLibrary& library) : m_library(library) {
    m_info.err = m_library.stdError(&m_errors.manager);
    m_errors.manager.error_exit = AbandonPicture;
    m_errors.manager.output_message = Silent;
    m_library.createDecompress(&m_info, JPEG_LIB_VERSION, sizeof m_info);
  }
  ~Decompressor() { m_library.destroyDecompress(&m_info); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  jpeg_decompress_struct& Info() { return m_info; }
  ErrorJump& Errors() { return m_errors; }

 private:
  const JpegLibrary& m_library;
  jpeg_decompress_struct m_info{};
  ErrorJump m_errors{};
};

// Reads the header and chooses the output colours: BGR for colour (the BMP order), grey for
// grey, CMYK for four-channel pictures (converted row by row).
bool ReadHeader(const JpegLibrary* library, jpeg_decompress_struct* info, ErrorJump* errors, const std::uint8_t* bytes,
                std::size_t size) {
  if (setjmp(errors->jump) != 0) return false;
  library->memorySource(info, const_cast<unsigned char*>(bytes), static_cast<unsigned long>(size));
  if (library->readHeader(info, TRUE) != JPEG_HEADER_OK) return false;
  switch (info->jpeg_color_space) {
    case JCS_GRAYSCALE: info->out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK: info->out_color_space = JCS_CMYK; break;
    default: info->out_color_space = JCS_EXT_BGR; break;
  }
  return true;
}

// CMYK as Adobe's writers store it (inverted: 255 is no ink) or plainly, into BGR.
void CmykToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    unsigned c = inverted ? cmyk[0] : 255u - cmyk[0];
    unsigned m = inverted ? cmyk[1] : 255u - cmyk[1];
    unsigned y = inverted ? cmyk[2] : 255u - cmyk[2];
    unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
    bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
    bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
    bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
  }
}

// Decodes every row into the bitmap (rows addressed top first through `writer`).
bool ReadRows(const JpegLibrary* library, jpeg_decompress_struct* info, ErrorJump* errors, BmpWriter* writer) {
  if (setjmp(errors->jump) != 0) return false;
  library->startDecompress(info);
  bool cmyk = info->out_color_space == JCS_CMYK;
  JSAMPARRAY scratch = nullptr;
  if (cmyk) {
    scratch = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, info->output_width * 4, 1);
  }
  while (info->output_scanline < info->output_height) {
    std::uint8_t* row = writer->Row(static_cast<int>(info->output_scanline));
    if (cmyk) {
      library->readScanlines(info, scratch, 1);
      CmykToBgr(scratch[0], row, info->output_width, info->saw_Adobe_marker != 0);
    } else {
      JSAMPROW target = row;
      library->readScanlines(info, &target, 1);
    }
  }
  library->finishDecompress(info);
  return true;
}

}  // namespace

std::optional<SIZE> JpegSize(const std::uint8_t* bytes, std::size_t size) {
  const JpegLibrary* library = JpegDecoderLibrary();
  if (bytes == nullptr || size == 0 || library == nullptr) return std::nullopt;
  Decompressor decompressor(*library);
  if (!ReadHeader(library, &decompressor.Info(), &decompressor.Errors(), bytes, size)) return std::nullopt;
  return SIZE{static_cast<LONG>(decompressor.Info().image_width), static_cast<LONG>(decompressor.Info().image_height)};
}

std::optional<ImageStorage> DecodeJpeg(const std::uint8_t* bytes, std::size_t size) {
  const JpegLibrary* library = JpegDecoderLibrary();
  if (bytes == nullptr || size == 0 || library == nullptr) return std::nullopt;
  Decompressor decompressor(*library);
  jpeg_decompress_struct& info = decompressor.Info();
  if (!ReadHeader(library, &info, &decompressor.Errors(), bytes, size)) return std::nullopt;
  if (!PictureSizeAllowed(info.image_width, info.image_height)) return std::nullopt;
  bool grey = info.out_color_space == JCS_GRAYSCALE;
  // The decoder writes every pixel, so the block is not cleared first.
  std::optional<BmpWriter> writer =
      BmpWriter::Create(static_cast<int>(info.image_width), static_cast<int>(info.image_height), grey ? 8 : 24,
                        grey ? 256 : 0, ImageStorage::Fill::Caller);
  if (!writer) return std::nullopt;
  if (grey) {
    for (int i = 0; i < 256; ++i) {
      auto level = static_cast<BYTE>(i);
      writer->Table()[i] = RGBQUAD{level, level, level, 0};
    }
  }
  if (!ReadRows(library, &info, &decompressor.Errors(), &*writer)) return std::nullopt;
  return writer->Finish();
}

std::unique_ptr<Image> CreateJpegFromData(const ImageOwner&, const std::uint8_t* bytes, std::size_t size,
                                          unsigned flags) {
  if ((flags & image_flags::kSizeOnly) != 0) {
    std::optional<SIZE> natural = JpegSize(bytes, size);
    if (!natural || !PictureSizeAllowed(natural->cx, natural->cy)) return nullptr;
    return BitmapImage::SizeOnlyBitmap(*natural, 24, flags, ".jpg");
  }
  std::optional<ImageStorage> decoded = DecodeJpeg(bytes, size);
  if (!decoded) return nullptr;
  return BitmapImage::FromStorage(std::move(*decoded), flags, ".jpg");
}

}  // namespace vel::images
