#include "platform/comdlg/device_blocks.h"

#include <algorithm>
#include <cstring>

#include "platform/winspool/printer_profile.h"

namespace vel::platform {

HGLOBAL MakeDeviceNamesBlock(const std::string& device, bool isDefault) {
  std::string driver = kPrinterDriver;
  std::string port = kPrinterPort;
  size_t size = sizeof(DEVNAMES) + driver.size() + device.size() + port.size() + 3;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* bytes = block != nullptr ? static_cast<char*>(GlobalLock(block)) : nullptr;
  if (bytes == nullptr) {
    if (block != nullptr) GlobalFree(block);
    return nullptr;
  }
  DEVNAMES names{};
  names.wDriverOffset = sizeof(DEVNAMES);
  names.wDeviceOffset = static_cast<WORD>(names.wDriverOffset + driver.size() + 1);
  names.wOutputOffset = static_cast<WORD>(names.wDeviceOffset + device.size() + 1);
  names.wDefault = isDefault ? DN_DEFAULTPRN : 0;
  std::memcpy(bytes, &names, sizeof names);
  std::memcpy(bytes + names.wDriverOffset, driver.c_str(), driver.size() + 1);
  std::memcpy(bytes + names.wDeviceOffset, device.c_str(), device.size() + 1);
  std::memcpy(bytes + names.wOutputOffset, port.c_str(), port.size() + 1);
  GlobalUnlock(block);
  return block;
}

HGLOBAL MakeDeviceModeBlock(const DEVMODEA& mode) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
  void* bytes = block != nullptr ? GlobalLock(block) : nullptr;
  if (bytes == nullptr) {
    if (block != nullptr) GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, &mode, sizeof mode);
  GlobalUnlock(block);
  return block;
}

std::optional<std::string> DeviceNameOf(HGLOBAL names) {
  if (names == nullptr) return std::nullopt;
  SIZE_T size = GlobalSize(names);
  const auto* bytes = static_cast<const char*>(GlobalLock(names));
  if (bytes == nullptr) return std::nullopt;
  std::optional<std::string> device;
  if (size >= sizeof(DEVNAMES)) {
    DEVNAMES header{};
    std::memcpy(&header, bytes, sizeof header);
    if (header.wDeviceOffset >= sizeof(DEVNAMES) && header.wDeviceOffset < size) {
      const char* start = bytes + header.wDeviceOffset;
      const char* end = static_cast<const char*>(std::memchr(start, '\0', size - header.wDeviceOffset));
      if (end != nullptr) device = std::string(start, end);
    }
  }
  GlobalUnlock(names);
  return device;
}

std::optional<DEVMODEA> DeviceModeOf(HGLOBAL mode) {
  if (mode == nullptr) return std::nullopt;
  SIZE_T size = GlobalSize(mode);
  const auto* bytes = static_cast<const BYTE*>(GlobalLock(mode));
  if (bytes == nullptr) return std::nullopt;
  std::optional<DEVMODEA> result;
  DEVMODEA read{};
  size_t header = offsetof(DEVMODEA, dmFields) + sizeof(DWORD);
  if (size >= header) {
    std::memcpy(&read, bytes, std::min<size_t>(size, sizeof read));
    // The block must hold what it says it holds, and a shorter one is taken as far as it goes.
    if (read.dmSize >= header && read.dmSize <= size) {
      if (read.dmSize < sizeof read) std::memset(reinterpret_cast<BYTE*>(&read) + read.dmSize, 0, sizeof read - read.dmSize);
      read.dmDeviceName[CCHDEVICENAME - 1] = 0;
      result = read;
    }
  }
  GlobalUnlock(mode);
  return result;
}

void ReplaceBlock(HGLOBAL* field, HGLOBAL block) {
  if (*field != nullptr && *field != block) GlobalFree(*field);
  *field = block;
}

}  // namespace vel::platform
