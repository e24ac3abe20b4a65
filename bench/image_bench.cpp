// Loading pictures through the runtime's image objects against other readers of the same bytes,
// and the 256-colour reduction against libimagequant, on one 1165 x 859 photograph-like picture
// (a plasma fractal with a fixed seed, made by ImageMagick at start):
//   uncompressed BMP load     vs memcpy of the same bytes          (goal <= 2x)
//   RLE8 BMP load             vs SDL_LoadBMP                       (goal >= 5x faster)
//   8-bit PCX load            vs ImageMagick's PCX reader          (goal >= 10x faster)
//   JPEG load                 vs plain libjpeg-turbo decoding      (goal <= 1.05x)
//   256-colour reduction      vs libimagequant at speed 10         (goal <= 0.1x its time)
// with the PSNR of the reduction, of libimagequant's and of ImageMagick's -colors 256 printed
// beside. CPU time per iteration; ImageMagick runs on one thread like the others.
#include <magick/MagickCore.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <libimagequant.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include <jpeglib.h>

#include "bench/ratio_reporter.h"
#include "runtime/images/bitmap_image.h"
#include "runtime/images/color_reduction.h"
#include "runtime/images/standard_image_kinds.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 1165;
constexpr int kHeight = 859;

// The photograph's pixels, top row first, as red, green, blue bytes.
struct Photo {
  std::vector<std::uint8_t> rgb;
  std::size_t At(int x, int y) const { return 3 * (static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)); }
};

void PutU16(Bytes& out, std::size_t at, std::uint32_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(Bytes& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

Photo MakePhoto() {
  SetRandomSecretKey(7);
  ExceptionInfo* exception = AcquireExceptionInfo();
  ImageInfo* info = CloneImageInfo(nullptr);
  std::snprintf(info->filename, sizeof info->filename, "plasma:fractal");
  (void)CloneString(&info->size, "1165x859");
  Image* image = ReadImage(info, exception);
  Photo photo;
  photo.rgb.resize(static_cast<std::size_t>(kWidth) * kHeight * 3);
  if (image != nullptr) {
    ExportImagePixels(image, 0, 0, kWidth, kHeight, "RGB", CharPixel, photo.rgb.data(), exception);
    DestroyImage(image);
  }
  DestroyImageInfo(info);
  DestroyExceptionInfo(exception);
  return photo;
}

Bytes BmpHeaders(int bitCount, std::uint32_t tableEntries, std::uint32_t compression, std::size_t imageBytes) {
  std::size_t offset = 54 + 4 * tableEntries;
  Bytes out(offset, 0);
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, 2, static_cast<std::uint32_t>(offset + imageBytes));
  PutU32(out, 10, static_cast<std::uint32_t>(offset));
  PutU32(out, 14, 40);
  PutU32(out, 18, kWidth);
  PutU32(out, 22, kHeight);
  PutU16(out, 26, 1);
  PutU16(out, 28, static_cast<std::uint32_t>(bitCount));
  PutU32(out, 30, compression);
  PutU32(out, 34, static_cast<std::uint32_t>(imageBytes));
  PutU32(out, 46, tableEntries);
  return out;
}

Bytes Bmp24(const Photo& photo) {
  std::size_t stride = (kWidth * 3 + 3) & ~std::size_t{3};
  Bytes out = BmpHeaders(24, 0, BI_RGB, stride * kHeight);
  out.resize(out.size() + stride * kHeight, 0);
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t* row = out.data() + 54 + static_cast<std::size_t>(kHeight - 1 - y) * stride;
    for (int x = 0; x < kWidth; ++x) {
      row[3 * x] = photo.rgb[photo.At(x, y) + 2];
      row[3 * x + 1] = photo.rgb[photo.At(x, y) + 1];
      row[3 * x + 2] = photo.rgb[photo.At(x, y)];
    }
  }
  return out;
}

// The photograph with 256 colours: its table (0xRRGGBB) and one index per pixel, top row first.
struct Indexed {
  std::vector<std::uint32_t> table;
  std::vector<std::uint8_t> pixels;
};

Indexed ReducedPhoto(const Bytes& bmp24) {
  Indexed indexed;
  std::optional<vel::images::ImageStorage> reduced = vel::images::ReduceTo256Colors(bmp24.data(), bmp24.size());
  if (!reduced) return indexed;
  auto image = vel::images::BitmapImage::FromStorage(std::move(*reduced), 0, ".bmp");
  const vel::images::BmpLayout& layout = image->Layout();
  const auto* table = reinterpret_cast<const RGBQUAD*>(layout.info.data() + 40);
  for (unsigned i = 0; i < 256; ++i) {
    indexed.table.push_back((std::uint32_t{table[i].rgbRed} << 16) | (std::uint32_t{table[i].rgbGreen} << 8) |
                            table[i].rgbBlue);
  }
  for (int y = 0; y < kHeight; ++y) {
    const std::uint8_t* row = image->Rows() + static_cast<std::size_t>(kHeight - 1 - y) * layout.stride;
    indexed.pixels.insert(indexed.pixels.end(), row, row + kWidth);
  }
  return indexed;
}

Bytes Rle8(const Indexed& indexed) {
  Bytes coded;
  for (int y = kHeight - 1; y >= 0; --y) {
    const std::uint8_t* row = indexed.pixels.data() + static_cast<std::size_t>(y) * kWidth;
    int x = 0;
    while (x < kWidth) {
      int run = 1;
      while (x + run < kWidth && run < 255 && row[x + run] == row[x]) ++run;
      if (run >= 2 || kWidth - x < 3) {
        coded.push_back(static_cast<std::uint8_t>(run));
        coded.push_back(row[x]);
        x += run;
        continue;
      }
      int literal = 0;
      while (x + literal < kWidth && literal < 255 && (x + literal + 1 >= kWidth || row[x + literal] != row[x + literal + 1])) {
        ++literal;
      }
      if (literal < 3) literal = std::min(3, kWidth - x);
      coded.push_back(0);
      coded.push_back(static_cast<std::uint8_t>(literal));
      coded.insert(coded.end(), row + x, row + x + literal);
      if (literal % 2 != 0) coded.push_back(0);
      x += literal;
    }
    coded.push_back(0);
    coded.push_back(0);
  }
  coded.push_back(0);
  coded.push_back(1);
  Bytes out = BmpHeaders(8, 256, BI_RLE8, coded.size());
  for (unsigned i = 0; i < 256; ++i) PutU32(out, 54 + 4 * i, indexed.table[i]);
  out.insert(out.end(), coded.begin(), coded.end());
  return out;
}

Bytes Pcx8(const Indexed& indexed) {
  Bytes out(128, 0);
  out[0] = 0x0A;
  out[1] = 5;
  out[2] = 1;
  out[3] = 8;
  PutU16(out, 8, kWidth - 1);
  PutU16(out, 10, kHeight - 1);
  out[65] = 1;
  int lineBytes = kWidth + kWidth % 2;
  PutU16(out, 66, static_cast<std::uint32_t>(lineBytes));
  PutU16(out, 68, 1);
  for (int y = 0; y < kHeight; ++y) {
    Bytes line(indexed.pixels.begin() + static_cast<std::ptrdiff_t>(y) * kWidth,
               indexed.pixels.begin() + static_cast<std::ptrdiff_t>(y + 1) * kWidth);
    line.resize(static_cast<std::size_t>(lineBytes), 0);
    for (std::size_t i = 0; i < line.size();) {
      std::size_t run = 1;
      while (i + run < line.size() && run < 63 && line[i + run] == line[i]) ++run;
      if (run > 1 || line[i] >= 0xC0) out.push_back(static_cast<std::uint8_t>(0xC0 | run));
      out.push_back(line[i]);
      i += run;
    }
  }
  out.push_back(12);
  for (std::uint32_t color : indexed.table) {
    out.push_back(static_cast<std::uint8_t>(color >> 16));
    out.push_back(static_cast<std::uint8_t>(color >> 8));
    out.push_back(static_cast<std::uint8_t>(color));
  }
  return out;
}

Bytes Jpeg(const Photo& photo) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(photo.rgb.data() + photo.At(0, static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

struct Inputs {
  Photo photo;
  Bytes bmp24;
  Bytes rle8;
  Bytes pcx8;
  Bytes jpeg;
};

const Inputs& Pictures() {
  static const Inputs inputs = [] {
    Inputs made;
    made.photo = MakePhoto();
    made.bmp24 = Bmp24(made.photo);
    Indexed indexed = ReducedPhoto(made.bmp24);
    made.rle8 = Rle8(indexed);
    made.pcx8 = Pcx8(indexed);
    made.jpeg = Jpeg(made.photo);
    return made;
  }();
  return inputs;
}

void LoadThroughImageObject(benchmark::State& state, const Bytes& bytes) {
  for (auto _ : state) {
    auto image = vel::images::CreateImageFromData(vel::images::ImageOwner{}, bytes.data(), bytes.size());
    if (image == nullptr) state.SkipWithError("no image");
    benchmark::DoNotOptimize(image.get());
  }
}

void BmpLoad(benchmark::State& state) { LoadThroughImageObject(state, Pictures().bmp24); }

void BmpMemcpy(benchmark::State& state) {
  const Bytes& bytes = Pictures().bmp24;
  for (auto _ : state) {
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size()]);
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    benchmark::DoNotOptimize(copy.get());
    benchmark::ClobberMemory();
  }
}

void Rle8Load(benchmark::State& state) { LoadThroughImageObject(state, Pictures().rle8); }

void Rle8SdlLoadBmp(benchmark::State& state) {
  const Bytes& bytes = Pictures().rle8;
  for (auto _ : state) {
    SDL_Surface* surface = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
    if (surface == nullptr) state.SkipWithError(SDL_GetError());
    benchmark::DoNotOptimize(surface);
    SDL_FreeSurface(surface);
  }
}

void Pcx8Load(benchmark::State& state) { LoadThroughImageObject(state, Pictures().pcx8); }

void Pcx8ImageMagick(benchmark::State& state) {
  const Bytes& bytes = Pictures().pcx8;
  ExceptionInfo* exception = AcquireExceptionInfo();
  ImageInfo* info = CloneImageInfo(nullptr);
  std::snprintf(info->magick, sizeof info->magick, "PCX");
  for (auto _ : state) {
    Image* image = BlobToImage(info, bytes.data(), bytes.size(), exception);
    if (image == nullptr) state.SkipWithError("ImageMagick read no image");
    benchmark::DoNotOptimize(image);
    if (image != nullptr) DestroyImage(image);
  }
  DestroyImageInfo(info);
  DestroyExceptionInfo(exception);
}

void JpegLoad(benchmark::State& state) { LoadThroughImageObject(state, Pictures().jpeg); }

void JpegLibjpeg(benchmark::State& state) {
  const Bytes& bytes = Pictures().jpeg;
  for (auto _ : state) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    std::size_t stride = static_cast<std::size_t>(info.output_width) * info.output_components;
    std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[stride * info.output_height]);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = pixels.get() + stride * info.output_scanline;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.get());
  }
}

void Reduce256(benchmark::State& state) {
  const Bytes& bmp = Pictures().bmp24;
  for (auto _ : state) {
    auto reduced = vel::images::ReduceTo256Colors(bmp.data(), bmp.size());
    benchmark::DoNotOptimize(reduced->Data());
  }
}

// libimagequant: quantize and remap (without dithering, as the reduction does not dither).
Bytes QuantizeWithLibimagequant(const Photo& photo, std::vector<liq_color>* palette) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(kWidth) * kHeight * 4);
  for (std::size_t i = 0, j = 0; i < photo.rgb.size(); i += 3, j += 4) {
    rgba[j] = photo.rgb[i];
    rgba[j + 1] = photo.rgb[i + 1];
    rgba[j + 2] = photo.rgb[i + 2];
    rgba[j + 3] = 255;
  }
  liq_attr* attributes = liq_attr_create();
  liq_set_speed(attributes, 10);
  liq_image* image = liq_image_create_rgba(attributes, rgba.data(), kWidth, kHeight, 0);
  liq_result* result = nullptr;
  Bytes indexes(static_cast<std::size_t>(kWidth) * kHeight);
  if (liq_image_quantize(image, attributes, &result) == LIQ_OK) {
    liq_set_dithering_level(result, 0.0f);
    liq_write_remapped_image(result, image, indexes.data(), indexes.size());
    if (palette != nullptr) {
      const liq_palette* colors = liq_get_palette(result);
      palette->assign(colors->entries, colors->entries + colors->count);
    }
    liq_result_destroy(result);
  }
  liq_image_destroy(image);
  liq_attr_destroy(attributes);
  return indexes;
}

void Reduce256Libimagequant(benchmark::State& state) {
  const Photo& photo = Pictures().photo;
  for (auto _ : state) {
    Bytes indexes = QuantizeWithLibimagequant(photo, nullptr);
    benchmark::DoNotOptimize(indexes.data());
  }
}

double Psnr(const Photo& photo, const std::vector<std::uint8_t>& rgb) {
  double squares = 0;
  for (std::size_t i = 0; i < photo.rgb.size(); ++i) {
    double d = static_cast<double>(photo.rgb[i]) - static_cast<double>(rgb[i]);
    squares += d * d;
  }
  double mean = squares / static_cast<double>(photo.rgb.size());
  return 10.0 * std::log10(255.0 * 255.0 / mean);
}

void PrintQuality() {
  const Inputs& inputs = Pictures();
  Indexed ours = ReducedPhoto(inputs.bmp24);
  std::vector<std::uint8_t> rgb;
  for (std::uint8_t index : ours.pixels) {
    std::uint32_t color = ours.table[index];
    rgb.push_back(static_cast<std::uint8_t>(color >> 16));
    rgb.push_back(static_cast<std::uint8_t>(color >> 8));
    rgb.push_back(static_cast<std::uint8_t>(color));
  }
  std::printf("PSNR of the 256-colour reduction:        %.2f dB\n", Psnr(inputs.photo, rgb));
  // A faster reduction must give the same table and pixels: FNV-1a of both, to compare runs by.
  std::uint64_t hash = 0xCBF29CE484222325ull;
  auto mix = [&hash](std::uint32_t v) { hash = (hash ^ v) * 0x100000001B3ull; };
  for (std::uint32_t color : ours.table) mix(color);
  for (std::uint8_t index : ours.pixels) mix(index);
  std::printf("Checksum of the reduction's table and pixels: %016llx\n", static_cast<unsigned long long>(hash));

  std::vector<liq_color> palette;
  Bytes indexes = QuantizeWithLibimagequant(inputs.photo, &palette);
  rgb.clear();
  for (std::uint8_t index : indexes) {
    rgb.push_back(palette[index].r);
    rgb.push_back(palette[index].g);
    rgb.push_back(palette[index].b);
  }
  std::printf("PSNR of libimagequant (speed 10):        %.2f dB\n", Psnr(inputs.photo, rgb));

  ExceptionInfo* exception = AcquireExceptionInfo();
  Image* image = ConstituteImage(kWidth, kHeight, "RGB", CharPixel, inputs.photo.rgb.data(), exception);
  if (image != nullptr) {
    QuantizeInfo* quantize = AcquireQuantizeInfo(nullptr);
    quantize->number_colors = 256;
    QuantizeImage(quantize, image);
    rgb.assign(inputs.photo.rgb.size(), 0);
    ExportImagePixels(image, 0, 0, kWidth, kHeight, "RGB", CharPixel, rgb.data(), exception);
    std::printf("PSNR of ImageMagick -colors 256:         %.2f dB\n", Psnr(inputs.photo, rgb));
    DestroyQuantizeInfo(quantize);
    DestroyImage(image);
  }
  DestroyExceptionInfo(exception);
}

void PrintRatio(const vel::bench::RatioReporter& reporter, const char* what, const char* ours, const char* theirs,
                bool oursOverTheirs, const char* goal) {
  double a = reporter.Nanoseconds(ours);
  double b = reporter.Nanoseconds(theirs);
  if (a <= 0 || b <= 0) return;
  std::printf("%-44s %9.1f us vs %9.1f us: ratio %.3f (goal %s)\n", what, a / 1000, b / 1000,
              oursOverTheirs ? a / b : b / a, goal);
}

}  // namespace

int main(int argc, char** argv) {
  MagickCoreGenesis(argv[0], MagickFalse);
  SetMagickResourceLimit(ThreadResource, 1);
  SDL_SetMainReady();
  Pictures();
  benchmark::RegisterBenchmark("BmpLoad", BmpLoad);
  benchmark::RegisterBenchmark("BmpMemcpy", BmpMemcpy);
  benchmark::RegisterBenchmark("Rle8Load", Rle8Load);
  benchmark::RegisterBenchmark("Rle8SdlLoadBmp", Rle8SdlLoadBmp);
  benchmark::RegisterBenchmark("Pcx8Load", Pcx8Load);
  benchmark::RegisterBenchmark("Pcx8ImageMagick", Pcx8ImageMagick);
  benchmark::RegisterBenchmark("JpegLoad", JpegLoad);
  benchmark::RegisterBenchmark("JpegLibjpeg", JpegLibjpeg);
  benchmark::RegisterBenchmark("Reduce256", Reduce256);
  benchmark::RegisterBenchmark("Reduce256Libimagequant", Reduce256Libimagequant);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  vel::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const Inputs& inputs = Pictures();
  std::printf("\n%dx%d photograph: BMP %zu bytes, RLE8 %zu, PCX %zu, JPEG %zu\n", kWidth, kHeight, inputs.bmp24.size(),
              inputs.rle8.size(), inputs.pcx8.size(), inputs.jpeg.size());
  PrintRatio(reporter, "BMP load / memcpy of its bytes", "BmpLoad", "BmpMemcpy", true, "<= 2");
  PrintRatio(reporter, "SDL_LoadBMP / RLE8 load (times faster)", "Rle8Load", "Rle8SdlLoadBmp", false, ">= 5");
  PrintRatio(reporter, "ImageMagick / PCX load (times faster)", "Pcx8Load", "Pcx8ImageMagick", false, ">= 10");
  PrintRatio(reporter, "JPEG load / libjpeg-turbo", "JpegLoad", "JpegLibjpeg", true, "<= 1.05");
  PrintRatio(reporter, "reduction / libimagequant", "Reduce256", "Reduce256Libimagequant", true, "<= 0.1");
  PrintQuality();
  MagickCoreTerminus();
  return 0;
}
