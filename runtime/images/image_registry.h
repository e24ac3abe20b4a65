#pragma once
// The registry of image kinds: an ordered list of extensions, each with the kind's
// open-by-name and create-from-data routines. Opening a name walks the list for the name's
// extension; creating from data tries every kind that can, in the order they were registered.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "runtime/images/image.h"
#include "runtime/images/image_loader.h"
#include "runtime/images/image_owner.h"

namespace vel::images {

class ImageKindRegistry {
 public:
  /// Adds a kind for one extension (dot included; compared without regard to case). False, and
  /// nothing registered, for an extension of 5 or more characters.
  bool RegisterKind(std::string_view extension, OpenByNameRoutine open, CreateFromDataRoutine create);

  /// Opens the image a name gives ("~" for the program's resources, see image_name.h), trying
  /// the kinds of its extension in order; null when none gives an image.
  std::unique_ptr<Image> Open(const ImageOwner& owner, std::string_view name, unsigned flags) const;
  /// The same with the from-program flag given apart from the name.
  std::unique_ptr<Image> Open(const ImageOwner& owner, std::string_view name, bool fromProgram, unsigned flags) const;

  /// Makes an image from bytes in memory with the first kind that accepts them. Unless `flags`
  /// has kKeepCallerBytes the image holds its own copy of whatever bytes it draws from.
  std::unique_ptr<Image> CreateFromData(const ImageOwner& owner, const std::uint8_t* bytes, std::size_t size,
                                        unsigned flags) const;

  std::size_t Size() const { return m_kinds.size(); }

 private:
  struct Kind {
    char extension[5];
    OpenByNameRoutine open;
    CreateFromDataRoutine create;
  };

  std::vector<Kind> m_kinds;
};

/// Gives an image made for `owner` its size in the owner's units (image_owner.h), unless the
/// kind measured it on the owner's device already.
void MeasureForOwner(Image& image, const ImageOwner& owner);

}  // namespace vel::images
