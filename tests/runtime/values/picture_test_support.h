#pragma once
// Small helpers shared by the picture tests.

#include <string>

#include "runtime/values/picture_compile.h"
#include "runtime/values/picture_deformat.h"
#include "runtime/values/picture_format.h"

namespace vel::values::testing {

inline CompiledPicture Compile(const char* text) {
  CompiledPicture picture;
  CompilePicture(text, picture);
  return picture;
}

/// FORMAT of a value given as text.
inline std::string Format(const char* picture, const std::string& value) {
  const CompiledPicture compiled = Compile(picture);
  char out[300];
  const size_t length = FormatWithPicture(compiled, value.data(), value.size(), out, sizeof out);
  return std::string(out, length);
}

inline std::string FormatSerial(const char* picture, int32_t value) {
  const CompiledPicture compiled = Compile(picture);
  char out[300];
  return std::string(out, FormatNumber(compiled, value, out, sizeof out));
}

inline std::string Deformat(const char* picture, const std::string& text) {
  const CompiledPicture compiled = Compile(picture);
  char out[kDeformatBufferSize];
  return std::string(out, DeformatWithPicture(compiled, text.data(), text.size(), out, sizeof out));
}

}  // namespace vel::values::testing
