#include "runtime/images/image_storage.h"

#include <cstring>
#include <utility>

namespace vel::images {

ImageStorage::~ImageStorage() { Release(); }

ImageStorage::ImageStorage(ImageStorage&& other) noexcept
    : m_kind(std::exchange(other.m_kind, Kind::None)),
      m_handle(std::exchange(other.m_handle, nullptr)),
      m_bytes(std::exchange(other.m_bytes, nullptr)),
      m_size(std::exchange(other.m_size, 0)) {}

ImageStorage& ImageStorage::operator=(ImageStorage&& other) noexcept {
  if (this != &other) {
    Release();
    m_kind = std::exchange(other.m_kind, Kind::None);
    m_handle = std::exchange(other.m_handle, nullptr);
    m_bytes = std::exchange(other.m_bytes, nullptr);
    m_size = std::exchange(other.m_size, 0);
  }
  return *this;
}

ImageStorage ImageStorage::Borrowed(const std::uint8_t* bytes, std::size_t size) {
  ImageStorage storage;
  storage.m_kind = Kind::Borrowed;
  storage.m_bytes = bytes;
  storage.m_size = size;
  return storage;
}

std::optional<ImageStorage> ImageStorage::AdoptGlobal(HGLOBAL block, std::size_t size) {
  if (block == nullptr) return std::nullopt;
  auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block));
  if (bytes == nullptr) {
    GlobalFree(block);
    return std::nullopt;
  }
  ImageStorage storage;
  storage.m_kind = Kind::Global;
  storage.m_handle = block;
  storage.m_bytes = bytes;
  SIZE_T blockSize = GlobalSize(block);
  storage.m_size = size < blockSize ? size : blockSize;
  return storage;
}

std::optional<ImageStorage> ImageStorage::Allocate(std::size_t size, Fill fill) {
  UINT flags = GMEM_MOVEABLE | (fill == Fill::Zero ? GMEM_ZEROINIT : 0);
  HGLOBAL block = GlobalAlloc(flags, size == 0 ? 1 : size);
  if (block == nullptr) return std::nullopt;
  return AdoptGlobal(block, size);
}

std::optional<ImageStorage> ImageStorage::CopyOf(const std::uint8_t* bytes, std::size_t size) {
  std::optional<ImageStorage> storage = Allocate(size, Fill::Caller);
  if (storage && size > 0) std::memcpy(storage->MutableData(), bytes, size);
  return storage;
}

ImageStorage ImageStorage::FromResource(HGLOBAL resource, const std::uint8_t* bytes, std::size_t size) {
  ImageStorage storage;
  storage.m_kind = Kind::Resource;
  storage.m_handle = resource;
  storage.m_bytes = bytes;
  storage.m_size = size;
  return storage;
}

void ImageStorage::Release() {
  switch (m_kind) {
    case Kind::Global:
      GlobalUnlock(m_handle);
      GlobalFree(m_handle);
      break;
    case Kind::Resource: FreeResource(m_handle); break;
    case Kind::None:
    case Kind::Borrowed: break;
  }
  m_kind = Kind::None;
  m_handle = nullptr;
  m_bytes = nullptr;
  m_size = 0;
}

}  // namespace vel::images
