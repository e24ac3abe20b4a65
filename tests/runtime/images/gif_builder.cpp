#include "tests/runtime/images/gif_builder.h"

#include <algorithm>

namespace vel::images::testing {
namespace {

void PutU16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::vector<std::uint8_t> InterlacedOrder(const GifBuilder::Frame& frame) {
  std::vector<std::uint8_t> out;
  const int starts[] = {0, 4, 2, 1};
  const int steps[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = starts[pass]; y < frame.height; y += steps[pass]) {
      auto row = frame.indexes.begin() + static_cast<std::ptrdiff_t>(y) * frame.width;
      out.insert(out.end(), row, row + frame.width);
    }
  }
  return out;
}

}  // namespace

void CodePacker::Put(unsigned code, unsigned width) {
  m_bits |= code << m_count;
  m_count += width;
  while (m_count >= 8) {
    m_bytes.push_back(static_cast<std::uint8_t>(m_bits));
    m_bits >>= 8;
    m_count -= 8;
  }
}

std::vector<std::uint8_t> CodePacker::Finish() {
  if (m_count > 0) m_bytes.push_back(static_cast<std::uint8_t>(m_bits));
  m_bits = 0;
  m_count = 0;
  return std::move(m_bytes);
}

GifBuilder::Frame SolidFrame(int left, int top, int width, int height, std::uint8_t index) {
  GifBuilder::Frame frame;
  frame.left = left;
  frame.top = top;
  frame.width = width;
  frame.height = height;
  frame.minimumCodeSize = 2;
  frame.indexes.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), index);
  return frame;
}

unsigned TableSizeBits(std::size_t entries) {
  unsigned bits = 1;
  while ((std::size_t{1} << bits) < entries) ++bits;
  return bits;
}

std::vector<std::uint8_t> PlainCodes(const std::vector<std::uint8_t>& indexes, int minimumCodeSize) {
  unsigned clear = 1u << minimumCodeSize;
  unsigned width = static_cast<unsigned>(minimumCodeSize) + 1;
  // After a clear the first code adds nothing and each later one adds an entry; clear - 2 codes
  // leave the table one short of the size that widens the codes.
  std::size_t segment = clear - 2;
  CodePacker packer;
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    if (i % segment == 0) packer.Put(clear, width);
    packer.Put(indexes[i], width);
  }
  packer.Put(clear + 1, width);
  return packer.Finish();
}

GifBuilder::GifBuilder(int screenWidth, int screenHeight, const std::vector<std::uint32_t>& globalTable) {
  m_bytes = {'G', 'I', 'F', '8', '9', 'a'};
  PutU16(m_bytes, static_cast<unsigned>(screenWidth));
  PutU16(m_bytes, static_cast<unsigned>(screenHeight));
  std::uint8_t packed = 0x70;
  if (!globalTable.empty()) packed |= static_cast<std::uint8_t>(0x80 | (TableSizeBits(globalTable.size()) - 1));
  m_bytes.push_back(packed);
  m_bytes.push_back(0);
  m_bytes.push_back(0);
  if (!globalTable.empty()) Table(globalTable);
}

void GifBuilder::Table(const std::vector<std::uint32_t>& table) {
  std::size_t entries = std::size_t{1} << TableSizeBits(table.size());
  for (std::size_t i = 0; i < entries; ++i) {
    std::uint32_t colour = i < table.size() ? table[i] : 0;
    m_bytes.push_back(static_cast<std::uint8_t>(colour >> 16));
    m_bytes.push_back(static_cast<std::uint8_t>(colour >> 8));
    m_bytes.push_back(static_cast<std::uint8_t>(colour));
  }
}

void GifBuilder::SubBlocks(const std::vector<std::uint8_t>& data) {
  for (std::size_t at = 0; at < data.size(); at += 255) {
    std::size_t length = std::min<std::size_t>(255, data.size() - at);
    m_bytes.push_back(static_cast<std::uint8_t>(length));
    m_bytes.insert(m_bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + length));
  }
  m_bytes.push_back(0);
}

GifBuilder& GifBuilder::ImageWithData(const Frame& frame, const std::vector<std::uint8_t>& data) {
  m_bytes.push_back(0x2C);
  PutU16(m_bytes, static_cast<unsigned>(frame.left));
  PutU16(m_bytes, static_cast<unsigned>(frame.top));
  PutU16(m_bytes, static_cast<unsigned>(frame.width));
  PutU16(m_bytes, static_cast<unsigned>(frame.height));
  std::uint8_t packed = frame.interlaced ? 0x40 : 0;
  if (!frame.localTable.empty()) packed |= static_cast<std::uint8_t>(0x80 | (TableSizeBits(frame.localTable.size()) - 1));
  m_bytes.push_back(packed);
  if (!frame.localTable.empty()) Table(frame.localTable);
  m_bytes.push_back(static_cast<std::uint8_t>(frame.minimumCodeSize));
  SubBlocks(data);
  return *this;
}

GifBuilder& GifBuilder::Image(const Frame& frame) {
  return ImageWithData(frame, PlainCodes(frame.interlaced ? InterlacedOrder(frame) : frame.indexes, frame.minimumCodeSize));
}

GifBuilder& GifBuilder::GraphicControl(unsigned delay, int transparentIndex) {
  m_bytes.insert(m_bytes.end(), {0x21, 0xF9, 4});
  m_bytes.push_back(transparentIndex >= 0 ? 1 : 0);
  PutU16(m_bytes, delay);
  m_bytes.push_back(static_cast<std::uint8_t>(transparentIndex >= 0 ? transparentIndex : 0));
  m_bytes.push_back(0);
  return *this;
}

GifBuilder& GifBuilder::Looping(unsigned loopCount) {
  m_bytes.insert(m_bytes.end(), {0x21, 0xFF, 11});
  for (char c : std::string("NETSCAPE2.0")) m_bytes.push_back(static_cast<std::uint8_t>(c));
  m_bytes.insert(m_bytes.end(), {3, 1});
  PutU16(m_bytes, loopCount);
  m_bytes.push_back(0);
  return *this;
}

GifBuilder& GifBuilder::Comment(const std::string& text) {
  m_bytes.insert(m_bytes.end(), {0x21, 0xFE});
  SubBlocks(std::vector<std::uint8_t>(text.begin(), text.end()));
  return *this;
}

GifBuilder& GifBuilder::Raw(const std::vector<std::uint8_t>& bytes) {
  m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
  return *this;
}

std::vector<std::uint8_t> GifBuilder::Finish() const {
  std::vector<std::uint8_t> out = m_bytes;
  out.push_back(0x3B);
  return out;
}

}  // namespace vel::images::testing
