#include "runtime/values/evaluate_function_set.h"
#include "runtime/values/picture_compile.h"
#include "runtime/values/picture_deformat.h"
#include "runtime/values/picture_format.h"

namespace vel::values::functions {

namespace {

/// Compiles the picture argument; false for text that is not a picture.
bool CompileArgument(const ExpressionValue& argument, std::string& text, CompiledPicture& picture,
                     std::string& problem) {
  text = ValueAsText(argument);
  CompilePicture(text.c_str(), picture);
  if (!picture.IsValid()) {
    problem = "invalid picture";
    return false;
  }
  return true;
}

}  // namespace

bool Format(const Arguments& a, ExpressionValue& r, std::string& problem) {
  std::string pictureText;
  CompiledPicture picture;
  if (!CompileArgument(a[1], pictureText, picture, problem)) return false;
  // A number goes in as its exact decimal text, which every picture class knows how to read.
  std::string value = ValueAsText(a[0]);
  char out[kDeformatBufferSize];
  std::size_t length = FormatWithPicture(picture, value.data(), value.size(), out, sizeof out);
  r = ExpressionValue::Text(std::string(out, length));
  return true;
}

bool Deformat(const Arguments& a, ExpressionValue& r, std::string& problem) {
  std::string pictureText;
  CompiledPicture picture;
  if (!CompileArgument(a[1], pictureText, picture, problem)) return false;
  std::string value = ValueAsText(a[0]);
  char out[kDeformatBufferSize];
  std::size_t length = DeformatWithPicture(picture, value.data(), value.size(), out, sizeof out);
  r = ExpressionValue::Text(std::string(out, length));
  return true;
}

}  // namespace vel::values::functions
