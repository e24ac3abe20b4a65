// The profile (initialisation file) calls on top of ProfileStore and ProfileDocument.

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/profile_document.h"
#include "platform/kernel/profile_store.h"
#include "win32.h"

using vel::platform::ProfileDocument;
using vel::platform::ProfileStore;

namespace {

// Copies a value as Win32 does: cut to nSize - 1 characters, always terminated.
DWORD CopyValue(std::string_view value, LPSTR buffer, DWORD size) {
  size_t count = value.size() < size - 1 ? value.size() : size - 1;
  if (count > 0) std::memmove(buffer, value.data(), count);
  buffer[count] = '\0';
  return static_cast<DWORD>(count);
}

// Copies names as a list of terminated strings ended by an empty one. A list that does not fit
// is cut inside the name that overflows, ends with two terminators, and returns nSize - 2.
DWORD CopyList(const std::vector<std::string_view>& names, LPSTR buffer, DWORD size) {
  if (size < 2) {
    if (size == 1) buffer[0] = '\0';
    return 0;
  }
  size_t position = 0;
  for (std::string_view name : names) {
    if (position + name.size() + 2 > size) {
      // The previous name may already reach the next-to-last byte.
      size_t room = position < size - 2 ? size - 2 - position : 0;
      if (room > 0) std::memcpy(buffer + position, name.data(), room);
      buffer[size - 2] = '\0';
      buffer[size - 1] = '\0';
      return size - 2;
    }
    std::memcpy(buffer + position, name.data(), name.size());
    position += name.size();
    buffer[position++] = '\0';
  }
  buffer[position] = '\0';
  if (position == 0) buffer[1] = '\0';
  return static_cast<DWORD>(position);
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Names that would read back as something else (another line, another section, a comment or a
// different key) are refused instead of corrupting the file.
bool IsWritable(LPCSTR section, LPCSTR key, LPCSTR value) {
  std::string_view sectionText = section;
  if (HasLineBreak(sectionText) || sectionText.find(']') != std::string_view::npos) return false;
  if (key != nullptr) {
    std::string_view keyText = vel::platform::TrimBlanks(key);
    if (HasLineBreak(keyText) || keyText.find('=') != std::string_view::npos) return false;
    if (!keyText.empty() && (keyText.front() == '[' || keyText.front() == ';')) return false;
  }
  return value == nullptr || !HasLineBreak(value);
}

bool HasDirectory(LPCSTR fileName) {
  return fileName != nullptr && std::strpbrk(fileName, "/\\") != nullptr;
}

// Win32's reading of an integer value: optional sign, decimal or 0x-prefixed hexadecimal
// digits up to the first other character; 32-bit wrap-around like the original's UINT result.
UINT ParseProfileInteger(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint32_t value = 0;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    for (i += 2; i < text.size(); ++i) {
      char c = text[i];
      int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (digit < 0) break;
      value = value * 16 + static_cast<uint32_t>(digit);
    }
  } else {
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + static_cast<uint32_t>(text[i] - '0');
  }
  return negative ? 0u - value : value;
}

}  // namespace

DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                                      DWORD nSize, LPCSTR lpFileName) {
  if (lpReturnedString == nullptr || nSize == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // The default is taken before the file is looked at: callers may pass the result buffer as
  // the default. Trailing blanks are removed as documented.
  std::string_view fallback = lpDefault != nullptr ? std::string_view(lpDefault) : std::string_view();
  while (!fallback.empty() && (fallback.back() == ' ' || fallback.back() == '\t')) fallback.remove_suffix(1);

  std::string path = vel::platform::ResolveProfilePath(lpFileName);
  bool exists = false;
  auto document = path.empty() ? std::make_shared<const ProfileDocument>()
                               : ProfileStore::Instance().Read(path, &exists);
  if (lpAppName == nullptr) return CopyList(document->SectionNames(), lpReturnedString, nSize);
  // The keys of a section that is not there read as the default, like a missing key.
  if (lpKeyName == nullptr && document->HasSection(lpAppName)) {
    return CopyList(document->KeyNames(lpAppName), lpReturnedString, nSize);
  }
  if (lpKeyName != nullptr) {
    if (auto value = document->FindValue(lpAppName, lpKeyName)) return CopyValue(*value, lpReturnedString, nSize);
  }
  if (!exists) SetLastError(ERROR_FILE_NOT_FOUND);
  return CopyValue(fallback, lpReturnedString, nSize);
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName) {
  if (lpAppName == nullptr) {
    // All three null asks to flush the cache; every write already reached the file.
    if (lpKeyName == nullptr && lpString == nullptr) return TRUE;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string path = vel::platform::ResolveProfilePath(lpFileName);
  if (path.empty() || !IsWritable(lpAppName, lpKeyName, lpString)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string section = lpAppName;
  std::string key = lpKeyName != nullptr ? lpKeyName : "";
  std::string value = lpString != nullptr ? lpString : "";
  ProfileStore::Edit edit = [&](const ProfileDocument& document) -> std::optional<std::string> {
    if (lpKeyName == nullptr) return document.WithoutSection(section);
    if (lpString == nullptr) return document.WithoutKey(section, key);
    return document.WithValue(section, key, value);
  };
  DWORD error = ProfileStore::Instance().Apply(path, !HasDirectory(lpFileName), edit);
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}

UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName) {
  if (lpAppName == nullptr || lpKeyName == nullptr) return static_cast<UINT>(nDefault);
  std::string path = vel::platform::ResolveProfilePath(lpFileName);
  if (path.empty()) return static_cast<UINT>(nDefault);
  auto document = ProfileStore::Instance().Read(path);
  auto value = document->FindValue(lpAppName, lpKeyName);
  return value ? ParseProfileInteger(*value) : static_cast<UINT>(nDefault);
}

DWORD WINAPI GetProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize) {
  return GetPrivateProfileStringA(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, nullptr);
}

BOOL WINAPI WriteProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString) {
  return WritePrivateProfileStringA(lpAppName, lpKeyName, lpString, nullptr);
}

UINT WINAPI GetProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault) {
  return GetPrivateProfileIntA(lpAppName, lpKeyName, nDefault, nullptr);
}

UINT WINAPI GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize) {
  std::string directory = vel::platform::WindowsDirectory();
  if (lpBuffer == nullptr || directory.size() >= uSize) return static_cast<UINT>(directory.size() + 1);
  std::memcpy(lpBuffer, directory.c_str(), directory.size() + 1);
  return static_cast<UINT>(directory.size());
}
