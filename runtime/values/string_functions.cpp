#include "runtime/values/string_functions.h"

#include <new>

#include "runtime/values/byte_ops.h"
#include "runtime/values/picture_compile.h"
#include "runtime/values/picture_deformat.h"
#include "runtime/values/picture_format.h"
#include "runtime/values/reference_errors.h"
#include "runtime/values/string_stack.h"

namespace vel::values {

void FormatTopWithPicture(const char* picture) {
  CompiledPicture compiled;
  CompilePicture(picture, compiled);
  char formatted[256];
  const StringView value = TopView();
  const size_t length = FormatWithPicture(compiled, value.data, value.length, formatted, sizeof formatted);
  DropTop();
  PushBytes(formatted, static_cast<uint32_t>(length));
}

void DeformatTopWithPicture(const char* picture) {
  CompiledPicture compiled;
  CompilePicture(picture, compiled);
  char result[kDeformatBufferSize];
  const StringView text = TopView();
  const size_t length = DeformatWithPicture(compiled, text.data, text.length, result, sizeof result);
  DropTop();
  PushBytes(result, static_cast<uint32_t>(length));
}

void SubstringReference::Assign(const char* value, uint32_t length) {
  // Only the slice width can take part, which also keeps the length within the signed range.
  const uint32_t used = length < m_size ? length : m_size;
  AssignFixed(m_data, m_size, value, static_cast<int32_t>(used));
}

void SubstringReference::Push() const { PushString(m_data, m_size); }

std::unique_ptr<SubstringReference> SliceString(char* storage, uint32_t declaredSize, int32_t start,
                                                int32_t end) {
  if (storage == nullptr || start < 1 || start > end || static_cast<uint32_t>(end) > declaredSize) {
    RaiseValueRuntimeError(kErrorSlice, kParameterTypingText);
    return nullptr;
  }
  return std::unique_ptr<SubstringReference>(new (std::nothrow) SubstringReference(
      storage + (start - 1), static_cast<uint32_t>(end - start + 1)));
}

}  // namespace vel::values
