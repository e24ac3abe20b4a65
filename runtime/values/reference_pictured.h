#pragma once

#include <cstdint>
#include <memory>

#include "runtime/values/picture_record.h"
#include "runtime/values/reference_string.h"

namespace vel::values {

/// A reference to a pictured string: a fixed string as wide as its picture that holds the
/// formatted form of its value. Values stored into it are formatted through the picture; it reads
/// as text exactly as stored, and as a number through the picture's deformatting. The class
/// follows the picture's value kind (0 text, 1 date or time, 2 scientific, 3 numeric) and reports
/// arithmetic type 29. The compiled picture must outlive the reference and its clones.
template <int Kind>
class PicturedReference final : public StringKindReference<18> {
 public:
  PicturedReference(const CompiledPicture& picture, void* data);

  void SetInt(std::int32_t value) override;
  void SetReal(double value) override;
  void AssignFromStack() override;
  void AssignFromDecimal() override;
  void PushDecimal() override;
  double GetReal() override;
  std::int32_t GetInt() override;
  std::unique_ptr<ValueReference> Clone() const override;
  int ArithmeticType() const override { return kArithmeticPictured; }
  int IsZero() override;

 private:
  /// Formats `text` (a value as text) through the picture into the storage.
  void Store(const char* text, std::size_t length);
  /// The stored text deformatted through the picture: the value as text.
  std::string Value() const;

  const CompiledPicture* m_picture;
};

/// Creates the pictured reference class for `picture`'s value kind over the string at `address`
/// (as wide as the picture). An invalid picture gives none.
std::unique_ptr<ValueReference> CreatePicturedReference(const CompiledPicture& picture,
                                                        void* address);

}  // namespace vel::values
