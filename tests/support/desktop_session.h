#pragma once
// What the tests that drive programs on a virtual X server share: whether a tool they need is
// installed, reading what a driver script left behind, and reading pixels of an X window dump.
// Header-only, so that test binaries without the support library can use it too.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vel::testing {

inline bool OnPath(const char* program) {
  const std::string command = std::string("command -v ") + program + " > /dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

/// The whole file, or an empty text when it cannot be read (a driver that failed early).
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

/// The colour (0xRRGGBB) of a pixel in an X window dump, or -1 when the dump is not one this
/// reader understands (24 or 32 bits a pixel, blue first) or the pixel lies outside it.
inline long DumpPixel(const std::string& dump, int x, int y) {
  auto field = [&](int index) -> std::uint32_t {
    if (dump.size() < static_cast<size_t>(index * 4 + 4)) return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(dump.data() + index * 4);
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
  };
  const std::uint32_t headerSize = field(0);
  const std::uint32_t width = field(4);
  const std::uint32_t bitsPerPixel = field(11);
  const std::uint32_t bytesPerLine = field(12);
  const std::uint32_t colours = field(19);
  if ((bitsPerPixel != 24 && bitsPerPixel != 32) || x < 0 || y < 0 || static_cast<std::uint32_t>(x) >= width) return -1;
  const size_t at = headerSize + static_cast<size_t>(colours) * 12 + static_cast<size_t>(y) * bytesPerLine +
                    static_cast<size_t>(x) * (bitsPerPixel / 8);
  if (at + 3 > dump.size()) return -1;
  const auto* pixel = reinterpret_cast<const unsigned char*>(dump.data() + at);
  return (long{pixel[2]} << 16) | (long{pixel[1]} << 8) | pixel[0];
}

}  // namespace vel::testing
