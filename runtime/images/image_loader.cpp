#include "runtime/images/image_loader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "runtime/windows/resource_names.h"

namespace vel::images {
namespace {

// The picture of a resource, which stays backed by the resource.
std::unique_ptr<Image> FromResource(const ImageOwner& owner, std::string_view name, unsigned flags,
                                    CreateFromDataRoutine create) {
  HMODULE module = OwnerResourceModule(owner);
  std::string resourceName = windows::ProgramResourceName(name);
  HRSRC found = FindResourceA(module, resourceName.c_str(), kImageResourceType);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
  DWORD size = SizeofResource(module, found);
  if (bytes == nullptr) {
    if (loaded != nullptr) FreeResource(loaded);
    return nullptr;
  }
  ImageStorage storage = ImageStorage::FromResource(loaded, bytes, size);
  std::unique_ptr<Image> image = create(owner, bytes, size, flags | image_flags::kKeepCallerBytes);
  if (image == nullptr) return nullptr;
  GiveStorageIfNeeded(*image, storage);
  image->SetByteSize(size);
  return image;
}

// The file's last write in local time as MS-DOS date (high word) and time (low word); 0 when the
// system cannot tell it or it lies outside 1980 .. 2107.
DWORD LocalDosFileTime(HANDLE file) {
  FILETIME written{};
  FILETIME local{};
  WORD date = 0;
  WORD time = 0;
  if (!GetFileTime(file, nullptr, nullptr, &written) || !FileTimeToLocalFileTime(&written, &local) ||
      !FileTimeToDosDateTime(&local, &date, &time)) {
    return 0;
  }
  return (static_cast<DWORD>(date) << 16) | time;
}

struct FileBytes {
  ImageStorage storage;
  DWORD time = 0;
};

std::optional<FileBytes> ReadImageFile(std::string_view name, std::size_t limit = kMaxImageFileSize) {
  std::string path(name);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<FileBytes> read;
  DWORD high = 0;
  DWORD size = GetFileSize(file, &high);
  if (size != INVALID_FILE_SIZE && high == 0 && size <= limit) {
    DWORD time = LocalDosFileTime(file);
    std::optional<ImageStorage> storage = ImageStorage::Allocate(size, ImageStorage::Fill::Caller);
    DWORD done = 0;
    if (storage && ReadFile(file, storage->MutableData(), size, &done, nullptr) && done == size) {
      read = FileBytes{std::move(*storage), time};
    }
  }
  CloseHandle(file);
  return read;
}

}  // namespace

std::optional<ImageStorage> ReadWholeFile(std::string_view name, std::size_t limit) {
  std::optional<FileBytes> file = ReadImageFile(name, std::min(limit, kMaxImageFileSize));
  if (!file) return std::nullopt;
  return std::move(file->storage);
}

void GiveStorageIfNeeded(Image& image, ImageStorage& storage) {
  if (image.NeedsStorage() && image.Storage().Data() == storage.Data()) image.AdoptStorage(std::move(storage));
}

std::unique_ptr<Image> LoadNamedImage(const ImageOwner& owner, std::string_view name, bool fromProgram,
                                      unsigned flags, CreateFromDataRoutine create) {
  if (name.empty()) return nullptr;
  if (fromProgram) {
    if (std::unique_ptr<Image> image = FromResource(owner, name, flags, create)) return image;
  }
  std::optional<FileBytes> file = ReadImageFile(name);
  if (!file) return nullptr;
  std::size_t size = file->storage.Size();
  std::unique_ptr<Image> image = create(owner, file->storage.Data(), size, flags | image_flags::kKeepCallerBytes);
  if (image == nullptr) return nullptr;
  // The block becomes the image's storage when the image draws from it; otherwise it is freed
  // with `file`.
  GiveStorageIfNeeded(*image, file->storage);
  image->SetByteSize(size);
  image->SetFileTime(file->time);
  return image;
}

}  // namespace vel::images
