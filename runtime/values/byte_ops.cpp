#include "runtime/values/byte_ops.h"

#include <algorithm>
#include <cstring>

namespace vel::values {

namespace {

constexpr unsigned char kBlank = 32;
constexpr unsigned char kClearLow = 0;
constexpr unsigned char kClearHigh = 255;

// The number of source bytes that fit `room`, treating a negative length as empty.
std::uint32_t Fitting(std::int32_t sourceLength, std::uint32_t room) {
  if (sourceLength <= 0) return 0;
  return std::min(static_cast<std::uint32_t>(sourceLength), room);
}

}  // namespace

// The C library routines already move whole machine words once the destination is aligned and
// fall back to single bytes for short runs, which is the behaviour these primitives promise.
void FillBytes(char* destination, std::size_t count, unsigned char byte) {
  if (count == 0) return;
  std::memset(destination, byte, count);
}

void CopyBytes(char* destination, const char* source, std::size_t count) {
  if (count == 0) return;
  std::memcpy(destination, source, count);
}

void MoveBytes(char* destination, const char* source, std::size_t count) {
  if (count == 0) return;
  std::memmove(destination, source, count);
}

std::size_t CStringLength(const char* text) { return text == nullptr ? 0 : std::strlen(text); }

void BlankFill(char* destination, std::uint32_t size) { FillBytes(destination, size, kBlank); }

void AssignFixed(char* destination, std::uint32_t size, const char* source,
                 std::int32_t sourceLength) {
  if (source == nullptr) {
    unsigned char filler = sourceLength == 0 ? kBlank : sourceLength < 0 ? kClearLow : kClearHigh;
    FillBytes(destination, size, filler);
    return;
  }
  std::uint32_t copied = Fitting(sourceLength, size);
  MoveBytes(destination, source, copied);
  FillBytes(destination + copied, size - copied, kBlank);
}

void AssignCString(char* destination, std::uint32_t size, const char* source,
                   std::int32_t sourceLength) {
  if (size == 0) return;
  std::uint32_t room = size - 1;
  if (source == nullptr) {
    std::uint32_t filled = sourceLength > 0 ? room : 0;
    FillBytes(destination, filled, kClearHigh);
    destination[filled] = '\0';
    return;
  }
  std::uint32_t copied = Fitting(sourceLength, room);
  MoveBytes(destination, source, copied);
  destination[copied] = '\0';
}

void AssignPascal(char* destination, std::uint32_t size, const char* source,
                  std::int32_t sourceLength) {
  if (size == 0) return;
  // The length lives in one byte, so a buffer larger than 256 bytes still holds at most 255.
  std::uint32_t room = std::min(size - 1, kMaxPascalLength);
  std::uint32_t length = 0;
  if (source == nullptr) {
    if (sourceLength != 0) {
      length = room;
      FillBytes(destination + 1, length, sourceLength < 0 ? kClearLow : kClearHigh);
    }
  } else {
    length = Fitting(sourceLength, room);
    MoveBytes(destination + 1, source, length);
  }
  destination[0] = static_cast<char>(length);
}

}  // namespace vel::values
