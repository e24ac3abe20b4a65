#include "tools/vel-image/picture_facts.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "runtime/images/bitmap_image.h"
#include "runtime/images/gif_image.h"
#include "runtime/images/icon_image.h"
#include "runtime/images/image_name.h"
#include "runtime/images/pcx_reader.h"

namespace vel::tools {
namespace {

struct Depth {
  int bits = 0;
  unsigned long long colors = 0;
};

// Colours a bitmap can show: its table's for 8 bits or fewer, its masks' for bit fields.
Depth BitmapDepth(const images::BitmapImage& bitmap) {
  const images::BmpLayout& layout = bitmap.Layout();
  Depth depth{layout.bitCount, 0};
  if (layout.bitCount <= 8) {
    depth.colors = layout.tableEntries != 0 ? layout.tableEntries : 1ull << layout.bitCount;
  } else if (layout.compression == BI_BITFIELDS && layout.info.size() >= 52) {
    int bits = 0;
    for (int i = 0; i < 3; ++i) {
      DWORD mask = 0;
      std::memcpy(&mask, layout.info.data() + 40 + 4 * i, 4);
      bits += std::popcount(mask);
    }
    depth.colors = 1ull << std::min(bits, 24);
  } else {
    depth.colors = 1ull << std::min(layout.bitCount == 16 ? 15 : 24, 24);
  }
  return depth;
}

Depth IconDepth(const images::IconImage& icon) {
  ICONINFO info{};
  Depth depth;
  if (icon.Handle() == nullptr || !GetIconInfo(icon.Handle(), &info)) return depth;
  BITMAP bitmap{};
  if (info.hbmColor != nullptr && GetObjectA(info.hbmColor, sizeof bitmap, &bitmap) == sizeof bitmap) {
    depth.bits = bitmap.bmBitsPixel;
    depth.colors = 1ull << std::min<int>(depth.bits, 24);
  }
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return depth;
}

// The global table's colours, else the first frame's own.
Depth GifDepth(const images::GifImage& gif) {
  const images::GifFile& file = gif.File();
  Depth depth{8, file.globalTableEntries};
  if (depth.colors != 0) return depth;
  for (const images::GifBlock& block : file.blocks) {
    if (block.kind != images::GifBlockKind::ImageDescriptor) continue;
    depth.colors = block.localTableEntries;
    break;
  }
  return depth;
}

// The frames, the loop count (as the file gives it, before any playing) and the delay the
// graphic control block before each frame gives it, in hundredths of a second.
void DescribeAnimation(const images::GifImage& gif, std::ostream& out) {
  std::string loop = "none";
  std::ostringstream delays;
  unsigned pendingDelay = 0;
  std::size_t frames = 0;
  for (const images::GifBlock& block : gif.File().blocks) {
    switch (block.kind) {
      case images::GifBlockKind::Looping:
        if (block.loopingPresent) loop = block.loopCount == 0 ? "0 (forever)" : std::to_string(block.loopCount);
        break;
      case images::GifBlockKind::GraphicControl: pendingDelay = block.delay; break;
      case images::GifBlockKind::ImageDescriptor:
        delays << (frames++ == 0 ? "" : " ") << pendingDelay;
        pendingDelay = 0;
        break;
      case images::GifBlockKind::OtherExtension: break;
    }
  }
  out << "frames: " << frames << "\n"
      << "loop count: " << loop << "\n"
      << "delays: " << delays.str() << "\n";
}

}  // namespace

std::string DescribePicture(images::Image& image) {
  Depth depth;
  auto* gif = dynamic_cast<images::GifImage*>(&image);
  if (auto* bitmap = dynamic_cast<images::BitmapImage*>(&image)) depth = BitmapDepth(*bitmap);
  if (auto* icon = dynamic_cast<images::IconImage*>(&image)) depth = IconDepth(*icon);
  if (gif != nullptr) depth = GifDepth(*gif);
  std::ostringstream out;
  out << "kind: " << image.KindTag() << "\n"
      << "width: " << image.NaturalSize().cx << "\n"
      << "height: " << image.NaturalSize().cy << "\n"
      << "bits: " << depth.bits << "\n"
      << "colors: " << depth.colors << "\n";
  if (gif != nullptr) DescribeAnimation(*gif, out);
  return out.str();
}

std::size_t FrameCount(const images::Image& image) {
  auto* gif = dynamic_cast<const images::GifImage*>(&image);
  return gif != nullptr ? gif->FrameCount() : 1;
}

bool ShowFrame(images::Image& image, std::size_t frame) {
  auto* gif = dynamic_cast<images::GifImage*>(&image);
  if (gif == nullptr) return frame == 0;
  if (frame >= gif->FrameCount()) return false;
  // Each advance shows the next frame over what the ones before it left.
  for (std::size_t shown = 0; shown <= frame; ++shown) {
    if (!gif->Advance()) return false;
  }
  return true;
}

std::string RefusalReason(const std::string& path) {
  if (!images::SameIgnoringCase(images::ReadImageName(path).extension, ".PCX")) return "";
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const char* reason = images::DecodePcx(bytes.data(), bytes.size()).refusal;
  return reason != nullptr ? reason : "";
}

}  // namespace vel::tools
