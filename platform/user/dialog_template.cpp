#include "platform/user/dialog_template.h"

#include <cstring>

#include "platform/kernel/ansi_text.h"

namespace vel::platform {
namespace {

constexpr uint16_t kExtendedSignature = 0xFFFF;
constexpr size_t kMaxItems = 0x7FFF;

// Reads little-endian values and UTF-16 strings from the template, failing on any read past
// its end.
class TemplateReader {
 public:
  TemplateReader(const BYTE* bytes, size_t size) : m_bytes(bytes), m_size(size) {}

  bool ok() const { return m_ok; }
  size_t offset() const { return m_offset; }

  template <typename T>
  T Read() {
    T value{};
    if (!Need(sizeof(T))) return value;
    std::memcpy(&value, m_bytes + m_offset, sizeof(T));
    m_offset += sizeof(T);
    return value;
  }

  std::string String() {
    std::string text;
    for (;;) {
      auto unit = Read<uint16_t>();
      if (!m_ok || unit == 0) return text;
      text += static_cast<char>(UnicodeToAnsi(unit));
    }
  }

  NameOrNumber NameOrOrdinal() {
    NameOrNumber value;
    if (!Need(sizeof(uint16_t))) return value;
    uint16_t first = 0;
    std::memcpy(&first, m_bytes + m_offset, sizeof first);
    if (first == 0xFFFF) {
      m_offset += sizeof first;
      value.isNumber = true;
      value.number = Read<uint16_t>();
      return value;
    }
    value.name = String();
    return value;
  }

  void Skip(size_t count) {
    if (Need(count)) m_offset += count;
  }

  void AlignTo(size_t boundary) {
    size_t aligned = (m_offset + boundary - 1) / boundary * boundary;
    // The last item may end without the padding that would follow it.
    m_offset = aligned <= m_size ? aligned : m_size;
  }

  std::vector<BYTE> Bytes(size_t count) {
    if (!Need(count)) return {};
    std::vector<BYTE> bytes(m_bytes + m_offset, m_bytes + m_offset + count);
    m_offset += count;
    return bytes;
  }

 private:
  bool Need(size_t count) {
    if (!m_ok || count > m_size - m_offset) {
      m_ok = false;
      return false;
    }
    return true;
  }

  const BYTE* m_bytes;
  size_t m_size;
  size_t m_offset = 0;
  bool m_ok = true;
};

void ReadItem(TemplateReader& reader, bool extended, DialogItemTemplate& item) {
  reader.AlignTo(4);
  if (extended) {
    reader.Read<DWORD>();  // help id
    item.exStyle = reader.Read<DWORD>();
    item.style = reader.Read<DWORD>();
  } else {
    item.style = reader.Read<DWORD>();
    item.exStyle = reader.Read<DWORD>();
  }
  item.x = reader.Read<short>();
  item.y = reader.Read<short>();
  item.cx = reader.Read<short>();
  item.cy = reader.Read<short>();
  item.id = extended ? reader.Read<DWORD>() : reader.Read<uint16_t>();
  item.windowClass = reader.NameOrOrdinal();
  item.title = reader.NameOrOrdinal();
  auto extra = reader.Read<uint16_t>();
  item.creationData = reader.Bytes(extra);
}

}  // namespace

std::string PredefinedClassName(uint16_t number) {
  switch (number) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return {};
  }
}

std::optional<DialogTemplate> ParseDialogTemplate(const void* bytes, size_t size) {
  if (bytes == nullptr) return std::nullopt;
  TemplateReader reader(static_cast<const BYTE*>(bytes), size);
  DialogTemplate dialog;
  auto version = reader.Read<uint16_t>();
  auto signature = reader.Read<uint16_t>();
  bool extended = version == 1 && signature == kExtendedSignature;
  WORD count = 0;
  if (extended) {
    reader.Read<DWORD>();  // help id
    dialog.exStyle = reader.Read<DWORD>();
    dialog.style = reader.Read<DWORD>();
  } else {
    dialog.style = static_cast<DWORD>(version) | (static_cast<DWORD>(signature) << 16);
    dialog.exStyle = reader.Read<DWORD>();
  }
  count = reader.Read<WORD>();
  dialog.x = reader.Read<short>();
  dialog.y = reader.Read<short>();
  dialog.cx = reader.Read<short>();
  dialog.cy = reader.Read<short>();
  dialog.menu = reader.NameOrOrdinal();
  dialog.windowClass = reader.NameOrOrdinal();
  dialog.title = reader.String();
  if (dialog.style & DS_SETFONT) {
    dialog.pointSize = reader.Read<uint16_t>();
    if (extended) {
      dialog.weight = reader.Read<uint16_t>();
      dialog.italic = reader.Read<BYTE>() != 0;
      reader.Read<BYTE>();  // character set
    }
    dialog.faceName = reader.String();
  }
  if (!reader.ok() || count > kMaxItems) return std::nullopt;
  // Items are added as they are read: the count is the template's own claim, and a few bytes
  // claiming thousands of items must not cost thousands of empty items first.
  for (WORD index = 0; index < count; ++index) {
    ReadItem(reader, extended, dialog.items.emplace_back());
    if (!reader.ok()) return std::nullopt;
  }
  return dialog;
}

}  // namespace vel::platform
