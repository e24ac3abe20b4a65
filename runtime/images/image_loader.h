#pragma once
// Loading the bytes of a named picture, for every kind except icons: first an "IMAGE"
// resource of the program (when the name came from its resources), else the file of that name,
// read whole into a moveable global memory block. The bytes then
// go to the kind's create-from-data routine; the image keeps them when it draws from them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "runtime/images/image.h"
#include "runtime/images/image_owner.h"

namespace vel::images {

/// A kind's routine that makes an image from bytes in memory (nothing when they are not its).
using CreateFromDataRoutine = std::unique_ptr<Image> (*)(const ImageOwner& owner, const std::uint8_t* bytes,
                                                         std::size_t size, unsigned flags);
/// A kind's routine that opens a named image.
using OpenByNameRoutine = std::unique_ptr<Image> (*)(const ImageOwner& owner, std::string_view name,
                                                     bool fromProgram, unsigned flags);

/// Largest picture file read; larger files give no image.
constexpr std::size_t kMaxImageFileSize = std::size_t{1} << 30;

/// The resource type pictures are kept under in a program.
constexpr char kImageResourceType[] = "IMAGE";

/// Opens a named picture through `create`: the program's "IMAGE" resource of the converted
/// name when `fromProgram`, else (or when there is none) the file.
std::unique_ptr<Image> LoadNamedImage(const ImageOwner& owner, std::string_view name, bool fromProgram,
                                      unsigned flags, CreateFromDataRoutine create);

/// The open-by-name routine of a kind whose pictures are loaded as bytes.
template <CreateFromDataRoutine create>
std::unique_ptr<Image> OpenThroughLoader(const ImageOwner& owner, std::string_view name, bool fromProgram,
                                         unsigned flags) {
  return LoadNamedImage(owner, name, fromProgram, flags, create);
}

/// Reads a whole file into a moveable global memory block; nothing when it cannot be read or is
/// larger than `limit` (at most kMaxImageFileSize).
std::optional<ImageStorage> ReadWholeFile(std::string_view name, std::size_t limit = kMaxImageFileSize);

/// Gives a freshly made image the bytes it was made from when it draws from them: `storage`
/// itself, else nothing happens and `storage` is left to its owner to free.
void GiveStorageIfNeeded(Image& image, ImageStorage& storage);

}  // namespace vel::images
