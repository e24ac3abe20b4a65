#pragma once
// Windows metafiles (the 16-bit record format): validation of the whole record list when a
// metafile is made, so playback never meets a record that reaches past the data.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/gdi_object.h"

namespace vel::platform {

struct MetaRecord {
  size_t offset = 0;      ///< Of the record's first parameter word, in the metafile's bytes.
  size_t paramWords = 0;  ///< Words after the 6-byte record header.
  uint16_t function = 0;
};

class MetafileObject final : public GdiObject {
 public:
  DWORD Type() const override { return OBJ_METAFILE; }
  /// The metafile's bytes from the header on (a placeable header is not kept).
  std::vector<uint8_t> m_bytes;
  uint16_t m_objectCount = 0;
  std::vector<MetaRecord> m_records;
};

/// The key that starts a placeable metafile's 22-byte header.
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

/// Parses and checks a metafile; nothing when any size in it is a lie.
std::optional<MetafileObject> ParseMetafile(const uint8_t* data, size_t size);

/// Plays a parsed metafile into a DC (its state is restored afterwards).
bool PlayMetafile(HDC hdc, const MetafileObject& metafile);

}  // namespace vel::platform
