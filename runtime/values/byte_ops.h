#pragma once

#include <cstddef>
#include <cstdint>

namespace vel::values {

/// Fills `count` bytes at `destination` with `byte`.
void FillBytes(char* destination, std::size_t count, unsigned char byte);

/// Copies `count` bytes forward from `source` to `destination`; the ranges must not overlap.
void CopyBytes(char* destination, const char* source, std::size_t count);

/// Copies `count` bytes from `source` to `destination`; the ranges may overlap.
void MoveBytes(char* destination, const char* source, std::size_t count);

/// Counts the bytes of `text` up to its first zero byte; a null pointer counts as 0.
std::size_t CStringLength(const char* text);

/// Fills a fixed string of `size` bytes with blanks, which is its cleared state.
void BlankFill(char* destination, std::uint32_t size);

/// Assigns a value to a fixed string of `size` bytes: copies min(sourceLength, size) bytes and
/// pads the rest with blanks. With no source data, `sourceLength` selects the clear filler:
/// 0 gives blanks, negative gives bytes 0, positive gives bytes 255. The source may overlap the
/// destination.
void AssignFixed(char* destination, std::uint32_t size, const char* source,
                 std::int32_t sourceLength);

/// Assigns a value to a zero-terminated buffer of `size` bytes: copies
/// min(sourceLength, size - 1) bytes and a zero byte; a size of 0 writes nothing. With no source
/// data, 0 or a negative length leaves the buffer empty and a positive length fills size - 1
/// bytes 255 before the zero byte.
void AssignCString(char* destination, std::uint32_t size, const char* source,
                   std::int32_t sourceLength);

/// Assigns a value to a length-prefixed buffer of `size` bytes: the first byte holds the length
/// n = min(sourceLength, size - 1, 255) and the n bytes follow; a size of 0 writes nothing. With
/// no source data, 0 gives length 0, negative gives the longest value of bytes 0 and positive
/// the longest value of bytes 255.
void AssignPascal(char* destination, std::uint32_t size, const char* source,
                  std::int32_t sourceLength);

/// The longest value a length-prefixed string can hold: its length must fit the first byte.
inline constexpr std::uint32_t kMaxPascalLength = 255;

}  // namespace vel::values
