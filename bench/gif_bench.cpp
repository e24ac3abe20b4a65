// Decoding GIF pictures into the image's canvas against giflib decoding the same bytes from
// memory and laying its frames onto a canvas of indexes, as a giflib program shows them:
//   a 1024 x 1024 photograph-like picture (256 dithered colours)       (goal >= 2x faster)
//   a 30-frame animation: a full first frame, then 29 moving rectangles (goal >= 5x faster)
// Both files are written at start by giflib's own encoder. CPU time per iteration.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/ratio_reporter.h"
#include "runtime/images/gif_image.h"
#include "runtime/images/standard_image_kinds.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kPhotoSide = 1024;
constexpr int kAnimationWidth = 480;
constexpr int kAnimationHeight = 360;
constexpr int kAnimationFrames = 30;
constexpr int kSpriteWidth = 120;
constexpr int kSpriteHeight = 90;

// A steady pseudo-random stream, so that every run measures the same bytes.
struct Noise {
  std::uint32_t state = 0x9E3779B9u;
  std::uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
};

// The 6 x 7 x 6 colour cube (252 colours), padded with greys to 256.
std::vector<GifColorType> CubePalette() {
  std::vector<GifColorType> palette;
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 7; ++g) {
      for (int b = 0; b < 6; ++b) {
        palette.push_back(GifColorType{static_cast<GifByteType>(r * 51), static_cast<GifByteType>(g * 255 / 6),
                                       static_cast<GifByteType>(b * 51)});
      }
    }
  }
  while (palette.size() < 256) {
    auto grey = static_cast<GifByteType>(palette.size() - 252 + 100);
    palette.push_back(GifColorType{grey, grey, grey});
  }
  return palette;
}

// A smooth, photograph-like field of colour, dithered into the cube with a little noise, as a
// photograph reduced to 256 colours looks to a compressor.
std::vector<GifByteType> PhotoIndexes(int width, int height, double phase, Noise& noise) {
  std::vector<GifByteType> indexes(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double fx = x / 97.0 + phase;
      double fy = y / 131.0 - phase;
      double r = 0.5 + 0.5 * std::sin(fx + 0.7 * std::cos(fy * 1.3));
      double g = 0.5 + 0.5 * std::sin(fy * 1.1 + std::sin(fx * 0.6));
      double b = 0.5 + 0.5 * std::cos((fx + fy) * 0.8);
      double dither = ((noise.Next() & 0xFF) / 255.0 - 0.5) * 0.9;
      int ri = std::clamp(static_cast<int>(r * 5 + 0.5 + dither), 0, 5);
      int gi = std::clamp(static_cast<int>(g * 6 + 0.5 + dither), 0, 6);
      int bi = std::clamp(static_cast<int>(b * 5 + 0.5 + dither), 0, 5);
      indexes[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
          static_cast<GifByteType>(ri * 42 + gi * 6 + bi);
    }
  }
  return indexes;
}

int WriteToBytes(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

struct ReadPosition {
  const Bytes* bytes;
  std::size_t at;
};

int ReadFromBytes(GifFileType* gif, GifByteType* data, int length) {
  auto* position = static_cast<ReadPosition*>(gif->UserData);
  std::size_t left = position->bytes->size() - position->at;
  std::size_t count = std::min(left, static_cast<std::size_t>(length));
  std::memcpy(data, position->bytes->data() + position->at, count);
  position->at += count;
  return static_cast<int>(count);
}

class GifWriter {
 public:
  GifWriter(int width, int height) {
    int error = 0;
    m_gif = EGifOpen(&m_bytes, WriteToBytes, &error);
    EGifSetGifVersion(m_gif, true);
    std::vector<GifColorType> palette = CubePalette();
    ColorMapObject* map = GifMakeMapObject(256, palette.data());
    EGifPutScreenDesc(m_gif, width, height, 8, 0, map);
    GifFreeMapObject(map);
  }
  void Looping() {
    const GifByteType identifier[] = "NETSCAPE2.0";
    const GifByteType count[] = {1, 0, 0};
    EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(m_gif, 11, identifier);
    EGifPutExtensionBlock(m_gif, 3, count);
    EGifPutExtensionTrailer(m_gif);
  }
  void Frame(int left, int top, int width, int height, std::vector<GifByteType>& indexes, int delay) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, delay, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    EGifPutImageDesc(m_gif, left, top, width, height, false, nullptr);
    for (int y = 0; y < height; ++y) EGifPutLine(m_gif, indexes.data() + static_cast<std::size_t>(y) * width, width);
  }
  Bytes Finish() {
    int error = 0;
    EGifCloseFile(m_gif, &error);
    return std::move(m_bytes);
  }

 private:
  Bytes m_bytes;
  GifFileType* m_gif = nullptr;
};

struct Inputs {
  Bytes photo;
  Bytes animation;
};

const Inputs& Pictures() {
  static const Inputs inputs = [] {
    Inputs made;
    Noise noise;
    GifWriter photo(kPhotoSide, kPhotoSide);
    std::vector<GifByteType> photoIndexes = PhotoIndexes(kPhotoSide, kPhotoSide, 0.0, noise);
    photo.Frame(0, 0, kPhotoSide, kPhotoSide, photoIndexes, 0);
    made.photo = photo.Finish();

    GifWriter animation(kAnimationWidth, kAnimationHeight);
    animation.Looping();
    std::vector<GifByteType> background = PhotoIndexes(kAnimationWidth, kAnimationHeight, 1.0, noise);
    animation.Frame(0, 0, kAnimationWidth, kAnimationHeight, background, 4);
    for (int n = 1; n < kAnimationFrames; ++n) {
      std::vector<GifByteType> sprite = PhotoIndexes(kSpriteWidth, kSpriteHeight, 0.2 * n, noise);
      int left = (n * 37) % (kAnimationWidth - kSpriteWidth);
      int top = (n * 23) % (kAnimationHeight - kSpriteHeight);
      animation.Frame(left, top, kSpriteWidth, kSpriteHeight, sprite, 4);
    }
    made.animation = animation.Finish();
    return made;
  }();
  return inputs;
}

// Opens the bytes as a GIF image (keeping the caller's bytes, as giflib reads them in place) and
// decodes every frame into its canvas.
void DecodeThroughImageObject(benchmark::State& state, const Bytes& bytes, int frames) {
  const vel::images::ImageOwner owner;
  for (auto _ : state) {
    std::unique_ptr<vel::images::Image> image = vel::images::CreateImageFromData(
        owner, bytes.data(), bytes.size(), vel::images::image_flags::kKeepCallerBytes);
    auto* gif = dynamic_cast<vel::images::GifImage*>(image.get());
    if (gif == nullptr) {
      state.SkipWithError("the runtime made no GIF image");
      break;
    }
    for (int i = 0; i < frames; ++i) gif->Advance();
    benchmark::DoNotOptimize(gif->Canvas()->Bits());
  }
}

// giflib reads the whole file (DGifSlurp) and the frames are laid onto a canvas of indexes.
void DecodeWithGiflib(benchmark::State& state, const Bytes& bytes) {
  for (auto _ : state) {
    ReadPosition position{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&position, ReadFromBytes, &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
      state.SkipWithError("giflib read no picture");
      break;
    }
    std::vector<GifByteType> canvas(static_cast<std::size_t>(gif->SWidth) * static_cast<std::size_t>(gif->SHeight));
    for (int i = 0; i < gif->ImageCount; ++i) {
      const SavedImage& frame = gif->SavedImages[i];
      const GifImageDesc& d = frame.ImageDesc;
      for (int y = 0; y < d.Height; ++y) {
        std::memcpy(canvas.data() + static_cast<std::size_t>(d.Top + y) * gif->SWidth + d.Left,
                    frame.RasterBits + static_cast<std::size_t>(y) * d.Width, static_cast<std::size_t>(d.Width));
      }
    }
    benchmark::DoNotOptimize(canvas.data());
    DGifCloseFile(gif, &error);
  }
}

void PhotoDecode(benchmark::State& state) { DecodeThroughImageObject(state, Pictures().photo, 1); }
void PhotoGiflib(benchmark::State& state) { DecodeWithGiflib(state, Pictures().photo); }
void AnimationDecode(benchmark::State& state) { DecodeThroughImageObject(state, Pictures().animation, kAnimationFrames); }
void AnimationGiflib(benchmark::State& state) { DecodeWithGiflib(state, Pictures().animation); }

void PrintRatio(const vel::bench::RatioReporter& reporter, const char* what, const char* ours, const char* theirs,
                const char* goal) {
  double a = reporter.Nanoseconds(ours);
  double b = reporter.Nanoseconds(theirs);
  if (a <= 0 || b <= 0) return;
  std::printf("%-44s %9.1f us vs %9.1f us: ratio %.3f (goal %s)\n", what, a / 1000, b / 1000, b / a, goal);
}

}  // namespace

int main(int argc, char** argv) {
  Pictures();
  benchmark::RegisterBenchmark("PhotoDecode", PhotoDecode);
  benchmark::RegisterBenchmark("PhotoGiflib", PhotoGiflib);
  benchmark::RegisterBenchmark("AnimationDecode", AnimationDecode);
  benchmark::RegisterBenchmark("AnimationGiflib", AnimationGiflib);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  vel::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const Inputs& inputs = Pictures();
  std::printf("\nphotograph %dx%d: %zu bytes; animation %dx%d, %d frames: %zu bytes\n", kPhotoSide, kPhotoSide,
              inputs.photo.size(), kAnimationWidth, kAnimationHeight, kAnimationFrames, inputs.animation.size());
  PrintRatio(reporter, "giflib / photograph decode (times faster)", "PhotoDecode", "PhotoGiflib", ">= 2");
  PrintRatio(reporter, "giflib / animation decode (times faster)", "AnimationDecode", "AnimationGiflib", ">= 5");
  return 0;
}
