#include "runtime/values/value_reference.h"

#include <cstring>

#include "runtime/values/decimal_stack.h"
#include "runtime/values/reference_errors.h"
#include "runtime/values/reference_record.h"
#include "runtime/values/string_stack.h"

namespace vel::values {

namespace {

bool IsTextLike(int type) { return (type >= 18 && type <= 20) || (type >= 27 && type <= 29); }

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

template <typename T>
int Order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

void RaiseTypingError(int code) { RaiseValueRuntimeError(code, kParameterTypingText); }

}  // namespace

int CommonArithmeticType(int a, int b) {
  if ((IsTextLike(a) && b == kArithmeticText) || (IsTextLike(b) && a == kArithmeticText)) {
    return kArithmeticText;
  }
  if (a == kArithmeticInteger && b == kArithmeticInteger) return kArithmeticInteger;
  if (a == kArithmeticReal || b == kArithmeticReal) return kArithmeticReal;
  return kArithmeticDecimal;
}

ValueReference::ValueReference(void* data, std::uint32_t size, std::uint32_t places)
    : m_data(data), m_size(size), m_places(places) {}

ValueReference::~ValueReference() = default;

void ValueReference::AllocateStorage(const void* source) {
  // At least one byte, so that a zero-sized string still has an address of its own.
  std::size_t bytes = m_size == 0 ? 1 : m_size;
  m_ownedStorage = std::make_unique<unsigned char[]>(bytes);
  if (source != nullptr) std::memcpy(m_ownedStorage.get(), source, m_size);
  m_data = m_ownedStorage.get();
}

void ValueReference::SetInt(std::int32_t) {}

void ValueReference::SetReal(double) {}

void ValueReference::SetFrom(ValueReference& other) {
  switch (CommonArithmeticType(ArithmeticType(), other.ArithmeticType())) {
    case kArithmeticText:
      other.PushText();
      AssignFromStack();
      return;
    case kArithmeticInteger:
      SetInt(other.GetInt());
      return;
    case kArithmeticReal:
      SetReal(other.GetReal());
      return;
    default:
      other.PushDecimal();
      AssignFromDecimal();
      return;
  }
}

int ValueReference::CompareWith(ValueReference& other) {
  switch (CommonArithmeticType(ArithmeticType(), other.ArithmeticType())) {
    case kArithmeticText:
      PushText();
      other.PushText();
      return Sign(CompareFull());
    case kArithmeticInteger:
      return Order(GetInt(), other.GetInt());
    case kArithmeticReal:
      return Order(GetReal(), other.GetReal());
    default:
      PushDecimal();
      other.PushDecimal();
      return Sign(DecCompare());
  }
}

int ValueReference::CompareInt(std::int32_t value) { return Order(GetInt(), value); }

int ValueReference::TypeCode() const { return 0; }

void ValueReference::SendParameter(ValueReference& receiver) { receiver.SetFrom(*this); }

void ValueReference::ReceiveParameter(ValueReference& sender) {
  if (sender.TypeCode() != TypeCode() || sender.Size() != Size() || TypeCode() == 0) {
    RaiseTypingError(kErrorParameterType);
    return;
  }
  if (m_data == nullptr || sender.Address() == nullptr) return;
  std::memmove(m_data, sender.Address(), Size());
}

void ValueReference::ReadParameter(ValueReference& source) { SetFrom(source); }

void ValueReference::AssignFromStack() {
  DropTop();
  RaiseTypingError(kErrorConversionOfBase);
}

void ValueReference::PushText() {
  PushEmpty();
  RaiseTypingError(kErrorConversionOfBase);
}

void ValueReference::AssignFromDecimal() {
  CurrentDecimalStack().Pop();
  RaiseTypingError(kErrorConversionOfBase);
}

void ValueReference::PushDecimal() {
  DecPushInt32(0);
  RaiseTypingError(kErrorConversionOfBase);
}

double ValueReference::GetReal() {
  RaiseTypingError(kErrorConversionOfBase);
  return 0;
}

std::int32_t ValueReference::GetInt() {
  RaiseTypingError(kErrorConversionOfBase);
  return 0;
}

void ValueReference::Release() {
  m_ownedStorage.reset();
  m_data = nullptr;
}

void ValueReference::Clear(int) {}

void* ValueReference::Address() const { return m_data; }

std::unique_ptr<ValueReference> ValueReference::Clone() const {
  RaiseTypingError(kErrorCloneOfBase);
  return nullptr;
}

std::unique_ptr<ValueReference> ValueReference::CharAt(std::uint32_t index) {
  return Slice(index, index);
}

std::unique_ptr<ValueReference> ValueReference::Slice(std::uint32_t, std::uint32_t) {
  RaiseTypingError(kErrorSlice);
  return nullptr;
}

ValueReference* ValueReference::Element(std::int32_t) {
  RaiseTypingError(kErrorElementAccess);
  return nullptr;
}

std::int32_t ValueReference::Dimension() const { return 0; }

std::uint32_t ValueReference::Size() const { return m_size; }

int ValueReference::ArithmeticType() const { return 0; }

int ValueReference::IsZero() { return GetReal() == 0 ? 1 : 0; }

void ValueReference::ToOem() {}

void ValueReference::ToAnsi() {}

void ValueReference::BindFields() { RaiseTypingError(kErrorBindFields); }

int ValueReference::IsLessThan(ValueReference& other) { return CompareWith(other) < 0 ? 1 : 0; }

int ValueReference::IsGreaterThan(ValueReference& other) {
  return CompareWith(other) > 0 ? 1 : 0;
}

void ValueReference::SetAddress(void* address) {
  m_ownedStorage.reset();
  m_data = address;
}

int ValueReference::MatchesField(const RecordDescription& record, std::size_t field) const {
  if (field >= record.fields.size()) return 0;
  const RecordField& candidate = record.fields[field];
  bool single = candidate.dimensions <= 1;
  return candidate.typeCode == TypeCode() && candidate.size == Size() && single ? 1 : 0;
}

}  // namespace vel::values
