#include "platform/gdi/png_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/gdi/png_library.h"

namespace vel::platform {
namespace {

struct ReadCursor {
  const uint8_t* data;
  size_t size;
  size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* cursor = static_cast<ReadCursor*>(Png()->getIoPtr(png));
  if (length > cursor->size - cursor->offset) Png()->error(png, "truncated");
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
  auto* out = static_cast<std::vector<uint8_t>*>(Png()->getIoPtr(png));
  out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

// libpng reports errors by longjmp; these handlers keep it quiet and let setjmp catch them.
void OnError(png_structp png, png_const_charp) { Png()->longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// Where libpng jumps back to on an error; the call png_jmpbuf stands for, through the table.
std::jmp_buf& JumpBuffer(const PngLibrary& lib, png_structp png) {
  return *lib.setLongjmpFn(png, std::longjmp, sizeof(std::jmp_buf));
}

}  // namespace

std::vector<uint8_t> EncodePng(const Surface& surface, bool withAlpha) {
  // Everything that changes between setjmp and a possible longjmp lives on the heap behind a
  // pointer that does not change, so nothing is left indeterminate after an error.
  const PngLibrary* lib = Png();
  if (lib == nullptr) return {};
  auto state = std::make_unique<CodecState>();
  png_structp png = lib->createWriteStruct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (png == nullptr) return {};
  png_infop info = lib->createInfoStruct(png);
  int channels = withAlpha ? 4 : 3;
  state->row.resize(static_cast<size_t>(surface.Width()) * static_cast<size_t>(channels));
  if (info == nullptr || setjmp(JumpBuffer(*lib, png))) {
    lib->destroyWriteStruct(&png, &info);
    return {};
  }
  std::vector<uint8_t>& out = state->bytes;
  std::vector<uint8_t>& row = state->row;
  lib->setWriteFn(png, &out, WriteToVector, FlushNothing);
  lib->setIhdr(png, info, static_cast<png_uint_32>(surface.Width()), static_cast<png_uint_32>(surface.Height()), 8,
               withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  lib->writeInfo(png, info);
  for (int y = 0; y < surface.Height(); ++y) {
    const uint32_t* source = surface.Row(y);
    for (int x = 0; x < surface.Width(); ++x) {
      uint8_t* p = row.data() + static_cast<size_t>(x) * static_cast<size_t>(channels);
      p[0] = static_cast<uint8_t>(source[x] >> 16);
      p[1] = static_cast<uint8_t>(source[x] >> 8);
      p[2] = static_cast<uint8_t>(source[x]);
      if (withAlpha) p[3] = static_cast<uint8_t>(source[x] >> 24);
    }
    lib->writeRow(png, row.data());
  }
  lib->writeEnd(png, nullptr);
  lib->destroyWriteStruct(&png, &info);
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
  const PngLibrary* lib = Png();
  if (lib == nullptr || data == nullptr || size < 8 || lib->sigCmp(data, 0, 8) != 0) return nullptr;
  png_structp png = lib->createReadStruct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (png == nullptr) return nullptr;
  png_infop info = lib->createInfoStruct(png);
  auto state = std::make_unique<CodecState>();
  state->cursor = ReadCursor{data, size, 0};
  if (info == nullptr || setjmp(JumpBuffer(*lib, png))) {
    lib->destroyReadStruct(&png, &info, nullptr);
    return nullptr;
  }
  std::unique_ptr<Surface>& surface = state->surface;
  std::vector<uint8_t>& row = state->row;
  lib->setReadFn(png, &state->cursor, ReadFromMemory);
  lib->setUserLimits(png, static_cast<png_uint_32>(maxDimension), static_cast<png_uint_32>(maxDimension));
  lib->readInfo(png, info);
  png_uint_32 width = lib->getImageWidth(png, info);
  png_uint_32 height = lib->getImageHeight(png, info);
  if (width == 0 || height == 0 || width > static_cast<png_uint_32>(maxDimension) ||
      height > static_cast<png_uint_32>(maxDimension) || lib->getInterlaceType(png, info) != PNG_INTERLACE_NONE) {
    lib->destroyReadStruct(&png, &info, nullptr);
    return nullptr;
  }
  // Whatever the stored format, read 8-bit RGBA.
  lib->setExpand(png);
  lib->setStrip16(png);
  lib->setGrayToRgb(png);
  lib->setAddAlpha(png, 0xFF, PNG_FILLER_AFTER);
  lib->readUpdateInfo(png, info);
  if (lib->getRowbytes(png, info) != static_cast<size_t>(width) * 4) {
    lib->destroyReadStruct(&png, &info, nullptr);
    return nullptr;
  }
  surface = std::make_unique<Surface>(static_cast<int>(width), static_cast<int>(height));
  row.resize(static_cast<size_t>(width) * 4);
  for (png_uint_32 y = 0; y < height; ++y) {
    lib->readRow(png, row.data(), nullptr);
    uint32_t* target = surface->Row(static_cast<int>(y));
    for (png_uint_32 x = 0; x < width; ++x) {
      const uint8_t* p = row.data() + x * 4;
      target[x] = (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
  }
  lib->destroyReadStruct(&png, &info, nullptr);
  return std::move(surface);
}

std::unique_ptr<Surface> ReadPngFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return nullptr;
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return DecodePng(data.data(), data.size(), 16384);
}

}  // namespace vel::platform
