#include "runtime/images/image_registry.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "runtime/images/image_name.h"

namespace vel::images {

void MeasureForOwner(Image& image, const ImageOwner& owner) {
  if (!image.MeasuredOnDevice()) image.SetNaturalSize(ScaleForOwner(owner, image.NaturalSize()));
}

bool ImageKindRegistry::RegisterKind(std::string_view extension, OpenByNameRoutine open, CreateFromDataRoutine create) {
  if (extension.size() > kMaxExtensionLength) return false;
  Kind kind{};
  std::memcpy(kind.extension, extension.data(), extension.size());
  kind.open = open;
  kind.create = create;
  m_kinds.push_back(kind);
  return true;
}

std::unique_ptr<Image> ImageKindRegistry::Open(const ImageOwner& owner, std::string_view name, unsigned flags) const {
  return Open(owner, name, false, flags);
}

std::unique_ptr<Image> ImageKindRegistry::Open(const ImageOwner& owner, std::string_view name, bool fromProgram,
                                               unsigned flags) const {
  ImageName read = ReadImageName(name);
  if (read.extension.empty()) return nullptr;
  for (const Kind& kind : m_kinds) {
    if (kind.open == nullptr || !SameIgnoringCase(kind.extension, read.extension)) continue;
    if (std::unique_ptr<Image> image = kind.open(owner, read.name, fromProgram || read.fromProgram, flags)) {
      MeasureForOwner(*image, owner);
      return image;
    }
  }
  return nullptr;
}

std::unique_ptr<Image> ImageKindRegistry::CreateFromData(const ImageOwner& owner, const std::uint8_t* bytes,
                                                         std::size_t size, unsigned flags) const {
  if (bytes == nullptr || size == 0) return nullptr;
  // A kind registered under several extensions is asked once.
  std::vector<CreateFromDataRoutine> asked;
  for (const Kind& kind : m_kinds) {
    if (kind.create == nullptr || std::find(asked.begin(), asked.end(), kind.create) != asked.end()) continue;
    asked.push_back(kind.create);
    std::unique_ptr<Image> image = kind.create(owner, bytes, size, flags);
    if (image == nullptr) continue;
    if (image->NeedsStorage() && (flags & image_flags::kKeepCallerBytes) == 0) {
      std::optional<ImageStorage> copy = ImageStorage::CopyOf(bytes, size);
      if (!copy) return nullptr;
      // The image reads its bytes at the offsets it found, which are the same in the copy.
      image->AdoptStorage(std::move(*copy));
    }
    image->SetByteSize(size);
    MeasureForOwner(*image, owner);
    return image;
  }
  return nullptr;
}

}  // namespace vel::images
