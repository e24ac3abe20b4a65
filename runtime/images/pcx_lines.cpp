#include "runtime/images/pcx_lines.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace vel::images {
namespace {

// A byte with both top bits set starts a run: its low six bits count the copies of the byte
// after it. Any other byte stands for itself.
constexpr unsigned kRunMark = 0xC0;
constexpr unsigned kRunCount = 0x3F;

// The fast path decodes eight codes a step from the next 16 bytes (a code takes one or two),
// and writes 16 bytes of each code's value whatever its count; it starts a step while the line
// is not full, so it may write up to eight longest runs beyond the line's end.
constexpr std::size_t kCodesPerStep = 8;
constexpr std::size_t kStepBytes = 16;
constexpr std::size_t kStoreBytes = 16;
constexpr std::size_t kRoomBeyondLine = kCodesPerStep * kRunCount + kStoreBytes;

// Where four codes lie in eight bytes that start with a code, told by which of the bytes mark
// runs: the same for every line, so it is worked out once for each of the 256 patterns. Finding
// them one after another would make every code wait for the one before it.
struct CodePlaces {
  std::uint8_t first[4] = {};  ///< Each code's first byte.
  std::uint8_t value[4] = {};  ///< Each code's value: the byte itself, or the one after a run's mark.
  std::uint8_t bytes = 0;      ///< The bytes the four codes take.
};

constexpr std::array<CodePlaces, 256> MakeCodePlaces() {
  std::array<CodePlaces, 256> table{};
  for (unsigned marks = 0; marks < 256; ++marks) {
    unsigned at = 0;
    for (unsigned code = 0; code < 4; ++code) {
      unsigned run = (marks >> at) & 1;
      table[marks].first[code] = static_cast<std::uint8_t>(at);
      table[marks].value[code] = static_cast<std::uint8_t>(at + run);
      at += 1 + run;
    }
    table[marks].bytes = static_cast<std::uint8_t>(at);
  }
  return table;
}

constexpr std::array<std::uint8_t, 256> MakeCounts() {
  std::array<std::uint8_t, 256> counts{};
  for (unsigned byte = 0; byte < 256; ++byte)
    counts[byte] = static_cast<std::uint8_t>(byte >= kRunMark ? byte & kRunCount : 1);
  return counts;
}

using Copies = std::array<std::uint8_t, kStoreBytes>;

constexpr std::array<Copies, 256> MakeCopies() {
  std::array<Copies, 256> copies{};
  for (unsigned byte = 0; byte < 256; ++byte) copies[byte].fill(static_cast<std::uint8_t>(byte));
  return copies;
}

constexpr std::array<CodePlaces, 256> kCodePlaces = MakeCodePlaces();
constexpr std::array<std::uint8_t, 256> kCounts = MakeCounts();
constexpr std::array<Copies, 256> kCopies = MakeCopies();

std::uint64_t LoadLittleEndian(const std::uint8_t* at) {
  std::uint64_t bytes;
  std::memcpy(&bytes, at, sizeof bytes);
  if constexpr (std::endian::native == std::endian::big) bytes = __builtin_bswap64(bytes);
  return bytes;
}

// One bit for each of eight bytes, set when the byte marks a run.
unsigned RunMarks(std::uint64_t eightBytes) {
  std::uint64_t marks = eightBytes & (eightBytes << 1) & 0x8080808080808080u;
  return static_cast<unsigned>((marks * 0x0002040810204081u) >> 56);
}

// Four codes, without a branch on their kind: whether a code is a run is as good as random in a
// photograph, and a mispredicted branch would cost more than writing 16 bytes.
inline void DecodeFourCodes(const std::uint8_t* at, const CodePlaces& places, std::uint8_t*& out) {
  for (unsigned code = 0; code < 4; ++code) {
    unsigned count = kCounts[at[places.first[code]]];
    std::uint8_t value = at[places.value[code]];
    std::memcpy(out, kCopies[value].data(), kStoreBytes);
    if (count > kStoreBytes) [[unlikely]] {
      std::memset(out + kStoreBytes, value, count - kStoreBytes);
    }
    out += count;
  }
}

}  // namespace

PcxLineDecoder::PcxLineDecoder(const std::uint8_t* data, std::size_t size, bool coded, std::size_t lineBytes)
    : m_at(data),
      m_end(data + size),
      m_coded(coded),
      m_lineBytes(lineBytes),
      m_line(coded ? lineBytes + kRoomBeyondLine : lineBytes) {}

const std::uint8_t* PcxLineDecoder::NextLine() {
  std::uint8_t* line = m_line.data();
  auto left = static_cast<std::size_t>(m_end - m_at);
  if (!m_coded) {
    // Whole plain lines are read where they are.
    if (left >= m_lineBytes) {
      const std::uint8_t* at = m_at;
      m_at += m_lineBytes;
      return at;
    }
    std::memcpy(line, m_at, left);
    std::memset(line + left, 0, m_lineBytes - left);
    m_at = m_end;
    return line;
  }
  std::memmove(line, line + m_lineBytes, m_beyondLine);
  std::uint8_t* lineEnd = line + m_lineBytes;
  std::uint8_t* out = line + m_beyondLine;
  if (out < lineEnd) out = DecodeFast(out, lineEnd);
  if (out < lineEnd) out = DecodeCarefully(out, lineEnd);
  m_beyondLine = static_cast<std::size_t>(out - lineEnd);
  return line;
}

std::uint8_t* PcxLineDecoder::DecodeFast(std::uint8_t* out, const std::uint8_t* lineEnd) {
  const std::uint8_t* at = m_at;
  while (out < lineEnd && static_cast<std::size_t>(m_end - at) >= kStepBytes) {
    unsigned marks = RunMarks(LoadLittleEndian(at)) | RunMarks(LoadLittleEndian(at + 8)) << 8;
    const CodePlaces& firstFour = kCodePlaces[marks & 0xFF];
    const CodePlaces& nextFour = kCodePlaces[(marks >> firstFour.bytes) & 0xFF];
    DecodeFourCodes(at, firstFour, out);
    DecodeFourCodes(at + firstFour.bytes, nextFour, out);
    at += firstFour.bytes + nextFour.bytes;
  }
  m_at = at;
  return out;
}

std::uint8_t* PcxLineDecoder::DecodeCarefully(std::uint8_t* out, std::uint8_t* lineEnd) {
  // The last bytes of the data, one code at a time, each byte checked to be there.
  const std::uint8_t* at = m_at;
  while (out < lineEnd) {
    if (at == m_end) {
      std::memset(out, 0, static_cast<std::size_t>(lineEnd - out));
      out = lineEnd;
      break;
    }
    std::uint8_t first = *at++;
    if (first < kRunMark) {
      *out++ = first;
      continue;
    }
    std::size_t count = first & kRunCount;
    std::uint8_t value = at < m_end ? *at++ : 0;
    std::memset(out, value, count);
    out += count;
  }
  m_at = at;
  return out;
}

}  // namespace vel::images
