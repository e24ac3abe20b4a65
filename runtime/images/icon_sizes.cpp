#include "runtime/images/icon_sizes.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "runtime/images/byte_reading.h"
#include "runtime/images/image_loader.h"
#include "runtime/windows/resource_names.h"

namespace vel::images {
namespace {

// Both directories start with a 6-byte header (reserved 0, type 1 for icons, entry count).
// A program's group lists 14-byte entries ending in the image's resource identifier; a file
// lists 16-byte entries ending in the image's offset in the file. The first 12 bytes of an
// entry (size, colours, planes, depth, byte count) are the same in both.
constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kSharedEntryBytes = 12;
constexpr DWORD kIconFormatVersion = 0x00030000;
/// Icon files hold a few small images; a larger file is not read to look for one.
constexpr std::size_t kMaxIconFileSize = std::size_t{64} << 20;

// The icon count a directory of `entrySize`-byte entries claims, when every entry it claims
// is present; 0 otherwise.
std::size_t WholeDirectoryCount(const std::uint8_t* data, std::size_t size, std::size_t entrySize) {
  if (data == nullptr || size < kHeaderSize || ReadU16(data) != 0 || ReadU16(data + 2) != 1) return 0;
  std::size_t count = ReadU16(data + 4);
  return (size - kHeaderSize) / entrySize >= count ? count : 0;
}

HICON IconFromImageBytes(const std::uint8_t* bytes, std::size_t size) {
  if (size == 0 || size > 0xFFFFFFFFu) return nullptr;
  return CreateIconFromResourceEx(const_cast<PBYTE>(bytes), static_cast<DWORD>(size), TRUE, kIconFormatVersion, 0,
                                  0, LR_DEFAULTCOLOR);
}

struct ResourceBytes {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

ResourceBytes FindResourceBytes(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC found = FindResourceA(module, name, type);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  auto* data = static_cast<const std::uint8_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (data == nullptr) return {};
  return ResourceBytes{data, SizeofResource(module, found)};
}

LPCSTR IdentifierName(std::uint16_t identifier) {
  return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(identifier));
}

HICON NearestFromModule(const windows::ResourceName& name, HMODULE module, int size) {
  windows::ResourceRequest request = windows::RequestFor(name);
  LPCSTR resource = request.byIdentifier ? IdentifierName(request.identifier) : request.name.c_str();
  ResourceBytes group = FindResourceBytes(module, resource, RT_GROUP_ICON);
  if (WholeDirectoryCount(group.data, group.size, kGroupEntrySize) == 0) return nullptr;
  int identifier =
      LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data), TRUE, size, size, LR_DEFAULTCOLOR);
  if (identifier <= 0 || identifier > 0xFFFF) return nullptr;
  ResourceBytes image = FindResourceBytes(module, IdentifierName(static_cast<std::uint16_t>(identifier)), RT_ICON);
  return image.data != nullptr ? IconFromImageBytes(image.data, image.size) : nullptr;
}

// The file's directory is rewritten as a group whose identifiers are the entries' positions
// (from 1), so that the same lookup chooses among a file's images as among a program's.
HICON NearestFromFile(const std::string& path, int size) {
  std::optional<ImageStorage> file = ReadWholeFile(path, kMaxIconFileSize);
  if (!file) return nullptr;
  const std::uint8_t* data = file->Data();
  std::size_t count = WholeDirectoryCount(data, file->Size(), kFileEntrySize);
  if (count == 0) return nullptr;
  std::vector<std::uint8_t> group(kHeaderSize + count * kGroupEntrySize);
  std::memcpy(group.data(), data, kHeaderSize);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t* entry = group.data() + kHeaderSize + i * kGroupEntrySize;
    std::memcpy(entry, data + kHeaderSize + i * kFileEntrySize, kSharedEntryBytes);
    WriteU16(entry + 12, static_cast<std::uint16_t>(i + 1));
  }
  int chosen = LookupIconIdFromDirectoryEx(group.data(), TRUE, size, size, LR_DEFAULTCOLOR);
  if (chosen <= 0 || static_cast<std::size_t>(chosen) > count) return nullptr;
  const std::uint8_t* entry = data + kHeaderSize + static_cast<std::size_t>(chosen - 1) * kFileEntrySize;
  std::size_t bytes = ReadU32(entry + 8);
  std::size_t offset = ReadU32(entry + 12);
  // An entry pointing outside the file describes no image.
  if (offset > file->Size() || bytes > file->Size() - offset) return nullptr;
  return IconFromImageBytes(data + offset, bytes);
}

bool NamesProgramResource(const windows::ResourceName& name) {
  if (name.form == windows::ResourceName::Form::ProgramId) return true;
  return name.form == windows::ResourceName::Form::Text && !name.text.empty() && name.text.front() == '~';
}

}  // namespace

windows::HeldIcon LoadIconNearSize(std::string_view runtimeName, HMODULE module, int size) {
  std::optional<windows::ResourceName> parsed = windows::ParseRuntimeName(runtimeName);
  HICON nearest = nullptr;
  if (parsed && size > 0) {
    if (NamesProgramResource(*parsed)) {
      if (module != nullptr) nearest = NearestFromModule(*parsed, module, size);
    } else if (parsed->form == windows::ResourceName::Form::Text) {
      windows::IconFileName file = windows::SplitIconFileName(parsed->text);
      if (file.index == 0) nearest = NearestFromFile(file.file, size);
    }
  }
  if (nearest != nullptr) return windows::HeldIcon{nearest, true};
  return windows::LoadRuntimeIcon(runtimeName, module);
}

}  // namespace vel::images
