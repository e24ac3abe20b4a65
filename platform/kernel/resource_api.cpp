// FindResourceA and its companions over the tables in resource_registry.h.

#include <cstring>
#include <mutex>
#include <string_view>

#include "platform/kernel/ansi_text.h"
#include "platform/kernel/module.h"
#include "platform/kernel/resource_registry.h"

namespace vel::platform {
namespace {

std::mutex& RegistryMutex() {
  static std::mutex* mutex = new std::mutex();
  return *mutex;
}

// A resource name or type as callers pass it: a number (MAKEINTRESOURCE or "#123") or a name.
struct ResourceKey {
  WORD id = 0;
  std::string_view name;
  bool isNumber = false;
};

ResourceKey KeyOf(LPCSTR text) {
  ResourceKey key;
  if (IS_INTRESOURCE(text)) {
    key.isNumber = true;
    key.id = static_cast<WORD>(reinterpret_cast<uintptr_t>(text));
    return key;
  }
  key.name = text;
  if (key.name.size() > 1 && key.name.size() <= 6 && key.name[0] == '#') {
    unsigned value = 0;
    bool digits = true;
    for (char c : key.name.substr(1)) {
      digits = digits && c >= '0' && c <= '9';
      value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (digits && value <= 0xFFFF) {
      key.isNumber = true;
      key.id = static_cast<WORD>(value);
    }
  }
  return key;
}

bool Matches(const ResourceKey& key, const char* name, WORD id) {
  if (key.isNumber) return name == nullptr && id == key.id;
  return name != nullptr && EqualsIgnoringCase(key.name, name);
}

}  // namespace

HMODULE RegisterResources(const char* moduleName, const ResourceEntry* entries, size_t count) {
  HMODULE module = ModuleNamed(moduleName);
  std::lock_guard<std::mutex> lock(RegistryMutex());
  ModuleFromHandle(module)->resourceTables.push_back({entries, count});
  return module;
}

const ResourceEntry* ResourceFromHandle(HMODULE module, HRSRC resource) {
  ModuleRecord* record = ModuleFromHandle(module);
  if (record == nullptr || resource == nullptr) return nullptr;
  auto wanted = reinterpret_cast<const ResourceEntry*>(resource);
  std::lock_guard<std::mutex> lock(RegistryMutex());
  for (const ModuleRecord::Table& table : record->resourceTables) {
    if (wanted >= table.entries && wanted < table.entries + table.count) return wanted;
  }
  return nullptr;
}

}  // namespace vel::platform

using vel::platform::ModuleRecord;
using vel::platform::ResourceEntry;

HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
  ModuleRecord* record = vel::platform::ModuleFromHandle(hModule);
  if (record == nullptr || lpName == nullptr || lpType == nullptr) {
    SetLastError(record == nullptr ? ERROR_MOD_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto name = vel::platform::KeyOf(lpName);
  auto type = vel::platform::KeyOf(lpType);
  bool typeSeen = false;
  std::lock_guard<std::mutex> lock(vel::platform::RegistryMutex());
  for (const ModuleRecord::Table& table : record->resourceTables) {
    for (size_t i = 0; i < table.count; ++i) {
      const ResourceEntry& entry = table.entries[i];
      if (!vel::platform::Matches(type, entry.typeName, entry.typeId)) continue;
      typeSeen = true;
      if (vel::platform::Matches(name, entry.name, entry.nameId)) {
        return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(&entry));
      }
    }
  }
  SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
  const ResourceEntry* entry = vel::platform::ResourceFromHandle(hModule, hResInfo);
  if (entry == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // Resources are read-only data of the program; the handle is their address, as on Win32.
  return const_cast<unsigned char*>(entry->data);
}

LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  const ResourceEntry* entry = vel::platform::ResourceFromHandle(hModule, hResInfo);
  if (entry == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<DWORD>(entry->size);
}

BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }

int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
  if (lpBuffer == nullptr || cchBufferMax <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  lpBuffer[0] = '\0';
  HRSRC block = FindResourceA(hInstance, MAKEINTRESOURCEA((uID >> 4) + 1), RT_STRING);
  if (block == nullptr) return 0;
  const ResourceEntry* entry = reinterpret_cast<const ResourceEntry*>(block);
  // Walk the block's counted strings to the wanted one, never past the block's end.
  const unsigned char* data = entry->data;
  size_t size = entry->size;
  size_t offset = 0;
  for (UINT index = 0;; ++index) {
    if (offset + 2 > size) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return 0;
    }
    size_t length = static_cast<size_t>(data[offset] | (data[offset + 1] << 8));
    offset += 2;
    if (offset + 2 * length > size) {
      SetLastError(ERROR_INVALID_DATA);
      return 0;
    }
    if (index == (uID & 15)) {
      if (length == 0) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
      }
      size_t count = length < static_cast<size_t>(cchBufferMax) - 1 ? length : static_cast<size_t>(cchBufferMax) - 1;
      for (size_t i = 0; i < count; ++i) {
        uint16_t unit = static_cast<uint16_t>(data[offset + 2 * i] | (data[offset + 2 * i + 1] << 8));
        lpBuffer[i] = static_cast<char>(vel::platform::UnicodeToAnsi(unit));
      }
      lpBuffer[count] = '\0';
      return static_cast<int>(count);
    }
    offset += 2 * length;
  }
}
