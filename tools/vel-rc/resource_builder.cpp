#include "tools/vel-rc/resource_builder.h"

#include <map>

namespace vel::tools {
namespace {

uint16_t Word(const std::string& data, size_t offset) {
  return static_cast<uint16_t>(static_cast<unsigned char>(data[offset]) |
                               (static_cast<unsigned char>(data[offset + 1]) << 8));
}

uint32_t Dword(const std::string& data, size_t offset) {
  return static_cast<uint32_t>(Word(data, offset)) | (static_cast<uint32_t>(Word(data, offset + 2)) << 16);
}

void PutWord(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void PutDword(std::string& out, uint32_t value) {
  PutWord(out, value & 0xFFFF);
  PutWord(out, value >> 16);
}

// Splits an ICO or CUR file (type 1 or 2) into its group directory and its images.
void BuildIconGroup(const ScriptResource& resource, const std::string& file, bool cursor, uint16_t& nextImageId,
                    const std::string& where, std::vector<BuiltResource>& out) {
  const char* kind = cursor ? "cursor" : "icon";
  auto fail = [&](const std::string& why) {
    throw ScriptError(where + ": \"" + resource.fileName + "\" is not a valid " + kind + " file: " + why);
  };
  if (file.size() < 6 || Word(file, 0) != 0 || Word(file, 2) != (cursor ? 2 : 1)) fail("bad header");
  uint16_t count = Word(file, 4);
  if (count == 0) fail("no images");
  if (file.size() < 6 + 16u * count) fail("directory cut short");

  std::string group;
  PutWord(group, 0);
  PutWord(group, cursor ? 2 : 1);
  PutWord(group, count);
  for (uint16_t i = 0; i < count; ++i) {
    size_t entry = 6 + 16u * i;
    uint32_t size = Dword(file, entry + 8);
    uint32_t offset = Dword(file, entry + 12);
    if (size == 0 || offset > file.size() || size > file.size() - offset) fail("image " + std::to_string(i) + " lies outside the file");
    std::string image = file.substr(offset, size);
    // Planes and bit count: from the directory, or from the image's own header when the
    // directory leaves them out (and always for cursors, whose directory holds the hot spot).
    uint16_t planes = cursor ? 0 : Word(file, entry + 4);
    uint16_t bitCount = cursor ? 0 : Word(file, entry + 6);
    if ((planes == 0 || bitCount == 0) && image.size() >= 16 && Dword(image, 0) == 40) {
      planes = Word(image, 12);
      bitCount = Word(image, 14);
    } else if (planes == 0 || bitCount == 0) {
      planes = 1;
      bitCount = 32;  // A PNG image.
    }
    if (nextImageId == 0) fail("more than 65535 images");
    uint16_t imageId = nextImageId++;

    BuiltResource built;
    built.type = ResourceId::Number(cursor ? kTypeCursor : kTypeIcon);
    built.name = ResourceId::Number(imageId);
    built.language = resource.language;
    unsigned width = static_cast<unsigned char>(file[entry]);
    unsigned height = static_cast<unsigned char>(file[entry + 1]);
    if (cursor) {
      PutWord(built.data, Word(file, entry + 4));  // Hot spot x.
      PutWord(built.data, Word(file, entry + 6));  // Hot spot y.
      built.data += image;
      PutWord(group, width == 0 ? 256 : width);
      PutWord(group, 2 * (height == 0 ? 256 : height));  // The image's mask doubles its height.
      PutWord(group, planes);
      PutWord(group, bitCount);
      PutDword(group, size + 4);
    } else {
      built.data = image;
      group += file[entry];      // Width.
      group += file[entry + 1];  // Height.
      group += file[entry + 2];  // Colour count.
      group += '\0';
      PutWord(group, planes);
      PutWord(group, bitCount);
      PutDword(group, size);
    }
    PutWord(group, imageId);
    out.push_back(std::move(built));
  }
  BuiltResource built;
  built.type = ResourceId::Number(cursor ? kTypeGroupCursor : kTypeGroupIcon);
  built.name = resource.name;
  built.language = resource.language;
  built.data = std::move(group);
  out.push_back(std::move(built));
}

}  // namespace

std::vector<BuiltResource> BuildResources(const ResourceScript& script, const std::string& scriptName,
                                          const FileReader& reader) {
  std::vector<BuiltResource> out;
  uint16_t nextIconId = 1;
  uint16_t nextCursorId = 1;
  for (const ScriptResource& resource : script.resources) {
    std::string where = (resource.scriptName.empty() ? scriptName : resource.scriptName) + ":" + std::to_string(resource.line);
    std::string data = resource.inlineData;
    if (!resource.fileName.empty()) {
      std::optional<std::string> content = reader(resource.fileName);
      if (!content) throw ScriptError(where + ": cannot read \"" + resource.fileName + "\"");
      data = std::move(*content);
    }
    if (resource.type == ResourceId::Number(kTypeIcon) || resource.type == ResourceId::Number(kTypeCursor)) {
      bool cursor = resource.type.number == kTypeCursor;
      BuildIconGroup(resource, data, cursor, cursor ? nextCursorId : nextIconId, where, out);
      continue;
    }
    if (resource.type == ResourceId::Number(kTypeBitmap)) {
      if (data.size() < 14 + 12 || data.compare(0, 2, "BM") != 0) {
        throw ScriptError(where + ": \"" + resource.fileName + "\" is not a BMP file");
      }
      data.erase(0, 14);
    }
    out.push_back(BuiltResource{resource.type, resource.name, resource.language, std::move(data)});
  }

  // String tables: one resource per block of 16 ids and language, absent strings counted as 0.
  std::map<std::pair<uint16_t, uint16_t>, std::map<uint16_t, const std::u16string*>> blocks;
  for (const ScriptString& entry : script.strings) {
    blocks[{static_cast<uint16_t>((entry.id >> 4) + 1), entry.language}][entry.id & 15] = &entry.text;
  }
  for (const auto& [key, strings] : blocks) {
    BuiltResource block;
    block.type = ResourceId::Number(kTypeString);
    block.name = ResourceId::Number(key.first);
    block.language = key.second;
    for (uint16_t index = 0; index < 16; ++index) {
      auto found = strings.find(index);
      const std::u16string* text = found != strings.end() ? found->second : nullptr;
      PutWord(block.data, text != nullptr ? static_cast<uint32_t>(text->size()) : 0);
      if (text != nullptr) {
        for (char16_t unit : *text) PutWord(block.data, unit);
      }
    }
    out.push_back(std::move(block));
  }
  return out;
}

}  // namespace vel::tools
