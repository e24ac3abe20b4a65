#include "runtime/values/reference_pictured.h"

#include <string>

#include "runtime/values/decimal_stack.h"
#include "runtime/values/decimal_text.h"
#include "runtime/values/number_conversions.h"
#include "runtime/values/number_text.h"
#include "runtime/values/picture_deformat.h"
#include "runtime/values/picture_format.h"
#include "runtime/values/string_stack.h"

namespace vel::values {

template <int Kind>
PicturedReference<Kind>::PicturedReference(const CompiledPicture& picture, void* data)
    : StringKindReference<18>(data, static_cast<std::uint32_t>(picture.Width()), false, nullptr),
      m_picture(&picture) {}

template <int Kind>
void PicturedReference<Kind>::Store(const char* text, std::size_t length) {
  if (m_data == nullptr) return;
  char formatted[kDeformatBufferSize];
  std::size_t written = FormatWithPicture(*m_picture, text, length, formatted, sizeof formatted);
  PushBytes(formatted, static_cast<std::uint32_t>(written));
  PopToFixed(Chars(), m_size);
}

template <int Kind>
std::string PicturedReference<Kind>::Value() const {
  StringView text = Text();
  if (Kind == 0) return std::string(text.data == nullptr ? "" : text.data, text.length);
  char value[kDeformatBufferSize];
  std::size_t length = DeformatWithPicture(*m_picture, text.data, text.length, value, sizeof value);
  return std::string(value, length);
}

template <int Kind>
void PicturedReference<Kind>::SetInt(std::int32_t value) {
  char text[kLongTextSize];
  Store(text, FormatLong(value, text));
}

template <int Kind>
void PicturedReference<Kind>::SetReal(double value) {
  char text[kRealTextSize];
  Store(text, FormatReal(value, text));
}

template <int Kind>
void PicturedReference<Kind>::AssignFromStack() {
  OwnedString text;
  PopToOwned(text);
  Store(text.data, text.length);
  FreeOwnedString(text);
}

template <int Kind>
void PicturedReference<Kind>::AssignFromDecimal() {
  char text[kMaxDecimalTextLength];
  std::size_t length = DecimalToText(CurrentDecimalStack().PopEntry(), text);
  Store(text, length);
}

template <int Kind>
void PicturedReference<Kind>::PushDecimal() {
  std::string value = Value();
  CurrentDecimalStack().Push(DecimalFromText(value.data(), value.size()));
}

template <int Kind>
double PicturedReference<Kind>::GetReal() {
  std::string value = Value();
  return ReadFloat64Text(value.data(), value.size());
}

template <int Kind>
std::int32_t PicturedReference<Kind>::GetInt() {
  std::string value = Value();
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(TextToInteger(value.data(), value.size())));
}

template <int Kind>
int PicturedReference<Kind>::IsZero() {
  if (Kind == 0) return StringKindReference<18>::IsZero();
  return GetReal() == 0 ? 1 : 0;
}

template <int Kind>
std::unique_ptr<ValueReference> PicturedReference<Kind>::Clone() const {
  return std::make_unique<PicturedReference<Kind>>(*m_picture, m_data);
}

template class PicturedReference<0>;
template class PicturedReference<1>;
template class PicturedReference<2>;
template class PicturedReference<3>;

std::unique_ptr<ValueReference> CreatePicturedReference(const CompiledPicture& picture,
                                                        void* address) {
  if (!picture.IsValid()) return nullptr;
  switch (picture.ValueKind()) {
    case PictureValueKind::Text: return std::make_unique<PicturedReference<0>>(picture, address);
    case PictureValueKind::DateOrTime:
      return std::make_unique<PicturedReference<1>>(picture, address);
    case PictureValueKind::Scientific:
      return std::make_unique<PicturedReference<2>>(picture, address);
    default: return std::make_unique<PicturedReference<3>>(picture, address);
  }
}

}  // namespace vel::values
