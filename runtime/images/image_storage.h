#pragma once
// The memory that holds an image's bytes: a moveable global memory block (locked for as long
// as the image lives), a loaded resource, or bytes the caller keeps alive (borrowed). Releasing
// the storage frees the block or the resource; borrowed bytes are left alone.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "win32.h"

namespace vel::images {

class ImageStorage {
 public:
  ImageStorage() = default;
  ~ImageStorage();
  ImageStorage(ImageStorage&& other) noexcept;
  ImageStorage& operator=(ImageStorage&& other) noexcept;
  ImageStorage(const ImageStorage&) = delete;
  ImageStorage& operator=(const ImageStorage&) = delete;

  /// Bytes that belong to the caller, who keeps them alive while the storage refers to them.
  static ImageStorage Borrowed(const std::uint8_t* bytes, std::size_t size);
  /// Takes a moveable global block (its size is GlobalSize's answer unless `size` is smaller).
  /// Nothing when the block cannot be locked; the block is freed then.
  static std::optional<ImageStorage> AdoptGlobal(HGLOBAL block, std::size_t size);
  /// A new moveable global block of `size` bytes, zero-filled unless the caller is about to
  /// write every byte itself; nothing when memory is short.
  enum class Fill { Zero, Caller };
  static std::optional<ImageStorage> Allocate(std::size_t size, Fill fill = Fill::Zero);
  /// A new global block holding a copy of the bytes.
  static std::optional<ImageStorage> CopyOf(const std::uint8_t* bytes, std::size_t size);
  /// A loaded resource, released with FreeResource.
  static ImageStorage FromResource(HGLOBAL resource, const std::uint8_t* bytes, std::size_t size);

  const std::uint8_t* Data() const { return m_bytes; }
  /// Writable bytes: only global blocks the storage owns may be changed.
  std::uint8_t* MutableData() { return m_kind == Kind::Global ? const_cast<std::uint8_t*>(m_bytes) : nullptr; }
  std::size_t Size() const { return m_size; }
  bool Empty() const { return m_kind == Kind::None; }
  bool IsBorrowed() const { return m_kind == Kind::Borrowed; }
  bool IsResource() const { return m_kind == Kind::Resource; }
  /// The global block or resource handle (null for borrowed bytes).
  HGLOBAL Handle() const { return m_handle; }

  /// Frees what the storage owns and leaves it empty.
  void Release();

 private:
  enum class Kind { None, Borrowed, Global, Resource };

  Kind m_kind = Kind::None;
  HGLOBAL m_handle = nullptr;
  const std::uint8_t* m_bytes = nullptr;
  std::size_t m_size = 0;
};

}  // namespace vel::images
