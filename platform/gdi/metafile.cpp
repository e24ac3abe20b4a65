#include "platform/gdi/metafile.h"

namespace vel::platform {
namespace {

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Dword(const uint8_t* p) { return Word(p) | (uint32_t{Word(p + 2)} << 16); }

constexpr size_t kHeaderBytes = 18;
constexpr uint16_t kEofFunction = 0x0000;

}  // namespace

std::optional<MetafileObject> ParseMetafile(const uint8_t* data, size_t size) {
  if (data == nullptr) return std::nullopt;
  // Programs usually strip the placeable header before handing bits over; accept it anyway.
  if (size >= 22 && Dword(data) == kPlaceableKey) {
    data += 22;
    size -= 22;
  }
  if (size < kHeaderBytes) return std::nullopt;
  uint16_t type = Word(data);
  uint16_t headerWords = Word(data + 2);
  uint16_t version = Word(data + 4);
  uint32_t totalWords = Dword(data + 6);
  if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300)) return std::nullopt;
  // The stated size may be shorter than the buffer (trailing bytes are ignored) but never longer.
  if (totalWords < kHeaderBytes / 2 || totalWords > size / 2) return std::nullopt;
  size_t total = static_cast<size_t>(totalWords) * 2;
  MetafileObject metafile;
  metafile.m_objectCount = Word(data + 10);
  metafile.m_bytes.assign(data, data + total);
  size_t offset = kHeaderBytes;
  bool sawEnd = false;
  while (offset + 6 <= total) {
    uint32_t recordWords = Dword(data + offset);
    uint16_t function = Word(data + offset + 4);
    if (recordWords < 3 || recordWords > (total - offset) / 2) return std::nullopt;
    if (function == kEofFunction) {
      sawEnd = true;
      break;
    }
    metafile.m_records.push_back(MetaRecord{offset + 6, static_cast<size_t>(recordWords) - 3, function});
    offset += static_cast<size_t>(recordWords) * 2;
  }
  // Without an end record the data was cut short.
  if (!sawEnd) return std::nullopt;
  return metafile;
}

}  // namespace vel::platform

using namespace vel::platform;

HMETAFILE WINAPI SetMetaFileBitsEx(UINT cbBuffer, const BYTE* lpData) {
  auto metafile = ParseMetafile(lpData, cbBuffer);
  if (!metafile) return nullptr;
  return static_cast<HMETAFILE>(RegisterObject(std::make_shared<MetafileObject>(std::move(*metafile))));
}

UINT WINAPI GetMetaFileBitsEx(HMETAFILE hMF, UINT cbBuffer, LPVOID lpData) {
  auto metafile = Lookup<MetafileObject>(hMF);
  if (!metafile) return 0;
  UINT size = static_cast<UINT>(metafile->m_bytes.size());
  if (lpData == nullptr) return size;
  if (cbBuffer < size) return 0;
  std::copy(metafile->m_bytes.begin(), metafile->m_bytes.end(), static_cast<uint8_t*>(lpData));
  return size;
}

BOOL WINAPI PlayMetaFile(HDC hdc, HMETAFILE hmf) {
  auto metafile = Lookup<MetafileObject>(hmf);
  if (!metafile) return FALSE;
  return PlayMetafile(hdc, *metafile) ? TRUE : FALSE;
}

BOOL WINAPI DeleteMetaFile(HMETAFILE hmf) {
  if (!Lookup<MetafileObject>(hmf)) return FALSE;
  return UnregisterObject(hmf) ? TRUE : FALSE;
}
