#include "runtime/values/evaluate_function_set.h"
#include "runtime/values/picture_compile.h"
#include "runtime/values/picture_deformat.h"
#include "runtime/values/picture_format.h"

namespace vel::values::functions {

namespace {

using PictureTransform = size_t (*)(const CompiledPicture&, const char*, size_t, char*, size_t);

/// Passes the text of the first argument through the picture in the second. A number goes in
/// as its exact decimal text, which every picture class knows how to read. No picture's result
/// outgrows the deformatting buffer. A second argument that is not a picture gives the empty
/// text, as the runtime's own formatting does, rather than failing the expression.
bool ThroughPicture(const Arguments& a, PictureTransform transform, ExpressionValue& r) {
  std::string pictureText = ValueAsText(a[1]);
  CompiledPicture picture;
  CompilePicture(pictureText.c_str(), picture);
  std::string value = ValueAsText(a[0]);
  char out[kDeformatBufferSize];
  std::size_t length = transform(picture, value.data(), value.size(), out, sizeof out);
  r = ExpressionValue::Text(std::string(out, length));
  return true;
}

}  // namespace

bool Format(const Arguments& a, ExpressionValue& r, std::string&) {
  return ThroughPicture(a, FormatWithPicture, r);
}

bool Deformat(const Arguments& a, ExpressionValue& r, std::string&) {
  return ThroughPicture(a, DeformatWithPicture, r);
}

}  // namespace vel::values::functions
