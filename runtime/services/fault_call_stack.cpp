#include "runtime/services/fault_call_stack.h"

#include <cstring>

#include "runtime/services/fault_line.h"
#include "runtime/services/fault_memory.h"

namespace vel::services {
namespace {

// The parts of the 64-bit ELF file header and program header the lookup reads.
constexpr unsigned char kElfMagic[4] = {0x7F, 'E', 'L', 'F'};
constexpr unsigned char kElfClass64 = 2;
constexpr std::size_t kElfHeaderSize = 64;
constexpr std::size_t kProgramHeaderOffsetAt = 0x20;
constexpr std::size_t kProgramHeaderSizeAt = 0x36;
constexpr std::size_t kProgramHeaderCountAt = 0x38;
constexpr std::size_t kProgramHeaderSize = 56;
constexpr std::uint32_t kLoadableSegment = 1;
constexpr std::uint64_t kPageMask = ~std::uint64_t{0xFFF};

// A frame walk ends here even on a chain that keeps looking sound.
constexpr int kMaxFrames = 256;

struct Segment {
  std::uint32_t type;
  std::uint64_t address;
  std::uint64_t fileSize;
  std::uint64_t memorySize;
};

template <typename T>
T Field(const unsigned char* bytes, std::size_t at) {
  T value;
  std::memcpy(&value, bytes + at, sizeof value);
  return value;
}

bool ReadSegment(std::uint64_t headers, std::uint16_t entrySize, std::uint16_t index, Segment& segment) {
  unsigned char bytes[kProgramHeaderSize];
  if (!ReadFaultMemory(static_cast<std::uintptr_t>(headers + std::uint64_t{index} * entrySize), bytes, sizeof bytes)) {
    return false;
  }
  segment.type = Field<std::uint32_t>(bytes, 0);
  segment.address = Field<std::uint64_t>(bytes, 16);
  segment.fileSize = Field<std::uint64_t>(bytes, 32);
  segment.memorySize = Field<std::uint64_t>(bytes, 40);
  return true;
}

}  // namespace

ImagePlace FindImagePlace(std::uint64_t base, std::uint64_t address) {
  unsigned char header[kElfHeaderSize];
  if (address < base || !ReadFaultMemory(static_cast<std::uintptr_t>(base), header, sizeof header) ||
      std::memcmp(header, kElfMagic, sizeof kElfMagic) != 0 || header[4] != kElfClass64) {
    return {};
  }
  // The first loadable segment starts at the file's beginning, so the program headers lie at
  // their file offset from the image's base.
  const std::uint64_t headers = base + Field<std::uint64_t>(header, kProgramHeaderOffsetAt);
  const auto entrySize = Field<std::uint16_t>(header, kProgramHeaderSizeAt);
  const auto count = Field<std::uint16_t>(header, kProgramHeaderCountAt);
  if (entrySize < kProgramHeaderSize) return {};
  bool haveFirst = false;
  std::uint64_t first = 0;
  for (std::uint16_t i = 0; i < count; ++i) {
    Segment segment;
    if (!ReadSegment(headers, entrySize, i, segment)) return {};
    if (segment.type != kLoadableSegment) continue;
    if (!haveFirst || segment.address < first) first = segment.address;
    haveFirst = true;
  }
  first &= kPageMask;
  const std::uint64_t offset = address - base;
  std::uint32_t number = 0;
  for (std::uint16_t i = 0; i < count; ++i) {
    Segment segment;
    if (!ReadSegment(headers, entrySize, i, segment)) return {};
    if (segment.type != kLoadableSegment) continue;
    ++number;
    const std::uint64_t start = segment.address - first;
    const std::uint64_t length = segment.fileSize > segment.memorySize ? segment.fileSize : segment.memorySize;
    if (start <= offset && offset <= start + length) return ImagePlace{number, offset - start};
  }
  return {};
}

void WriteCallStackBlock(HFILE file, std::uint64_t instructionPointer, std::uint64_t framePointer,
                         const LoadedModuleTable& modules) {
  FaultLine().Text("Call Stack:\r\n").WriteTo(file);
  std::uint64_t code = instructionPointer;
  std::uint64_t frame = framePointer;
  for (int i = 0; i < kMaxFrames; ++i) {
    // A module whose section cannot be told gives no name either, as for an unknown address.
    const LoadedModule* module = modules.Find(code);
    const ImagePlace place = module != nullptr ? FindImagePlace(module->base, code) : ImagePlace{};
    FaultLine()
        .Hex(code, 8, true)
        .Text("  ")
        .Hex(frame, 8, true)
        .Text("  ")
        .Hex(place.section, 4, true)
        .Text(":")
        .Hex(place.offset, 8, true)
        .Text(" ")
        .Text(place.section != 0 ? module->name : "")
        .EndLine("\n")
        .WriteTo(file);
    // The frame keeps the caller's frame pointer, and above it the return address.
    std::uint64_t saved[2];
    if (!ReadFaultMemory(static_cast<std::uintptr_t>(frame), saved, sizeof saved)) return;
    const std::uint64_t next = saved[0];
    if (next % sizeof(std::uint64_t) != 0 || next <= frame ||
        !IsFaultMemoryWritable(static_cast<std::uintptr_t>(next), sizeof saved)) {
      return;
    }
    code = saved[1];
    frame = next;
  }
}

}  // namespace vel::services
