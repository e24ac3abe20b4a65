#include "platform/gdi/png_codec.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vel::platform {
namespace {

struct ReadCursor {
  const uint8_t* data;
  size_t size;
  size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
  if (length > cursor->size - cursor->offset) png_error(png, "truncated");
  std::memcpy(out, cursor->data + cursor->offset, length);
  cursor->offset += length;
}

struct CodecState {
  ReadCursor cursor{nullptr, 0, 0};
  std::vector<uint8_t> bytes;
  std::vector<uint8_t> row;
  std::unique_ptr<Surface> surface;
};

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

// libpng reports errors by longjmp; these handlers keep it quiet and let setjmp catch them.
void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

}  // namespace

std::vector<uint8_t> EncodePng(const Surface& surface, bool withAlpha) {
  // Everything that changes between setjmp and a possible longjmp lives on the heap behind a
  // pointer that does not change, so nothing is left indeterminate after an error.
  auto state = std::make_unique<CodecState>();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (png == nullptr) return {};
  png_infop info = png_create_info_struct(png);
  int channels = withAlpha ? 4 : 3;
  state->row.resize(static_cast<size_t>(surface.Width()) * static_cast<size_t>(channels));
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  std::vector<uint8_t>& out = state->bytes;
  std::vector<uint8_t>& row = state->row;
  png_set_write_fn(png, &out, WriteToVector, FlushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(surface.Width()), static_cast<png_uint_32>(surface.Height()), 8,
               withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < surface.Height(); ++y) {
    const uint32_t* source = surface.Row(y);
    for (int x = 0; x < surface.Width(); ++x) {
      uint8_t* p = row.data() + static_cast<size_t>(x) * static_cast<size_t>(channels);
      p[0] = static_cast<uint8_t>(source[x] >> 16);
      p[1] = static_cast<uint8_t>(source[x] >> 8);
      p[2] = static_cast<uint8_t>(source[x]);
      if (withAlpha) p[3] = static_cast<uint8_t>(source[x] >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::move(out);
}

bool WritePngFile(const Surface& surface, const std::string& path) {
  std::vector<uint8_t> data = EncodePng(surface);
  if (data.empty()) return false;
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(file);
}

std::unique_ptr<Surface> DecodePng(const uint8_t* data, size_t size, int maxDimension) {
  if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) return nullptr;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (png == nullptr) return nullptr;
  png_infop info = png_create_info_struct(png);
  auto state = std::make_unique<CodecState>();
  state->cursor = ReadCursor{data, size, 0};
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }
  std::unique_ptr<Surface>& surface = state->surface;
  std::vector<uint8_t>& row = state->row;
  png_set_read_fn(png, &state->cursor, ReadFromMemory);
  png_set_user_limits(png, static_cast<png_uint_32>(maxDimension), static_cast<png_uint_32>(maxDimension));
  png_read_info(png, info);
  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || width > static_cast<png_uint_32>(maxDimension) ||
      height > static_cast<png_uint_32>(maxDimension) || png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) {
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }
  // Whatever the stored format, read 8-bit RGBA.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) {
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }
  surface = std::make_unique<Surface>(static_cast<int>(width), static_cast<int>(height));
  row.resize(static_cast<size_t>(width) * 4);
  for (png_uint_32 y = 0; y < height; ++y) {
    png_read_row(png, row.data(), nullptr);
    uint32_t* target = surface->Row(static_cast<int>(y));
    for (png_uint_32 x = 0; x < width; ++x) {
      const uint8_t* p = row.data() + x * 4;
      target[x] = (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return std::move(surface);
}

std::unique_ptr<Surface> ReadPngFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return nullptr;
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return DecodePng(data.data(), data.size(), 16384);
}

}  // namespace vel::platform
