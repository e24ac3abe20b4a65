#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vel::values {

struct RecordDescription;

/// Arithmetic types that references report and that pick the common type of two values.
inline constexpr int kArithmeticInteger = 6;
inline constexpr int kArithmeticReal = 9;
inline constexpr int kArithmeticDecimal = 10;
inline constexpr int kArithmeticText = 18;
inline constexpr int kArithmeticPictured = 29;

/// The type in which two values of arithmetic types `a` and `b` meet: text (18) when one is
/// text-like (18 to 20, 27 to 29) and the other plain text, else integer (6) when both are
/// integers, else real (9) when either is real, else decimal (10).
int CommonArithmeticType(int a, int b);

/// A typed value reference: uniform access to one variable of a known storage kind at a known
/// address. Every storage kind has its own class derived from this one; the operations are
/// declared in the order of the class's table of operations. This base class stands for no
/// storage kind: its conversions, `Clone`, element access, `Slice`, `BindFields` and parameter
/// receipt raise "Parameter typing error" (5 to 11) and answer 0 or nothing.
///
/// A reference whose storage was released (or never given) reads as 0 or empty and ignores
/// writes, so a stale reference can never touch freed memory.
class ValueReference {
 public:
  virtual ~ValueReference();
  ValueReference(const ValueReference&) = delete;
  ValueReference& operator=(const ValueReference&) = delete;

  /// Stores a 32-bit integer (narrower kinds keep the low bytes).
  virtual void SetInt(std::int32_t value);
  /// Stores a `Float64`; integer kinds truncate toward zero.
  virtual void SetReal(double value);
  /// Stores the value of `other`, converted through the common type.
  virtual void SetFrom(ValueReference& other);
  /// Orders this against `other` through the common type: -1, 0 or 1.
  virtual int CompareWith(ValueReference& other);
  /// Orders this, read as an integer, against `value`: -1, 0 or 1.
  virtual int CompareInt(std::int32_t value);
  /// The type code of the class (0 for this base class).
  virtual int TypeCode() const;
  /// Parameter transfer: hands this value to `receiver`, which converts it as `SetFrom` does.
  virtual void SendParameter(ValueReference& receiver);
  /// Parameter transfer: takes the bytes of `sender`, which must have this type code and size;
  /// otherwise reports error 11 and leaves this unchanged.
  virtual void ReceiveParameter(ValueReference& sender);
  /// Parameter transfer: reads the value of `source` through the common type.
  virtual void ReadParameter(ValueReference& source);
  /// Pops the string stack into this.
  virtual void AssignFromStack();
  /// Pushes this as text onto the string stack.
  virtual void PushText();
  /// Pops the decimal stack into this.
  virtual void AssignFromDecimal();
  /// Pushes this onto the decimal stack.
  virtual void PushDecimal();
  /// The value as a `Float64`.
  virtual double GetReal();
  /// The value as a 32-bit integer.
  virtual std::int32_t GetInt();
  /// Frees the storage if this reference owns it, and forgets it.
  virtual void Release();
  /// Clears the variable: n = 0 the empty value, n < 0 the lowest, n > 0 the highest.
  virtual void Clear(int n);
  /// The data address.
  virtual void* Address() const;
  /// A new reference of the same class to the same storage, not owning it.
  virtual std::unique_ptr<ValueReference> Clone() const;
  /// A reference to the single character at position `index` (from 1).
  virtual std::unique_ptr<ValueReference> CharAt(std::uint32_t index);
  /// A reference to positions `start` to `end` (from 1), sharing the storage; a number or a
  /// slice outside the string reports error 8 and gives none.
  virtual std::unique_ptr<ValueReference> Slice(std::uint32_t start, std::uint32_t end);
  /// Element access for dimensioned values: plain references report error 6 and give none.
  virtual ValueReference* Element(std::int32_t index);
  /// The number of elements: 0 for a plain reference.
  virtual std::int32_t Dimension() const;
  /// The storage size in bytes.
  virtual std::uint32_t Size() const;
  /// 6 integer, 9 real, 10 decimal, 18 text, 29 pictured (0 for this base class).
  virtual int ArithmeticType() const;
  /// 1 when the value is 0 (numbers) or blank (strings), else 0.
  virtual int IsZero();
  /// Converts text in place from ANSI to OEM (numbers do nothing).
  virtual void ToOem();
  /// Converts text in place from OEM to ANSI (numbers do nothing).
  virtual void ToAnsi();
  /// Binds every field of a record by name; anything but a record reports error 7.
  virtual void BindFields();
  /// 1 when this sorts before `other` through the common type, else 0.
  virtual int IsLessThan(ValueReference& other);
  /// 1 when this sorts after `other` through the common type, else 0.
  virtual int IsGreaterThan(ValueReference& other);
  /// Points the reference at other storage (releasing storage it owned).
  virtual void SetAddress(void* address);
  /// 1 when field `field` of `record` has this type code and size and a single element.
  virtual int MatchesField(const RecordDescription& record, std::size_t field) const;

  /// Places of a decimal kind (0 for the others).
  std::uint32_t Places() const { return m_places; }
  /// True while the reference owns its storage.
  bool OwnsStorage() const { return m_ownedStorage != nullptr; }

 protected:
  ValueReference(void* data, std::uint32_t size, std::uint32_t places);

  /// Gives the reference fresh zeroed storage of `Size()` bytes that it owns, filled from
  /// `source` when that is not null.
  void AllocateStorage(const void* source);

  unsigned char* Bytes() const { return static_cast<unsigned char*>(m_data); }
  char* Chars() const { return static_cast<char*>(m_data); }

  void* m_data = nullptr;
  std::uint32_t m_size = 0;
  std::uint32_t m_places = 0;

 private:
  std::unique_ptr<unsigned char[]> m_ownedStorage;
};

/// The abstract base kind on its own, for code that needs a reference standing for no storage.
class UntypedReference final : public ValueReference {
 public:
  UntypedReference() : ValueReference(nullptr, 0, 0) {}
};

}  // namespace vel::values
