#include "tests/runtime/images/image_test_support.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/platform/gdi/canvas.h"

namespace vel::images::testing {
namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::string PicturePath(const std::string& name) { return std::string(VEL_SOURCE_DIR) + "/tests/data/images/" + name; }

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::uint8_t> BmpFile(int width, int height, int bitCount, DWORD compression,
                                  const std::vector<std::uint32_t>& table, const std::vector<std::uint8_t>& rows) {
  std::vector<std::uint8_t> out{'B', 'M'};
  auto offset = static_cast<std::uint32_t>(14 + 40 + 4 * table.size());
  PutU32(out, offset + static_cast<std::uint32_t>(rows.size()));
  PutU32(out, 0);
  PutU32(out, offset);
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(height));
  PutU16(out, 1);
  PutU16(out, static_cast<std::uint16_t>(bitCount));
  PutU32(out, compression);
  PutU32(out, static_cast<std::uint32_t>(rows.size()));
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, static_cast<std::uint32_t>(table.size()));
  PutU32(out, 0);
  for (std::uint32_t color : table) PutU32(out, color);
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

std::unique_ptr<platform::Surface> DrawnPixels(Image& image, COLORREF background) {
  SIZE size = image.NaturalSize();
  platform::testing::Canvas canvas(size.cx, size.cy, background);
  image.Draw(canvas.Dc(), 0, 0, size.cx, size.cy);
  auto copy = std::make_unique<platform::Surface>(size.cx, size.cy);
  for (int y = 0; y < size.cy; ++y) {
    for (int x = 0; x < size.cx; ++x) copy->SetPixel(x, y, canvas.Pixels().Pixel(x, y) & 0xFFFFFF);
  }
  return copy;
}

std::string CompareWithReference(const platform::Surface& drawn, const platform::Surface& reference,
                                 COLORREF background) {
  std::ostringstream out;
  if (drawn.Width() != reference.Width() || drawn.Height() != reference.Height()) {
    out << "drawn " << drawn.Width() << "x" << drawn.Height() << ", reference " << reference.Width() << "x"
        << reference.Height();
    return out.str();
  }
  int differences = 0;
  for (int y = 0; y < drawn.Height(); ++y) {
    for (int x = 0; x < drawn.Width(); ++x) {
      std::uint32_t expected = reference.Pixel(x, y);
      std::uint32_t alpha = expected >> 24;
      std::uint32_t want = alpha == 0 ? platform::PixelFromColor(background) : expected & 0xFFFFFF;
      std::uint32_t got = Rgb(drawn, x, y);
      if (got == want) continue;
      if (differences++ < 5) {
        out << std::hex << "(" << std::dec << x << "," << y << ") drawn 0x" << std::hex << got << " expected 0x"
            << want << "; ";
      }
    }
  }
  if (differences > 0) out << std::dec << differences << " pixels differ";
  return out.str();
}

}  // namespace vel::images::testing
